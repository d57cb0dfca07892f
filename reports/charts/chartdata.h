#pragma once

#include "result.h"

#include <QColor>
#include <QList>
#include <QString>

class QSqlQuery;

namespace ravelin {

struct ChartPoint
{
    QString label;
    double value = 0;

    bool operator==(const ChartPoint &) const = default;
};

enum class ChartKind { Pie, Bar };

// What is written on each slice or bar.
enum class ChartMarks { None, Label, Value, LabelAndValue, LabelAndPercent };

struct ChartOptions
{
    ChartKind kind = ChartKind::Pie;
    QString title; // empty: no title
    ChartMarks marks = ChartMarks::Label;
    int decimals = 2; // values are rounded to this many decimals before drawing
    QColor barColor = QColor(Qt::red);
    bool legend = false;
    // Pie: slices below this share of the total, in percent, are put together in one slice.
    double otherBelowPercent = 0;
    QString otherLabel = QStringLiteral("Autre");
};

// The label and value columns of every remaining row of an executed query. A null label shows as
// an empty text, a null value as 0.
Result<QList<ChartPoint>> chartPointsFromQuery(QSqlQuery &query, const QString &labelColumn,
                                               const QString &valueColumn);

// The points as drawn: values rounded; for a pie, slices that are not above 0 left out and the
// small ones put together under options.otherLabel (at the end).
QList<ChartPoint> prepareChartPoints(const QList<ChartPoint> &points, const ChartOptions &options);

// The mark of one point: its label, its value, both, or the label and its share of `total`
// ("Chêne 42,5 %"); numbers the French way.
QString chartMarkText(const ChartPoint &point, double total, const ChartOptions &options);

} // namespace ravelin
