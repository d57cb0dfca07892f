#pragma once

#include "chartdata.h"
#include "datatable.h"

#include <QList>
#include <QString>

namespace ravelin {

// The points of a chart from two columns of a computed table.
QList<ChartPoint> chartPoints(const DataTable &table, const QString &labelColumn, const QString &valueColumn);

// Bars for a chart: the `limit` largest bars in their order, the others summed in one
// last bar "Autre" (thousands of bars would hold the screen while they are drawn).
QList<ChartPoint> largestBars(const QList<ChartPoint> &points, int limit = 40);

} // namespace ravelin
