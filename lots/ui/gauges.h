#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>

class QPainter;

namespace ravelin {

// Draws the slice of the circle of `radius` around `centre` between two angles in degrees,
// counter-clockwise from east, going from `startAngle` to `stopAngle`; 360 and 0 draw the full
// disc. The pen and brush are the painter's.
void drawPieSlice(QPainter &painter, const QPointF &centre, double stopAngle, double startAngle, double radius);

// How one ring gauge is drawn: the share done in `partial` (green at exactly 100), the
// percentage in black above the centre and the caption below.
struct RingGaugeStyle
{
    QColor partial;
    int percentPointSize = 6;
    int captionPointSize = 8;
    QColor captionColour = Qt::black;
    QColor captionBackground; // none when invalid
};

// A ring of outer radius 25 and inner radius 16 around `centre`: a grey disc (RGB E6E6E6), then
// from the top clockwise over percent × 3.6 degrees the done share, then the white hole.
void drawRingGauge(QPainter &painter, const QPoint &centre, int percent, const QString &caption,
                   const RingGaugeStyle &style);

// The two gauges of the lot editor's "Etat du bois" for the selected volume line: felling
// (fin_pied) centred at (30, 30) and skidding (fin_abattage) at (100, 30), blue while partial, on
// a white picture of `size`. The percentages are truncated to whole numbers.
QImage lotEditorGauges(const QSize &size, double finPied, double finAbattage);

} // namespace ravelin
