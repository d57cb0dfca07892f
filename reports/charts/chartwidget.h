#pragma once

#include "chartdata.h"
#include "result.h"

#include <QChartView>
#include <QStringList>

class QAction;
class QGraphicsSimpleTextItem;
class QSqlQuery;

namespace ravelin {

class Dialogs;

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

    // Writes the chart as drawn to `path`: an SVG image when the name ends in ".svg", else PNG. The
    // file is complete or left as it was.
    Status saveImage(const QString &path);
    // "Enregistrer l'image…" (context menu) asks for the file through `dialogs` and shows a
    // failure there; without them, through the system's file chooser.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    QAction *saveImageAction() const { return m_saveAction; }

    // What is drawn: the points after rounding and grouping, and the mark of each slice or bar.
    const QList<ChartPoint> &points() const { return m_points; }
    QStringList marks() const;

private:
    void rebuild();
    void placeBarMarks();

    void chooseAndSaveImage();

    ChartOptions m_options;
    Dialogs *m_dialogs = nullptr;
    QAction *m_saveAction = nullptr;
    QList<ChartPoint> m_source;
    QList<ChartPoint> m_points;
    QList<QGraphicsSimpleTextItem *> m_barMarks; // owned by the chart
};

} // namespace ravelin
