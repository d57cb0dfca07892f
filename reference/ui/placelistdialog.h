#pragma once

#include "places.h"

#include <QDialog>

#include <memory>
#include <optional>

class QWidget;

namespace Ui {
class Liste_destination;
}

namespace ravelin {

class PagedQueryModel;

struct AppContext;

// Liste_destination: the customer places as cards (client and place in bold, then postcode, town,
// country, first contact and mobile), with the filters "Client", "Destination" and "ville", and
// create, modify and delete. As a picker it shows "Selectionner", which closes the screen accepted;
// the caller then reads currentPlace().
class PlaceListDialog : public QDialog
{
    Q_OBJECT
public:
    // Runs the search, as opening the screen does.
    explicit PlaceListDialog(AppContext &context, QWidget *parent = nullptr);
    ~PlaceListDialog() override;

    Ui::Liste_destination *ui() const { return m_ui.get(); }

    // Shows "Selectionner".
    void setPicker(bool picker);
    bool isPicker() const { return m_picker; }

    // The hidden kind: customer places ("Client", the default) or chip zones ("STOCK"). Changing
    // it runs the search again.
    void setKind(PlaceSelection kind);
    PlaceSelection kind() const { return m_kind; }

    int rowCount() const;
    int currentRow() const;
    void setCurrentRow(int row);
    // Moves to the place of that name; false when the list does not hold it.
    bool locate(const QString &destination);
    // The current row (columns of placeListColumns()); empty when the list is empty.
    PlaceValues currentPlace() const;
    // The two lines of a card: "client — destination", then postcode, town, country, contact, mobile.
    QStringList cardLines(int row) const;

public slots:
    void search();
    void createPlace();
    void modifyPlace();
    void removePlace();
    // "Selectionner".
    void selectPlace();

private:
    bool runEditor(int inc);

    std::unique_ptr<Ui::Liste_destination> m_ui;
    AppContext &m_context;
    PagedQueryModel *m_model;
    PlaceSelection m_kind = PlaceSelection::Customers;
    bool m_picker = false;
};

// "Liste des clients" of the "&Fichier" menu (the menu checks the page "Liste destination").
void openCustomerList(AppContext &context, QWidget *parent = nullptr);

// The order editor's place picker: "Selectionner" shown; an order that has a client searches with
// it as the "Client" filter; a transfer order lists the chip zones. Gives the chosen place, or
// nothing when the user closes the screen.
std::optional<PlaceValues> pickCustomerPlace(AppContext &context, QWidget *parent, const QString &client,
                                             bool transferOrder);

} // namespace ravelin
