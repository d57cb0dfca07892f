#include "statements.h"

#include "sql.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>

#include <cmath>

namespace ravelin {

namespace {

// Real numbers closer than this are the same stored value: half a unit of the third decimal, the
// finest the screens show (log volumes, "0.000").
constexpr double realTolerance = 0.0005;

bool isReal(const QVariant &v)
{
    const int type = v.typeId();
    return type == QMetaType::Double || type == QMetaType::Float;
}

bool isWhole(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool: return true;
    default: return false;
    }
}

bool isNumber(const QVariant &v)
{
    return isReal(v) || isWhole(v);
}

bool isDateLike(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

bool isNull(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

// A number for comparison; a text given for a number is read with a decimal point.
std::optional<double> asNumber(const QVariant &v)
{
    bool ok = false;
    const double d = v.typeId() == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

bool isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

// A name as it goes into the statement: quoted, so that columns named like SQL words (`long`) work.
QString quoted(const QString &name)
{
    return QLatin1Char('`') + name + QLatin1Char('`');
}

Status checkNames(const QStringList &names, const SourceLocation &location)
{
    for (const QString &name : names)
        if (!isPlainName(name))
            return Error::failure(QStringLiteral("Nom de table ou de colonne invalide : « %1 ».").arg(name), {},
                                  location);
    return {};
}

// The condition that the column still holds the value read: nulls alike, real numbers within the
// tolerance, texts byte for byte (the tables' collation ignores case and trailing blanks), the
// rest by the server's own comparison.
QString stillHolds(const QString &column, const QVariant &asRead, QVariantList &values)
{
    const QString c = quoted(column);
    if (isNull(asRead)) return c + QStringLiteral(" is null");
    if (isReal(asRead)) {
        values << asRead;
        return QStringLiteral("abs(%1 - ?) < %2").arg(c).arg(realTolerance);
    }
    values << asRead;
    if (asRead.typeId() == QMetaType::QString) return QStringLiteral("cast(%1 as binary) = cast(? as binary)").arg(c);
    return c + QStringLiteral(" <=> ?");
}

QString captionOf(const ColumnChange &change)
{
    return change.caption.isEmpty() ? change.column : change.caption;
}

// Whether the row `key` still exists, for a write that found nothing to change.
Result<bool> rowExists(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                       const SourceLocation &location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select 1 from %1 where %2 = ?").arg(quoted(table), quoted(keyColumn));
    if (Status s = exec(q, sql, {key}, location); !s) return s.error();
    return q.next();
}

} // namespace

QString recordChangedMessage(const QStringList &fields)
{
    QString text = QStringLiteral("Cet enregistrement a été modifié sur un autre poste");
    if (fields.isEmpty()) return text;
    QStringList named;
    for (const QString &f : fields) named << QStringLiteral("« %1 »").arg(f);
    return text + QStringLiteral(" : ") + named.join(QStringLiteral(", "));
}

bool sameStoredValue(const QVariant &a, const QVariant &b)
{
    if (isNull(a) || isNull(b)) return isNull(a) && isNull(b);
    if (isNumber(a) || isNumber(b)) {
        const auto x = asNumber(a);
        const auto y = asNumber(b);
        if (!x || !y) return false;
        if (isReal(a) || isReal(b)) return std::fabs(*x - *y) < realTolerance;
        return *x == *y;
    }
    if (isDateLike(a) && isDateLike(b)) {
        // A DATE column keeps the day of a date and time written into it.
        if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate) return a.toDate() == b.toDate();
        return a.toDateTime() == b.toDateTime();
    }
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString) return a.toString() == b.toString();
    return a == b;
}

Result<QList<QSqlRecord>> select(QSqlDatabase db, const QString &sql, const QVariantList &values,
                                 SourceLocation location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, location); !s) return s.error();
    QList<QSqlRecord> rows;
    while (q.next()) rows.append(q.record());
    return rows;
}

Result<DataTable> selectTable(QSqlDatabase db, const QString &sql, const QVariantList &values, SourceLocation location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, location); !s) return s.error();
    return DataTable::fromQuery(q);
}

Result<QSqlRecord> selectOne(QSqlDatabase db, const QString &sql, const QVariantList &values, const QString &missing,
                             SourceLocation location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, location); !s) return s.error();
    if (!q.next()) {
        Error e = Error::notFound(missing, location);
        e.statement = sql;
        return e;
    }
    return q.record();
}

