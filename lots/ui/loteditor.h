#pragma once

#include "costprice.h"
#include "editorsave.h"
#include "statements.h"
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

class CostPriceTab;
class LotWorkTab;
class OwnersTab;

struct AppContext;
class GridModel;

// Creation_dossier2, the lot editor: the lot's dates, the state of its wood per volume line, what
// left the lot, its comments; the owners with the lot's place fields, the contractor work and the
// cost price are the tabs OwnersTab, LotWorkTab and CostPriceTab, each filling its page. "Etat" and
// "Exploitation" show one selected volume line. What the editor does on the way (percentages, the
// finished mark on the logs, the logs themselves) is written at once; the lot row's own fields are
// written on "OK" by the save the caller gives (setSave, with
// columnChanges()).
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
    // Every column the editor may change, with the value read and the value it holds now (the
    // value read where it did not change), captioned with its field's label.
    QList<ColumnChange> columnChanges() const;
    // What "OK" writes; the editor stays open when it fails.
    void setSave(EditorSave save) { m_save = std::move(save); }

    GridModel *volumeLines() const { return m_lines; }
    QStandardItemModel *deliveries() const { return m_deliveries; }
    // The tabs "Propriètaires", "Exploitation" and "Prix de revient".
    OwnersTab *ownersTab() const { return m_ownersTab; }
    LotWorkTab *workTab() const { return m_workTab; }
    CostPriceTab *costPriceTab() const { return m_costPriceTab; }
    // The owners as their tab lists them.
    GridModel *owners() const;
    const LotTotals &totals() const { return m_totals; }
    // The gauges of the selected volume line as drawn.
    const QImage &gauges() const { return m_gauges; }
    // The selected row of the volume lines on "Etat" (-1 without lines) and its key (0 without).
    int currentLine() const;
    int currentLineInc() const;
    void selectLine(int row);

public slots:
    // Lot totals: "Total", available and delivered, and the lot's estimation.
    void computeTotals();
    // "Calcul ETAT du bois".
    void recomputeWoodState();
    // "Imprimer": the deliveries of the period in the print preview.
    void printLotDeliveries();
    // "&Voir liste des GRUMES".
    void showLogs();
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
    void installLotTabs();
    void reloadLines();
    void reloadDeliveries();
    void lineSelected();
    // The row of the volume line of that key, -1 when not listed.
    int rowOfLine(int inc) const;
    // Follows the line selected on "Exploitation".
    void selectLineByInc(int inc);
    void purchaseTypeChosen(int index);

    std::unique_ptr<Ui::Creation_dossier2> m_ui;
    AppContext &m_context;
    QSqlRecord m_original; // the row as read
    QSqlRecord m_lot;      // the row with the computed columns the editor changed
    bool m_newLot;
    int m_inc = 0;
    int m_nLot = 0;
    OwnersTab *m_ownersTab = nullptr;
    LotWorkTab *m_workTab = nullptr;
    CostPriceTab *m_costPriceTab = nullptr;
    int m_indiceLot = 1;
    QString m_finishedApplied; // the "Terminé :" value the logs were last set for
    EditorSave m_save;

    QSqlQueryModel *m_linesSource;
    GridModel *m_lines;
    QStandardItemModel *m_deliveries;
    LotTotals m_totals;
    QImage m_gauges;
};

} // namespace ravelin
