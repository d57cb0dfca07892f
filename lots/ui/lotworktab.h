#pragma once

#include "lotwork.h"

#include <QWidget>

#include <memory>

class QSqlQueryModel;
class QTableView;

namespace Ui {
class Onglet_exploitation;
}

namespace ravelin {

struct AppContext;
class GridModel;
class GridModel;

// The lot editor's tab "Exploitation": the lot's volume lines and, for the selected one, its
// felled and skidded percentages and its work in three groups (felling, skidding, other), each
// with its cost and its create, modify and delete buttons, refused while the editor's "Terminé :"
// reads "OUI". Work rows and the group sums on the volume line are written at once; the wood
// state follows every change.
class LotWorkTab : public QWidget
{
    Q_OBJECT
public:
    LotWorkTab(AppContext &context, int nLot, int indiceLot, QWidget *parent = nullptr);
    ~LotWorkTab() override;

    Ui::Onglet_exploitation *ui() const { return m_ui.get(); }
    GridModel *lines() const;
    GridModel *work(WorkGroup group) const;

    void setLotFinished(bool finished) { m_finished = finished; }
    bool lotFinished() const { return m_finished; }

    // The selected volume line's key, 0 when the lot has none.
    int currentLineInc() const;
    // Selects the volume line of that key, when listed.
    void selectLine(int inc);

public slots:
    // Re-reads the volume lines (keeping the selected one) and the work of the selected line.
    void reload();
    void createWork(ravelin::WorkGroup group);
    void modifyWork(ravelin::WorkGroup group);
    void deleteWork(ravelin::WorkGroup group);
    // "Modif %" of the felling (fin_pied) and skidding (fin_abattage) groups.
    void changeShare(ravelin::WorkGroup group);

signals:
    void lineSelected(int inc);
    // Work, group sums, percentages and the wood state of the lot's lines were written.
    void woodStateChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTableView *grid(WorkGroup group) const;
    bool refusedOnFinishedLot();
    void lineChanged();
    void showLineFields();
    void reloadWorkLists();
    // After a work change: lines and lists reloaded, wood state recomputed.
    void workChanged();

    std::unique_ptr<Ui::Onglet_exploitation> m_ui;
    AppContext &m_context;
    int m_nLot;
    int m_indiceLot;
    bool m_finished = false;
    QSqlQueryModel *m_linesSource;
    GridModel *m_lines;
    QSqlQueryModel *m_workSources[3];
    GridModel *m_work[3];
};

} // namespace ravelin