Result<QStringList> selectTexts(QSqlDatabase db, const QString &sql, const QVariantList &values,
                                SourceLocation location)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, location); !s) return s.error();
    QStringList texts;
    while (q.next()) texts << q.value(0).toString();
    return texts;
}

Result<int> insertRow(QSqlDatabase db, const QString &table, const QList<ColumnValue> &values, SourceLocation location)
{
    QStringList names{table};
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (const ColumnValue &v : values) {
        names << v.column;
        columns << quoted(v.column);
        marks << QStringLiteral("?");
        bound << v.value;
    }
    if (Status s = checkNames(names, location); !s) return s.error();
    const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(quoted(table), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    QSqlQuery q(db);
    if (Status s = exec(q, sql, bound, location); !s) return s.error();
    return q.lastInsertId().toInt();
}

Status updateRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                 const QList<ColumnChange> &changes, SourceLocation location)
{
    QStringList names{table, keyColumn};
    QList<ColumnChange> changed;
    for (const ColumnChange &c : changes) {
        names << c.column;
        if (!sameStoredValue(c.asRead, c.value)) changed.append(c);
    }
    if (Status s = checkNames(names, location); !s) return s;
    if (changed.isEmpty()) return {};

    QStringList sets;
    QStringList conditions{quoted(keyColumn) + QStringLiteral(" = ?")};
    QVariantList bound;
    QVariantList compared{key};
    QStringList columns;
    for (const ColumnChange &c : changed) {
        sets << quoted(c.column) + QStringLiteral(" = ?");
        bound << c.value;
        conditions << stillHolds(c.column, c.asRead, compared);
        columns << quoted(c.column);
    }
    const QString sql =
        QStringLiteral("update %1 set %2 where %3")
            .arg(quoted(table), sets.join(QStringLiteral(", ")), conditions.join(QStringLiteral(" and ")));
    QSqlQuery q(db);
    if (Status s = exec(q, sql, bound + compared, location); !s) return s;
    if (q.numRowsAffected() > 0) return {};

    // No row changed. The server counts only the rows it changes, so the row may also have been
    // found already holding the new values; a second look tells the cases apart.
    QSqlQuery look(db);
    look.setForwardOnly(true);
    const QString lookSql = QStringLiteral("select %1 from %2 where %3 = ?")
                                .arg(columns.join(QStringLiteral(", ")), quoted(table), quoted(keyColumn));
    if (Status s = exec(look, lookSql, {key}, location); !s) return s;
    if (!look.next()) {
        Error e = Error::notFound(recordDeletedMessage(), location);
        e.statement = sql;
        return e;
    }
    QStringList differing;
    bool holdsNewValues = true;
    for (int i = 0; i < changed.size(); ++i) {
        const QVariant stored = look.value(i);
        if (!sameStoredValue(stored, changed[i].asRead)) differing << captionOf(changed[i]);
        if (!sameStoredValue(stored, changed[i].value)) holdsNewValues = false;
    }
    // Found as read and already holding what the user asked for: the save stands.
    if (differing.isEmpty() && holdsNewValues) return {};
    Error e = Error::changedElsewhere(recordChangedMessage(differing), location);
    e.statement = sql;
    return e;
}

Status overwriteRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                    const QList<ColumnValue> &values, SourceLocation location)
{
    QStringList names{table, keyColumn};
    QStringList sets;
    QVariantList bound;
    for (const ColumnValue &v : values) {
        names << v.column;
        sets << quoted(v.column) + QStringLiteral(" = ?");
        bound << v.value;
    }
    if (Status s = checkNames(names, location); !s) return s;
    if (values.isEmpty()) {
        // Nothing to write; the row must still be there for the save to stand.
        auto exists = rowExists(db, table, keyColumn, key, location);
        if (!exists) return exists.error();
        if (!*exists) return Error::notFound(recordDeletedMessage(), location);
        return {};
    }
    const QString sql = QStringLiteral("update %1 set %2 where %3 = ?")
                            .arg(quoted(table), sets.join(QStringLiteral(", ")), quoted(keyColumn));
    QSqlQuery q(db);
    if (Status s = exec(q, sql, bound + QVariantList{key}, location); !s) return s;
    if (q.numRowsAffected() > 0) return {};
    // The server counts only the rows it changes: a row that already held these values is found.
    auto exists = rowExists(db, table, keyColumn, key, location);
    if (!exists) return exists.error();
    if (!*exists) {
        Error e = Error::notFound(recordDeletedMessage(), location);
        e.statement = sql;
        return e;
    }
    return {};
}

} // namespace ravelin
