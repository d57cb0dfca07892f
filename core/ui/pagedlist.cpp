#include "pagedlist.h"

#include "dialogs.h"
#include "pagedquerymodel.h"

#include <QLabel>

namespace ravelin {

void followCount(PagedQueryModel &model, QLabel &label, const QString &format)
{
    // a list read whole is counted before its reset ends; a longer one after its first page
    QObject::connect(&model, &QAbstractItemModel::modelReset, &label, [&model, &label, format] {
        if (!model.totalCount()) label.setText(format.arg(QStringLiteral("…")));
    });
    QObject::connect(&model, &PagedQueryModel::counted, &label,
                     [&label, format](qint64 total) { label.setText(format.arg(total)); });
}

std::optional<int> locateRow(PagedQueryModel &model, const QString &column, const QVariant &value, Dialogs &dialogs)
{
    auto found = model.locate(column, value);
    if (!found) {
        dialogs.error(found.error());
        return std::nullopt;
    }
    return *found;
}

} // namespace ravelin
