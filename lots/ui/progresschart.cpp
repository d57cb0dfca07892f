#include "progresschart.h"

#include "appcontext.h"
#include "formats.h"
#include "gauges.h"
#include "gridmodel.h"
#include "dialogs.h"
#include "gridhelpers.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

#include <cmath>

namespace ravelin {

namespace {

const QColor chartBlue = rgb(QStringLiteral("0080C0"));
const QColor chartGreen = rgb(QStringLiteral("00FF00"));
const QColor boxGrey = rgb(QStringLiteral("EAEAEA"));
const QColor partOrange = rgb(QStringLiteral("FF8040"));

QString amount(double v)
{
    return formatNumber(v, QStringLiteral("0.00"));
}

class Painter
{
public:
    Painter(QImage &image, QList<ChartText> &texts) : m_painter(&image), m_texts(texts)
    {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    }

    QPainter &painter() { return m_painter; }

    // A text whose top-left corner is `at`, or which ends on at.x() when right-aligned.
    void text(const QString &s, QPoint at, const QColor &colour, int pointSize, const QColor &background = QColor(),
              bool rightAligned = false)
    {
        QFont font = m_painter.font();
        font.setPointSize(pointSize);
        m_painter.setFont(font);
        const QFontMetrics metrics(font);
        const int width = metrics.horizontalAdvance(s);
        const QPoint topLeft = rightAligned ? QPoint(at.x() - width, at.y()) : at;
        const QRect box(topLeft, QSize(width, metrics.height()));
        if (background.isValid()) m_painter.fillRect(box, background);
        m_painter.setPen(colour);
        m_painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, s);
        m_texts.append({s, at, colour, background, pointSize, rightAligned});
    }

    // A text drawn by someone else (the gauges), listed all the same.
    void record(const ChartText &t) { m_texts.append(t); }

private:
    QPainter m_painter;
    QList<ChartText> &m_texts;
};

// The picture of the grey box: a slim fir in the margin right of the figures.
void drawTree(QPainter &painter, const QRect &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double x = box.right() - 9.5;
    const double ground = box.bottom() - 3;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8B, 0x5A, 0x2B));
    painter.drawRect(QRectF(x - 1.5, ground - 9, 3, 9));
    painter.setBrush(QColor(0x2E, 0x8B, 0x57));
    // Three tiers, narrower towards the top.
    for (int tier = 0; tier < 3; ++tier) {
        const double base = ground - 8 - tier * 14;
        const double half = 8 - tier * 1.5;
        const QPointF points[3] = {{x - half, base}, {x + half, base}, {x, base - 22}};
        painter.drawPolygon(points, 3);
    }
    painter.restore();
}

void drawBlock(Painter &p, const ProgressLine &line, int index, int width)
{
    QPainter &painter = p.painter();
    const int y = 180 * index;
    const QString unit = QLatin1Char(' ') + line.unite;

    painter.setPen(QPen(chartGreen, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(3, y + 3), QPoint(width - 3, y + 170)));

    p.text(line.essence, {10, y + 5}, chartGreen, 12);
    p.text(line.qualite, {150, y + 5}, chartGreen, 12);
    p.text(QStringLiteral("Totale : ") + amount(line.qte) + unit, {10, y + 30}, Qt::white, 10);
    p.text(QStringLiteral("Dispo : ") + amount(line.available) + unit, {150, y + 30}, Qt::black, 12, chartGreen);
    p.text(QStringLiteral("Livrée : ") + amount(line.qteLivree) + unit, {320, y + 30}, Qt::white, 10, chartBlue);

    const QRect box(QPoint(50, y + 53), QPoint(250, y + 125));
    painter.fillRect(box, boxGrey);
    drawTree(painter, box);
    const struct
    {
        const char *caption;
        double value;
        int dy;
    } wood[] = {
        {"SUR PIED : ", line.surPied, 60}, {"ABATTU : ", line.abattage, 80}, {"DEBARDAGE : ", line.debardage, 100}};
    for (const auto &w : wood) {
        p.text(QString::fromUtf8(w.caption), {60, y + w.dy}, Qt::black, 10);
        p.text(amount(w.value) + unit, {230, y + w.dy}, Qt::blue, 10, QColor(), true);
    }

    p.text(QStringLiteral("Liv. PLAQ depuis COUPE: "), {10, y + 130}, Qt::white, 10, chartBlue);
    p.text(QStringLiteral("Liv. BOIS depuis COUPE: "), {10, y + 150}, Qt::white, 10, chartBlue);
    p.text(amount(line.broyageReel), {220, y + 130}, chartGreen, 10, QColor(), true);
    p.text(amount(line.volumeLivre), {220, y + 150}, chartGreen, 10, QColor(), true);
    p.text(QStringLiteral("TRANSF. vers STOCK: "), {230, y + 130}, Qt::white, 10, chartBlue);
    p.text(QStringLiteral("Liv. BOIS depuis STOCK: "), {230, y + 150}, Qt::white, 10, chartBlue);
    p.text(amount(line.volumeTransfert), {440, y + 130}, chartGreen, 10, QColor(), true);
    p.text(amount(line.volumeLivreStock), {440, y + 150}, chartGreen, 10, QColor(), true);

    RingGaugeStyle style;
    style.partial = partOrange;
    style.percentPointSize = 7;
    style.captionPointSize = 8;
    style.captionColour = Qt::white;
    style.captionBackground = chartBlue;
    const struct
    {
        QPoint centre;
        int percent;
        const char *caption;
    } gauges[] = {{{300, y + 80}, line.finPied, "ABATTAGE"}, {{400, y + 80}, line.finAbattage, "DEBARDAGE"}};
    for (const auto &g : gauges) {
        drawRingGauge(painter, g.centre, g.percent, QString::fromLatin1(g.caption), style);
        // The gauge draws its own texts; they are listed as the user sees them.
        const int shift = g.percent < 10 ? 5 : (g.percent < 100 ? 12 : 10);
        p.record({QString::number(g.percent) + QLatin1Char('%'),
                  {g.centre.x() - shift, g.centre.y() - 6},
                  Qt::black,
                  QColor(),
                  7,
                  false});
        p.record(
            {QString::fromLatin1(g.caption), {g.centre.x() - 30, g.centre.y() + 30}, Qt::white, chartBlue, 8, false});
    }

    painter.setPen(QPen(Qt::blue, 2));
    painter.drawLine(0, y + 179, width, y + 179);
}

} // namespace

