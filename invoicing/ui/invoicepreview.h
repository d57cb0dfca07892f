#pragma once

#include "invoicecreation.h"

#include <QList>
#include <QString>
#include <QWidget>

class QScrollBar;

namespace ravelin {

// One text of the drawn preview: where, in which size.
struct PreviewText
{
    int x = 0;
    int y = 0; // top of the line
    int size = 10;
    QString text;
};

// The picture of the invoice's lines on the validation screen: a grey band of 25 pixels per sale
// with its date, type, kind, total and sale unit, then one line per priced line 20 pixels apart.
struct PreviewLayout
{
    QList<int> bands; // top of each band
    QList<PreviewText> texts;
    int height = 0;
};
PreviewLayout previewLayout(const QList<SaleWithLines> &sales);

// The white panel that draws the layout at the position of its vertical scroll bar.
class InvoicePreview : public QWidget
{
    Q_OBJECT
public:
    explicit InvoicePreview(QScrollBar *scroll, QWidget *parent = nullptr);

    void setSales(const QList<SaleWithLines> &sales);
    const PreviewLayout &layout() const { return m_layout; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateRange();

    QScrollBar *m_scroll;
    PreviewLayout m_layout;
};

} // namespace ravelin
