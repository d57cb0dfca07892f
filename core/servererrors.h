#pragma once

#include "result.h"

#include <QList>
#include <QSqlError>
#include <QString>

#include "sourcelocation.h"

namespace ravelin {

// The one table that turns the server's errors into the program's French messages. A rule
// matches an error number and, for duplicates, the name of the unique index the server names; the
// first rule that matches wins. An error no rule knows keeps the server's text.
struct ServerErrorRule
{
    QList<int> codes;   // server (1xxx) or client library (2xxx) error numbers
    QString constraint; // a duplicate's unique index; empty for any
    ErrorKind kind = ErrorKind::DatabaseFailure;
    // French. For the errors about one column (null, too long, bad value), "%1" is the column the
    // server names, and `withoutColumn` is used when the server's text names none.
    QString message;
    QString withoutColumn;
};

const QList<ServerErrorRule> &serverErrorRules();

// The message of a duplicate on a unique index (1062), by the index's name.
inline QString lotNumberTakenMessage()
{
    return QStringLiteral("N° coupe dèjà existant");
}
inline QString placeNameTakenMessage()
{
    return QStringLiteral("Nom dèja existante !");
}
inline QString invoiceNumberTakenMessage()
{
    return QStringLiteral("N° facture dèjà existant");
}

// What the server's text names: the index of a duplicate ("for key 'uq_coupe_n_lot'"), the
// constraint of a broken link ("CONSTRAINT `fk_x`"), the column of a null, too long or bad value
// ("for column `db`.`t`.`nom`" gives "nom"). Empty when it names none.
QString serverErrorConstraint(const QString &serverText);
// The server's message as it wrote it, accents included (the driver reads it as Latin-1).
QString serverText(const QString &driverText);
QString serverErrorColumn(const QString &serverText);

// The program's Error for a failed statement or connection: its kind and French message from the
// table above, the server's text as detail, the statement and the calling function.
Error databaseError(const QSqlError &error, const QString &statement = {},
                    SourceLocation location = SourceLocation::current());
// The same with the function already named (a transaction keeps the name of the function that
// opened it, for its commit).
Error databaseError(const QSqlError &error, const QString &statement, const QString &where);

// True for the errors after which running the same transaction again may succeed.
inline bool isDeadlock(const Error &error)
{
    return error.nativeCode == 1213;
}

} // namespace ravelin
