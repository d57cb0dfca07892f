#include "firewoodstock.h"

#include "sql.h"
#include "statements.h"
#include "units.h"

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
    return {};
}

StockStatusHandler setStockStatusHandler(StockStatusHandler handler)
{
    StockStatusHandler previous = std::move(statusHandler());
    statusHandler() = std::move(handler);
    return previous;
}

} // namespace ravelin
