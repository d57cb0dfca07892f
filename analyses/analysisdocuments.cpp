#include "analysisdocuments.h"

#include "formats.h"
#include "reportlayout.h"

namespace ravelin {

namespace {

void setPeriod(ReportData &data, const QDate &start, const QDate &end)
{
    data.setValue(QStringLiteral("debut"),
                  QStringLiteral("Du : ") + formatDate(start, QStringLiteral("dddd dd mmmm yyyy")));
    data.setValue(QStringLiteral("fin"),
                  QStringLiteral("Au : ") + formatDate(end, QStringLiteral("dddd dd mmmm yyyy")));
}

} // namespace

ReportData contractorCostsData(const ContractorDetail &detail, const QString &societe, const QDate &start,
                               const QDate &end)
{
    ReportData data;
    data.setDataset(QStringLiteral("actions"), detail.actions);
    data.setValue(QStringLiteral("titre"), societe);
    data.setValue(QStringLiteral("quantites"), detail.quantities);
    setPeriod(data, start, end);
    return data;
}

Result<ReportDocument> layoutContractorCosts(const ReportData &data)
{
    return layoutReport(QStringLiteral("analysis_contractor_costs"), data);
}

ReportData salesDetailData(const DataTable &detail, const DataTable &lines, const QString &nom, double amount,
                           double quantity, const QString &defaultUnit, const QDate &start, const QDate &end)
{
    ReportData data;
    data.setDataset(QStringLiteral("livraisons"), detail);
    data.setLinkedDataset(QStringLiteral("lignes"), lines, QStringLiteral("inc_parent"), QStringLiteral("inc"));
    data.setValue(QStringLiteral("titre"), nom);
    data.setValue(QStringLiteral("total_vente"), QStringLiteral("Total Vente : ") +
                                                     formatNumber(amount, QStringLiteral("# ###.##")) +
                                                     QStringLiteral(" €"));
    data.setValue(QStringLiteral("total_livraison"),
                  formatNumber(amount, QStringLiteral("# ###.00")) + QStringLiteral(" €"));
    data.setValue(QStringLiteral("total_quantite"),
                  formatNumber(quantity, QStringLiteral("# ###.00")) + QLatin1Char(' ') + defaultUnit);
    setPeriod(data, start, end);
    return data;
}

Result<ReportDocument> layoutSalesDetail(const ReportData &data)
{
    return layoutReport(QStringLiteral("analysis_sales_detail"), data);
}

ReportData cvoData(const DataTable &lots, const QString &company, double total, const QDate &start, const QDate &end)
{
    ReportData data;
    data.setDataset(QStringLiteral("lots"), lots);
    data.setValue(QStringLiteral("societe"), company);
    data.setValue(QStringLiteral("total"), QStringLiteral("Total CVO  : ") +
                                               formatNumber(total, QStringLiteral("# ##0")) + QStringLiteral(" €"));
    setPeriod(data, start, end);
    return data;
}

Result<ReportDocument> layoutCvo(const ReportData &data)
{
    return layoutReport(QStringLiteral("analysis_cvo"), data);
}

} // namespace ravelin
