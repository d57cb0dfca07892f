#pragma once

#include "productsavailable.h"

#include <QDialog>

#include <memory>

class QSqlQueryModel;

namespace Ui {
class liste_bois_dispo;
}

namespace ravelin {

struct AppContext;
class ChartWidget;
class GridModel;

// liste_bois_dispo ("Liste des produits disponibles", "dans les coupes de bois"): what the lots
// still hold, by species and/or by lot, with the total available and a pie of it; "Voir liste
// détail" lists the volume lines of the selected row.
class ProductsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ProductsDialog(AppContext &context, QWidget *parent = nullptr);
    ~ProductsDialog() override;

    Ui::liste_bois_dispo *ui() const { return m_ui.get(); }
    GridModel *grid() const { return m_grid; }
    ChartWidget *chart() const { return m_chart; }

public slots:
    void search();
    void drawChart();
    void showDetail();

private:
    ProductsSearch wanted() const;

    std::unique_ptr<Ui::liste_bois_dispo> m_ui;
    AppContext &m_context;
    QSqlQueryModel *m_source;
    GridModel *m_grid;
    ChartWidget *m_chart;
};

void openProductsAvailable(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
