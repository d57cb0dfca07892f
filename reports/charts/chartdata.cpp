#include "chartdata.h"

#include "formats.h"
#include "sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

namespace ravelin {

Result<QList<ChartPoint>> chartPointsFromQuery(QSqlQuery &query, const QString &labelColumn, const QString &valueColumn)
{
    const QString where = functionName(SourceLocation::current());
    if (!query.isActive()) {
        if (query.lastError().isValid()) return databaseError(query.lastError(), query.lastQuery());
        Error e;
        e.message = QStringLiteral("La requête du graphique n'a pas été exécutée.");
        e.where = where;
        return e;
    }
    const QSqlRecord record = query.record();
    const int label = record.indexOf(labelColumn);
    const int value = record.indexOf(valueColumn);
    if (label < 0 || value < 0) {
        Error e;
        e.message = QStringLiteral("Colonne « %1 » absente de la requête du graphique.")
                        .arg(label < 0 ? labelColumn : valueColumn);
        e.statement = query.lastQuery();
        e.where = where;
        return e;
    }
    QList<ChartPoint> points;
    while (query.next()) {
        bool ok = false;
        double v = query.value(value).toDouble(&ok);
        if (!ok) v = parseDecimal(query.value(value).toString());
        points.append(ChartPoint{query.value(label).toString(), finiteOrZero(v)});
    }
    if (query.lastError().isValid()) return databaseError(query.lastError(), query.lastQuery());
    return points;
}

QList<ChartPoint> prepareChartPoints(const QList<ChartPoint> &points, const ChartOptions &options)
{
    const double scale = std::pow(10.0, qMax(0, options.decimals));
    QList<ChartPoint> rounded;
    rounded.reserve(points.size());
    for (const ChartPoint &p : points)
        rounded.append(ChartPoint{p.label, finiteOrZero(std::round(p.value * scale) / scale)});
    if (options.kind != ChartKind::Pie) return rounded;

    QList<ChartPoint> kept;
    double total = 0;
    for (const ChartPoint &p : rounded) {
        if (p.value > 0) total += p.value;
    }
    double other = 0;
    bool hasOther = false;
    for (const ChartPoint &p : rounded) {
        if (p.value <= 0) continue;
        if (options.otherBelowPercent > 0 && total > 0 && p.value / total * 100.0 < options.otherBelowPercent) {
            other += p.value;
            hasOther = true;
            continue;
        }
        kept.append(p);
    }
    if (hasOther) kept.append(ChartPoint{options.otherLabel, std::round(other * scale) / scale});
    return kept;
}

QString chartMarkText(const ChartPoint &point, double total, const ChartOptions &options)
{
    const QString pattern = options.decimals > 0
                                ? QStringLiteral("# ##0.") + QString(options.decimals, QLatin1Char('0'))
                                : QStringLiteral("# ##0");
    const QString value = formatNumber(point.value, pattern);
    switch (options.marks) {
    case ChartMarks::None: return QString();
    case ChartMarks::Label: return point.label;
    case ChartMarks::Value: return value;
    case ChartMarks::LabelAndValue: return point.label + QLatin1Char(' ') + value;
    case ChartMarks::LabelAndPercent:
        return point.label + QLatin1Char(' ') +
               formatNumber(total > 0 ? point.value / total * 100.0 : 0.0, QStringLiteral("0.0")) +
               QStringLiteral(" %");
    }
    return QString();
}

} // namespace ravelin
