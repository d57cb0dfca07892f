#include "costprice.h"

#include "formats.h"
#include "multirow.h"
#include "sql.h"

#include <QSqlQuery>

#include <algorithm>

namespace ravelin {

namespace {

double number(const QVariant &v)
{
    return v.isNull() ? 0.0 : finiteOrZero(v.toDouble());
}

std::optional<double> optionalNumber(const QVariant &v)
{
    if (v.isNull()) return std::nullopt;
    return finiteOrZero(v.toDouble());
}

// The lot's estimation is the total of its volume lines; its cost total adds the lot-level costs.
// Errors name the caller.
Status writeLotEstimationAndCost(QSqlDatabase db, int nLot, SourceLocation location = SourceLocation::current())
{
    auto done = execute(db,
                        QStringLiteral("update coupe set "
                                       "estimation = ifnull((select sum(qte_defaut) from grume "
                                       "where N_lot = ? and descriptif = 'VOLUME'), 0), "
                                       "cout_total = ifnull(prix_achat, 0) + ifnull(abattage_cout, 0) "
                                       "+ ifnull(debardage_cout, 0) + ifnull(remise_etat_cout, 0) "
                                       "where n_lot = ?"),
                        {nLot, nLot}, location);
    if (!done) return done.error();
    return {};
}

} // namespace

Result<LotTotals> readLotTotals(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select sum(qte_defaut), "
                                       "sum(round(ifnull(qte_defaut, 0) - ifnull(qte_livree_defaut, 0), 3)), "
                                       "sum(round(ifnull(qte_livree_defaut, 0), 3)) "
                                       "from grume where N_lot = ? and descriptif = 'VOLUME'"),
                        {nLot});
        !s)
        return s.error();
    LotTotals totals;
    if (q.next()) {
        totals.total = number(q.value(0));
        totals.available = number(q.value(1));
        totals.delivered = number(q.value(2));
    }
    return totals;
}

Result<LotTotals> updateLotTotals(QSqlDatabase db, int nLot)
{
    if (Status s = writeLotEstimationAndCost(db, nLot); !s) return s.error();
    return readLotTotals(db, nLot);
}

WoodState woodState(double qte, std::optional<double> finPied, std::optional<double> finAbattage, double qteLivree)
{
    const double q = finiteOrZero(qte);
    const double fp = finPied.value_or(0.0);
    const double fa = finAbattage.value_or(0.0);
    WoodState w;
    w.surPied = round2(q * (100.0 - fp) / 100.0);
    w.abattage = round2(std::max(q * fp / 100.0 - q * fa / 100.0, 0.0));
    w.debardage = round2(q * fa / 100.0 - finiteOrZero(qteLivree));
    return w;
}

Result<LotTotals> computeWoodState(QSqlDatabase db, int nLot)
{
    Status done = inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q,
                            QStringLiteral("select inc, qte, fin_pied, fin_abattage, qte_livree from grume "
                                           "where N_lot = ? and descriptif = 'VOLUME' order by inc"),
                            {nLot});
            !s)
            return s;
        QList<QVariantList> rows;
        while (q.next()) {
            const auto fp = optionalNumber(q.value(2));
            const auto fa = optionalNumber(q.value(3));
            const WoodState w = woodState(number(q.value(1)), fp, fa, number(q.value(4)));
            rows.append({q.value(0).toInt(), fp.value_or(0.0), fa.value_or(0.0), w.surPied, w.abattage, w.debardage});
        }
        if (Status s =
                updateRowsByInc(db, QStringLiteral("grume"), QStringLiteral("inc"),
                                {QStringLiteral("fin_pied"), QStringLiteral("fin_abattage"), QStringLiteral("sur_pied"),
                                 QStringLiteral("abattage"), QStringLiteral("debardage")},
                                rows);
            !s)
            return s;
        return writeLotEstimationAndCost(db, nLot);
    });
    if (!done) return done.error();
    return readLotTotals(db, nLot);
}

CostPrice costPrice(const CostPriceSums &sums)
{
    CostPrice p;
    p.sums = sums;
    p.totalCoupe = round2(sums.achat + sums.abattage + sums.debardage + sums.autre);
    p.totalCouts = round2(p.totalCoupe + sums.livraisonPlaquette + sums.livraisonGrume + sums.transfert);
    p.totalVentes = round2(sums.ventePlaquette + sums.venteGrume);
    p.totalQte = round2(sums.qtePlaquette + sums.qteGrume);
    p.marge = round2(p.totalVentes - p.totalCouts);
    if (p.totalVentes != 0.0) p.margePourcent = finiteOrZero(p.marge / p.totalVentes * 100.0);
    if (p.totalQte != 0.0) {
        p.prixRevient = finiteOrZero(p.totalCouts / p.totalQte);
        p.margeParUnite = finiteOrZero(p.marge / p.totalQte);
    }
    return p;
}

Result<CostPrice> readCostPrice(QSqlDatabase db, int nLot)
{
    // Order lines and contractor actions keep the lot number as text.
    const QString lotText = QString::number(nLot);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral(
        "select "
        "(select prix_achat from coupe where n_lot = ?), "
        "(select sum(qte_action * prix_unit_action) from intervention where N_lot = ? and type1 = 'ABATTAGE'), "
        "(select sum(qte_action * prix_unit_action) from intervention where N_lot = ? and type1 = 'DEBARDAGE'), "
        "(select sum(qte_action * prix_unit_action) from intervention where N_lot = ? "
        "and type1 <> 'DEBARDAGE' and type1 <> 'ABATTAGE'), "
        "(select sum(prix_total) from livraison where N_lot = ?), "
        "(select sum(qte_defaut_totale) from livraison where N_lot = ?), "
        "(select sum(A.i_cout) from liste_action_liv A join livraison B on B.inc = A.inc_cde where B.N_lot = ?), "
        "(select sum(i_cout) from liste_action_cde where N_lot = ?), "
        "(select sum(prix_total) from liste_grume_cde where N_lot = ?), "
        "(select sum(qte_defaut) from liste_grume_cde where N_lot = ?), "
        "(select sum(i_cout) from liste_action_transfert where N_lot = ?)");
    if (Status s = exec(q, sql, {nLot, nLot, nLot, nLot, nLot, nLot, nLot, lotText, lotText, lotText, lotText}); !s)
        return s.error();
    CostPriceSums sums;
    if (q.next()) {
        const auto v = [&](int c) { return round2(number(q.value(c))); };
        sums.achat = v(0);
        sums.abattage = v(1);
        sums.debardage = v(2);
        sums.autre = v(3);
        sums.ventePlaquette = v(4);
        sums.qtePlaquette = v(5);
        sums.livraisonPlaquette = v(6);
        sums.livraisonGrume = v(7);
        sums.venteGrume = v(8);
        sums.qteGrume = v(9);
        sums.transfert = v(10);
    }
    return costPrice(sums);
}

} // namespace ravelin
