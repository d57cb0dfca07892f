#pragma once

#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

namespace ravelin {

// The transport planning of chip deliveries (planning, printed as imp_planning, A4 landscape):
// the deliveries not invoiced and not yet weighed of a period, day by day, for one planned
// carrier or all of them.

inline QString planningTemplateName()
{
    return QStringLiteral("transport_planning");
}

struct PlanningPeriod
{
    QDate start; // included
    QDate end;   // included, to the last minute of the day
};

// The week proposed on opening: the Monday-to-Sunday week after the coming Sunday.
PlanningPeriod defaultPlanningPeriod(const QDate &today);

// This workstation's name for its work table: "TAMPON" + the workstation id + "E".
QString planningTableName();

// The planned carriers of the period, sorted.
Result<QStringList> readPlannedCarriers(QSqlDatabase db, const PlanningPeriod &period);

// Rebuilds the work table on this connection (a temporary table, this workstation's own) and
// gives its rows in order: a day heading (jour: "lundi 08 janvier 2024") before the deliveries of
// each calendar day. No carrier: every carrier, those without one included.
Result<DataTable> rebuildPlanning(QSqlDatabase db, const PlanningPeriod &period, const std::optional<QString> &carrier);

// The printout's data: the data set "planning" (the work table's rows) and the values "societe",
// "debut", "fin".
ReportData planningData(const DataTable &rows, const QString &company, const PlanningPeriod &period);
Result<ReportDocument> layoutPlanning(const ReportData &data);

} // namespace ravelin
