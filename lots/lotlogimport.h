#pragma once

#include "logimport.h"
#include "result.h"
#include "volumelines.h"

#include <QDate>
#include <QSqlDatabase>

#include <functional>

namespace ravelin {

// Writing the logs of a measuring device's file into a lot (screen import1).

inline QString logsAlreadyThereQuestion(int count)
{
    return QStringLiteral("%1 grume(s) de ce fichier existent déjà dans la coupe. Importer quand même ?").arg(count);
}
inline QString importLotGoneMessage()
{
    return QStringLiteral("La coupe n'existe plus (supprimée sur un autre poste). Aucune grume importée.");
}

// How many logs of `logs` the lot already holds under the same number (the same file imported
// twice), in one statement.
Result<int> logsAlreadyInLot(QSqlDatabase db, int nLot, int indiceLot, const QList<FileLog> &logs);

struct LogImportDone
{
    int imported = 0;
    double previewTotal = 0; // the summary's total (factor 3.14)
    LogTotals totals;        // the lot's log totals, written
};

// Adds the logs to the lot, all or none: the species (by code, ignoring case and accents as the
// server compares them; else the code itself) and the diameter classes are read once, then one
// transaction locks the lot row, inserts the logs a batch at a time (descriptif "GRUME", the lot's
// town, `today` for both dates, stock empty, m3 = d × d × 3.1415 / 40000 × L to 3 decimals) and
// writes the lot's log totals. A file whose measures cannot be used, or with a species code longer
// than its column, is refused whole, naming the line. `progress` gets the number of logs written
// after each batch.
Result<LogImportDone> importLogs(QSqlDatabase db, int nLot, int indiceLot, const TextFile &file, const QDate &today,
                                 const std::function<void(int)> &progress = {});

// Logs per insert statement.
constexpr int logImportBatch = 1000;

} // namespace ravelin
