#pragma once

#include "datatable.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace ravelin {

// Exporting a list as the user sees it: its columns in their order, with their captions and
// formats, every row of the list as filtered (not only the rows read on screen). A long list is
// streamed page by page, so memory stays flat whatever its length. The file is written beside
// its target under a temporary name and renamed at the end: a cancelled or failed export leaves
// no partial file (and an older file of that name untouched).

// One exported column: the name the statement (or table) gives it, its header, its display
// format ("#,##0.00", "0.000", "dd/mm/yyyy"...; empty: as the value comes) and its width on
// screen in pixels (-1: a default width).
struct ExportColumn
{
    QString name;
    QString caption;
    QString format;
    int width = -1;
};

enum class ExportFormat {
    Csv, // UTF-8 with a byte-order mark, ";" between values, decimal comma, dates dd/mm/yyyy
    Xlsx // numbers as numbers and dates as dates, with the list's formats, captions in bold
};

// ".csv" gives CSV; anything else XLSX.
ExportFormat exportFormatFor(const QString &path);

// Told the rows written so far, after each page; returns false to stop the export.
using ExportProgress = std::function<bool(qint64 rows)>;

struct ExportOutcome
{
    qint64 rows = 0;
    bool cancelled = false; // stopped by the progress: nothing was written
};

// Reads the list a page at a time (`pageSize` rows, on its order and key as the screen pages it)
// and writes it to `path`.
Result<ExportOutcome> exportList(QSqlDatabase db, const PagedQuery &query, const QList<ExportColumn> &columns,
                                 const QString &path, ExportFormat format, const ExportProgress &progress = {},
                                 int pageSize = 5000);
// The same for rows an operation computed.
Result<ExportOutcome> exportTable(const DataTable &table, const QList<ExportColumn> &columns, const QString &path,
                                  ExportFormat format, const ExportProgress &progress = {});

// The Excel number format of a list format: "#,##0.00" stays, "# ###.000" gives "#,##0.000",
// "0.000" stays, a date pattern "dd/mm/yyyy" stays ("nn", minutes, gives "mm").
QString excelFormat(const QString &pattern);

} // namespace ravelin
