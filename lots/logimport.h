#pragma once

#include "textimport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace ravelin {

// The log lists that measuring devices write, one log per line, fields separated by ";":
//   number ; skipped ; [skipped ;] species code ; length (m) ; skipped ; diameter (cm) ; rest
// The bracketed field is there only when the line goes on for more than 40 characters after its
// second field (the devices' two layouts). Lines of 5 characters or fewer, and lines whose first
// field is not a whole number (a heading such as "N°"), are not logs. No database, no widgets.

struct ImportedLogLine
{
    int line = 0;       // in the file, from 1
    QString number;     // the log number as written, blanks trimmed
    QString code;       // species code, blanks trimmed
    QString lengthText; // as written, blanks trimmed
    QString diameterText;
    std::optional<double> length;   // m; nothing when the field is missing or not a number
    std::optional<double> diameter; // cm
};

struct LogFileContents
{
    QList<ImportedLogLine> logs;
    // The first log whose length or diameter cannot be used (missing, not a number, negative, or
    // giving a volume that is not a finite number); such a file is not imported.
    std::optional<ImportError> error;
};

LogFileContents parseLogFile(const QByteArray &bytes);

// A log's volume as the summary counts it: d × d × 3.14 / 40000 × L (3.14, not the 3.1415 of the
// stored volume); 0 when a measure is missing.
double previewVolume(const ImportedLogLine &log);

// "N° 12 - CH - Long : 4,5 - dia : 40"
QString previewLine(const ImportedLogLine &log);

// "( Qte = 3     total :1,26 m3 )"
QString importSummary(int count, double total);

inline QString noLineToImportMessage()
{
    return QStringLiteral("Pas de ligne à importer !!!");
}
inline QString missingFileMessage()
{
    return QStringLiteral("Fichier innexistant.");
}
inline QString nothingImportedText()
{
    return QStringLiteral("Aucune grume importée.");
}

} // namespace ravelin
