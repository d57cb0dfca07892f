#include "reportpreview.h"

#include "dialogs.h"
#include "modal.h"
#include "reportpainter.h"
#include "reportprinting.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ravelin {

// The pages one under the other, on a grey background, at the chosen zoom (1 = paper size).
class ReportPagesView : public QWidget
{
public:
    ReportPagesView(const ReportDocument &document, QWidget *parent) : QWidget(parent), m_document(document)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        updateSize();
    }

    double zoom() const { return m_zoom; }
    void setZoom(double zoom)
    {
        m_zoom = qBound(0.25, zoom, 4.0);
        updateSize();
        update();
    }

    double pixelsPerMm() const { return m_zoom * logicalDpiX() / 25.4; }

    QRectF pageRect(int page) const
    {
        const QSizeF paper = m_document.paperSize() * pixelsPerMm();
        const double x = qMax(double(kGap), (width() - paper.width()) / 2);
        return QRectF(x, kGap + page * (paper.height() + kGap), paper.width(), paper.height());
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
        const double k = pixelsPerMm();
        for (int p = 0; p < m_document.pageCount(); ++p) {
            const QRectF page = pageRect(p);
            if (!page.intersects(event->rect())) continue;
            painter.fillRect(page.translated(3, 3), QColor(0x50, 0x50, 0x50));
            painter.fillRect(page, Qt::white);
            painter.save();
            painter.translate(page.topLeft());
            painter.setClipRect(QRectF(QPointF(0, 0), page.size()));
            paintReportPage(painter, m_document, p, k);
            painter.restore();
        }
    }

private:
    static constexpr int kGap = 16;

    void updateSize()
    {
        const QSizeF paper = m_document.paperSize() * pixelsPerMm();
        const int pages = qMax(1, m_document.pageCount());
        setMinimumSize(int(paper.width()) + 2 * kGap, int(pages * (paper.height() + kGap)) + kGap);
        resize(qMax(width(), minimumWidth()), minimumHeight());
    }

    const ReportDocument &m_document;
    double m_zoom = 1.0;
};

