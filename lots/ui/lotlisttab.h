#pragma once

#include "lotstore.h"
#include "maintab.h"

#include <QWidget>

#include <memory>
#include <optional>

class QStyledItemDelegate;

namespace Ui {
class lot_list_tab;
}

namespace ravelin {

class ProgressChart;

struct AppContext;
class BusyBar;
class GridModel;
class ListGrid;

// The content of the main window's tab "Coupe de Bois" (Tab_detail): the lot list with its
// filters, sorts and colours, and the creation, opening and deletion of lots.
class LotListTab : public QWidget, public MainTab
{
    Q_OBJECT
public:
    explicit LotListTab(AppContext &context, QWidget *parent = nullptr);
    ~LotListTab() override;

    Ui::lot_list_tab *ui() const { return m_ui.get(); }
    // The lot list Grille_dossier1 and the model it shows (captions, formats, colours).
    ListGrid *list() const { return m_list; }
    GridModel *grid() const;

    // MainTab
    void search() override;
    void refresh() override;
    bool searched() const override { return m_searched; }

    // The filters and sort as they stand on screen.
    LotSearch filters() const;
    // The selected lot's inc and n_lot; nothing when the list is empty.
    std::optional<int> currentInc() const;
    std::optional<int> currentLot() const;
    // Selects the row of that lot number when it is listed.
    bool selectLot(int nLot);
    // The colour rule of a listed row (today's date).
    LotRowColour rowColour(int row) const;

public slots:
    // "Créer", "Modifier" / "Détail de la coupe" / double click, "Supprimer".
    void createLot();
    void openLot();
    void deleteLot();
    // The progress chart of the selected lot, drawn into Image_coupe. The drawing and the lot
    // recomputation arrive with the progress chart; until then the area stays blank.
    void drawProgressChart();
    // "CARTE": pointeurs.html, the listed lots with wood left, the zones and the customer places.
    // Read on the list's worker: the screen stays free, the button says "en cours..." until the page
    // opens (or the failure is shown).
    void showMap();

public:
    // True from "CARTE" until its page is shown or its failure said.
    bool isMapRunning() const { return m_mapRunning; }

signals:
    // Time taken to load the opened lot, for status panel 5 ("ss,zzz seconde").
    void loadTimeMeasured(const QString &text);
    // A lot was created: the main window empties the customer filter of the order tab.
    void lotCreated(int nLot);
    // The selected lot changed: the main window restarts its 50 ms chart timer, whose tick
    // calls drawProgressChart().
    void chartRedrawRequested();

private:
    // Runs `search`, keeping the selected lot, or `keepLot` when given, selected when it is still
    // listed.
    Status runSearch(const LotSearch &search, std::optional<int> keepLot = std::nullopt);
    void selectionChanged();
    // Writes what the editor changed, with the first owner's purchase date; false on failure.
    Status writeEditedLot(class LotEditor &editor);

    std::unique_ptr<Ui::lot_list_tab> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
    BusyBar *m_busy;
    QStyledItemDelegate *m_typeIcons;
    LotSearch m_lastSearch;
    bool m_searched = false;
    ProgressChart *m_chart = nullptr;
    bool m_mapRunning = false;
};

} // namespace ravelin
