#include "transportplanning.h"

#include "formats.h"
#include "reportlayout.h"
#include "sql.h"
#include "statements.h"
#include "workstation.h"

namespace ravelin {

namespace {

const QString kDayPattern = QStringLiteral("dddd dd mmmm yyyy");

// Deliveries still to make: not invoiced (an empty flag counts as not invoiced), nothing weighed.
QString pendingCondition()
{
    return QStringLiteral("(facturee is null or facturee<>'OUI') and (qte_defaut_totale<=0 or "
                          "qte_defaut_totale is null) and date_livraison>=? and date_livraison<?");
}

QVariantList periodValues(const PlanningPeriod &period)
{
    // Before the day after the end: a delivery planned at 17:30 on the last day is in.
    return {sqlDate(period.start), sqlDate(period.end.addDays(1))};
}

// Rows written per insert statement: a week is far below it; a year of planning stays a few
// statements without reaching the server's limit on bound values.
constexpr int kRowsPerInsert = 2000;

} // namespace

PlanningPeriod defaultPlanningPeriod(const QDate &today)
{
    // Days from Sunday: Sunday 1 ... Saturday 7.
    const int d = today.dayOfWeek() % 7 + 1;
    const QDate start = today.addDays(7 - d + 2);
    return {start, start.addDays(6)};
}

QString planningTableName()
{
    return workTableName(QStringLiteral("E"));
}

Result<QStringList> readPlannedCarriers(QSqlDatabase db, const PlanningPeriod &period)
{
    return selectTexts(db,
                       QStringLiteral("select transporteur_prevu from livraison where ") + pendingCondition() +
                           QStringLiteral(" and transporteur_prevu<>'' group by transporteur_prevu "
                                          "order by transporteur_prevu"),
                       periodValues(period));
}

Result<DataTable> rebuildPlanning(QSqlDatabase db, const PlanningPeriod &period, const std::optional<QString> &carrier)
{
    QString sql =
        QStringLiteral("select transporteur_prevu, date_livraison, depart, destination from livraison where ") +
        pendingCondition();
    QVariantList values = periodValues(period);
    if (carrier) {
        sql += QStringLiteral(" and transporteur_prevu=?");
        values << *carrier;
    }
    sql += QStringLiteral(" order by date_livraison, destination");
    auto deliveries = selectTable(db, sql, values);
    if (!deliveries) return deliveries.error();

    // The rows in display order, a heading before each new calendar day.
    const QStringList columns{QStringLiteral("inc"),
                              QStringLiteral("N_lot"),
                              QStringLiteral("indice_lot"),
                              QStringLiteral("jour"),
                              QStringLiteral("depart"),
                              QStringLiteral("destination"),
                              QStringLiteral("transporteur_prevu"),
                              QStringLiteral("date_livraison")};
    QList<QVariantList> rows;
    QDate lastDay;
    int running = 0;
    for (int r = 0; r < deliveries->rowCount(); ++r) {
        const QDateTime when = deliveries->value(r, QStringLiteral("date_livraison")).toDateTime();
        if (!lastDay.isValid() || when.date() != lastDay) {
            lastDay = when.date();
            ++running;
            rows.append({running, running, running, formatDate(lastDay, kDayPattern), QVariant(), QVariant(),
                         QVariant(), QVariant()});
        }
        ++running;
        rows.append({running, running, running, QVariant(), deliveries->value(r, QStringLiteral("depart")),
                     deliveries->value(r, QStringLiteral("destination")),
                     deliveries->value(r, QStringLiteral("transporteur_prevu")), when});
    }

    const QString table = planningTableName();
    // Created empty, with the columns of a delivery plus the day heading.
    if (Status created = recreateWorkTable(db, table, QStringLiteral("like livraison")); !created)
        return created.error();
    if (auto altered = execute(db, QStringLiteral("alter table ") + table + QStringLiteral(" add (jour varchar(50))"));
        !altered)
        return altered.error();

    const QString rowMarks = QStringLiteral("(?,?,?,?,?,?,?,?)");
    for (int first = 0; first < rows.size(); first += kRowsPerInsert) {
        const int count = qMin(kRowsPerInsert, int(rows.size()) - first);
        QStringList marks;
        QVariantList bound;
        for (int i = first; i < first + count; ++i) {
            marks << rowMarks;
            bound << rows.at(i);
        }
        const QString insert = QStringLiteral("insert into ") + table + QStringLiteral(" (") +
                               columns.join(QLatin1Char(',')) + QStringLiteral(") values ") +
                               marks.join(QLatin1Char(','));
        if (auto written = execute(db, insert, bound); !written) return written.error();
    }
    return selectTable(db, QStringLiteral("select * from ") + table + QStringLiteral(" order by inc"));
}

ReportData planningData(const DataTable &rows, const QString &company, const PlanningPeriod &period)
{
    ReportData data;
    data.setDataset(QStringLiteral("planning"), rows);
    data.setValue(QStringLiteral("societe"), company);
    data.setValue(QStringLiteral("debut"), QStringLiteral("Du : ") + formatDate(period.start, kDayPattern));
    data.setValue(QStringLiteral("fin"), QStringLiteral("Au : ") + formatDate(period.end, kDayPattern));
    return data;
}

Result<ReportDocument> layoutPlanning(const ReportData &data)
{
    return layoutReport(planningTemplateName(), data);
}

} // namespace ravelin
