#include "multirow.h"

#include "sql.h"

#include <QSqlQuery>

#include <algorithm>

namespace ravelin {

namespace {

// Keeps each statement well under the server's limit of 65535 bound values.
constexpr int maxValuesPerStatement = 20000;

Status run(QSqlDatabase db, const QString &sql, const QVariantList &values, const SourceLocation &location)
{
    QSqlQuery query(db);
    return exec(query, sql, values, location);
}

} // namespace

Status updateRowsByInc(QSqlDatabase db, const QString &table, const QString &key, const QStringList &columns,
                       const QList<QVariantList> &rows, SourceLocation location)
{
    if (rows.isEmpty() || columns.isEmpty()) return {};
    const int perRow = int(columns.size()) * 2 + 1;
    const int chunk = std::max(1, maxValuesPerStatement / perRow);
    for (qsizetype first = 0; first < rows.size(); first += chunk) {
        const QList<QVariantList> part = rows.mid(first, chunk);
        QVariantList values;
        QStringList sets;
        for (int c = 0; c < columns.size(); ++c) {
            QString set = columns[c] + QStringLiteral(" = case ") + key;
            for (const QVariantList &row : part) {
                set += QStringLiteral(" when ? then ?");
                values << row.value(0) << row.value(c + 1);
            }
            set += QStringLiteral(" else ") + columns[c] + QStringLiteral(" end");
            sets << set;
        }
        QStringList marks;
        for (const QVariantList &row : part) {
            marks << QStringLiteral("?");
            values << row.value(0);
        }
        const QString sql = QStringLiteral("update ") + table + QStringLiteral(" set ") +
                            sets.join(QStringLiteral(", ")) + QStringLiteral(" where ") + key +
                            QStringLiteral(" in (") + marks.join(QLatin1Char(',')) + QLatin1Char(')');
        if (Status s = run(db, sql, values, location); !s) return s;
    }
    return {};
}

Status insertRows(QSqlDatabase db, const QString &table, const QStringList &columns, const QList<QVariantList> &rows,
                  SourceLocation location)
{
    if (rows.isEmpty() || columns.isEmpty()) return {};
    const int chunk = std::max(1, maxValuesPerStatement / int(columns.size()));
    QStringList rowMarks;
    for (int c = 0; c < columns.size(); ++c) rowMarks << QStringLiteral("?");
    const QString oneRow = QLatin1Char('(') + rowMarks.join(QLatin1Char(',')) + QLatin1Char(')');
    for (qsizetype first = 0; first < rows.size(); first += chunk) {
        const QList<QVariantList> part = rows.mid(first, chunk);
        QVariantList values;
        QStringList tuples;
        for (const QVariantList &row : part) {
            tuples << oneRow;
            for (int c = 0; c < columns.size(); ++c) values << row.value(c);
        }
        const QString sql = QStringLiteral("insert into ") + table + QStringLiteral(" (") +
                            columns.join(QStringLiteral(", ")) + QStringLiteral(") values ") +
                            tuples.join(QStringLiteral(", "));
        if (Status s = run(db, sql, values, location); !s) return s;
    }
    return {};
}

} // namespace ravelin
