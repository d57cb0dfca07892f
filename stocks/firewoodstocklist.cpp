#include "firewoodstocklist.h"

#include "formats.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"
#include "units.h"

#include <QSqlRecord>

namespace ravelin {

namespace {

const QString stockColumns = QStringLiteral("inc,id,unite_stock,date_inventaire,destination,essence,qualite,"
                                            "qte_theorique_restante,n_lot,unite_defaut,qte_defaut");

// The filter as a where clause with its values.
QString stockWhere(const StockListFilter &filter, QVariantList &values)
{
    QString where;
    if (filter.zone == allZones()) {
        where = QStringLiteral("destination<>?");
    } else {
        where = QStringLiteral("destination=?");
    }
    values << filter.zone;
    const auto contains = [&](const char *column, const QString &text) {
        if (text.isEmpty()) return;
        where += QStringLiteral(" and ") + QLatin1String(column) + QStringLiteral(" like ?");
        values << containsPattern(text);
    };
    contains("essence", filter.essence);
    contains("qualite", filter.qualite);
    contains("destination", filter.destination);
    return where;
}

} // namespace

PagedQuery stockListQuery(const StockListFilter &filter)
{
    PagedQuery q;
    q.columns = stockColumns;
    q.from = QStringLiteral("stock_buche");
    q.where = stockWhere(filter, q.values);
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("destination"), QStringLiteral("essence"), QStringLiteral("qualite"),
                 QStringLiteral("n_lot"), QStringLiteral("unite_stock")};
    return q;
}

Result<DataTable> readStockList(QSqlDatabase db, const StockListFilter &filter)
{
    QVariantList values;
    const QString where = stockWhere(filter, values);
    return selectTable(db,
                       QStringLiteral("select ") + stockColumns + QStringLiteral(" from stock_buche where ") + where +
                           QStringLiteral(" order by destination,essence,qualite,n_lot,unite_stock,inc"),
                       values);
}

Result<StandingTimber> readStandingTimber(QSqlDatabase db)
{
    // one row for every open lot together ('NON' or not set); only the volume lines carry what stands,
    // is felled or skidded, read through the lot's index rather than every log of the open lots
    auto row = selectOne(db,
                         QStringLiteral("select round(sum(A.sur_pied),0) as n1, round(sum(A.abattage),0) as n2, "
                                        "round(sum(A.debardage),0) as n3 from coupe B inner join grume A on "
                                        "A.n_lot=B.n_lot and A.descriptif='VOLUME' where (B.coupe_fini='NON' or "
                                        "B.coupe_fini is null or B.coupe_fini='')"),
                         {});
    if (!row) return row.error();
    return StandingTimber{row->value(0).toDouble(), row->value(1).toDouble(), row->value(2).toDouble()};
}

Status inventoryStock(QSqlDatabase db, int inc, const QString &counted, const QDateTime &when)
{
    bool ok = false;
    const double quantity = parseDecimal(counted.trimmed(), &ok);
    if (!ok) return Error::refusal(incorrectQuantityMessage());
    return inTransaction(db, [&]() -> Status {
        auto stock = selectOne(db,
                               QStringLiteral("select essence, unite_stock, unite_defaut from stock_buche where inc=? "
                                              "for update"),
                               {inc}, recordDeletedMessage());
        if (!stock) return stock.error();
        auto defaut =
            corres(db, stock->value(0).toString(), stock->value(2).toString(), stock->value(1).toString(), quantity);
        if (!defaut) return defaut.error();
        auto done = execute(db,
                            QStringLiteral("update stock_buche set qte_theorique_restante=?, qte_defaut=?, "
                                           "date_inventaire=? where inc=?"),
                            {quantity, round2(*defaut), when, inc});
        if (!done) return done.error();
        return {};
    });
}

Status deleteEmptyStock(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        auto deleted = execute(db,
                               QStringLiteral("delete from stock_buche where inc=? and (qte_theorique_restante<=0 or "
                                              "qte_theorique_restante is null)"),
                               {inc});
        if (!deleted) return deleted.error();
        if (*deleted == 1) return {};
        auto still = scalar(db, QStringLiteral("select inc from stock_buche where inc=?"), {inc});
        if (!still) return still.error();
        if (still->isNull()) return Error::notFound(recordDeletedMessage());
        return Error::refusal(stockAboveZeroMessage());
    });
}

} // namespace ravelin
