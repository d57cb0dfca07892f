#pragma once

#include "chipstock.h"
#include "firewoodstocklist.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class stockage;
}

namespace ravelin {

struct AppContext;
class ChartWidget;
class ListGrid;

// stockage ("Stockage Plaquettes"): "Calcul valeur du stock" computes every chip zone's stock at
// the chosen date (inventory, in, out, stock, capacity), draws them as a pie, totals them against
// the capacities and shows what stands in the open lots; "Imprimer" prints the result.
class ChipStockDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ChipStockDialog(AppContext &context, QWidget *parent = nullptr);
    ~ChipStockDialog() override;

    Ui::stockage *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ChartWidget *chart() const { return m_chart; }

public slots:
    void compute();
    void print();

private:
    std::unique_ptr<Ui::stockage> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
    ChartWidget *m_chart;
    std::optional<ChipStock> m_stock;
    QDate m_computedDate;
    StandingTimber m_standing;
};

void openChipStock(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
