#pragma once

#include "places.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class chercher_destination;
}

namespace ravelin {

struct AppContext;
class GridModel;
class ListGrid;

// chercher_destination: the place picker of the delivery and transfer editors. Filters "Client",
// "Destination", "ville"; the group "Sélection" chooses customer places ("CLIENT"), chip zones
// ("STOCK") or both ("CLIENT + STOCK", the default; firewood zones never). The screen does not
// search when it opens: the caller presets it, runs search(), shows it, and reads currentPlace()
// when it closes accepted ("Selectionner").
class PlaceSearchDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PlaceSearchDialog(AppContext &context, QWidget *parent = nullptr);
    ~PlaceSearchDialog() override;

    Ui::chercher_destination *ui() const { return m_ui.get(); }

    // Checks the matching choice of "Sélection" (without searching).
    void setSelection(PlaceSelection selection);
    PlaceSelection selection() const;
    // Hides the group "Sélection" and keeps the user from changing the choice.
    void lockSelection();

    int rowCount() const;
    int currentRow() const;
    void setCurrentRow(int row);
    // Moves to the place of that name; false when the grid does not hold it.
    bool locate(const QString &destination);
    // The current row (columns of placeListColumns()); empty when the grid is empty.
    PlaceValues currentPlace() const;
    GridModel *grid() const;
    ListGrid *list() const { return m_list; }

public slots:
    void search();
    // "Selectionner".
    void selectPlace();

private:
    std::unique_ptr<Ui::chercher_destination> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
};

// Opens the picker preset to `selection`, searches, puts the cursor on the place named `current`
// when the grid holds it, and gives the chosen place (nothing when cancelled). `lockSelection`
// hides the group "Sélection" (departure of a delivery, transfer into a chip zone).
std::optional<PlaceValues> choosePlace(AppContext &context, QWidget *parent, PlaceSelection selection,
                                       const QString &current = QString(), bool lockSelection = false);

} // namespace ravelin
