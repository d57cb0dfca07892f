#include "firewoodstock.h"

#include "sql.h"
#include "statements.h"
#include "units.h"

#include <QDateTime>
#include <QtGlobal>

#include <utility>
#include <QSqlRecord>

namespace ravelin {

namespace {

StockStatusHandler &statusHandler()
{
    static StockStatusHandler handler;
    return handler;
}

// Shows the status text for the time of one update, whatever its outcome.
class StatusShown
{
public:
    explicit StatusShown(const QVariant &lineInc)
    {
        if (statusHandler()) statusHandler()(stockUpdateText(lineInc));
    }
    ~StatusShown()
    {
        if (statusHandler()) statusHandler()(QString());
    }
};

Status takeOut(QSqlDatabase db, const FirewoodStockMove &move)
{
    // an order line names its stock's zone in stock_buche, a transfer line leaves from it (depart)
    const bool transfer = move.lineKind == QLatin1String("TRANSFERT");
    const QString statement =
        transfer ? QStringLiteral("select inc_stock_buche, depart as zone, unite_conso from liste_grume_transfert "
                                  "where inc=?")
                 : QStringLiteral("select inc_stock_buche, stock_buche as zone, unite_conso from liste_grume_cde "
                                  "where inc=?");
    auto line = selectOne(db, statement, {move.lineInc});
    if (!line) return line.error();
    const QVariant stockInc = line->value(QStringLiteral("inc_stock_buche"));
    const QString place = line->value(QStringLiteral("zone")).toString();
    if (stockInc.isNull()) return Error::notFound(missingStockMessage(stockInc, place));
    auto stock =
        select(db, QStringLiteral("select essence, unite_defaut from stock_buche where inc=? for update"), {stockInc});
    if (!stock) return stock.error();
    if (stock->isEmpty()) return Error::notFound(missingStockMessage(stockInc, place));
    const QSqlRecord &row = stock->first();
    auto defaut = corres(db, row.value(QStringLiteral("essence")).toString(),
                         row.value(QStringLiteral("unite_defaut")).toString(),
                         line->value(QStringLiteral("unite_conso")).toString(), move.deltaConso);
    if (!defaut) return defaut.error();
    // Relative to what the row holds now: another workstation's move in between is kept.
    auto done =
        execute(db,
                QStringLiteral("update stock_buche set qte_theorique_restante=ifnull(qte_theorique_restante,0)-?, "
                               "qte_defaut=ifnull(qte_defaut,0)-? where inc=?"),
                {move.deltaConso, *defaut, stockInc});
    if (!done) return done.error();
    return {};
}

Status putIn(QSqlDatabase db, const FirewoodStockMove &move)
{
    // only transfer lines put wood into a stock
    auto line = selectOne(db,
                          QStringLiteral("select destination, essence, qualite_destination, n_lot, id, unite_liv, "
                                         "unite_defaut from liste_grume_transfert where inc=?"),
                          {move.lineInc});
    if (!line) return line.error();
    const auto v = [&](const char *column) { return line->value(QLatin1String(column)); };
    // Two workstations depositing the same new key at once would both miss the row and both create
    // it: the zone's place row, locked first, makes the second wait until the first has written.
    auto zone =
        scalar(db, QStringLiteral("select inc from destination where destination=? for update"), {v("destination")});
    if (!zone) return zone.error();
    // A stock row is the zone, species, quality, lot, volume line and unit together; an empty text
    // and a null are the same key (deposits from elsewhere have no lot and no volume line).
    QString where;
    QVariantList values;
    for (const auto &[column, lineColumn] : {std::pair{"destination", "destination"}, std::pair{"essence", "essence"},
                                             std::pair{"qualite", "qualite_destination"}, std::pair{"n_lot", "n_lot"},
                                             std::pair{"id", "id"}, std::pair{"unite_stock", "unite_liv"}}) {
        if (!where.isEmpty()) where += QStringLiteral(" and ");
        const QVariant value = v(lineColumn);
        if (value.isNull() || value.toString().isEmpty()) {
            where += qstrcmp(column, "id") == 0 ? QStringLiteral("id is null")
                                                : QStringLiteral("(%1 is null or %1='')").arg(QLatin1String(column));
        } else {
            where += QLatin1String(column) + QStringLiteral("=?");
            values << value;
        }
    }
    auto found =
        scalar(db, QStringLiteral("select inc from stock_buche where ") + where + QStringLiteral(" limit 1 for update"),
               values);
    if (!found) return found.error();
    if (!found->isNull()) {
        auto done =
            execute(db,
                    QStringLiteral("update stock_buche set qte_theorique_restante=ifnull(qte_theorique_restante,0)+?, "
                                   "qte_defaut=ifnull(qte_defaut,0)+? where inc=?"),
                    {move.deltaLiv, move.deltaDefaut, *found});
        if (!done) return done.error();
        return {};
    }
    if (v("destination").toString().size() < 2 || v("essence").toString().size() < 2) return {};
    auto inserted = insertRow(db, QStringLiteral("stock_buche"),
                              {{QStringLiteral("date_inventaire"), QDateTime::currentDateTime().addDays(-1)},
                               {QStringLiteral("destination"), v("destination")},
                               {QStringLiteral("qte_inventaire"), 0},
                               {QStringLiteral("essence"), v("essence")},
                               {QStringLiteral("qualite"), v("qualite_destination")},
                               {QStringLiteral("n_lot"), v("n_lot")},
                               {QStringLiteral("id"), v("id")},
                               {QStringLiteral("unite_stock"), v("unite_liv")},
                               {QStringLiteral("unite_defaut"), v("unite_defaut")},
                               {QStringLiteral("qte_theorique_restante"), move.deltaLiv},
                               {QStringLiteral("qte_defaut"), move.deltaDefaut}});
    if (!inserted) return inserted.error();
    return {};
}

} // namespace

QString stockUpdateText(const QVariant &lineInc)
{
    return QStringLiteral("Mise à jour STOCK ( %1 ) en cours ...").arg(lineInc.toString());
}

QString missingStockMessage(const QVariant &stockInc, const QString &place)
{
    return QStringLiteral("Stock n° %1 ( %2 ) introuvable : quantité non reprise").arg(stockInc.toString(), place);
}

Status moveFirewoodStock(QSqlDatabase db, const FirewoodStockMove &move)
{
    if (move.lineInc.isNull() || move.lineInc.toString().isEmpty()) return {};
    StatusShown shown(move.lineInc);
    Status takenOut;
    if (move.from == stockOrigin()) {
        takenOut = takeOut(db, move);
        // a departure stock that is gone still lets the wood into its destination
        if (!takenOut && !takenOut.error().is(ErrorKind::NotFound)) return takenOut;
    }
    if (move.to == stockOrigin())
        if (Status s = putIn(db, move); !s) return s;
    return takenOut;
}

StockStatusHandler setStockStatusHandler(StockStatusHandler handler)
{
    StockStatusHandler previous = std::move(statusHandler());
    statusHandler() = std::move(handler);
    return previous;
}

} // namespace ravelin
