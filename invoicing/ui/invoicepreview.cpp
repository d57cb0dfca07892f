#include "invoicepreview.h"

#include "formats.h"
#include "gridmodel.h"

#include <QPainter>
#include <QScrollBar>

namespace ravelin {

namespace {

constexpr int bandHeight = 25;
constexpr int lineHeight = 20;

QString euros(double amount)
{
    return formatNumber(amount, QStringLiteral("# ###.00")) + QStringLiteral(" €");
}

} // namespace

PreviewLayout previewLayout(const QList<SaleWithLines> &sales)
{
    PreviewLayout p;
    int y = 0;
    for (const SaleWithLines &s : sales) {
        p.bands << y;
        p.texts << PreviewText{20, y, 12, formatDate(s.date)};
        p.texts << PreviewText{115, y, 10, s.type};
        p.texts << PreviewText{305, y, 10, s.kind};
        p.texts << PreviewText{405, y, 12, QStringLiteral("total liv : ") + euros(s.amount)};
        p.texts << PreviewText{605, y, 10, QStringLiteral("Unité de vente : ") + s.saleUnit};
        y += bandHeight;
        const bool byMwh = s.kind == QLatin1String("PLAQUETTE") && s.saleUnit == QLatin1String("MWH");
        for (int r = 0; r < s.lines.rowCount(); ++r) {
            auto v = [&](const char *column) { return s.lines.value(r, QLatin1String(column)); };
            y += 2;
            p.texts << PreviewText{40, y, 10, v("essence").toString()};
            p.texts << PreviewText{145, y, 10, v("qualite").toString()};
            p.texts << PreviewText{295, y, 10,
                                   formatNumber(v("qte_liv").toDouble(), QStringLiteral("0.00")) + QLatin1Char(' ') +
                                       v("unite_liv").toString()};
            p.texts << PreviewText{355, y, 10, QStringLiteral("Prix Unit : ") + euros(v("prix_unit").toDouble())};
            p.texts << PreviewText{505, y, 10, QStringLiteral("Prix total : ") + euros(v("prix_total").toDouble())};
            if (byMwh) {
                p.texts << PreviewText{655, y, 10,
                                       QStringLiteral("Humidité : ") +
                                           formatValue(v("humidite"), QStringLiteral("0.##")) + QStringLiteral(" %")};
                p.texts << PreviewText{805, y, 10,
                                       QStringLiteral("Total (MWH) : ") +
                                           formatNumber(v("total_mwh").toDouble(), QStringLiteral("0.00")) +
                                           QStringLiteral(" MWH")};
            }
            y += lineHeight - 2;
        }
        y += 5;
    }
    p.height = y;
    return p;
}

InvoicePreview::InvoicePreview(QScrollBar *scroll, QWidget *parent) : QWidget(parent), m_scroll(scroll)
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    connect(m_scroll, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

void InvoicePreview::setSales(const QList<SaleWithLines> &sales)
{
    m_layout = previewLayout(sales);
    updateRange();
    update();
}

void InvoicePreview::updateRange()
{
    m_scroll->setRange(0, qMax(0, m_layout.height - height()));
    m_scroll->setPageStep(qMax(1, height()));
    m_scroll->setSingleStep(lineHeight);
}

void InvoicePreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateRange();
}

void InvoicePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.translate(0, -m_scroll->value());
    for (int top : m_layout.bands) painter.fillRect(QRect(0, top, width(), bandHeight), rgb(QStringLiteral("CCCCCC")));
    painter.setPen(Qt::black);
    QFont font = painter.font();
    for (const PreviewText &t : m_layout.texts) {
        font.setPointSize(t.size);
        painter.setFont(font);
        const int rowHeight = t.size >= 12 ? bandHeight : lineHeight;
        painter.drawText(QRect(t.x, t.y, 10000, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, t.text);
    }
}

} // namespace ravelin
