#include "rowsave.h"

#include "sql.h"

#include <QSqlQuery>

namespace ravelin {

namespace {

bool emptyText(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

} // namespace

Status saveLockedRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                     const QList<ColumnChange> &changes, const QStringList &together)
{
    // Table and column names come from the program; updateRow checks them too.
    QStringList columns{QStringLiteral("`%1`").arg(keyColumn)};
    for (const ColumnChange &c : changes) columns << QStringLiteral("`%1`").arg(c.column);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select %1 from `%2` where `%3` = ? for update")
                            .arg(columns.join(QStringLiteral(", ")), table, keyColumn);
    if (Status s = exec(q, sql, {key}); !s) return s;
    if (!q.next()) return Error::notFound(recordDeletedMessage());

    // The editors hold an empty text for a null one: read as empty, a column stored null or empty
    // is the value read.
    QList<ColumnChange> adjusted = changes;
    for (int i = 0; i < adjusted.size(); ++i) {
        const QVariant stored = q.value(i + 1);
        if (adjusted[i].asRead.typeId() == QMetaType::QString || stored.typeId() == QMetaType::QString)
            if (emptyText(adjusted[i].asRead) && emptyText(stored)) {
                adjusted[i].asRead = stored;
                if (emptyText(adjusted[i].value)) adjusted[i].value = stored;
            }
    }

    bool groupTouched = false;
    for (const ColumnChange &c : adjusted)
        if (together.contains(c.column) && !sameStoredValue(c.asRead, c.value)) groupTouched = true;
    if (groupTouched) {
        QStringList differing;
        for (int i = 0; i < adjusted.size(); ++i)
            if (together.contains(adjusted[i].column) && !sameStoredValue(q.value(i + 1), adjusted[i].asRead))
                differing << (adjusted[i].caption.isEmpty() ? adjusted[i].column : adjusted[i].caption);
        if (!differing.isEmpty()) return Error::changedElsewhere(recordChangedMessage(differing));
    }
    return updateRow(db, table, keyColumn, key, adjusted);
}

QList<ColumnChange> columnChanges(const QList<ColumnValue> &asRead, const QList<ColumnValue> &edited,
                                  const QList<QPair<QString, QString>> &captions)
{
    QList<ColumnChange> changes;
    for (int i = 0; i < asRead.size() && i < edited.size(); ++i) {
        QString caption = asRead[i].column;
        for (const auto &c : captions)
            if (c.first == asRead[i].column) caption = c.second;
        changes.append({asRead[i].column, asRead[i].value, edited[i].value, caption});
    }
    return changes;
}

} // namespace ravelin
