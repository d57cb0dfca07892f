#pragma once

#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QDate>
#include <QString>

namespace ravelin {

// The contractor actions statement ("ACTIONS INTERVENANTS", A4 landscape), printed from the
// "Intervenants" tab for the selected contractor and period.

inline QString contractorActionsTemplateName()
{
    return QStringLiteral("contractor_actions");
}

// The actions themselves are read by contractorActions() (reference/contractors.h): columns
// fac_fournisseur, a (kind of action), b (contractor), c (lot), d (lot index), e (date), f (quantity
// as a whole number), g (cost), h, i (operation), j (unit).

// The statement's data: the data set "actions" and the values "titre" (the contractor), "debut"
// ("Du : " + the long start date) and "fin" ("Au : " + the long end date).
ReportData contractorActionsData(const DataTable &actions, const QString &societe, const QDate &start,
                                 const QDate &end);

// The statement laid out, ready for the preview, the printer or a PDF file.
Result<ReportDocument> layoutContractorActions(const ReportData &data);

} // namespace ravelin
