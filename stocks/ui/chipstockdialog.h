#pragma once

#include "chipstock.h"
#include "firewoodstocklist.h"

#include <QDialog>
#include <QElapsedTimer>

#include <atomic>

#include <memory>
#include <optional>

class QTimer;

namespace Ui {
class stockage;
}

namespace ravelin {

struct AppContext;
class ChartWidget;
class DatabaseWorker;
class ListGrid;

// stockage ("Stockage Plaquettes"): "Calcul valeur du stock" computes every chip zone's stock at
// the chosen date (inventory, in, out, stock, capacity), draws them as a pie, totals them against
// the capacities and shows what stands in the open lots; "Imprimer" prints the result. The sums
// run on a worker's connection (its own work table), the bar following them zone by zone, so that
// the screen keeps answering meanwhile.
class ChipStockDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ChipStockDialog(AppContext &context, QWidget *parent = nullptr);
    ~ChipStockDialog() override;

    Ui::stockage *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ChartWidget *chart() const { return m_chart; }
    // True from "Calcul valeur du stock" until its result is shown.
    bool computing() const { return m_computing; }

public slots:
    void compute();
    void print();

private:
    void showResult(const Result<ChipStock> &stock, const Result<StandingTimber> &standing);
    void showProgress();

    std::unique_ptr<Ui::stockage> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
    ChartWidget *m_chart;
    std::optional<ChipStock> m_stock;
    QDate m_computedDate;
    StandingTimber m_standing;
    DatabaseWorker *m_worker;
    QTimer *m_progressTimer;
    // written by the worker's thread, read by the progress timer
    std::shared_ptr<std::atomic<int>> m_done = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> m_total = std::make_shared<std::atomic<int>>(0);
    QElapsedTimer m_elapsed;
    bool m_computing = false;
};

void openChipStock(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
