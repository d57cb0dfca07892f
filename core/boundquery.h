#pragma once

#include "result.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include "sourcelocation.h"

namespace ravelin {

// A statement with its values in the order of its "?" marks. Operations build them from what the
// user typed; the screens run them into their grids.
struct BoundQuery
{
    QString sql;
    QVariantList values;

    // Adds one line of the statement with the values it binds.
    void add(const QString &line, const QVariantList &lineValues = {})
    {
        sql += sql.isEmpty() ? line : QLatin1Char('\n') + line;
        values += lineValues;
    }
};

// Runs the statement; the query is left on its result set, which a grid model can take over.
Result<QSqlQuery> runBoundQuery(QSqlDatabase db, const BoundQuery &statement,
                                SourceLocation location = SourceLocation::current());

// A whole number typed by the user ("12", " 12 "); a decimal comma or point, letters or an empty
// text give nothing.
std::optional<qint64> parseWholeNumber(const QString &text);

// Values as the operations write them: an empty text or an invalid date is written as null,
// as the older program's empty fields were.
QVariant textOrNull(const QString &text);
QVariant dateOrNull(const QDate &date);

} // namespace ravelin
