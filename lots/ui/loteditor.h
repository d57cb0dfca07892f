#pragma once

#include "costprice.h"
#include "lotwork.h"
#include "volumelines.h"

#include <QDialog>
#include <QImage>
#include <QSqlRecord>
#include <QVariantMap>

#include <memory>

class QSqlQueryModel;
class QStandardItemModel;

namespace Ui {
class Creation_dossier2;
}

namespace ravelin {

class LotWorkTab;
class OwnersTab;

struct AppContext;
class GridModel;
class GridModel;

// Creation_dossier2, the lot editor: the lot's place and dates, the state of its wood per volume
// line, what left the lot, its comments; owners, contractor work and the cost price are laid out
// on their tabs. What the editor does on the way (percentages, the finished mark on the logs, the
// logs themselves) is written at once; the lot row's own fields are the caller's to write on "OK"
// (changes()).
class LotEditor : public QDialog
{
    Q_OBJECT
public:
    // `lot` is the row as read from `coupe`; `newLot` opens it right after its creation (the
    // purchase type may still change and there is nothing delivered yet).
    LotEditor(AppContext &context, const QSqlRecord &lot, bool newLot, QWidget *parent = nullptr);
    ~LotEditor() override;

    Ui::Creation_dossier2 *ui() const { return m_ui.get(); }

    int lotInc() const { return m_inc; }
    int lotNumber() const { return m_nLot; }
    // The lot row with what the editor holds now.
    QSqlRecord record() const;
    // The columns of the lot row that differ from what was read, with their new values.
    QVariantMap changes() const;

    GridModel *volumeLines() const { return m_lines; }
    QStandardItemModel *deliveries() const { return m_deliveries; }
    // The owners as their tab lists them.
    GridModel *owners() const;
    const LotTotals &totals() const { return m_totals; }
    // The gauges of the selected volume line as drawn.
    const QImage &gauges() const { return m_gauges; }
    int currentLine() const;
    void selectLine(int row);

public slots:
    // Lot totals: "Total", available and delivered, and the lot's estimation.
    void computeTotals();
    void installLotTabs();
    // "Calcul ETAT du bois".
    void recomputeWoodState();
    // "Imprimer": the deliveries of the period in the print preview.
    void printLotDeliveries();
    // "&Voir liste des GRUMES".
    void showLogs();
    // "Modif %" of the felling and skidding groups.
    void changeFellingShare();
    void changeSkiddingShare();
    // Leaving "Terminé :": marks or unmarks the lot's logs as delivered, when the value changed.
    void leaveFinishedField();
    // "OK".
    void validate();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadFields();
    void setupGrids();
    void reloadLines();
    void reloadDeliveries();
    void reloadWorkLists();
    void lineSelected();
    void purchaseTypeChosen(int index);
    void changeShare(WorkGroup group);

    std::unique_ptr<Ui::Creation_dossier2> m_ui;
    AppContext &m_context;
    QSqlRecord m_original; // the row as read
    QSqlRecord m_lot;      // the row with the computed columns the editor changed
    bool m_newLot;
    int m_inc = 0;
    int m_nLot = 0;
    OwnersTab *m_ownersTab = nullptr;
    LotWorkTab *m_workTab = nullptr;
    int m_indiceLot = 1;
    QString m_finishedApplied; // the "Terminé :" value the logs were last set for

    QSqlQueryModel *m_linesSource;
    GridModel *m_lines;
    QStandardItemModel *m_deliveries;
    QSqlQueryModel *m_workSources[3];
    GridModel *m_work[3];
    LotTotals m_totals;
    QImage m_gauges;
};

} // namespace ravelin
