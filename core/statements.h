#pragma once

#include "datatable.h"
#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include "sourcelocation.h"

namespace ravelin {

// Statements written from lists of values, so that an operation never pairs "?" marks with values
// by hand. Table and column names come from the program, never from what the user typed; they are
// checked to be plain names. Errors name the calling function.

inline QString recordMissingMessage()
{
    return QStringLiteral("Cet enregistrement n'existe pas ou plus.");
}
inline QString recordDeletedMessage()
{
    return QStringLiteral("Cet enregistrement a été supprimé sur un autre poste");
}
// "Cet enregistrement a été modifié sur un autre poste : « nom », « prix_achat »"
QString recordChangedMessage(const QStringList &fields);

// One column of a row to write.
struct ColumnValue
{
    QString column;
    QVariant value;
};

// One column an editor changed: the value it held when the editor read the row, and the value to
// write. `caption` names the field in messages (the column's name when empty).
struct ColumnChange
{
    QString column;
    QVariant asRead;
    QVariant value;
    QString caption;
};

// Every row of a statement, each as a record of named values.
Result<QList<QSqlRecord>> select(QSqlDatabase db, const QString &sql, const QVariantList &values = {},
                                 SourceLocation location = SourceLocation::current());
// The same rows as a table of named columns.
Result<DataTable> selectTable(QSqlDatabase db, const QString &sql, const QVariantList &values = {},
                              SourceLocation location = SourceLocation::current());
// The first row; an error of kind NotFound with the message `missing` when there is none.
Result<QSqlRecord> selectOne(QSqlDatabase db, const QString &sql, const QVariantList &values,
                             const QString &missing = recordMissingMessage(),
                             SourceLocation location = SourceLocation::current());
// The first column of every row, as text (an empty text for a null).
Result<QStringList> selectTexts(QSqlDatabase db, const QString &sql, const QVariantList &values = {},
                                SourceLocation location = SourceLocation::current());

// "insert into table (c1, c2) values (?, ?)"; gives the new row's key as the insert made it (0 for
// a table without an automatic key).
Result<int> insertRow(QSqlDatabase db, const QString &table, const QList<ColumnValue> &values,
                      SourceLocation location = SourceLocation::current());

// Saves an editor's changes to the row `key`, in one statement that writes only the columns whose
// value differs from what was read, and only while each of them still holds the value read:
//   update t set c1 = ?, c2 = ? where key = ? and c1 <=> ? and c2 <=> ?
// A change another workstation made meanwhile to another column is kept. When the statement finds
// no row, a second look tells why: the row is gone (NotFound, recordDeletedMessage()) or one of
// the columns holds another value than the one read (ChangedElsewhere, recordChangedMessage()
// naming those fields); nothing is written either way. Nothing changed: no statement, success.
// Texts are compared exactly (case and trailing blanks included); real numbers within 0.0005, so
// that a value read, shown with two or three decimals and given back still finds its row.
Status updateRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                 const QList<ColumnChange> &changes, SourceLocation location = SourceLocation::current());

// Writes the columns of the row `key` whatever they hold now, in one statement; the row deleted
// meanwhile is reported (NotFound, recordDeletedMessage()). For the editors that do not keep the
// values they read.
Status overwriteRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                    const QList<ColumnValue> &values, SourceLocation location = SourceLocation::current());

// True when a value given back by an editor is the one it read, compared as the table stores it:
// nulls alike, numbers as numbers (real numbers within 0.0005), texts exactly.
bool sameStoredValue(const QVariant &a, const QVariant &b);

} // namespace ravelin
