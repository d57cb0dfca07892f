#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ravelin {

// Reading the text files that measuring devices and other programs write: what does not depend on
// the layout of one kind of file (the log lists of a lot, the loading lists of an order).

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

// A whole number of at most 18 digits, surrounding blanks allowed; nothing otherwise.
std::optional<qint64> readWholeField(const QString &text);

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

} // namespace ravelin
