#include "chipstock.h"

#include "formats.h"
#include "multirow.h"
#include "sql.h"
#include "statements.h"
#include "workstation.h"

#include <QHash>
#include <QSqlRecord>

#include <cmath>

namespace ravelin {

namespace {

// Sums of one movement per zone name, between each zone's inventory date and the end of the
// chosen day.
Result<QHash<QString, double>> sumsByZone(QSqlDatabase db, const QString &work, const QString &table,
                                          const QString &zoneColumn, const QString &dateColumn,
                                          const QString &quantityColumn, const QDateTime &end)
{
    const QString sql =
        // the few zones first, each reading its own movements from the movement table's index on the
        // zone and the date, rather than the whole movement table
        QStringLiteral("select straight_join m.%2 as zone, round(sum(m.%4),2) as n1 from %5 z inner join %1 m on "
                       "m.%2=z.destination where (z.date_inventaire is null or m.%3>=z.date_inventaire) and m.%3<? "
                       "group by m.%2")
            .arg(table, zoneColumn, dateColumn, quantityColumn, work);
    auto rows = select(db, sql, {end});
    if (!rows) return rows.error();
    QHash<QString, double> sums;
    // zone names compare without case or accents in the database; so here
    for (const QSqlRecord &r : *rows) sums[r.value(0).toString().toLower()] += r.value(1).toDouble();
    return sums;
}

} // namespace

Result<ChipStock> computeChipStock(QSqlDatabase db, const QDate &date,
                                   const std::function<void(int done, int total)> &progress)
{
    const QString work = workTableName(QStringLiteral("A"));
    const auto failed = [](Error e) {
        e.message = workTableFailedMessage();
        return e;
    };
    if (Status created = recreateWorkTable(db, work, QStringLiteral("select * from destination where stockage='OUI'"));
        !created)
        return failed(created.error());
    if (auto altered =
            execute(db, QStringLiteral("alter table ") + work +
                            QStringLiteral(" add (total_entree double, total_sortie double, total_stock double)"));
        !altered)
        return failed(altered.error());
    auto zones = select(db, QStringLiteral("select inc, destination, tonnage_inventaire, tonnage_maxi from ") + work);
    if (!zones) return zones.error();
    const QDateTime end(date.addDays(1), QTime(0, 0));
    auto delivered = sumsByZone(db, work, QStringLiteral("livraison"), QStringLiteral("destination"),
                                QStringLiteral("date_livraison"), QStringLiteral("qte_defaut_totale"), end);
    if (!delivered) return delivered.error();
    auto transferred = sumsByZone(db, work, QStringLiteral("liste_grume_transfert"), QStringLiteral("destination"),
                                  QStringLiteral("date_creation"), QStringLiteral("qte_defaut"), end);
    if (!transferred) return transferred.error();
    auto leaving = sumsByZone(db, work, QStringLiteral("livraison"), QStringLiteral("depart"),
                              QStringLiteral("date_livraison"), QStringLiteral("qte_defaut_totale"), end);
    if (!leaving) return leaving.error();

    ChipStock stock;
    QList<QVariantList> rows;
    const int count = int(zones->size());
    for (int i = 0; i < count; ++i) {
        const QSqlRecord &z = zones->at(i);
        const QString name = z.value(QStringLiteral("destination")).toString().toLower();
        const double in = round2(delivered->value(name) + transferred->value(name));
        const double out = round2(leaving->value(name));
        const double total = round2(z.value(QStringLiteral("tonnage_inventaire")).toDouble() + in - out);
        rows.append({z.value(QStringLiteral("inc")), in, out, total});
        stock.total += total;
        stock.capacity += z.value(QStringLiteral("tonnage_maxi")).toDouble();
        if (progress) progress(i + 1, count);
    }
    if (!rows.isEmpty()) {
        if (Status s = updateRowsByInc(
                db, work, QStringLiteral("inc"),
                {QStringLiteral("total_entree"), QStringLiteral("total_sortie"), QStringLiteral("total_stock")}, rows);
            !s)
            return s.error();
    }
    auto table = selectTable(db, QStringLiteral("select inc, destination, date_inventaire, tonnage_inventaire, "
                                                "total_entree, total_sortie, total_stock, tonnage_maxi from ") +
                                     work + QStringLiteral(" order by destination, inc"));
    if (!table) return table.error();
    stock.zones = *table;
    return stock;
}

std::optional<QString> usedShareText(double total, double capacity)
{
    if (capacity == 0) return std::nullopt;
    return formatNumber(total / capacity * 100, QStringLiteral("0"));
}

QString remainingTimeText(qint64 elapsedMs, int done, int total)
{
    if (done <= 0 || total <= 0) return QStringLiteral("00:00");
    const double share = double(done) / total;
    const qint64 seconds = qMax<qint64>(0, qRound64(elapsedMs / 1000.0 / share - elapsedMs / 1000.0));
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace ravelin
