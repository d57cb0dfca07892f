#include "customerdeliveries.h"

#include "contractorcosts.h"
#include "formats.h"
#include "sql.h"
#include "statements.h"
#include "workstation.h"

namespace ravelin {

namespace {

QString chipSaleOperations()
{
    return QStringLiteral("(A.operation='VENTE' or A.operation='VENTE sur ACHAT' or A.operation='TRANSPORT')");
}

// The orders counted, with `A` for cde: the same conditions for the sum and the detail.
QString orderConditions(const SalesFilter &f)
{
    QString where = QStringLiteral("A.prix_vente>0 and A.date_cde>=? and A.date_cde<?");
    if (f.grouping == SalesGrouping::Customer) where += QStringLiteral(" and A.client is not null");
    if (!f.invoiced) where += QStringLiteral(" and A.facturee='NON'");
    return where;
}

QString deliveryConditions(const SalesFilter &f)
{
    QString where = QStringLiteral("A.qte_defaut_totale>0 and A.date_livraison>=? and A.date_livraison<? and ") +
                    chipSaleOperations();
    if (f.grouping == SalesGrouping::Customer) where += QStringLiteral(" and A.destination<>''");
    if (!f.invoiced) where += QStringLiteral(" and A.facturee='NON'");
    return where;
}

QVariantList period(const SalesFilter &f)
{
    return {sqlDate(f.start), sqlDate(f.end.addDays(1))};
}

QString orderName(const SalesFilter &f)
{
    return f.grouping == SalesGrouping::Customer ? QStringLiteral("A.client") : QStringLiteral("A.type_cde");
}

QString deliveryName(const SalesFilter &f)
{
    return f.grouping == SalesGrouping::Customer ? QStringLiteral("A.destination") : QStringLiteral("A.operation");
}

} // namespace

bool soldByMwh(const QString &saleUnit)
{
    return saleUnit.compare(QStringLiteral("MWH"), Qt::CaseInsensitive) == 0;
}

QString salesWorkTable()
{
    return workTableName(QStringLiteral("D"));
}

QList<AnalysisRunner::Step> salesSteps(const SalesFilter &filter)
{
    const QString table = salesWorkTable();
    QList<AnalysisRunner::Step> steps;
    steps << recreateWorkTableStep(table, QStringLiteral("(t1 DOUBLE, nom VARCHAR(100), t2 DOUBLE, h1 DOUBLE)"));
    const QString orders = QStringLiteral("insert into ") + table +
                           QStringLiteral(" (t1,nom,t2,h1) select round(A.prix_vente,2), ") + orderName(filter) +
                           QStringLiteral(", round(A.qte_defaut_totale,2), 0 from cde A where ") +
                           orderConditions(filter);
    const QString deliveries = QStringLiteral("insert into ") + table +
                               QStringLiteral(" (t1,nom,t2,h1) select round(A.prix_total,2), ") + deliveryName(filter) +
                               QStringLiteral(", round(A.qte_defaut_totale,2), A.humidite from livraison A where ") +
                               deliveryConditions(filter);
    const QVariantList values = period(filter);
    for (const QString &sql : {orders, deliveries})
        steps << [sql, values](QSqlDatabase db) -> Status {
            if (auto done = execute(db, sql, values); !done) return workTableError(done.error());
            return {};
        };
    return steps;
}

Result<DataTable> readSalesSummary(QSqlDatabase db)
{
    auto rows = selectTable(db, QStringLiteral("select nom, round(sum(t1),2) as t1, round(sum(t2),2) as t2, "
                                               "round(avg(t2),2) as moy_qte, round(avg(h1),2) as moy_humidite, "
                                               "count(*) as nb, round(sum(t2)/count(*),2) as moy_nom from ") +
                                    salesWorkTable() + QStringLiteral(" group by nom order by nom"));
    if (!rows) return workTableError(rows.error());
    return *rows;
}

Result<DataTable> readSalesDetail(QSqlDatabase db, const SalesFilter &filter, const QVariant &nom,
                                  const QString &defaultUnit)
{
    const QVariant name = nom.isNull() ? QVariant() : QVariant(nom.toString());
    const QString sql =
        QStringLiteral("select A.inc, A.client, '€' as u2, 'GRUME' as u3, A.date_cde, A.type_cde, "
                       "A.ville_liv as Ville_liv, A.pays_liv, A.qte_defaut_totale, A.n_cde_client as N_cde_client, "
                       "A.prix_vente, A.livree, A.unite_liv, A.qte_liv_totale, A.unite_liv as unite_vente, "
                       "0 as mwh, 0 as prix_mwh, 0 as prix_tonne from cde A where ") +
        orderConditions(filter) + QStringLiteral(" and ") + orderName(filter) +
        QStringLiteral(" <=> ? union all "
                       "select A.inc, A.destination, '€', 'PLAQUETTE', A.date_livraison, A.operation, '.', '.', "
                       "A.qte_defaut_totale, '.', A.prix_total, 'LIVREE', A.unite_liv, A.qte_liv_totale, A.unite, "
                       "A.mwh, A.prix_mwh, A.prix_tonne from livraison A where ") +
        deliveryConditions(filter) + QStringLiteral(" and ") + deliveryName(filter) +
        QStringLiteral(" <=> ? order by date_cde, inc");
    QVariantList values = period(filter);
    values << name << period(filter) << name;
    auto rows = selectTable(db, sql, values);
    if (!rows) return rows.error();
    // the default unit of the quantities, beside each row
    DataTable out(rows->columns() + QStringList{QStringLiteral("u1")});
    out.reserve(rows->rowCount());
    for (int r = 0; r < rows->rowCount(); ++r) {
        QVariantList row;
        for (int c = 0; c < rows->columnCount(); ++c) row << rows->value(r, c);
        row << defaultUnit;
        out.addRow(row);
    }
    return out;
}

namespace {

// The priced lines: `L` the order line, `A` its order.
QString orderLinesSelect()
{
    return QStringLiteral("select L.inc_cde as inc_parent, 'GRUME' as u3, L.inc, 'GRUME/STERE' as source, L.essence, "
                          "L.qualite, L.qte_liv, L.unite_liv, L.prix_unit, L.prix_total, L.n_lot, "
                          "0 as humidite, 0 as total_MWH from liste_grume_cde L join cde A on A.inc=L.inc_cde "
                          "where (L.descriptif='VOLUME' or L.descriptif='GRUME1') and ");
}

QString deliveryLinesSelect()
{
    // sold by the megawatt-hour: the energy, its price, the moisture; otherwise the tonnes
    return QStringLiteral(
        "select A.inc as inc_parent, 'PLAQUETTE' as u3, A.inc, 'PLAQUETTE' as source, A.essence, A.qualite, "
        "if(A.unite='MWH', A.mwh, A.qte_liv_totale) as qte_liv, A.unite as unite_liv, "
        "if(A.unite='MWH', A.prix_mwh, A.prix_tonne) as prix_unit, A.prix_total, cast(A.n_lot as char) as n_lot, "
        "if(A.unite='MWH', A.humidite, 0) as humidite, if(A.unite='MWH', A.total_mwh, 0) as total_MWH "
        "from livraison A where ");
}

} // namespace

Result<DataTable> readPricedLines(QSqlDatabase db, const QString &u3, int inc)
{
    if (u3 == QStringLiteral("GRUME"))
        return selectTable(db, orderLinesSelect() + QStringLiteral("L.inc_cde=? order by L.inc"), {inc});
    return selectTable(db, deliveryLinesSelect() + QStringLiteral("A.inc=?"), {inc});
}

Result<DataTable> readAllPricedLines(QSqlDatabase db, const SalesFilter &filter, const QVariant &nom)
{
    const QVariant name = nom.isNull() ? QVariant() : QVariant(nom.toString());
    QVariantList values = period(filter);
    values << name << period(filter) << name;
    return selectTable(db,
                       orderLinesSelect() + orderConditions(filter) + QStringLiteral(" and ") + orderName(filter) +
                           QStringLiteral(" <=> ? union all ") + deliveryLinesSelect() + deliveryConditions(filter) +
                           QStringLiteral(" and ") + deliveryName(filter) +
                           QStringLiteral(" <=> ? order by inc_parent, inc"),
                       values);
}

} // namespace ravelin
