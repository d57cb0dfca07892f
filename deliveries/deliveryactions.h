#pragma once

#include "datatable.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QTime>
#include <QVariant>

#include <optional>

namespace ravelin {

// The contractor actions of a chip delivery (table `liste_action_liv`): chipping, hauling,
// purchases and other jobs, each with its company, quantity, unit price and cost.

// The three groups of the editor's costs tab, by the kind their lines carry in `type1`.
enum class ActionKind { Purchase, Transport, Chipping };
QString actionKindType(ActionKind kind); // "ACHAT", "TRANSPORT", "BROYAGE"

// The lines of one group: inc, type1, I_nom, i_date, qte_action, unite_action, prix_unit_action,
// i_cout, km_route, temps_route, in the order they were written.
Result<DataTable> deliveryActions(QSqlDatabase db, int deliveryInc, ActionKind kind);

// A line as the action screen leaves it.
struct DeliveryAction
{
    QString type1;
    QString iNom;
    QDate iDate;
    QVariant qteAction;
    QString uniteAction;
    QVariant prixUnitAction;
    QVariant iCout;
    QVariant nLot; // the delivery's lot, on chipping lines only
};

// Writes a new line of the delivery at once, after locking the delivery: refused when it has been
// invoiced meanwhile (or deleted). Gives the line's key.
Result<int> createDeliveryAction(QSqlDatabase db, int deliveryInc, const DeliveryAction &action);

// Deletes one line of the delivery, under the same lock and refusal.
Status deleteDeliveryAction(QSqlDatabase db, int deliveryInc, int actionInc);

inline QString incorrectValueMessage()
{
    return QStringLiteral("Valeur incorrecte !");
}

// "&Modifier KM": a whole number of kilometres, as typed; nothing for anything else.
std::optional<int> parseKilometres(const QString &typed);
// "&Modifier TEMPS de route": a time of day as typed ("00:25:10", "1:05"); nothing otherwise.
std::optional<QTime> parseRoadTime(const QString &typed);

// Writes the road distance or time of one line at once.
Status setActionKilometres(QSqlDatabase db, int actionInc, int km);
Status setActionRoadTime(QSqlDatabase db, int actionInc, const QTime &time);

} // namespace ravelin
