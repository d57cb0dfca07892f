#pragma once

#include "contractorcosts.h"

#include <QDialog>

#include <memory>

namespace Ui {
class graphique_fournisseur;
class detail_intervention;
} // namespace Ui

namespace ravelin {

struct AppContext;
class AnalysisProgress;
class AnalysisRunner;
class ChartWidget;
class ListGrid;

// graphique_fournisseur: what the contractors cost between two dates, per contractor (grid and
// red bars) and per family (pie); "Détail des interventions" opens the contractor's actions.
class ContractorCostsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ContractorCostsDialog(AppContext &context, QWidget *parent = nullptr);
    ~ContractorCostsDialog() override;

    Ui::graphique_fournisseur *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ChartWidget *bars() const { return m_bars; }
    ChartWidget *pie() const { return m_pie; }
    AnalysisRunner &runner() const { return *m_runner; }
    AnalysisProgress *progress() const { return m_progress; }

public slots:
    void compute();
    void showDetail();

private:
    void clearResults();

    std::unique_ptr<Ui::graphique_fournisseur> m_ui;
    AppContext &m_context;
    AnalysisRunner *m_runner;
    AnalysisProgress *m_progress;
    ListGrid *m_list;
    ChartWidget *m_bars;
    ChartWidget *m_pie;
    ContractorCostFilter m_computed; // what the grid shows
    bool m_computing = false;        // a computation, not a detail's read, is running
};

// detail_intervention: one contractor's actions that cost something, read from the work table of
// the analysis (by the caller, on the analysis' worker); prints them and settles them, both on
// that worker too.
class ContractorDetailDialog : public QDialog
{
    Q_OBJECT
public:
    ContractorDetailDialog(AppContext &context, AnalysisRunner &runner, const QString &societe,
                           const ContractorCostFilter &filter, const ContractorDetail &detail,
                           QWidget *parent = nullptr);
    ~ContractorDetailDialog() override;

    Ui::detail_intervention *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    // True while a settling or a printout runs on the worker.
    bool busy() const { return m_busy; }

public slots:
    void print();
    void settleSelected();
    void settleAll();

private:
    void setDetail(const ContractorDetail &detail);
    void settle(std::optional<ActionRef> one, const QString &question);

    std::unique_ptr<Ui::detail_intervention> m_ui;
    AppContext &m_context;
    AnalysisRunner &m_runner;
    AnalysisProgress *m_progress;
    QString m_societe;
    ContractorCostFilter m_filter;
    ListGrid *m_list;
    ContractorDetail m_detail;
    bool m_busy = false;
};

void openContractorCosts(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