ProgressPicture renderProgressChart(const LotProgress &progress, int width, int emptyHeight)
{
    ProgressPicture picture;
    width = std::max(width, 1);
    const qsizetype count = progress.lines.size();
    const int height = count == 0 ? std::max(emptyHeight, 1) : int(count) * 180 + 200;
    picture.image = QImage(width, height, QImage::Format_RGB32);
    picture.image.fill(chartBlue);
    if (count == 0) return picture;
    picture.scrollMaximum = int(count) * 100 + 1;

    Painter p(picture.image, picture.texts);
    for (int i = 0; i < count; ++i) drawBlock(p, progress.lines[i], i, width);
    const int lastTop = 180 * int(count - 1);
    const QStringList comments =
        QString(progress.commentaire).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    for (int i = 0; i < comments.size(); ++i)
        if (!comments[i].isEmpty()) p.text(comments[i], {10, lastTop + 190 + 18 * i}, Qt::white, 10);
    return picture;
}

class ProgressChart::Canvas : public QWidget
{
public:
    Canvas(ProgressChart &chart) : QWidget(&chart), m_chart(chart) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), chartBlue);
        painter.drawImage(QPoint(0, -m_chart.m_scroll->value()), m_chart.m_picture.image);
    }

private:
    ProgressChart &m_chart;
};

ProgressChart::ProgressChart(AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_canvas(new Canvas(*this)), m_scroll(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("Graphique_coupe"));
    m_scroll->setObjectName(QStringLiteral("Scroll_graphique"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_scroll);
    m_scroll->setRange(0, 0);
    connect(m_scroll, &QScrollBar::valueChanged, m_canvas, qOverload<>(&QWidget::update));
    render();
}

ProgressChart::~ProgressChart() = default;

void ProgressChart::showLot(int nLot)
{
    if (nLot <= 0) {
        clear();
        return;
    }
    const auto read = readLotProgress(m_context.db, nLot);
    if (!read) {
        m_context.dialogs->error(read.error());
        return;
    }
    m_nLot = nLot;
    m_progress = *read;
    render();
    m_scroll->setValue(0);
}

void ProgressChart::clear()
{
    m_nLot = 0;
    m_progress = LotProgress();
    render();
}

void ProgressChart::render()
{
    m_picture = renderProgressChart(m_progress, m_canvas->width(), m_canvas->height());
    m_scroll->setRange(0, m_picture.scrollMaximum);
    m_canvas->update();
}

void ProgressChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int value = m_scroll->value();
    render();
    m_scroll->setValue(value);
}

RecomputeProgressHandler showRecomputeProgressIn(QLabel *label)
{
    QPointer<QLabel> target(label);
    return setRecomputeProgressHandler([target](const QString &text) {
        if (!target) return;
        target->setText(text);
        target->setVisible(!text.isEmpty());
        // The recomputation holds the event loop: paint now.
        target->repaint();
    });
}

} // namespace ravelin
