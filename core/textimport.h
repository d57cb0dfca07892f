#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ravelin {

// Reading the text files that measuring devices, loaders and other programs write, one log per
// line with fields separated by ";": what does not depend on the layout of one kind of file (the
// log lists of a lot, the loading lists of an order). No database, no widgets.

// The text of a file's bytes: UTF-8 after its byte-order mark, UTF-16 after its mark (either byte
// order), UTF-8 without a mark when the bytes are valid UTF-8, else Windows-1252, which French
// workstations write ("€", "œ" survive).
QString decodeText(const QByteArray &bytes);

// The lines of a text whose lines end with CR LF, LF or CR, in any mix. A final line break does
// not make an empty last line.
QStringList splitLines(const QString &text);

// A decimal number written with "," or "." as decimal mark, digits only besides an optional
// leading minus sign (no exponent, no "NaN"), surrounding blanks allowed; nothing when the text
// is anything else or not finite.
std::optional<double> readDecimalField(const QString &text);

// A whole number of at most `maxDigits` digits (18 at most), surrounding blanks allowed; nothing
// otherwise.
std::optional<qint64> readWholeField(const QString &text, int maxDigits = 18);

// The first line of a file that cannot be taken: its number (1 for the first line of the file),
// the field's French name, the text found in the field (cut when very long) and why.
struct ImportError
{
    int line = 0;
    QString field;
    QString value;
    QString message; // the sentence the user reads
};

// "Ligne 12 : longueur « 4,5m » incorrecte. Aucune grume importée." and its kin: `what` is the
// field with its agreement ("longueur « 4,5m » incorrecte", "diamètre absent").
QString importLineMessage(int line, const QString &what, const QString &consequence);

// A field's text as shown in a message: at most 30 characters, an ellipsis when cut.
QString shownFieldText(const QString &text);

// One log of a file, its fields where the file's layout put them.
struct FileLog
{
    int line = 0;       // in the file, from 1
    QString number;     // the log number as written, blanks trimmed
    QString species;    // the species or its code, blanks trimmed
    QString lengthText; // as written, blanks trimmed
    QString diameterText;
    std::optional<double> length;   // m; nothing when the field is missing or not a number
    std::optional<double> diameter; // cm
};

// What one kind of file makes of one of its lines, decoded: not a log (skipped without a word), a
// log with its fields as written, or a line that refuses the whole file.
struct LineReading
{
    enum Kind { Skipped, Log, Refused };
    Kind kind = Skipped;
    QString number;
    QString species;
    std::optional<QString> length; // nothing when the line has no such field
    std::optional<QString> diameter;
    // Refused: the field's French name, its text and what is wrong with it ("code essence « … »
    // trop long").
    QString field;
    QString value;
    QString problem;
};
using LineLayout = LineReading (*)(const QString &line);

struct TextFile
{
    QList<FileLog> logs;
    // The first line that cannot be used: a log whose length or diameter is missing, not a
    // number, negative, or gives a volume that is not a finite number, or a line its layout
    // refuses. Such a file is not imported.
    std::optional<ImportError> error;
};

// Every line of the file read with `layout`, in file order, with the measures checked.
TextFile readTextFile(const QByteArray &bytes, LineLayout layout);

// A log's volume as the summary counts it: d × d × 3.14 / 40000 × L (3.14, not the 3.1415 of the
// lots' stored volumes); 0 when a measure is missing.
double previewVolume(const FileLog &log);

// "N° 12 - CH - Long : 4,5 - dia : 40"
QString previewLine(const FileLog &log);

// "( Qte = 3     total :1,26 m3 )"
QString importSummary(int count, double total);

inline QString missingFileMessage()
{
    return QStringLiteral("Fichier innexistant.");
}
inline QString nothingImportedText()
{
    return QStringLiteral("Aucune grume importée.");
}

} // namespace ravelin
