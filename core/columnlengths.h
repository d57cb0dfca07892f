#pragma once

#include "result.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// How much text a column holds: its length in characters and, for the utf8mb4 text types whose
// limit is in bytes, its length in bytes (a TEXT column holds 65,535 bytes, fewer accented
// characters).
struct TextLength
{
    int characters = 0;
    int bytes = 0;

    // True when `text` fits in the column.
    bool holds(const QString &text) const;
};

// The text columns of `table` in the connection's database, by lower-case column name, as the
// server's catalogue gives them. Read once per database and table: the schema does not change
// while the program runs.
Result<QHash<QString, TextLength>> textColumnLengths(QSqlDatabase db, const QString &table);

// "Le champ « Société » ne peut pas dépasser 50 caractères.": what the user reads when a text is
// longer than its column, typed, pasted or refused by the server.
QString textTooLongMessage(const QString &field, int characters);

} // namespace ravelin
