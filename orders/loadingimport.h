#pragma once

#include "loadinglist.h"
#include "result.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace ravelin {

// Recording a loader's list of logs as the loaded logs of an order (screen
// Import_chargement_grume): a log of a lot still on sale is copied from the lot and marked
// delivered, a log not found is recorded from the file alone.

inline QString invoicedImportRefusal()
{
    return QStringLiteral("Livraison facturée, impossible d'importer des grumes");
}
inline QString logsAlreadyLoadedQuestion(int count)
{
    return QStringLiteral("%1 grume(s) de ce fichier sont déjà chargées sur cette commande. Importer quand même ?")
        .arg(count);
}

// How many logs of the file the order already holds as loaded logs with the same number and
// diameter (the same list imported twice), in one statement.
Result<int> logsAlreadyLoaded(QSqlDatabase db, int incCde, const QList<FileLog> &logs);

struct LoadingImportDone
{
    int found = 0;    // logs of a lot, copied and marked delivered
    int notFound = 0; // recorded from the file alone
    // The lines whose number and diameter fit several logs on sale: nothing is written for them.
    QList<int> ambiguousLines;
    int lines = 0;           // the file's logs
    double previewTotal = 0; // the summary's total (factor 3.14)
};

// "2 grumes non existantes dans le stock de Grume !!!", then, when lines were left out, the
// sentence naming them.
QString loadingImportMessage(const LoadingImportDone &done);

// Records the file's logs as loaded logs ("GRUME") of the order, all or none, in file order, in
// one transaction: the order row locked (gone, or invoiced: refused), the logs on sale of the
// file's numbers read and locked a batch of numbers at a time, each line matched to those of its
// number whose diameter is within 0.005 cm of the file's rounded to 2 (one: found, and taken;
// none: not found; several: left out, named), the logs found marked delivered in one conditional
// statement per batch, the rows inserted a batch at a time, then the log totals of the lots
// touched, in ascending order. `quality` is written on every row (nothing when empty); a row not
// found has `now` for its dates. `progress` gets (done, total) after each batch, on the caller's
// thread.
Result<LoadingImportDone> importLoadingList(QSqlDatabase db, int incCde, const QString &quality, const TextFile &file,
                                            const std::function<void(int, int)> &progress = {},
                                            const QDateTime &now = QDateTime::currentDateTime());

// Log numbers per look-up, and rows per insert statement.
constexpr int loadingImportBatch = 500;

} // namespace ravelin
