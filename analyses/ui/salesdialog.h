#pragma once

#include "customerdeliveries.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class graphique_tonnage;
class detail_analyse_tonnage;
} // namespace Ui

namespace ravelin {

struct AppContext;
class AnalysisProgress;
class AnalysisRunner;
class ChartWidget;
class ListGrid;

// graphique_tonnage: the sales between two dates per customer or per kind of sale, with bars and a
// pie of the amounts; "Détail des Livraisons du client" lists what was summed under a name.
class SalesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SalesDialog(AppContext &context, QWidget *parent = nullptr);
    ~SalesDialog() override;

    Ui::graphique_tonnage *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ChartWidget *bars() const { return m_bars; }
    ChartWidget *pie() const { return m_pie; }
    AnalysisRunner &runner() const { return *m_runner; }

public slots:
    void compute();
    void showDetail();

private:
    void clearResults();

    std::unique_ptr<Ui::graphique_tonnage> m_ui;
    AppContext &m_context;
    AnalysisRunner *m_runner;
    AnalysisProgress *m_progress;
    ListGrid *m_list;
    ChartWidget *m_bars;
    ChartWidget *m_pie;
    SalesFilter m_computed;
    bool m_computing = false; // a computation, not a detail's read, is running
};

// detail_analyse_tonnage: the orders and deliveries summed under one name (read by the caller on
// the analysis' worker), and the priced lines of the current one, read on that worker once the
// selection has settled. The printout is read and laid out there too.
class SalesDetailDialog : public QDialog
{
    Q_OBJECT
public:
    SalesDetailDialog(AppContext &context, AnalysisRunner &runner, const SalesFilter &filter, const QVariant &nom,
                      double amount, double quantity, const DataTable &rows, QWidget *parent = nullptr);
    ~SalesDetailDialog() override;

    Ui::detail_analyse_tonnage *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ListGrid *lines() const { return m_lines; }
    // Reads the current row's priced lines now (otherwise 50 ms after the selection settles); they
    // are shown when the worker has read them.
    void loadLines();
    // True while the priced lines asked for have not arrived yet.
    bool linesPending() const { return m_linesTicket != 0; }

public slots:
    void print();

private:
    std::unique_ptr<Ui::detail_analyse_tonnage> m_ui;
    AppContext &m_context;
    AnalysisRunner &m_runner;
    AnalysisProgress *m_progress;
    SalesFilter m_filter;
    QVariant m_nom;
    double m_amount;
    double m_quantity;
    ListGrid *m_list;
    ListGrid *m_lines;
    QTimer m_detailReload;
    quint64 m_linesTicket = 0;
    bool m_printing = false;
};

void openSales(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
