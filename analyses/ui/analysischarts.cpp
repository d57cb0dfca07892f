#include "analysischarts.h"

#include <algorithm>

namespace ravelin {

QList<ChartPoint> chartPoints(const DataTable &table, const QString &labelColumn, const QString &valueColumn)
{
    QList<ChartPoint> points;
    points.reserve(table.rowCount());
    const int label = table.columnIndex(labelColumn);
    const int value = table.columnIndex(valueColumn);
    for (int r = 0; r < table.rowCount(); ++r)
        points.append({table.value(r, label).toString(), table.value(r, value).toDouble()});
    return points;
}

QList<ChartPoint> largestBars(const QList<ChartPoint> &points, int limit)
{
    if (points.size() <= limit) return points;
    QList<int> order(points.size());
    for (int i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return points[a].value > points[b].value; });
    QList<bool> kept(points.size(), false);
    for (int i = 0; i < limit; ++i) kept[order[i]] = true;
    QList<ChartPoint> bars;
    double other = 0;
    for (int i = 0; i < points.size(); ++i) {
        if (kept[i]) bars.append(points[i]);
        else other += points[i].value;
    }
    bars.append({QStringLiteral("Autre"), other});
    return bars;
}

} // namespace ravelin
