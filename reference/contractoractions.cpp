#include "contractoractions.h"

#include "formats.h"
#include "reportlayout.h"

namespace ravelin {

ReportData contractorActionsData(const DataTable &actions, const QString &societe, const QDate &start, const QDate &end)
{
    ReportData data;
    data.setDataset(QStringLiteral("actions"), actions);
    data.setValue(QStringLiteral("titre"), societe);
    data.setValue(QStringLiteral("debut"),
                  QStringLiteral("Du : ") + formatDate(start, QStringLiteral("dddd dd mmmm yyyy")));
    data.setValue(QStringLiteral("fin"),
                  QStringLiteral("Au : ") + formatDate(end, QStringLiteral("dddd dd mmmm yyyy")));
    return data;
}

Result<ReportDocument> layoutContractorActions(const ReportData &data)
{
    return layoutReport(contractorActionsTemplateName(), data);
}

} // namespace ravelin
