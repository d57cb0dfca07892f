#include "pagedlist.h"

#include "databaseworker.h"
#include "dialogs.h"
#include "pagedquerymodel.h"

#include <QLabel>
#include <QSqlRecord>

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

Status showPagedList(PagedQueryModel &model, QSqlDatabase db, const PagedQuery &query, QObject *screen)
{
    if (Status s = model.setQuery(db, query, PagedQueryModel::Count::Never); !s) return s;
    if (!model.totalCount()) {
        if (!model.worker()) model.setWorker(new DatabaseWorker(db, screen));
        model.countLater();
    }
    return {};
}

QVariantMap rowValues(const PagedQueryModel &model, int row)
{
    QVariantMap values;
    if (row < 0 || row >= model.rowCount()) return values;
    const QSqlRecord record = model.record(row);
    for (int i = 0; i < record.count(); ++i) values.insert(record.fieldName(i), record.value(i));
    return values;
}

} // namespace ravelin
