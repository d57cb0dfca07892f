#pragma once

#include "reportdocument.h"
#include "result.h"

class QPainter;
class QPagedPaintDevice;

namespace ravelin {

// Paints one laid-out page with `painter`, whose origin is the paper's top-left corner, at
// `pixelsPerMm` device pixels per millimetre. Fonts keep their size in points on the paper
// whatever the device's resolution, so the preview, the printer and the PDF look alike.
void paintReportPage(QPainter &painter, const ReportDocument &document, int page, double pixelsPerMm);

// Paints every page on a paged device (a printer, a PDF writer): sets its paper size and
// orientation, then one device page per report page.
Status paintReport(const ReportDocument &document, QPagedPaintDevice &device);

// Writes the document as a PDF file, with no dialog; an existing file is replaced. The file is
// written completely or left as it was.
Status writeReportPdf(const ReportDocument &document, const QString &filePath);

} // namespace ravelin
