#pragma once

#include "datatable.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace ravelin {

// The CVO levy of the lots bought between two dates (`nom` part of the seller's name, empty for
// every seller): lots whose cvo is above 0, by purchase date then seller.
PagedQuery cvoQuery(const QDate &start, const QDate &end, const QString &nom);
// Every row of that list, in its order (the printout).
Result<DataTable> readCvo(QSqlDatabase db, const PagedQuery &query);

// Weighing places: how many deliveries were weighed at each place between two dates (every
// operation, forecasts included; a delivery without a place is not counted, an empty place is a
// place of its own), by place.
Result<DataTable> readWeighingPlaces(QSqlDatabase db, const QDate &start, const QDate &end);
// The deliveries weighed at `place` in the period, by date.
PagedQuery weighingPlaceDeliveriesQuery(const QString &place, const QDate &start, const QDate &end);

// The PEFC share of the last twelve months: purchases of lots (proprietaire_essence.m3_reel, of
// owners with a PEFC number) and sales of chips (qte_defaut_totale, qte_defaut_pefc), per month.
struct PefcPeriod
{
    QDate start; // first day of the month eleven months before `end`
    QDate end;
};
PefcPeriod pefcPeriod(const QDate &today);

struct PefcMonths
{
    DataTable purchases; // total_m3, total_m3_pefc, pourcent_pefc, y1, m1
    DataTable sales;     // the same for the chips sold
};
Result<PefcMonths> readPefcMonths(QSqlDatabase db, const PefcPeriod &period);

// The table as shown: row 0 the month headings ("déc. 25"), rows 1 to 15 the values as text, 12
// columns (the oldest month first). Sums and ratios use the values as displayed.
struct PefcTable
{
    QStringList titles;       // 16 row titles, the first empty
    QList<QStringList> cells; // 16 rows of 12 texts
};
PefcTable pefcTable(const PefcMonths &months, const QDate &today);
// The same as rows of a DataTable (titre, then one column per month), for a grid and its export.
DataTable pefcDataTable(const PefcTable &table);

} // namespace ravelin
