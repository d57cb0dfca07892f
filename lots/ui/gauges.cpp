#include "gauges.h"

#include "gridmodel.h"

#include <QFont>
#include <QPainter>

#include <cmath>

namespace ravelin {

void drawPieSlice(QPainter &painter, const QPointF &centre, double stopAngle, double startAngle, double radius)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    double span = std::fmod(stopAngle - startAngle, 360.0);
    if (span <= 0) span += 360.0;
    if (span >= 360.0 || (startAngle == 360.0 && stopAngle == 0.0)) {
        painter.drawEllipse(box);
        return;
    }
    painter.drawPie(box, int(std::lround(startAngle * 16)), int(std::lround(span * 16)));
}

void drawRingGauge(QPainter &painter, const QPoint &centre, int percent, const QString &caption,
                   const RingGaugeStyle &style)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(rgb(QStringLiteral("E6E6E6")));
    drawPieSlice(painter, centre, 0, 360, 25);
    if (percent > 0) {
        painter.setBrush(percent == 100 ? rgb(QStringLiteral("00FF00")) : style.partial);
        drawPieSlice(painter, centre, 90, 450 - std::min(percent, 100) * 3.6, 25);
    }
    painter.setBrush(Qt::white);
    drawPieSlice(painter, centre, 0, 360, 16);

    QFont font = painter.font();
    font.setPointSize(style.percentPointSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int shift = percent < 10 ? 5 : (percent < 100 ? 12 : 10);
    const QString text = QString::number(percent) + QLatin1Char('%');
    const QFontMetrics metrics(font);
    // The text's top stands 6 pixels above the centre, as the older drawing placed it.
    painter.drawText(QPoint(centre.x() - shift, centre.y() - 6 + metrics.ascent()), text);

    font.setPointSize(style.captionPointSize);
    painter.setFont(font);
    const QFontMetrics captionMetrics(font);
    const QPoint captionAt(centre.x() - 30, centre.y() + 30);
    if (style.captionBackground.isValid())
        painter.fillRect(QRect(captionAt, captionMetrics.size(0, caption)), style.captionBackground);
    painter.setPen(style.captionColour);
    painter.drawText(QPoint(captionAt.x(), captionAt.y() + captionMetrics.ascent()), caption);
    painter.restore();
}

QImage lotEditorGauges(const QSize &size, double finPied, double finAbattage)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    RingGaugeStyle style;
    style.partial = rgb(QStringLiteral("009EEA"));
    drawRingGauge(painter, QPoint(30, 30), int(std::trunc(finPied)), QStringLiteral("ABATTAGE"), style);
    drawRingGauge(painter, QPoint(100, 30), int(std::trunc(finAbattage)), QStringLiteral("DEBARDAGE"), style);
    return image;
}

} // namespace ravelin
