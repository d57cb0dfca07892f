#pragma once

#include "places.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class detail_destination;
}

namespace ravelin {

struct AppContext;

// detail_destination ("Clients"): one customer place with its delivery and billing addresses, two
// contacts, VAT rate, payment mode, chip unit and prices, comment and map position. "OK" runs the
// checks in order (client, destination, VAT rate, payment mode, name not taken), then writes the
// place; every refusal and every write failure keeps the screen open with what was typed. A place
// that other records name keeps its name: the field is read-only.
class PlaceEditorDialog : public QDialog
{
    Q_OBJECT
public:
    // `inc` 0: a new customer place (written with stockage 'NON' and tonnage_maxi 0).
    PlaceEditorDialog(AppContext &context, int inc, QWidget *parent = nullptr);
    ~PlaceEditorDialog() override;

    Ui::detail_destination *ui() const { return m_ui.get(); }
    // False when the place or the drop-downs could not be read (the error was shown).
    bool loaded() const { return m_loaded; }
    // The place's key: 0 until a new place is written.
    int inc() const { return m_inc; }
    // The name written by the last successful "OK".
    QString writtenName() const { return m_writtenName; }
    // True when the name is read-only because other records name the place.
    bool nameLocked() const { return m_nameLocked; }

    // The columns this screen edits, as the fields hold them (empty texts as null). Gives false and
    // the field's caption in `badField` when a price is not a number.
    bool fieldValues(PlaceValues &values, QString *badField = nullptr) const;

public slots:
    void validate();
    // "Afficher coordonnées Parcelle": writes terrain.html for the address and opens it.
    void showAddressPosition();

private:
    void fill(const PlaceValues &place);
    // The label of the field editing `column`, as the user reads it on screen.
    QString caption(const QString &column) const;

    std::unique_ptr<Ui::detail_destination> m_ui;
    AppContext &m_context;
    int m_inc = 0;
    bool m_loaded = true;
    bool m_nameLocked = false;
    QString m_writtenName;
    // The place as read when the screen opened: what "OK" compares the fields with.
    PlaceValues m_asRead;
};

} // namespace ravelin
