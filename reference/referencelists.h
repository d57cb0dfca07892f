#pragma once

#include "result.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace ravelin {

// The eight small vocabularies the rest of the program picks from. Each is kept through the same
// pair of screens, a list and a detail form; what differs from one to the other is described by
// its ReferenceTableDef.
enum class ReferenceTable {
    Essence,            // wood species, with their unit coefficients
    Qualite,            // wood qualities
    Classe,             // diameter classes of logs
    Coef,               // transformation coefficients
    Acheteur,           // buyers of cutting lots
    FamilleIntervenant, // contractor families
    ListeTva,           // VAT rates
    ListeReglement,     // payment modes and terms
};

enum class ColumnKind { Text, Integer, Real };

struct ReferenceColumn
{
    QString name;
    ColumnKind kind = ColumnKind::Text;
};

// A check run by "OK" on the detail screen: the column must not be empty, else the message.
struct RequiredCheck
{
    QString column;
    QString message;
};

// Rows that other parts of the program rely on by their text and that the screens protect.
struct FixedRows
{
    QString column; // compared exactly, case included
    QStringList values;
    QString message; // shown when an action is refused
    bool refuseModify = false;
    bool refuseDelete = false;
    QString deleteMessage; // shown instead of `message` when a deletion is refused, when set
};

struct ReferenceTableDef
{
    ReferenceTable id;
    QString table;
    QString listScreen;   // object name of the list screen
    QString detailScreen; // object name of the detail form
    QString heading;      // shown above the grid; empty for the families
    QString menuCaption;  // entry of the "&Fichier" menu
    QString rightsPage;   // the page right the menu handler checks
    QString orderBy;
    QString key;                      // "inc" where the table has one
    QList<ReferenceColumn> columns;   // every column read, in the table's order
    QStringList gridColumns;          // the columns the list shows
    QHash<QString, QString> captions; // grid titles that differ from the column name
    QVariantMap createDefaults;       // set on a new row before its detail screen opens
    QStringList requiredColumns;      // marked by colour on the detail screen
    QList<RequiredCheck> checks;      // run in this order by "OK"
    QString deleteQuestion;
    FixedRows fixed;
    bool doubleClickModifies = false;
    // Choice lists that store a code and show its meaning: column → (code, caption) in list order.
    QHash<QString, QList<std::pair<QString, QString>>> codedChoices;

    const ReferenceColumn *column(const QString &name) const;
    bool hasKey() const { return !key.isEmpty(); }
};

enum class RowAction { Modify, Delete };

// One row as read or as typed: column name → value (a null QVariant for an empty column).
using ReferenceRow = QVariantMap;

const ReferenceTableDef &referenceTable(ReferenceTable table);
// The eight tables in the order of the "&Fichier" menu.
const QList<ReferenceTable> &referenceTables();

// The statement that fills a list, e.g. "Select essence, code, m3, T, Stere, pourcent_ecorce from
// essence order by essence".
QString listStatement(const ReferenceTableDef &def);

bool isFixedRow(const ReferenceTableDef &def, const ReferenceRow &row);
// The message refusing the action on a fixed row ("Famille OBLIGATOIRE", "Ligne OBLIGATOIRE"), or
// an empty text when the action is allowed.
QString fixedRowRefusal(const ReferenceTableDef &def, const ReferenceRow &row, RowAction action);

// The first failing check of the detail screen's "OK", or an empty text when the row may be written.
QString checkReferenceRow(const ReferenceTableDef &def, const ReferenceRow &row);

// A value as the table stores it: empty text and unreadable numbers become null.
QVariant storedValue(const ReferenceColumn &column, const QVariant &value);

// Every row of the table, by the list's statement.
Result<QList<ReferenceRow>> readReferenceRows(QSqlDatabase db, ReferenceTable table);

// Writes a new row; gives it back as stored, with its `inc` for the tables that have one.
Result<ReferenceRow> insertReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &values);

// Rewrites the row that was read as `asRead`. The row is found by its `inc` where the table has
// one, and must still hold the values it was read with (text compared exactly, nulls alike, real
// numbers within a hair), so that a change another workstation made since is never overwritten:
// then nothing is written and the error says so (isChangedElsewhere). Fixed rows are refused.
Status updateReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &asRead,
                          const ReferenceRow &values);

// Deletes the row read as `asRead`, on the same terms.
Status deleteReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &asRead);

// True for the error of a write refused because the row changed or vanished on another workstation
// (its kind is ErrorKind::ChangedElsewhere).
bool isChangedElsewhere(const Error &error);

} // namespace ravelin
