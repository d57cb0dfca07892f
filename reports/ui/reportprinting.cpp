#include "reportprinting.h"

#include "reportpainter.h"

#include <QPrintDialog>
#include <QPrinter>

namespace ravelin {

Status printReport(const ReportDocument &document, QPrinter &printer)
{
    printer.setFullPage(true);
    if (printer.docName().isEmpty()) printer.setDocName(document.name);
    return paintReport(document, printer);
}

Result<bool> printReportWithDialog(const ReportDocument &document, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(document.pageSize);
    printer.setPageOrientation(document.orientation);
    printer.setDocName(document.name);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    dialog.setMinMax(1, document.pageCount());
    if (dialog.exec() != QDialog::Accepted) return false;
    if (Status s = printReport(document, printer); !s) return s.error();
    return true;
}

} // namespace ravelin
