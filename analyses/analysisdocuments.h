#pragma once

#include "contractorcosts.h"
#include "customerdeliveries.h"
#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QDate>
#include <QString>

namespace ravelin {

// The three statements printed from the analyses (A4 landscape).

// "ACTIONS INTERVENANTS": a contractor's actions with their second line, the count, the
// quantities and the cost (template analysis_contractor_costs).
ReportData contractorCostsData(const ContractorDetail &detail, const QString &societe, const QDate &start,
                               const QDate &end);
Result<ReportDocument> layoutContractorCosts(const ReportData &data);

// "Détail livraisons": the orders and deliveries of a name with their priced lines and the
// total (template analysis_sales_detail). `lines` carries inc_parent, the row's inc.
ReportData salesDetailData(const DataTable &detail, const DataTable &lines, const QString &nom, double amount,
                           double quantity, const QString &defaultUnit, const QDate &start, const QDate &end);
Result<ReportDocument> layoutSalesDetail(const ReportData &data);

// "CVO": the lots with their levy, the total and the count (template analysis_cvo).
ReportData cvoData(const DataTable &lots, const QString &company, double total, const QDate &start, const QDate &end);
Result<ReportDocument> layoutCvo(const ReportData &data);

} // namespace ravelin
