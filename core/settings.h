#pragma once

#include "counters.h"
#include "result.h"
#include "statements.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantMap>

namespace ravelin {

// The schema level this program expects; perso.version_UPDATE is raised to it at start-up.
// 1.1: the e-invoice's columns (addedColumns()).
inline constexpr double kSchemaLevel = 1.1;

// Reads the settings row ("select * from perso").
Result<QSqlRecord> loadSettings(QSqlDatabase db);

// Reads the counters row ("select * from increment").
Result<QSqlRecord> loadCounters(QSqlDatabase db);

// A column this version adds to a database made by an older one. Older workstations go on running
// the older program on the same database, so a column is only ever added, and nullable: their
// statements, which do not name it, work as before.
struct AddedColumn
{
    QString table;
    QString column;
    QString definition; // "VARCHAR(34) NULL"
};
const QList<AddedColumn> &addedColumns();

// Adds the columns of addedColumns() that the database lacks, one statement each. Safe to run again
// and from two workstations starting at once: a column another one added meanwhile is taken as
// added. Runs outside any transaction (the server commits around a change of a table's layout).
Status addMissingColumns(QSqlDatabase db);

// Brings perso.version_UPDATE up to the program's level when it is lower (or empty): adds the
// missing columns first, then writes the level, so that a database at this level has them all.
// Gives true when the row was written.
Result<bool> updateSchemaLevel(QSqlDatabase db, double level = kSchemaLevel);

// Indexes the schema gained after databases were made with it: a database made before one of them
// gets it at start-up. One statement tells which are there; each missing one is added, as the
// columns are: safe from two workstations starting at once, and never waiting more than 30 s for
// a table another connection holds. Gives the names of those this call added.
struct SchemaIndex
{
    QString table;
    QString name;
    QString columns; // as the schema's KEY names them: "lieu_pesage, date_livraison"
};
QList<SchemaIndex> addedIndexes();
Result<QStringList> addMissingIndexes(QSqlDatabase db, const QList<SchemaIndex> &indexes = addedIndexes());

// Columns of perso the settings screen edits.
QStringList editableSettingsColumns();

// The company's bank account for the e-invoice: an IBAN (spaces allowed) whose check digits agree,
// and a BIC of 8 or 11 characters.
bool validIban(const QString &iban);
bool validBic(const QString &bic);

// What the settings screen changed: only the changed columns of perso, each with the value the
// screen read and its caption, and each changed counter with the value the screen read when it
// opened.
struct SettingsChanges
{
    QList<ColumnChange> perso;
    struct CounterChange
    {
        Counter counter;
        qint64 readValue;
        qint64 newValue;
    };
    QList<CounterChange> counters;

    bool isEmpty() const { return perso.isEmpty() && counters.isEmpty(); }
};

// Writes perso and increment in one transaction, both rows locked first. A column of perso that
// another workstation changed since the screen read it is refused naming its caption (a change to
// another column is kept); a counter that another workstation moved is not overwritten: the error
// says so with its current value. Nothing is written on a refusal.
Status saveSettings(QSqlDatabase db, const SettingsChanges &changes);

} // namespace ravelin
