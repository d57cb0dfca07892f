#pragma once

#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "sourcelocation.h"

namespace ravelin {

// Set-based writes of many rows of one table, so that an operation sends a number of statements
// that does not grow with the rows it writes (one statement per few hundred rows).

// Rewrites `columns` of the rows chosen by the integer key column `key`:
// "update t set c1 = case key when ? then ? ... else c1 end, ... where key in (...)".
// Each row is its key followed by one value per column, in the order of `columns`.
Status updateRowsByInc(QSqlDatabase db, const QString &table, const QString &key, const QStringList &columns,
                       const QList<QVariantList> &rows, SourceLocation location = SourceLocation::current());

// Inserts the rows, one value per column each, with multi-row "insert into t (...) values (...), (...)".
Status insertRows(QSqlDatabase db, const QString &table, const QStringList &columns, const QList<QVariantList> &rows,
                  SourceLocation location = SourceLocation::current());

} // namespace ravelin
