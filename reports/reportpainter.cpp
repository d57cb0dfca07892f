#include "reportpainter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace ravelin {

namespace {

QFont deviceFont(const ReportFont &font, double pixelsPerMm, const QPaintDevice *device)
{
    QFont f(font.family);
    // Qt turns points into pixels with the device's own resolution; scale so that the text has
    // its size on the paper at the resolution the page is drawn with.
    const double deviceDpi = device ? device->logicalDpiY() : 96.0;
    f.setPointSizeF(qMax(0.5, font.pointSize * 25.4 * pixelsPerMm / deviceDpi));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    return f;
}

QRectF scaled(const QRectF &r, double k)
{
    return QRectF(r.left() * k, r.top() * k, r.width() * k, r.height() * k);
}

} // namespace

void paintReportPage(QPainter &painter, const ReportDocument &document, int page, double k)
{
    if (page < 0 || page >= document.pageCount()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const ReportItem &item : document.pages[page].items) {
        const QRectF rect = scaled(item.rect, k);
        const double penWidth = qMax(0.0, item.penWidth * k);
        switch (item.kind) {
        case ReportItem::Kind::Text: {
            if (item.background.isValid()) painter.fillRect(rect, item.background);
            if (item.frame) {
                painter.setPen(QPen(item.color, penWidth));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect);
            }
            if (item.text.isEmpty()) break;
            painter.setFont(deviceFont(item.font, k, painter.device()));
            painter.setPen(item.color);
            // A small inner margin keeps the text off frames and strips.
            const double pad = 0.5 * k;
            const QRectF inner = rect.adjusted(pad, 0, -pad, 0);
            int flags = int(item.alignment);
            if (item.wrap) flags |= Qt::TextWordWrap;
            painter.save();
            painter.setClipRect(rect.adjusted(0, -0.2 * k, 0, 0.2 * k));
            painter.drawText(inner, flags, item.text);
            painter.restore();
            break;
        }
        case ReportItem::Kind::Line:
            painter.setPen(QPen(item.color, penWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QLineF(item.line.p1() * k, item.line.p2() * k));
            break;
        case ReportItem::Kind::Box:
            painter.setPen(penWidth > 0 ? QPen(item.color, penWidth) : QPen(Qt::NoPen));
            painter.setBrush(item.background.isValid() ? QBrush(item.background) : QBrush(Qt::NoBrush));
            painter.drawRect(rect);
            break;
        case ReportItem::Kind::Strip: painter.fillRect(rect, item.background); break;
        case ReportItem::Kind::Picture: {
            if (item.image.isNull()) break;
            QRectF target = rect;
            if (item.keepAspect) {
                QSizeF size = item.image.size();
                size.scale(rect.size(), Qt::KeepAspectRatio);
                target =
                    QRectF(rect.left(), rect.top() + (rect.height() - size.height()) / 2, size.width(), size.height());
            }
            painter.drawImage(target, item.image);
            break;
        }
        }
    }
    painter.restore();
}

Status paintReport(const ReportDocument &document, QPagedPaintDevice &device)
{
    const QPageLayout wanted(document.pageSize, document.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!device.setPageLayout(wanted)) {
        // A printer keeps its own minimum margins: take the paper and orientation only, the
        // painter is moved back to the paper's corner below.
        device.setPageSize(document.pageSize);
        device.setPageOrientation(document.orientation);
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        Error e;
        e.message =
            QStringLiteral("Impossible d'imprimer le document : le périphérique d'impression refuse de commencer.");
        e.where = QStringLiteral("paintReport");
        return e;
    }
    const QPageLayout layout = device.pageLayout();
    const int resolution = device.logicalDpiX();
    const double k = resolution / 25.4;
    if (layout.mode() == QPageLayout::StandardMode) {
        const QRect paintRect = layout.paintRectPixels(resolution);
        painter.translate(-paintRect.topLeft());
    }
    const QTransform origin = painter.transform();
    for (int p = 0; p < document.pageCount(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            Error e;
            e.message = QStringLiteral("Impossible d'imprimer le document : page %1 refusée.").arg(p + 1);
            e.where = QStringLiteral("paintReport");
            return e;
        }
        painter.setTransform(origin);
        paintReportPage(painter, document, p, k);
    }
    if (!painter.end()) {
        Error e;
        e.message = QStringLiteral("Impossible de terminer l'impression du document.");
        e.where = QStringLiteral("paintReport");
        return e;
    }
    return {};
}

Status writeReportPdf(const ReportDocument &document, const QString &filePath)
{
    QSaveFile file(filePath);
    const auto failure = [&](const QString &detail) {
        Error e;
        e.message = QStringLiteral("Impossible d'écrire le fichier PDF %1.").arg(QFileInfo(filePath).fileName());
        e.detail = detail;
        e.where = QStringLiteral("writeReportPdf");
        return e;
    };
    if (!file.open(QIODevice::WriteOnly)) return failure(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Ravelin"));
        writer.setTitle(document.name);
        if (Status s = paintReport(document, writer); !s) {
            file.cancelWriting();
            return s;
        }
    }
    if (!file.commit()) return failure(file.errorString());
    return {};
}

} // namespace ravelin
