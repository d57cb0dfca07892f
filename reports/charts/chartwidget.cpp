#include "chartwidget.h"

#include "dialogs.h"
#include "formats.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QPieSeries>
#include <QPieSlice>
#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QValueAxis>

namespace ravelin {

ChartWidget::ChartWidget(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing, true);
    m_saveAction = new QAction(QStringLiteral("Enregistrer l'image…"), this);
    connect(m_saveAction, &QAction::triggered, this, &ChartWidget::chooseAndSaveImage);
    addAction(m_saveAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    rebuild();
}

Status ChartWidget::saveImage(const QString &path)
{
    const QSize size = isVisible() && !this->size().isEmpty() ? this->size() : QSize(800, 600);
    if (!isVisible()) chart()->resize(size);
    const QRectF target(QPointF(0, 0), QSizeF(size));
    const QRectF source =
        isVisible() ? QRectF(mapToScene(viewport()->rect()).boundingRect()) : chart()->sceneBoundingRect();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier ") + path, file.errorString());
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QPainter painter(&svg);
        scene()->render(&painter, target, source);
    } else {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, true);
            scene()->render(&painter, target, source);
        }
        if (!image.save(&file, "PNG")) {
            file.cancelWriting();
            return Error::failure(QStringLiteral("Impossible d'écrire le fichier ") + path, file.errorString());
        }
    }
    if (!file.commit())
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier ") + path, file.errorString());
    return {};
}

void ChartWidget::chooseAndSaveImage()
{
    const QString caption = QStringLiteral("Enregistrer l'image");
    const QString filter = QStringLiteral("Image PNG (*.png);;Image SVG (*.svg)");
    const QString path = m_dialogs ? m_dialogs->saveFile(caption, filter)
                                   : QFileDialog::getSaveFileName(this, caption, QString(), filter);
    if (path.isEmpty()) return;
    if (Status saved = saveImage(path); !saved) {
        if (m_dialogs) m_dialogs->error(saved.error());
        else QMessageBox::warning(this, QStringLiteral("Erreur"), saved.error().fullText());
    }
}

void ChartWidget::setOptions(const ChartOptions &options)
{
    m_options = options;
    rebuild();
}

void ChartWidget::setPoints(const QList<ChartPoint> &points)
{
    m_source = points;
    rebuild();
}

Status ChartWidget::setQuery(QSqlQuery &query, const QString &labelColumn, const QString &valueColumn)
{
    auto points = chartPointsFromQuery(query, labelColumn, valueColumn);
    if (!points) return points.error();
    setPoints(*points);
    return {};
}

void ChartWidget::clear()
{
    setPoints({});
}

QStringList ChartWidget::marks() const
{
    double total = 0;
    for (const ChartPoint &p : m_points) total += p.value;
    QStringList out;
    for (const ChartPoint &p : m_points) out.append(chartMarkText(p, total, m_options));
    return out;
}

void ChartWidget::rebuild()
{
    m_points = prepareChartPoints(m_source, m_options);
    m_barMarks.clear();
    auto *chart = new QChart;
    chart->setLocalizeNumbers(true);
    chart->setLocale(frenchLocale());
    chart->setTitle(m_options.title);
    chart->legend()->setVisible(m_options.legend);
    chart->setAnimationOptions(QChart::NoAnimation);
    const QStringList texts = marks();

    if (m_options.kind == ChartKind::Pie) {
        auto *series = new QPieSeries(chart);
        for (int i = 0; i < m_points.size(); ++i) {
            QPieSlice *slice = series->append(m_points[i].label, m_points[i].value);
            if (m_options.marks != ChartMarks::None) {
                slice->setLabel(texts[i]);
                slice->setLabelVisible(true);
            }
        }
        chart->addSeries(series);
    } else {
        auto *set = new QBarSet(m_options.title);
        set->setColor(m_options.barColor);
        set->setBorderColor(m_options.barColor);
        QStringList categories;
        double top = 0;
        for (const ChartPoint &p : m_points) {
            set->append(p.value);
            categories.append(p.label);
            top = qMax(top, p.value);
        }
        auto *series = new QBarSeries(chart);
        series->append(set);
        chart->addSeries(series);
        auto *axisX = new QBarCategoryAxis(chart);
        axisX->append(categories);
        chart->addAxis(axisX, Qt::AlignBottom);
        series->attachAxis(axisX);
        auto *axisY = new QValueAxis(chart);
        axisY->setRange(0, top > 0 ? top * 1.1 : 1);
        axisY->applyNiceNumbers();
        axisY->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(axisY, Qt::AlignLeft);
        series->attachAxis(axisY);
        // The marks are written by us rather than by the series, so that they carry the program's
        // number format ("1 500,46") and what the caller asked for.
        if (m_options.marks != ChartMarks::None) {
            for (const QString &text : texts) m_barMarks.append(new QGraphicsSimpleTextItem(text, chart));
            connect(chart, &QChart::plotAreaChanged, this, &ChartWidget::placeBarMarks);
        }
    }

    QChart *old = this->chart();
    setChart(chart);
    if (old && old != chart) delete old;
    placeBarMarks();
}

void ChartWidget::placeBarMarks()
{
    QAbstractSeries *series = chart()->series().value(0);
    if (!series) return;
    for (int i = 0; i < m_barMarks.size() && i < m_points.size(); ++i) {
        QGraphicsSimpleTextItem *mark = m_barMarks[i];
        const QPointF top = chart()->mapToPosition(QPointF(i, m_points[i].value), series);
        const QRectF box = mark->boundingRect();
        mark->setPos(top.x() - box.width() / 2, top.y() - box.height() - 2);
    }
}

} // namespace ravelin
