#include "orderlines.h"

#include "firewoodstock.h"
#include "formats.h"
#include "lotrecompute.h"
#include "orderstore.h"
#include "sql.h"
#include "statements.h"
#include "units.h"

#include <algorithm>

namespace ravelin {

namespace {

std::optional<double> numberOf(const QVariant &value)
{
    if (value.isNull()) return std::nullopt;
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double v = parseDecimal(value.toString(), &ok);
        if (!ok) return std::nullopt;
        return v;
    }
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

bool isBlank(const QVariant &value)
{
    return value.isNull() || value.toString().trimmed().isEmpty();
}

// The lots a change touches, ascending, each once.
Status recomputeTouchedLots(QSqlDatabase db, QList<QVariant> lots)
{
    QList<int> numbers;
    for (const QVariant &lot : lots)
        if (const auto n = lotNumberOf(lot); n && !numbers.contains(*n)) numbers << *n;
    std::sort(numbers.begin(), numbers.end());
    for (int n : numbers)
        if (Status s = recomputeLotInTransaction(db, n, Rebuild::No); !s) return s;
    return {};
}

FirewoodStockMove orderLineMove(int lineInc, double liv, double defaut, double conso)
{
    FirewoodStockMove move;
    move.lineInc = lineInc;
    move.deltaLiv = liv;
    move.deltaDefaut = defaut;
    move.deltaConso = conso;
    move.from = stockOrigin();
    move.to = stockLineOrder();
    move.lineKind = stockLineOrder();
    return move;
}

} // namespace

QString checkProductLine(const ProductLine &line, const QString &saleUnit)
{
    if (saleUnit != QLatin1String("Heure") && line.essence.isEmpty()) return speciesRequiredMessage();
    if (isBlank(line.qteLiv)) return quantityRequiredMessage();
    if (isBlank(line.prixUnit)) return unitPriceRequiredMessage();
    if (!numberOf(line.qteLiv) || !numberOf(line.prixUnit)) return incorrectNumberMessage();
    return QString();
}

PagedQuery productLinesQuery(int incCde)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,inc_cde,descriptif,essence,qualite,qte_liv,unite_liv,prix_unit,prix_total,n_lot,"
                               "stock_buche,choix_depart,id,qte_defaut,qte_conso,date_creation");
    q.from = QStringLiteral("liste_grume_cde");
    q.where = QStringLiteral("inc_cde=? and (descriptif='GRUME1' or descriptif='VOLUME' )");
    q.values = {incCde};
    q.key = QStringLiteral("inc");
    return q;
}

Status writeOrderLineTotals(QSqlDatabase db, int incCde)
{
    // One statement sums and writes: a line another workstation adds is either in or waits.
    auto done =
        execute(db,
                QStringLiteral(
                    "update cde c, (select round(ifnull(sum(qte_liv),0),2) as liv, round(ifnull(sum(qte_defaut),0),2) "
                    "as defaut, round(ifnull(sum(prix_total),0),2) as prix from liste_grume_cde where inc_cde=? "
                    "and (descriptif='VOLUME' or descriptif='GRUME1')) t set c.qte_liv_totale=t.liv, "
                    "c.qte_defaut_totale=t.defaut, c.volume_cde=t.defaut, c.grume_livree=t.defaut, "
                    "c.prix_vente=t.prix, c.prix_vente_facture=t.prix where c.inc=?"),
                {incCde, incCde});
    if (!done) return done.error();
    return {};
}

