#include "stocksheets.h"

#include "formats.h"
#include "reportlayout.h"

namespace ravelin {

namespace {

void setStandingValues(ReportData &data, const StandingTimber &standing, const QString &unit)
{
    const QString suffix = QLatin1Char(' ') + unit;
    data.setValue(QStringLiteral("memo_info1"), formatNumber(standing.standing, QStringLiteral("0")) + suffix);
    data.setValue(QStringLiteral("memo_info2"), formatNumber(standing.felled, QStringLiteral("0")) + suffix);
    data.setValue(QStringLiteral("memo_info3"), formatNumber(standing.skidded, QStringLiteral("0")) + suffix);
}

} // namespace

ReportData firewoodStockSheetData(const DataTable &stocks, double total, const StandingTimber &standing,
                                  const QString &defaultUnit, const QString &company)
{
    ReportData data;
    data.setDataset(QStringLiteral("stocks"), stocks);
    data.setValue(QStringLiteral("societe"), company);
    data.setValue(QStringLiteral("total"), QStringLiteral("Stockage total  : ") +
                                               formatNumber(total, QStringLiteral("# ###.00")) + QLatin1Char(' ') +
                                               defaultUnit);
    setStandingValues(data, standing, defaultUnit);
    return data;
}

Result<ReportDocument> layoutFirewoodStockSheet(const ReportData &data)
{
    return layoutReport(QStringLiteral("firewood_stock"), data);
}

ReportData chipStockSheetData(const DataTable &zones, const QDate &date, double total, const StandingTimber &standing,
                              const QString &defaultUnit, const QString &company)
{
    ReportData data;
    data.setDataset(QStringLiteral("zones"), zones);
    data.setValue(QStringLiteral("societe"), company);
    data.setValue(QStringLiteral("debut"),
                  QStringLiteral("Stockage à la date du : ") + formatDate(date, QStringLiteral("dddd dd mmmm yyyy")));
    data.setValue(QStringLiteral("memo_unite"), defaultUnit);
    const QString totalText = formatNumber(total, QStringLiteral("0"));
    data.setValue(QStringLiteral("total"),
                  QStringLiteral("Stockage total  : ") + totalText + QLatin1Char(' ') + defaultUnit);
    setStandingValues(data, standing, defaultUnit);
    data.setValue(QStringLiteral("memo_info4"), totalText + QLatin1Char(' ') + defaultUnit);
    return data;
}

Result<ReportDocument> layoutChipStockSheet(const ReportData &data)
{
    return layoutReport(QStringLiteral("chip_stock"), data);
}

} // namespace ravelin
