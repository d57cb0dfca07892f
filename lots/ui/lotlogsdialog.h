#pragma once

#include "volumelines.h"

#include <QDialog>

#include <memory>

namespace Ui {
class grume_coupe;
}

namespace ravelin {

struct AppContext;
class ChartWidget;
class GridModel;
class ListGrid;

// grume_coupe: the logs of one lot, with their totals and the pie of what is left per class.
// Logs are written at once, and so are the lot's log totals after every change.
class LotLogsDialog : public QDialog
{
    Q_OBJECT
public:
    // `totalGrume` and `totalGrumeLivre` are the lot's totals as the editor holds them, shown at
    // opening; `lieu` is the editor's town, given to new logs.
    LotLogsDialog(AppContext &context, int nLot, int indiceLot, const QString &lieu, double totalGrume,
                  double totalGrumeLivre, QWidget *parent = nullptr);
    ~LotLogsDialog() override;

    Ui::grume_coupe *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    GridModel *logs() const;
    ChartWidget *chart() const { return m_chart; }

    // True once a change has written new totals into the lot; totals() then holds them.
    bool totalsWritten() const { return m_totalsWritten; }
    const LogTotals &totals() const { return m_totals; }

public slots:
    void createLog();
    void modifyLog();
    void deleteLogs();
    // "Importer": the logs of a measuring device's file (import1).
    void importLogs();
    // "Chercher N° GRUME".
    void findLog();
    void redrawChart();

private:
    void reload(std::optional<int> selectInc);
    void showTotals();
    void afterChange(std::optional<int> selectInc);
    int currentRow() const;

    std::unique_ptr<Ui::grume_coupe> m_ui;
    AppContext &m_context;
    int m_nLot;
    int m_indiceLot;
    QString m_lieu;
    ListGrid *m_list = nullptr;
    ChartWidget *m_chart;
    LogTotals m_totals;
    bool m_totalsWritten = false;
};

} // namespace ravelin