ReportPreview::ReportPreview(ReportDocument document, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_document(std::move(document)), m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);

    auto *printButton = new QPushButton(QStringLiteral("Imprimer"), this);
    printButton->setObjectName(QStringLiteral("imprimer"));
    m_pdfButton = new QPushButton(QStringLiteral("PDF"), this);
    m_pdfButton->setObjectName(QStringLiteral("pdf"));
    m_pdfButton->setVisible(false);
    auto *closeButton = new QPushButton(QStringLiteral("Fermer"), this);
    closeButton->setObjectName(QStringLiteral("fermer"));
    auto *zoomOut = new QPushButton(QStringLiteral("−"), this);
    zoomOut->setObjectName(QStringLiteral("zoomOut"));
    zoomOut->setToolTip(QStringLiteral("Réduire"));
    auto *zoomIn = new QPushButton(QStringLiteral("+"), this);
    zoomIn->setObjectName(QStringLiteral("zoomIn"));
    zoomIn->setToolTip(QStringLiteral("Agrandir"));
    m_zoomLabel = new QLabel(this);
    auto *pageCount = new QLabel(m_document.pageCount() > 1 ? QStringLiteral("%1 pages").arg(m_document.pageCount())
                                                            : QStringLiteral("1 page"),
                                 this);
    pageCount->setObjectName(QStringLiteral("nombrePages"));

    auto *bar = new QHBoxLayout;
    m_bar = bar;
    bar->addWidget(printButton);
    bar->addWidget(m_pdfButton);
    bar->addSpacing(24);
    bar->addWidget(zoomOut);
    bar->addWidget(m_zoomLabel);
    bar->addWidget(zoomIn);
    bar->addSpacing(24);
    bar->addWidget(pageCount);
    bar->addStretch(1);
    bar->addWidget(closeButton);

    m_pages = new ReportPagesView(m_document, this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("apercu"));
    m_scroll->setWidget(m_pages);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);

    m_outline = new QListWidget(this);
    m_outline->setObjectName(QStringLiteral("plan"));
    m_outline->setFixedWidth(121);
    for (const ReportOutlineEntry &entry : m_document.outline) {
        auto *item = new QListWidgetItem(entry.text, m_outline);
        item->setData(Qt::UserRole, entry.page);
    }
    m_outline->setVisible(false);
    connect(m_outline, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showPage(item->data(Qt::UserRole).toInt()); });

    auto *body = new QHBoxLayout;
    body->addWidget(m_outline);
    body->addWidget(m_scroll, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(body, 1);

    connect(printButton, &QPushButton::clicked, this, &ReportPreview::print);
    connect(m_pdfButton, &QPushButton::clicked, this, &ReportPreview::exportPdf);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(zoomIn, &QPushButton::clicked, this, [this] {
        m_zoomChosen = true;
        setZoom(zoom() * 1.25);
    });
    connect(zoomOut, &QPushButton::clicked, this, [this] {
        m_zoomChosen = true;
        setZoom(zoom() / 1.25);
    });
    setZoom(1.0);

    setWindowState(windowState() | Qt::WindowMaximized);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::enablePdfExport(const QString &filePath, const QString &doneMessage)
{
    m_pdfPath = filePath;
    m_pdfDoneMessage = doneMessage;
    m_pdfButton->setVisible(!filePath.isEmpty());
}

QPushButton *ReportPreview::addButton(const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    m_bar->insertWidget(m_bar->indexOf(m_pdfButton) + 1, button);
    return button;
}

void ReportPreview::setOriginMarker(const QString &marker)
{
    m_marker = marker;
    m_outline->setVisible(marker == deliveryDetailMarker());
}

void ReportPreview::showPage(int page)
{
    if (page < 0 || page >= m_document.pageCount()) return;
    m_scroll->verticalScrollBar()->setValue(int(m_pages->pageRect(page).top()));
}

int ReportPreview::currentPage() const
{
    const int top = m_scroll->verticalScrollBar()->value();
    for (int p = m_document.pageCount() - 1; p > 0; --p) {
        if (m_pages->pageRect(p).top() <= top + 1) return p;
    }
    return 0;
}

double ReportPreview::zoom() const
{
    return m_pages->zoom();
}

void ReportPreview::setZoom(double zoom)
{
    m_pages->setZoom(zoom);
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_pages->zoom() * 100)));
}

void ReportPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitWidth();
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitWidth();
}

void ReportPreview::fitWidth()
{
    if (m_zoomChosen || !isVisible()) return;
    const double paperWidth = m_document.paperSize().width() * logicalDpiX() / 25.4;
    const double available = m_scroll->viewport()->width() - 40;
    if (paperWidth > 0 && available > 0) setZoom(qMin(1.0, available / paperWidth));
}

void ReportPreview::print()
{
    if (m_printWritesPdf) {
        exportPdf();
        return;
    }
    auto printed = printReportWithDialog(m_document, this);
    if (!printed) {
        m_dialogs.error(printed.error());
        return;
    }
    if (*printed) accept();
}

bool ReportPreview::printOn(QPrinter &printer)
{
    if (Status s = printReport(m_document, printer); !s) {
        m_dialogs.error(s.error());
        return false;
    }
    accept();
    return true;
}

bool ReportPreview::exportPdf()
{
    if (m_pdfPath.isEmpty()) return false;
    if (Status s = writeReportPdf(m_document, m_pdfPath); !s) {
        m_dialogs.error(s.error());
        return false;
    }
    if (!m_pdfDoneMessage.isEmpty()) m_dialogs.message(m_pdfDoneMessage);
    accept();
    return true;
}

void showReport(const Result<ReportDocument> &document, Dialogs &dialogs, const QString &screenName, QWidget *parent,
                const std::function<void(ReportPreview &)> &prepare)
{
    if (!document) {
        dialogs.error(document.error());
        return;
    }
    ReportPreview preview(*document, dialogs, parent);
    preview.setObjectName(screenName);
    if (prepare) prepare(preview);
    preview.setWindowState(Qt::WindowMaximized);
    runModal(preview);
}

} // namespace ravelin
