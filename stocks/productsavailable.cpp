#include "productsavailable.h"

#include "searchpattern.h"
#include "volumelines.h"

namespace ravelin {

QStringList productGroupings(const ProductsSearch &search)
{
    QStringList columns;
    if (search.bySpecies) columns << QStringLiteral("essence");
    if (search.byLot) columns << QStringLiteral("n_lot");
    return columns;
}

Result<BoundQuery> productsAvailableQuery(const ProductsSearch &search)
{
    auto lots = parseLotList(search.lots);
    if (!lots) return lots.error();
    QString groups;
    for (const QString &column : productGroupings(search)) groups += QLatin1Char(',') + column;

    BoundQuery q;
    q.add(
        QStringLiteral("select descriptif,sum(round(qte_defaut,0))as m3,sum(round(ifnull((qte_livree_defaut),0),3))as "
                       "a0, sum(round((qte_defaut-ifnull((qte_livree_defaut),0)),3))as a1"));
    // a line of quantity 0 has no share of standing, felled or skidded wood
    q.add(QStringLiteral(",sum(round(sur_pied/nullif(qte,0)*qte_defaut,0))as sur_pied,sum(round(abattage/nullif(qte,0)*"
                         "qte_defaut,0))as abattage,sum(round(debardage/nullif(qte,0)*qte_defaut,0))as debardage"));
    q.add(groups);
    q.add(QStringLiteral(" from grume"));
    q.add(QStringLiteral("Where (livree<>'OUI' or livree is null)"));
    q.add(QStringLiteral(" and descriptif='VOLUME'"));
    if (!search.species.isEmpty()) q.add(QStringLiteral(" and essence like ?"), {containsPattern(search.species)});
    if (lots->size() == 1) {
        q.add(QStringLiteral(" and n_lot=?"), {lots->first()});
    } else if (lots->size() > 1) {
        q.add(QStringLiteral(" and ( n_lot=?"), {lots->first()});
        for (int i = 1; i < lots->size(); ++i) q.add(QStringLiteral(" or n_lot=?"), {lots->at(i)});
        q.add(QStringLiteral(")"));
    }
    q.add(QStringLiteral("group by descriptif") + groups);
    q.add(QStringLiteral("order by descriptif") + groups);
    return q;
}

} // namespace ravelin
