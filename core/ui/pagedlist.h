#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class QLabel;

namespace ravelin {

class Dialogs;
class PagedQueryModel;
struct PagedQuery;

// What every screen over a paged list shows the same way.

// The list's counter: `format` with "…" while the list is being counted, then with the count
// ("( nb : %1 )").
void followCount(PagedQueryModel &model, QLabel &label, const QString &format);

// The row whose `column` holds `value`, read up to it; a database failure is shown and gives
// nothing, as a row that is not listed does.
std::optional<int> locateRow(PagedQueryModel &model, const QString &column, const QVariant &value, Dialogs &dialogs);

// Runs the list's first page on the screen's connection, the count deferred: a list longer than its
// first page is counted on the model's worker (one opened for `screen` on the first such list)
// while the user reads the first rows. On failure the model keeps what it showed.
Status showPagedList(PagedQueryModel &model, QSqlDatabase db, const PagedQuery &query, QObject *screen);

// The values of one row read, by column name.
QVariantMap rowValues(const PagedQueryModel &model, int row);

} // namespace ravelin
