#pragma once

#include "chartdata.h"
#include "result.h"

#include <QChartView>
#include <QStringList>

class QGraphicsSimpleTextItem;
class QSqlQuery;

namespace ravelin {

// The chart of every screen that draws one: a pie or a bar series fed by a query's label and
// value columns (or by points given directly), with the title, marks and rounding the screen asks
// for. A failure to read the query leaves the chart as it was.
class ChartWidget : public QChartView
{
    Q_OBJECT

public:
    explicit ChartWidget(QWidget *parent = nullptr);

    void setOptions(const ChartOptions &options);
    const ChartOptions &options() const { return m_options; }

    void setPoints(const QList<ChartPoint> &points);
    Status setQuery(QSqlQuery &query, const QString &labelColumn, const QString &valueColumn);
    void clear();

    // What is drawn: the points after rounding and grouping, and the mark of each slice or bar.
    const QList<ChartPoint> &points() const { return m_points; }
    QStringList marks() const;

private:
    void rebuild();
    void placeBarMarks();

    ChartOptions m_options;
    QList<ChartPoint> m_source;
    QList<ChartPoint> m_points;
    QList<QGraphicsSimpleTextItem *> m_barMarks; // owned by the chart
};

} // namespace ravelin
