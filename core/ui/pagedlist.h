#pragma once

#include <QString>
#include <QVariant>

#include <optional>

class QLabel;

namespace ravelin {

class Dialogs;
class PagedQueryModel;

// What every screen over a paged list shows the same way.

// The list's counter: `format` with "…" while the list is being counted, then with the count
// ("( nb : %1 )").
void followCount(PagedQueryModel &model, QLabel &label, const QString &format);

// The row whose `column` holds `value`, read up to it; a database failure is shown and gives
// nothing, as a row that is not listed does.
std::optional<int> locateRow(PagedQueryModel &model, const QString &column, const QVariant &value, Dialogs &dialogs);

} // namespace ravelin
