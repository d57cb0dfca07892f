#pragma once

#include "analysisrunner.h"
#include "datatable.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace ravelin {

// What the outside contractors cost between two dates: every action recorded on lots
// (intervention), orders (liste_action_cde), transfers (liste_action_transfert) and chip deliveries
// (liste_action_liv) gathered in the temporary work table workTableName("C"), one row per action,
// summed per contractor and per family. Only actions whose contractor is in the directory count;
// a company listed twice there counts once, under its first family.

// The kinds of action, as the work table's `type` says them.
inline QString lotWorkKind()
{
    return QStringLiteral("COUPE de BOIS");
}
inline QString orderActionKind()
{
    return QStringLiteral("LIV. GRUME/STERE");
}
inline QString transferActionKind()
{
    return QStringLiteral("TRANSFERT");
}
inline QString deliveryActionKind()
{
    return QStringLiteral("LIV. PLAQUETTE");
}

struct ContractorCostFilter
{
    QDate start;
    QDate end;      // the whole day included
    QString family; // part of the family's name; empty: every family
    bool withZero = false;
};

struct ContractorCosts
{
    DataTable contractors; // societe, famille_intervenant, total; by contractor
    DataTable families;    // famille_intervenant, total; by family
    double total = 0;      // sum of the contractors' totals
};

QString contractorWorkTable();

// Dropping and creating the work table, then the four sources, one step each.
QList<AnalysisRunner::Step> contractorCostSteps(const ContractorCostFilter &filter);
// The two grouped reads of the work table.
Result<ContractorCosts> readContractorCosts(QSqlDatabase db, const ContractorCostFilter &filter);

struct ContractorDetail
{
    DataTable actions; // the work table's columns, by date, and cle ("kind/inc") telling them apart
    DataTable units;   // n1 (quantity), unite_liv
    double cost = 0;
    QString quantities; // "30,00 m3 + 37,50 T"
};

// The contractor's actions that cost something, and their quantity per unit (two statements).
Result<ContractorDetail> readContractorDetail(QSqlDatabase db, const QString &societe);
QString quantityTotalsText(const DataTable &units);

// Records that the contractor's invoice for its listed actions (or for one of them: `kind` and
// `inc`) has been received: fac_fournisseur 'OUI' in each action table and in the work table, in
// one transaction. An action deleted meanwhile on another workstation is named and nothing is
// written.
struct ActionRef
{
    QString kind;
    int inc = 0;
};
Status settleContractorActions(QSqlDatabase db, const QString &societe, std::optional<ActionRef> one = {});

} // namespace ravelin
