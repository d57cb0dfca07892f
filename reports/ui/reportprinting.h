#pragma once

#include "reportdocument.h"
#include "result.h"

class QPrinter;
class QWidget;

namespace ravelin {

// Prints the document on a printer set up by the caller, from the paper's corner.
Status printReport(const ReportDocument &document, QPrinter &printer);

// Asks for the printer with the printer dialog, then prints. Gives false when the user cancels.
Result<bool> printReportWithDialog(const ReportDocument &document, QWidget *parent);

} // namespace ravelin
