#include "boundquery.h"

#include "sql.h"

namespace ravelin {

static Result<QSqlQuery> run(QSqlDatabase db, const BoundQuery &statement, const QString &where)
{
    QSqlQuery query(db);
    if (!query.prepare(statement.sql)) return databaseError(query.lastError(), statement.sql, where);
    for (const QVariant &v : statement.values) query.addBindValue(v);
    if (!query.exec()) return databaseError(query.lastError(), statement.sql, where);
    return query;
}

Result<QSqlQuery> runBoundQuery(QSqlDatabase db, const BoundQuery &statement, SourceLocation location)
{
    return run(db, statement, functionName(location));
}

std::optional<qint64> parseWholeNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (const QChar c : t)
        if (!c.isDigit() && c != QLatin1Char('-') && c != QLatin1Char('+')) return std::nullopt;
    bool ok = false;
    const qint64 value = t.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

QVariant dateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

} // namespace ravelin