Result<int> addProductLine(QSqlDatabase db, int incCde, const ProductLine &line, const LineContext &context)
{
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedAddRefusal());
        if (!order) return order.error();
        const QString saleUnit = order->value(QStringLiteral("unite_liv")).toString();
        const bool transfer = order->value(QStringLiteral("type_cde")).toString() == transferType();
        if (const QString refused = checkProductLine(line, saleUnit); !refused.isEmpty())
            return Error::refusal(refused);
        const double qte = *numberOf(line.qteLiv);
        const double prix = *numberOf(line.prixUnit);
        const bool fromStock = line.origin == originStock();
        const QString uniteConso = line.origin == originElsewhere() ? context.defaultUnit : line.uniteConso;

        auto defaut = corres(db, line.essence, context.defaultUnit, saleUnit, qte);
        if (!defaut) return defaut.error();
        auto conso = corres(db, line.essence, uniteConso, saleUnit, qte);
        if (!conso) return conso.error();
        QVariant stockQte = 0.0;
        if (fromStock) {
            auto converted = corres(db, line.stockEssence, line.stockUnite, saleUnit, qte);
            if (!converted) return converted.error();
            stockQte = *converted;
        }

        QList<ColumnValue> values{
            {QStringLiteral("inc_cde"), incCde},
            {QStringLiteral("descriptif"), QStringLiteral("VOLUME")},
            {QStringLiteral("date_creation"), context.orderDate},
            {QStringLiteral("lieu"), textOrNull(context.client)},
            {QStringLiteral("essence"), textOrNull(line.essence)},
            {QStringLiteral("qualite"), textOrNull(line.qualite)},
            {QStringLiteral("qte_liv"), qte},
            {QStringLiteral("unite_liv"), saleUnit},
            {QStringLiteral("prix_unit"), prix},
            {QStringLiteral("prix_total"), round2(qte * prix)},
            {QStringLiteral("unite_defaut"), context.defaultUnit},
            {QStringLiteral("qte_defaut"), *defaut},
            {QStringLiteral("unite_conso"), uniteConso},
            {QStringLiteral("qte_conso"), *conso},
            {QStringLiteral("choix_depart"), line.origin},
            {QStringLiteral("n_lot"), line.origin == originElsewhere() ? QVariant() : textOrNull(line.nLot)},
            {QStringLiteral("id"), line.origin == originElsewhere() ? QVariant() : line.id},
            {QStringLiteral("stock"), transfer ? QStringLiteral("STOCK") : QStringLiteral("LIV.")},
            {QStringLiteral("stock_qte"), stockQte},
        };
        if (fromStock)
            values += QList<ColumnValue>{{QStringLiteral("stock_buche"), textOrNull(line.stockBuche)},
                                         {QStringLiteral("inc_stock_buche"), line.incStockBuche},
                                         {QStringLiteral("stock_essence"), textOrNull(line.stockEssence)},
                                         {QStringLiteral("stock_qualite"), textOrNull(line.stockQualite)},
                                         {QStringLiteral("stock_unite"), textOrNull(line.stockUnite)}};
        auto inserted = insertRow(db, QStringLiteral("liste_grume_cde"), values);
        if (!inserted) return inserted.error();
        inc = *inserted;
        if (fromStock) {
            Status moved = moveFirewoodStock(db, orderLineMove(inc, qte, *defaut, *conso));
            if (!moved) {
                // a stock row that is gone refuses the line, by its name
                if (moved.error().is(ErrorKind::NotFound)) return Error::refusal(moved.error().message);
                return moved;
            }
        }
        if (Status s = writeOrderLineTotals(db, incCde); !s) {
            Error e = s.error();
            e.message = totalsFailedMessage();
            return e;
        }
        return recomputeTouchedLots(db, {line.origin == originElsewhere() ? QVariant() : QVariant(line.nLot)});
    });
    if (!done) return done.error();
    return inc;
}

namespace {

// The line's order, then the order locked, then the line locked: every line operation takes the
// locks in that order.
Result<QSqlRecord> lockLine(QSqlDatabase db, int lineInc, const QString &invoicedMessage, int &incCde)
{
    auto owner = scalar(db, QStringLiteral("select inc_cde from liste_grume_cde where inc=?"), {lineInc});
    if (!owner) return owner.error();
    if (owner->isNull()) return Error::notFound(lineGoneMessage());
    incCde = owner->toInt();
    auto order = lockOpenOrder(db, incCde, invoicedMessage);
    if (!order) return order.error();
    auto line = select(db, QStringLiteral("select * from liste_grume_cde where inc=? for update"), {lineInc});
    if (!line) return line.error();
    if (line->isEmpty()) return Error::notFound(lineGoneMessage());
    return line->first();
}

} // namespace

