#pragma once

#include "datatable.h"
#include "firewoodstocklist.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QDate>
#include <QString>

namespace ravelin {

// The two stock sheets, shown in the preview imp_stock_plaquette.

// "STOCKS": the firewood stock rows listed (readStockList), the total of their quantities in the
// default unit and what stands in the open lots.
ReportData firewoodStockSheetData(const DataTable &stocks, double total, const StandingTimber &standing,
                                  const QString &defaultUnit, const QString &company);
Result<ReportDocument> layoutFirewoodStockSheet(const ReportData &data);

// "STOCKAGES PLAQUETTES": the chip zones as computed for `date` (computeChipStock), their total
// stock, what stands in the open lots and the chipped total.
ReportData chipStockSheetData(const DataTable &zones, const QDate &date, double total, const StandingTimber &standing,
                              const QString &defaultUnit, const QString &company);
Result<ReportDocument> layoutChipStockSheet(const ReportData &data);

} // namespace ravelin
