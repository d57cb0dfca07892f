#pragma once

#include "pagedquerymodel.h"
#include "result.h"
#include "statements.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace ravelin {

// Statements and rules on table `livraison`, the chip deliveries, and on the list of the chips
// tab.

enum class DeliverySort { Date, Destination, Departure, Operation, Number };
enum class DeliveryState { NotDelivered, NotVerified, Verified, All };
enum class DeliveryType { Sales, Purchases, Both };

// The filters of the chips tab as the user left them.
struct DeliverySearch
{
    QString destination; // "Destination"
    QString ticket;      // "N° ticket"
    QString depart;      // "Départ"
    DeliverySort sort = DeliverySort::Date;
    DeliveryState state = DeliveryState::All;
    bool history = false; // "Revoir les Livraisons facturées": every state, invoiced too
    DeliveryType type = DeliveryType::Both;
};

inline QString destinationFilterRefusal()
{
    return QStringLiteral("Saisie incorrecte, pas de \" ' \" ");
}

// The list of the chips tab, read a page at a time: the grid's columns (`a1` for the icon, `jour`
// the delivery date for its weekday) and what the colours and the panel need. An apostrophe in the
// destination filter is refused with destinationFilterRefusal().
Result<PagedQuery> deliverySearchQuery(const DeliverySearch &search);

// The operations the opening dialog and the editor offer, in their order.
QStringList deliveryOperations();
// Operations listed under "VENTE" and under "ACHAT" (older ACHAT rows among the purchases).
QStringList saleOperations();
QStringList purchaseOperations();

// The list's colours, decided in this order, a later rule winning: the operation's text colour;
// a Sunday's operation cell when sorted by date; a forecast's date and places (orange once its
// date is past, else yellow); a verified row's `verifie`; every cell of an invoiced row. Colours
// are "RRGGBB" texts, empty for none.
QString operationTextColour(const QString &operation);
QString deliveryCellColour(const QString &column, const QString &operation, const QDateTime &date,
                           const QString &verifie, const QString &facturee, bool sortedByDate, const QDate &today);
// The number of the operation's icon (2 to 7), 0 for an unknown operation.
int operationIcon(const QString &operation);

// A new delivery before it is written: the settings' defaults and what the opening dialog chose.
struct NewDelivery
{
    QString operation = QStringLiteral("VENTE");
    QDateTime dateLivraison;
    QString uniteDefaut;
    QVariant humidite;
    QVariant broyeurPrixUnit;
    QVariant prixTransportUnit;
    QVariant transporteurPrevu;
    // from the lot volume line, when one was chosen
    QVariant nLot;
    QVariant id;
    QString depart;
    QString essence = QStringLiteral("BOIS ENERGIE");
    QString uniteConso;
};
NewDelivery newDeliveryDefaults(const QSqlRecord &settings, const QDateTime &now);

// Writes the new delivery under the next number of the delivery-note counter (shared with the
// orders), in one transaction with the counter: a failure leaves neither a number taken nor a row.
Result<int> createDelivery(QSqlDatabase db, const NewDelivery &delivery);

inline QString deliveryGoneMessage()
{
    return QStringLiteral("Cette livraison n'existe plus.");
}
inline QString invoicedDeleteRefusal()
{
    return QStringLiteral("Livraison FACTUREE, vous ne pouvez pas la supprimer !");
}
inline QString invoicedMeanwhileMessage()
{
    return QStringLiteral("Cette livraison a été facturée sur un autre poste : elle ne peut plus être modifiée.");
}

// The delivery row ("select * from livraison where inc=").
Result<QSqlRecord> loadDelivery(QSqlDatabase db, int inc);

// The columns the editor writes, with their captions for messages.
const QList<QPair<QString, QString>> &deliveryEditorColumns();

// Saves what the editor changed: `asRead` the row as the editor read it, `edited` the editor's
// columns as the user left them. Adds the quantities a save writes beside the tonnage (corres of
// the species), then, in one transaction that locks the row, refuses a delivery invoiced since it
// was read, and writes only the changed columns, each still holding the value read; the tonnage,
// prices and totals stand or fall together.
Status saveDelivery(QSqlDatabase db, int inc, const QSqlRecord &asRead, const QVariantMap &edited);

// Deletes a delivery that is not invoiced, then its actions, in one transaction; gives its lot
// number (null when none). An invoiced one is refused with invoicedDeleteRefusal().
Result<QVariant> deleteDelivery(QSqlDatabase db, int inc);

// Locks the delivery's row in the caller's transaction and refuses it when invoiced (or gone).
Status lockUninvoicedDelivery(QSqlDatabase db, int inc);

// The cost panel of the list: "€", type1, i_nom, i_cout of the delivery's actions.
Result<DataTable> deliveryCosts(QSqlDatabase db, int inc);

// The default moisture and the lorry coefficient the settings hold now (null when unset).
Result<QVariant> lorryCoefficient(QSqlDatabase db);

} // namespace ravelin
