#include "lotsmap.h"

#include "formats.h"
#include "statements.h"

#include <QHash>

namespace ravelin {

QString lotMarkerIcon(double standing, double felled, double skidded)
{
    if (standing > 0) return QStringLiteral("pointeur1.png");
    if (felled > 0) return QStringLiteral("pointeur2.png");
    if (skidded > 0) return QStringLiteral("pointeur3.png");
    return QString();
}

Result<LotsMap> readLotsMap(QSqlDatabase db, const PagedQuery &lots, const QString &defaultUnit)
{
    LotsMap map;
    auto centre = selectTexts(db, QStringLiteral("select centre_carte from perso limit 1"));
    if (!centre) return centre.error();
    map.centre = parseMapPosition(centre->value(0)).value_or(fixedMapCentre());

    const QString where =
        (lots.where.isEmpty() ? QString() : QStringLiteral("(") + lots.where + QStringLiteral(") and ")) +
        QStringLiteral("latitude is not null and latitude<>''");
    QStringList order = lots.orderBy;
    order << lots.key + (lots.descending ? QStringLiteral(" desc") : QString());
    auto listed =
        select(db,
               QStringLiteral("select n_lot,lieu,estimation,latitude from ") + lots.from + QStringLiteral(" where ") +
                   where + QStringLiteral(" order by ") + order.join(QLatin1Char(',')),
               lots.values);
    if (!listed) return listed.error();
    // every listed lot's sums at once
    auto sums = select(db,
                       QStringLiteral("select N_lot,sum(qte_defaut),sum(qte_livree_defaut),sum(sur_pied),sum(abattage),"
                                      "sum(debardage) from grume where descriptif='VOLUME' and N_lot in "
                                      "(select n_lot from ") +
                           lots.from + QStringLiteral(" where ") + where + QStringLiteral(") group by N_lot"),
                       lots.values);
    if (!sums) return sums.error();
    QHash<int, QSqlRecord> sumsOfLot;
    for (const QSqlRecord &row : *sums) sumsOfLot.insert(row.value(0).toInt(), row);

    const QString unit = QLatin1Char(' ') + defaultUnit;
    for (const QSqlRecord &lot : *listed) {
        const auto position = parseMapPosition(lot.value(3).toString());
        if (!position) continue;
        const QSqlRecord s = sumsOfLot.value(lot.value(0).toInt());
        const auto number = [&](int column) { return s.isEmpty() ? 0.0 : finiteOrZero(s.value(column).toDouble()); };
        const QString icon = lotMarkerIcon(number(3), number(4), number(5));
        if (icon.isEmpty()) continue;
        const QString title = lot.value(1).toString() + QLatin1Char(' ') +
                              formatNumber(finiteOrZero(lot.value(2).toDouble()), QStringLiteral("0")) + unit +
                              QStringLiteral("  (Lot: ") + lot.value(0).toString() + QStringLiteral(")") +
                              QStringLiteral(" Qte restante : ") +
                              formatNumber(number(1) - number(2), QStringLiteral("0")) + unit;
        map.markers.append(MapMarker{*position, icon, title});
    }

    auto places = select(db, QStringLiteral("select client,cp,ville,latitude,stockage from destination "
                                            "where latitude is not null and stockage is not null"));
    if (!places) return places.error();
    QList<MapMarker> customers;
    for (const QSqlRecord &place : *places) {
        const QString latitude = place.value(3).toString();
        const auto position = parseMapPosition(latitude);
        if (latitude.size() <= 4 || !position) continue;
        const QString stockage = place.value(4).toString();
        const QString where = place.value(1).toString() + QLatin1Char(' ') + place.value(2).toString();
        if (stockage.compare(QLatin1String("NON"), Qt::CaseInsensitive) == 0) {
            customers.append(
                MapMarker{*position, QStringLiteral("pointeur6.png"),
                          QStringLiteral(" Client :") + place.value(0).toString() + QLatin1Char(' ') + where});
            continue;
        }
        QString title;
        if (stockage.compare(QLatin1String("OUI"), Qt::CaseInsensitive) == 0)
            title = QStringLiteral(" Sock PLAQUETTES FORESTIERES :") + where;
        else if (stockage.compare(QLatin1String("BUCHE"), Qt::CaseInsensitive) == 0)
            title = QStringLiteral(" Sock BUCHES :") + where;
        map.markers.append(MapMarker{*position, QStringLiteral("pointeur5.png"), title});
    }
    map.markers += customers;
    return map;
}

Result<QString> writeLotsMap(const LotsMap &map, const QString &folder)
{
    return writeMapPage(folder, lotsMapFileName(), markersPageHtml(map.centre, map.markers, readMapSettings(folder)));
}

} // namespace ravelin
