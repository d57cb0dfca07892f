#pragma once

#include "pagedquerymodel.h"
#include "result.h"
#include "statements.h"

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ravelin {

// Table `destination` holds every named place: customer places (stockage 'NON'), chip storage
// zones ('OUI') and firewood storage zones ('BUCHE'). Deliveries, orders, transfers and firewood
// stocks name a place by its `destination` text, so that text is unique across the whole table.

// Which places a place list shows.
enum class PlaceSelection {
    Customers,             // stockage='NON' ("Client", "CLIENT")
    ChipZones,             // stockage='OUI' ("STOCK")
    CustomersAndChipZones, // stockage<>'BUCHE' ("CLIENT + STOCK"): never the firewood zones
};

// The three filter fields of the place lists; empty fields do not filter.
struct PlaceFilter
{
    QString client;
    QString lieu; // matched against `destination`
    QString ville;
};

// The columns the place searches give: what the cards and the picker's grid show and what the
// callers of the pickers copy. A caller that needs more reads the row by its `inc`.
const QStringList &placeListColumns();

// Every column of `destination`, in table order.
const QStringList &placeColumns();

// The place search of Liste_destination and chercher_destination, read a page at a time:
// ordered by client, destination (then inc).
PagedQuery placeListQuery(PlaceSelection selection, const PlaceFilter &filter);

// Values of `destination` by column name. When written, the columns absent from the map are left
// as they are.
using PlaceValues = QMap<QString, QVariant>;

// One place with every column (its key included as "inc").
Result<PlaceValues> readPlace(QSqlDatabase db, int inc);

// A row of a drop-down: the stored key and the text shown.
struct Choice
{
    int key = 0;
    QString text;
};

// The VAT rates of `liste_tva` (text: the rate, "5,5") and the payment modes of
// `liste_reglement` (text: `reglement`), in table order.
Result<QList<Choice>> vatRateChoices(QSqlDatabase db);
Result<QList<Choice>> paymentModeChoices(QSqlDatabase db);

// True when a place other than the row `inc` already has this name, whatever its kind (customer
// place or storage zone). `inc` is 0 for a place not yet written.
Result<bool> placeNameTaken(QSqlDatabase db, const QString &name, int inc);

// What names this place: "commandes", "livraisons", "transferts", "stocks bûches" (firewood stocks
// and the order lines taken from one), "factures" for each kind of record that refers to it by
// name. Empty when nothing does.
Result<QStringList> placeReferences(QSqlDatabase db, const QString &name);

// "commandes, livraisons" → the sentence that tells why a place cannot be deleted or renamed.
QString placeInUseMessage(const QString &name, const QStringList &references, bool renaming);

// The checks of detail_destination's "OK", in order: client, destination, VAT rate, payment mode,
// then the name's uniqueness. Gives the first failing check's message, or an empty text.
Result<QString> checkPlace(QSqlDatabase db, const PlaceValues &place, int inc);

inline QString placeNameExistsMessage()
{
    return QStringLiteral("Destination dèja existante !");
}

// Writes a new place and gives its key. The name test and the insert run in one transaction; the
// unique index on the name catches a place written at the same moment by another workstation.
Result<int> createPlace(QSqlDatabase db, const PlaceValues &values);

// Writes the columns of the place `inc` that the editor changed, each only while it still holds the
// value the editor read (updateRow): a change made meanwhile by another workstation to another
// column is kept, one to the same column is refused, and a place deleted meanwhile is reported;
// nothing is written then. A place that other records name cannot change its name.
Status updatePlace(QSqlDatabase db, int inc, const QList<ColumnChange> &changes);

// Deletes the place `inc`, unless something names it.
Status deletePlace(QSqlDatabase db, int inc);

// The address given to the geocoding page: adresse, adresse1, cp and ville, each followed by one
// blank.
QString placeMapAddress(const PlaceValues &place);

} // namespace ravelin
