#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class grume_cde;
}

namespace ravelin {

struct AppContext;
class ChartWidget;
class ListGrid;

// grume_cde: the logs of cutting lots attached to an order, their totals, the pie "Qualité" of the
// order's loaded logs by class; logs are attached (picker liste_grume_cde), released one by one or
// all together ("Tous"), and a loading list is imported. Locked on an invoiced order.
class OrderLogsDialog : public QDialog
{
    Q_OBJECT
public:
    OrderLogsDialog(AppContext &context, int incCde, bool closed, QWidget *parent = nullptr);
    ~OrderLogsDialog() override;

    Ui::grume_cde *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ChartWidget *chart() const { return m_chart; }

public slots:
    void attachLogs();
    void releaseLogs();
    void findLog();
    void importLoadingList();
    void redrawChart();

signals:
    // Logs were attached, released or imported: the editor's lines follow.
    void logsChanged();

private:
    void reload();

    std::unique_ptr<Ui::grume_cde> m_ui;
    AppContext &m_context;
    int m_incCde;
    ListGrid *m_list = nullptr;
    ChartWidget *m_chart = nullptr;
};

} // namespace ravelin
