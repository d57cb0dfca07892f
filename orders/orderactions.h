#pragma once

#include "boundquery.h"
#include "contractorrates.h"
#include "pagedquerymodel.h"
#include "result.h"
#include "statements.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace ravelin {

// Contractor actions on an order (table liste_action_cde) and the order's total_cout_action.

inline QString productLineRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un produit livré avant de saisir une action");
}
inline QString invoicedActionsRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de modifier les actions");
}
inline QString actionGoneMessage()
{
    return QStringLiteral("Cette action a été supprimée sur un autre poste.");
}

// The kinds of work of an order's action.
QStringList orderActionTypes();

// The actions of the order as the editor lists them, by date.
PagedQuery orderActionsQuery(int incCde);

// One action as the dialog leaves it.
// An action on an order also names the product line it was entered from (`id`).
struct OrderAction : ContractorAction
{
    QVariant id;
};

// Adds the action in one transaction: the order locked (invoiced: refused), needing a product
// line (productLineRequiredMessage()), then total_cout_action written from the sum. Gives its inc.
Result<int> addOrderAction(QSqlDatabase db, int incCde, const OrderAction &action);
// Writes what the dialog changed (each column still holding the value read) and the total.
Status changeOrderAction(QSqlDatabase db, int incCde, int actionInc, const QList<ColumnChange> &changes);
// Deletes the action and writes the total (0 once the last is gone).
Status removeOrderAction(QSqlDatabase db, int incCde, int actionInc);

// total_cout_action = the sum of i_cout of the order's actions, in one statement.
Status writeActionTotal(QSqlDatabase db, int incCde);

} // namespace ravelin
