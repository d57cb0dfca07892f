#pragma once

#include "boundquery.h"
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

namespace ravelin {

// Statements and rules on table `cde`, the orders of logs and firewood ("livraisons" on screen).

enum class OrderSort { Number, Date, Client, Type };

// The filters of the orders tab as the user left them.
struct OrderSearch
{
    QString client;            // "Client"
    QString type;              // "Type de Cde"
    bool showInvoiced = false; // "Revoir les Livraisons facturées"
    OrderSort sort = OrderSort::Number;
};

inline QString clientFilterRefusal()
{
    return QStringLiteral("Saisie incorrecte, pas de \" ' \" ");
}

// The order list, read a page at a time: the columns the grid and the detail panel show, plus
// what the colours need. An apostrophe in the client filter is refused with clientFilterRefusal().
Result<PagedQuery> orderSearchQuery(const OrderSearch &search);

// The product lines of one order as the tab's detail panel (Grille_lien) shows them.
PagedQuery orderPanelLinesQuery(int inc);

// Customer types offered for a new order, in this order; stored rows may also hold "TRANSFERT".
QStringList orderTypes();
inline QString transferType()
{
    return QStringLiteral("TRANSFERT");
}
// Sale units of a new order.
QStringList saleUnits();

// Colour (RGB hex) of the type text in the list; empty: black.
QString orderTypeTextColour(const QString &type);
// True when the date falls on a Sunday.
bool isSunday(const QVariant &date);
// The picture of the type in the first column: its index among "EXPORT", "SCIERIE",
// "CHAUFFERIE", "ENTREPRISE", "PARTICULIER", "TRANSFERT"; -1 for none.
int orderTypeIconIndex(const QString &type);

inline QString orderTypeRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un type de commande");
}
inline QString orderUnitRequiredMessage()
{
    return QStringLiteral("Vous devez saisir une UNITE de livraison ( m3, Tonne, Stere )");
}
inline QString orderClientRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un client");
}
inline QString orderGoneMessage()
{
    return QStringLiteral("Cette livraison a été supprimée sur un autre poste.");
}
inline QString invoicedOrderDeletionRefusal()
{
    return QStringLiteral("Livraison FACTUREE, vous ne pouvez pas la supprimer !");
}
inline QString orderWithLinesDeletionRefusal()
{
    return QStringLiteral("Vous devez d'abord supprimer tous les produits livrés de cette commande !");
}
inline QString invoicedOrderChangeRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de modifier cette livraison");
}

// What the new-order dialog asks.
struct NewOrder
{
    QString typeCde;
    QString uniteLiv;
};
// The first message the dialog's "OK" shows for these choices, or an empty text.
QString checkNewOrder(const NewOrder &order);

// Writes a new order under the next number of the counter num_bl (one transaction: the counter
// and the insert), already created (creation = 0), dated `now`, not delivered nor invoiced, in
// the default unit; gives its number.
Result<int> createOrder(QSqlDatabase db, const NewOrder &order, const QString &defaultUnit, const QDateTime &now);

// The order row; an order deleted meanwhile gives NotFound with orderGoneMessage().
Result<QSqlRecord> loadOrder(QSqlDatabase db, int inc);

// True when the order has any row in liste_grume_cde (product line or loaded log).
Result<bool> orderHasLines(QSqlDatabase db, int inc);

// Deletes the order in one transaction: its row only while not invoiced (else
// invoicedOrderDeletionRefusal()), only while it has no row in liste_grume_cde (else
// orderWithLinesDeletionRefusal()), with its actions; its attached logs lose their order number
// and keep their `livree` mark.
Status deleteOrder(QSqlDatabase db, int inc);

// The header columns the order editor writes.
const QStringList &orderHeaderColumns();

// Writes what the editor changed in the header, each column still holding the value read (else
// ChangedElsewhere); an order invoiced meanwhile refuses (invoicedOrderChangeRefusal()), an order
// deleted meanwhile gives NotFound. A changed order date moves the dates of its product lines.
// The totals are never written here: the line and action operations keep them.
Status saveOrderHeader(QSqlDatabase db, int inc, const QList<ColumnChange> &changes);

// The order row locked for a change of its lines, actions or logs ("select ... for update" in the
// caller's transaction): NotFound when deleted, a refusal with `invoicedMessage` when invoiced.
Result<QSqlRecord> lockOpenOrder(QSqlDatabase db, int inc, const QString &invoicedMessage);

} // namespace ravelin
