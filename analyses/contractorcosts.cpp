#include "contractorcosts.h"

#include "formats.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"
#include "workstation.h"

namespace ravelin {

namespace {

// One source of actions: the action table, its kind, and what it takes from the row it belongs to.
struct ActionSource
{
    QString table;
    QString kind;
    QString lot;      // the lot column, as text (some tables keep it as text, empty or typed)
    QString place;    // destination and depart
    QString join;     // the row the action belongs to
    QString roadTime; // temps_route as text
};

QList<ActionSource> actionSources()
{
    return {
        {QStringLiteral("intervention"), lotWorkKind(), QStringLiteral("cast(A.N_lot as char)"),
         QStringLiteral("' ' as destination, C.lieu as depart"), QStringLiteral("join coupe C on C.n_lot=A.N_lot"),
         QStringLiteral("cast(A.temps_route as char)")},
        {QStringLiteral("liste_action_cde"), orderActionKind(), QStringLiteral("A.n_lot"),
         QStringLiteral("C.destination as destination, ' ' as depart"), QStringLiteral("join cde C on C.inc=A.inc_cde"),
         QStringLiteral("cast(A.temps_route as char)")},
        {QStringLiteral("liste_action_transfert"), transferActionKind(), QStringLiteral("A.n_lot"),
         QStringLiteral("C.destination as destination, C.depart as depart"),
         QStringLiteral("join transfert C on C.inc=A.inc_transfert"), QStringLiteral("cast(A.temps_route as char)")},
        {QStringLiteral("liste_action_liv"), deliveryActionKind(), QStringLiteral("cast(C.n_lot as char)"),
         QStringLiteral("C.destination as destination, C.depart as depart"),
         QStringLiteral("join livraison C on C.inc=A.inc_cde"), QStringLiteral("cast(A.temps_route as char)")},
    };
}

} // namespace

QString contractorWorkTable()
{
    return workTableName(QStringLiteral("C"));
}

QList<AnalysisRunner::Step> contractorCostSteps(const ContractorCostFilter &filter)
{
    const QString table = contractorWorkTable();
    QList<AnalysisRunner::Step> steps;
    // numbers DOUBLE, texts as wide as their sources, the lot and the road time as text
    steps << recreateWorkTableStep(
        table, QStringLiteral("(inc INT, fac_fournisseur VARCHAR(10), societe VARCHAR(100), "
                              "famille_intervenant VARCHAR(100), type VARCHAR(30), b VARCHAR(100), "
                              "n_lot VARCHAR(20), indice_lot INT, date1 DATETIME, tonnage DOUBLE, "
                              "cout_total DOUBLE, heure DOUBLE, operation VARCHAR(50), destination VARCHAR(100), "
                              "depart VARCHAR(100), unite_liv VARCHAR(20), prix_unit DOUBLE, km_route DOUBLE, "
                              "temps_route VARCHAR(20), KEY idx_societe_date (societe, date1))"));
    // the directory, one row per company (a company listed twice keeps its first family)
    QString directory = QStringLiteral("(select societe, min(famille_intervenant) as famille_intervenant "
                                       "from intervenant_possible");
    QVariantList directoryValues;
    if (!filter.family.isEmpty()) {
        directory += QStringLiteral(" where famille_intervenant like ?");
        directoryValues << containsPattern(filter.family);
    }
    directory += QStringLiteral(" group by societe) B");
    for (const ActionSource &source : actionSources()) {
        const QString sql =
            QStringLiteral("insert into ") + table +
            // the actions read in their own order, each joined to its row and then to the few hundred
            // companies of the directory: led by the directory, the server fetched twenty years of
            // actions by company name, one at a time, two and a half times slower
            QStringLiteral(" select straight_join A.inc, A.fac_fournisseur, B.societe, B.famille_intervenant, ? as "
                           "type, A.I_nom as b, ") +
            source.lot +
            QStringLiteral(" as n_lot, A.Indice_lot, A.i_date, A.qte_action, A.i_cout, A.i_nb_heure, "
                           "A.type1, ") +
            source.place + QStringLiteral(", A.unite_action, A.prix_unit_action, A.km_route, ") + source.roadTime +
            QStringLiteral(" from ") + source.table + QStringLiteral(" A ") + source.join + QStringLiteral(" join ") +
            directory + QStringLiteral(" on B.societe=A.I_nom where A.i_date>=? and A.i_date<?");
        QVariantList values;
        values << source.kind << directoryValues << sqlDate(filter.start) << sqlDate(filter.end.addDays(1));
        steps << [sql, values](QSqlDatabase db) -> Status {
            if (auto done = execute(db, sql, values); !done) return workTableError(done.error());
            return {};
        };
    }
    return steps;
}

Result<ContractorCosts> readContractorCosts(QSqlDatabase db, const ContractorCostFilter &filter)
{
    const QString table = contractorWorkTable();
    ContractorCosts costs;
    auto contractors =
        selectTable(db, QStringLiteral("select societe, min(famille_intervenant) as famille_intervenant, "
                                       "round(sum(cout_total),2) as total from ") +
                            table + (filter.withZero ? QString() : QStringLiteral(" where cout_total>0")) +
                            QStringLiteral(" group by societe order by societe"));
    if (!contractors) return workTableError(contractors.error());
    costs.contractors = *contractors;
    for (int r = 0; r < costs.contractors.rowCount(); ++r)
        costs.total += costs.contractors.value(r, QStringLiteral("total")).toDouble();
    costs.total = round2(costs.total);
    auto families =
        selectTable(db, QStringLiteral("select famille_intervenant, round(sum(cout_total),2) as total from ") + table +
                            QStringLiteral(" group by famille_intervenant order by famille_intervenant"));
    if (!families) return workTableError(families.error());
    costs.families = *families;
    return costs;
}

QString quantityTotalsText(const DataTable &units)
{
    QStringList parts;
    for (int r = 0; r < units.rowCount(); ++r)
        parts << formatNumber(units.value(r, QStringLiteral("n1")).toDouble(), QStringLiteral("# ###.00")) +
                     QLatin1Char(' ') + units.value(r, QStringLiteral("unite_liv")).toString();
    return parts.join(QStringLiteral(" + "));
}

Result<ContractorDetail> readContractorDetail(QSqlDatabase db, const QString &societe)
{
    const QString table = contractorWorkTable();
    ContractorDetail detail;
    auto actions =
        selectTable(db,
                    QStringLiteral("select inc, societe, famille_intervenant, date1, type, operation, "
                                   "destination, n_lot, tonnage, unite_liv, prix_unit, cout_total, "
                                   "fac_fournisseur, km_route, temps_route, depart, indice_lot, b, heure, "
                                   "concat(type, '/', inc) as cle from ") +
                        table + QStringLiteral(" where cout_total>0 and societe=? order by date1, type, inc"),
                    {societe});
    if (!actions) return actions.error();
    detail.actions = *actions;
    for (int r = 0; r < detail.actions.rowCount(); ++r)
        detail.cost += detail.actions.value(r, QStringLiteral("cout_total")).toDouble();
    detail.cost = round2(detail.cost);
    auto units =
        selectTable(db,
                    QStringLiteral("select round(sum(tonnage),2) as n1, unite_liv from ") + table +
                        QStringLiteral(" where cout_total>0 and societe=? group by unite_liv order by unite_liv"),
                    {societe});
    if (!units) return units.error();
    detail.units = *units;
    detail.quantities = quantityTotalsText(detail.units);
    return detail;
}

Status settleContractorActions(QSqlDatabase db, const QString &societe, std::optional<ActionRef> one)
{
    const QString table = contractorWorkTable();
    QString rows = QStringLiteral("T.cout_total>0 and T.societe=?");
    QVariantList rowValues{societe};
    if (one) {
        rows += QStringLiteral(" and T.type=? and T.inc=?");
        rowValues << one->kind << one->inc;
    }
    return inTransaction(db, [&]() -> Status {
        // every listed action must still be there: one deleted meanwhile is named, nothing written
        QStringList missingParts;
        QVariantList missingValues;
        for (const ActionSource &s : actionSources()) {
            missingParts << QStringLiteral("select T.type, T.inc, T.date1 from ") + table +
                                QStringLiteral(" T left join ") + s.table +
                                QStringLiteral(" A on A.inc=T.inc where T.type=? and A.inc is null and ") + rows;
            missingValues << s.kind << rowValues;
        }
        auto missing =
            selectTable(db, missingParts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by date1, inc"),
                        missingValues);
        if (!missing) return missing.error();
        if (!missing->isEmpty()) {
            QStringList names;
            for (int r = 0; r < missing->rowCount(); ++r)
                names << missing->value(r, QStringLiteral("type")).toString() + QStringLiteral(" n° ") +
                             missing->value(r, QStringLiteral("inc")).toString() + QStringLiteral(" du ") +
                             formatDate(missing->value(r, QStringLiteral("date1")).toDate());
            return Error::notFound(QStringLiteral("Intervention supprimée sur un autre poste, rien n'est soldé : ") +
                                   names.join(QStringLiteral(", ")));
        }
        for (const ActionSource &s : actionSources()) {
            if (one && one->kind != s.kind) continue;
            QVariantList values{s.kind};
            values << rowValues;
            auto done =
                execute(db,
                        QStringLiteral("update ") + s.table + QStringLiteral(" A join ") + table +
                            QStringLiteral(" T on T.inc=A.inc and T.type=? set A.fac_fournisseur='OUI' where ") + rows,
                        values);
            if (!done) return done.error();
        }
        auto flagged = execute(
            db, QStringLiteral("update ") + table + QStringLiteral(" T set T.fac_fournisseur='OUI' where ") + rows,
            rowValues);
        if (!flagged) return flagged.error();
        return {};
    });
}

} // namespace ravelin
