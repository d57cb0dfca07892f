#pragma once

#include "reportdata.h"
#include "reportdocument.h"
#include "reporttemplate.h"
#include "result.h"

namespace ravelin {

// Lays a template out with its data into pages of positioned items: the title on the first page,
// the page header at the top of each page, the data bands row after row (with their groups,
// nested bands, headers and footers), breaking pages where a band no longer fits above the page
// footer, then the summary. Before anything is laid out, every data set, column and named value
// the template names is checked against `data`; the error names the template file, the line and
// the name. The document is complete or not made at all.
Result<ReportDocument> layoutReport(const ReportTemplate &report, const ReportData &data);

// Loads the template by name (see ReportTemplate::load) and lays it out.
Result<ReportDocument> layoutReport(const QString &templateName, const ReportData &data);

} // namespace ravelin
