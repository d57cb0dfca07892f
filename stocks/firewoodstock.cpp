#include "firewoodstock.h"

#include "sql.h"
#include "statements.h"
#include "units.h"

#include <QDateTime>
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
    const QString lineTable = move.lineKind == QLatin1String("TRANSFERT") ? QStringLiteral("liste_grume_transfert")
                                                                          : QStringLiteral("liste_grume_cde");
    auto line = selectOne(
        db, QStringLiteral("select inc_stock_buche, stock_buche, unite_conso from %1 where inc=?").arg(lineTable),
        {move.lineInc});
    if (!line) return line.error();
    const QVariant stockInc = line->value(QStringLiteral("inc_stock_buche"));
    const QString place = line->value(QStringLiteral("stock_buche")).toString();
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
    // a stock row is the zone, species, quality, lot, volume line and unit together
    auto found =
        scalar(db,
               QStringLiteral("select inc from stock_buche where destination<=>? and essence<=>? and "
                              "qualite<=>? and n_lot<=>? and id<=>? and unite_stock<=>? limit 1 for update"),
               {v("destination"), v("essence"), v("qualite_destination"), v("n_lot"), v("id"), v("unite_liv")});
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
    return QStringLiteral("Le stock n° %1 ( %2 ) n'existe plus.").arg(stockInc.toString(), place);
}

Status moveFirewoodStock(QSqlDatabase db, const FirewoodStockMove &move)
{
    if (move.lineInc.isNull() || move.lineInc.toString().isEmpty()) return {};
    StatusShown shown(move.lineInc);
    if (move.from == stockOrigin())
        if (Status s = takeOut(db, move); !s) return s;
    if (move.to == stockOrigin())
        if (Status s = putIn(db, move); !s) return s;
    return {};
}

StockStatusHandler setStockStatusHandler(StockStatusHandler handler)
{
    StockStatusHandler previous = std::move(statusHandler());
    statusHandler() = std::move(handler);
    return previous;
}

} // namespace ravelin
