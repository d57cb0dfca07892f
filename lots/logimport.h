#pragma once

#include "textimport.h"

#include <QByteArray>
#include <QString>

namespace ravelin {

// The log lists that measuring devices write, one log per line, fields separated by ";":
//   number ; skipped ; [skipped ;] species code ; length (m) ; skipped ; diameter (cm) ; rest
// The bracketed field is there only when the line goes on for more than 40 characters after its
// second field (the devices' two layouts). Lines of 5 characters or fewer, and lines whose first
// field is not a whole number (a heading such as "N°"), are not logs. No database, no widgets.
LineReading readLogListLine(const QString &line);

// The whole file; a log's `species` is the species code as written.
inline TextFile parseLogFile(const QByteArray &bytes)
{
    return readTextFile(bytes, readLogListLine);
}

inline QString noLineToImportMessage()
{
    return QStringLiteral("Pas de ligne à importer !!!");
}

} // namespace ravelin
