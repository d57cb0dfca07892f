#pragma once

#include "pagedquerymodel.h"
#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace ravelin {

// The logs of cutting lots (table grume, descriptif "GRUME") attached to an order, and the
// loaded logs of the order (liste_grume_cde, descriptif "GRUME").

// The order's logs as grume_cde lists them.
PagedQuery orderLogsQuery(int incCde);

// The filters of the log picker liste_grume_cde ("Trier").
struct FreeLogSearch
{
    QString lot; // "N° COUPE de bois": a whole number, exact
    QString essence;
    QString qualite;
    QString lieu;
    QString classe;
};
// The logs that are free (not delivered, not attached to an order), by log number. A lot number
// that is not whole gives "Saisie incorrecte".
Result<PagedQuery> freeLogsQuery(const FreeLogSearch &search);

// One slice of the pie "Qualité": the loaded logs of the order by class, volume rounded to 2.
struct ClassSlice
{
    QString classe;
    double volume = 0;
};
Result<QList<ClassSlice>> loadedLogsByClass(QSqlDatabase db, int incCde);

inline QString invoicedLogsRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de modifier les grumes");
}
// "3 grume(s) non affectée(s)"
QString logsNotAttachedMessage(int count);

// Attaches the logs to the order in one transaction and one statement: only those still free
// (not delivered, no order), so that a log attached meanwhile elsewhere stays there. The lots'
// log totals follow. Gives how many logs were attached.
Result<int> attachLogs(QSqlDatabase db, int incCde, const QList<int> &logIncs);

// Frees one log of the order (`logInc`), or every log of the order when none is given: no order,
// no delivered mark. A log attached meanwhile to another order stays there. The lots' log totals
// follow.
Status releaseLogs(QSqlDatabase db, int incCde, std::optional<int> logInc);

// After a loading-list import: the order's grume_livree = the volume of its logs, in one statement.
Status writeDeliveredLogVolume(QSqlDatabase db, int incCde);

} // namespace ravelin
