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
inline constexpr double kSchemaLevel = 1.0;

// Reads the settings row ("select * from perso").
Result<QSqlRecord> loadSettings(QSqlDatabase db);

// Reads the counters row ("select * from increment").
Result<QSqlRecord> loadCounters(QSqlDatabase db);

// Brings perso.version_UPDATE up to the program's level when it is lower (or empty). Gives true
// when the row was written. This version has no table or column to add before raising the level.
Result<bool> updateSchemaLevel(QSqlDatabase db, double level = kSchemaLevel);

// Indexes the schema gained after databases were made with it: a database made before one of them
// gets it at start-up. One statement tells which are there; each missing one is added. Gives the
// names of those added.
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
