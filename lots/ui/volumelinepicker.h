#pragma once

#include "volumelines.h"

#include <QDialog>

#include <memory>
#include <optional>

class QSqlQueryModel;

namespace Ui {
class liste_n_lot;
}

namespace ravelin {

struct AppContext;
class GridModel;

// liste_n_lot ("Liste des produits disponibles"): the volume lines of all lots that are not
// delivered, one row per line, filtered by species, lot numbers ("11+10+20") and place.
class VolumeLinePicker : public QDialog
{
    Q_OBJECT
public:
    explicit VolumeLinePicker(AppContext &context, QWidget *parent = nullptr);
    ~VolumeLinePicker() override;

    Ui::liste_n_lot *ui() const { return m_ui.get(); }
    GridModel *lines() const { return m_grid; }

    // Sets "N° Coupe " to `lots`, keeps the user from changing it and searches.
    void lockLotFilter(const QString &lots);

    // The selected line; nothing when the list is empty.
    std::optional<VolumeLineChoice> selectedLine() const;

public slots:
    // "rechercher", the sort choices and the opening.
    void search();
    void validate();

private:
    std::unique_ptr<Ui::liste_n_lot> m_ui;
    AppContext &m_context;
    QSqlQueryModel *m_source;
    GridModel *m_grid;
};

// Shows the lot picker; gives the volume line chosen with "OK", or nothing when the user
// cancels or the list is empty. The picker of the order, transfer and delivery screens; a transfer's
// line picks among the lines of its own lot (`lockedLots`, see lockLotFilter()).
std::optional<VolumeLineChoice> pickVolumeLine(AppContext &context, QWidget *parent = nullptr,
                                               const QString &lockedLots = QString());

} // namespace ravelin
