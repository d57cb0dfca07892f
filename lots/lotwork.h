#pragma once

#include "contractorrates.h"
#include "result.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace ravelin {

// Contractor work on a cutting lot (`intervention`): felling, skidding and other work, each row
// tied to one volume line of the lot. Each group's total cost is kept on the volume line
// (`abattage_cout`, `debardage_cout`, `remise_etat_cout`) and written in the same transaction as
// the row.

enum class WorkGroup { Felling, Skidding, Other };

// "ABATTAGE", "DEBARDAGE"; empty for other work (the type is chosen in the screen).
QString workType(WorkGroup group);
// The group a row of that type belongs to.
WorkGroup workGroupOf(const QString &type1);
// liste_intervention, liste_intervention2, liste_intervention3
QString workScreenName(WorkGroup group);
// "Détail intervention ( ABATTAGE )", "Détail intervention ( DEBARDAGE )", "Détail intervention"
QString workScreenTitle(WorkGroup group);
// The volume line's column that holds the group's cost.
QString lineCostColumn(WorkGroup group);

inline QString noVolumeLineMessage()
{
    return QStringLiteral("Action impossible , il faut d'abord créer une essence de bois");
}
inline QString contractorRequiredMessage()
{
    return QStringLiteral("Vous devez selectionner une société");
}
inline QString workTypeRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un type d'action");
}
inline QString workCostRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un coût !!!");
}

// The contractors a group's screen offers, by company name: the family "ABATTAGE" for felling,
// "DEBARDAGE" for skidding, every contractor for other work.
Result<QList<ContractorRates>> contractorsFor(QSqlDatabase db, WorkGroup group);

// quantity x unit price, to 2 decimals; nothing when either is empty.
std::optional<double> workCost(const QVariant &quantity, const QVariant &unitPrice);

struct WorkRow
{
    int inc = 0; // 0 for a row not yet written
    int nLot = 0;
    int indiceLot = 1;
    int id = 0; // inc of the volume line
    QString type1;
    QString iNom;
    QDate iDate;
    QVariant qteAction;
    QString uniteAction;
    QVariant prixUnitAction;
    QVariant iCout;
};

// A new row of the group on a volume line, dated today.
WorkRow newWorkRow(int nLot, int indiceLot, int lineInc, WorkGroup group, const QDate &today);
Result<WorkRow> loadWork(QSqlDatabase db, int inc);

// Writes a new row and its group's sum on the volume line, in one transaction; gives its key.
// A cost of 0 or less (or none) is refused with workCostRequiredMessage() and writes nothing.
Result<int> createWork(QSqlDatabase db, const WorkRow &row);
// Writes what the user changed in the row read as `asRead` (any cost) and the group's sum, in one
// transaction. A change another workstation made meanwhile to another field is kept; one to the
// same field, or to the quantity, price or cost while the user changed them, is refused
// (ChangedElsewhere, naming the fields); a row deleted meanwhile is reported (NotFound).
Status updateWork(QSqlDatabase db, const WorkRow &asRead, const WorkRow &row);
// Deletes a row and rewrites its group's sum, in one transaction.
Status deleteWork(QSqlDatabase db, int inc);
// Writes the sum of the group's costs into the volume line (0 when it has no row).
Status writeWorkGroupSum(QSqlDatabase db, int nLot, int lineInc, WorkGroup group);

// The work of one group on one volume line, by contractor: inc, I_nom, type1, i_date, qte_action,
// unite_action, prix_unit_action, i_cout, n1 ("€").
Result<QSqlQuery> workListQuery(QSqlDatabase db, int nLot, int lineInc, WorkGroup group);

// The volume lines of the lot as the tab "Exploitation" lists them: inc, essence, qualite, qte,
// unite, fin_pied, fin_abattage, abattage_cout, debardage_cout, remise_etat_cout.
Result<QSqlQuery> workLinesQuery(QSqlDatabase db, int nLot);

// "Modif %": the felled (felling group) or skidded (skidding group) percentage of a volume line,
// a whole number.
Status setWorkShare(QSqlDatabase db, int lineInc, WorkGroup group, int percent);

} // namespace ravelin
