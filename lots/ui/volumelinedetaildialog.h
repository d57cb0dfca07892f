#pragma once

#include "volumelines.h"

#include <QDialog>

#include <memory>

class QSqlQueryModel;

namespace Ui {
class liste_grume_detail;
}

namespace ravelin {

struct AppContext;
class GridModel;

// liste_grume_detail ("Détail des Produits"): a read-only list of the rows of `grume` still
// available, chosen by the caller (the products available on the lots).
class VolumeLineDetailDialog : public QDialog
{
    Q_OBJECT
public:
    VolumeLineDetailDialog(AppContext &context, const AvailableLinesFilter &filter, QWidget *parent = nullptr);
    ~VolumeLineDetailDialog() override;

    Ui::liste_grume_detail *ui() const { return m_ui.get(); }
    GridModel *lines() const { return m_grid; }
    bool loaded() const { return m_loaded; }

private:
    std::unique_ptr<Ui::liste_grume_detail> m_ui;
    QSqlQueryModel *m_source;
    GridModel *m_grid;
    bool m_loaded = false;
};

// Shows the list modally.
void showVolumeLineDetail(AppContext &context, const AvailableLinesFilter &filter, QWidget *parent = nullptr);

} // namespace ravelin