Status changeProductLine(QSqlDatabase db, int lineInc, const QVariant &qteLiv, const QVariant &prixUnit)
{
    return inTransaction(db, [&]() -> Status {
        int incCde = 0;
        auto line = lockLine(db, lineInc, invoicedChangeRefusal(), incCde);
        if (!line) return line.error();
        const QString saleUnit = line->value(QStringLiteral("unite_liv")).toString();
        if (isBlank(qteLiv)) return Error::refusal(quantityRequiredMessage());
        if (isBlank(prixUnit)) return Error::refusal(unitPriceRequiredMessage());
        const auto qte = numberOf(qteLiv);
        const auto prix = numberOf(prixUnit);
        if (!qte || !prix) return Error::refusal(incorrectNumberMessage());
        const QString essence = line->value(QStringLiteral("essence")).toString();
        auto defaut = corres(db, essence, line->value(QStringLiteral("unite_defaut")).toString(), saleUnit, *qte);
        if (!defaut) return defaut.error();
        auto conso = corres(db, essence, line->value(QStringLiteral("unite_conso")).toString(), saleUnit, *qte);
        if (!conso) return conso.error();
        const bool fromStock = line->value(QStringLiteral("choix_depart")).toString() == originStock();
        QVariant stockQte = line->value(QStringLiteral("stock_qte"));
        if (fromStock) {
            auto converted = corres(db, line->value(QStringLiteral("stock_essence")).toString(),
                                    line->value(QStringLiteral("stock_unite")).toString(), saleUnit, *qte);
            if (!converted) return converted.error();
            stockQte = *converted;
        }
        auto written = execute(db,
                               QStringLiteral("update liste_grume_cde set qte_liv=?, prix_unit=?, prix_total=?, "
                                              "qte_defaut=?, qte_conso=?, stock_qte=? where inc=?"),
                               {*qte, *prix, round2(*qte * *prix), *defaut, *conso, stockQte, lineInc});
        if (!written) return written.error();
        if (fromStock) {
            const double liv = *qte - line->value(QStringLiteral("qte_liv")).toDouble();
            const double dDefaut = *defaut - line->value(QStringLiteral("qte_defaut")).toDouble();
            const double dConso = *conso - line->value(QStringLiteral("qte_conso")).toDouble();
            Status moved = moveFirewoodStock(db, orderLineMove(lineInc, liv, dDefaut, dConso));
            if (!moved) {
                if (moved.error().is(ErrorKind::NotFound)) return Error::refusal(moved.error().message);
                return moved;
            }
        }
        if (Status s = writeOrderLineTotals(db, incCde); !s) return s;
        return recomputeTouchedLots(db, {line->value(QStringLiteral("n_lot"))});
    });
}

Result<RemovedLine> removeProductLine(QSqlDatabase db, int lineInc)
{
    RemovedLine removed;
    const Status done = inTransaction(db, [&]() -> Status {
        removed = RemovedLine{};
        int incCde = 0;
        auto line = lockLine(db, lineInc, invoicedRemoveRefusal(), incCde);
        if (!line) return line.error();
        if (line->value(QStringLiteral("choix_depart")).toString() == originStock()) {
            // the quantity goes back before the line goes, as the stock update reads the line
            Status moved =
                moveFirewoodStock(db, orderLineMove(lineInc, -line->value(QStringLiteral("qte_liv")).toDouble(),
                                                    -line->value(QStringLiteral("qte_defaut")).toDouble(),
                                                    -line->value(QStringLiteral("qte_conso")).toDouble()));
            if (!moved) {
                if (!moved.error().is(ErrorKind::NotFound)) return moved;
                removed.warning = moved.error().message;
            }
        }
        auto deleted = execute(db, QStringLiteral("delete from liste_grume_cde where inc=?"), {lineInc});
        if (!deleted) return deleted.error();
        if (*deleted != 1) return Error::notFound(lineGoneMessage());
        if (Status s = writeOrderLineTotals(db, incCde); !s) return s;
        return recomputeTouchedLots(db, {line->value(QStringLiteral("n_lot"))});
    });
    if (!done) return done.error();
    return removed;
}

Result<OrderLogTotals> readOrderLogTotals(QSqlDatabase db, int incCde)
{
    auto row = selectOne(db,
                         QStringLiteral("select (round(SUM(m3),2))as n1, count(inc)as n2 from grume where inc_cde=? "
                                        "and descriptif='GRUME'"),
                         {incCde});
    if (!row) return row.error();
    return OrderLogTotals{row->value(0).toDouble(), row->value(1).toInt()};
}

} // namespace ravelin
