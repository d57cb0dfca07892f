#include "textimport.h"

#include "formats.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace ravelin {

namespace {

// The characters Windows-1252 puts where Latin-1 has its control codes 0x80 to 0x9F; the five
// unused positions keep their Latin-1 code, as Windows itself decodes them.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(windows1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

// The field named `name` ("longueur", feminine; "diamètre", masculine) read from `text`, or the
// reason it cannot be used.
std::optional<QString> measureProblem(const std::optional<QString> &text, std::optional<double> value, bool feminine,
                                      const QString &name)
{
    if (!text || text->trimmed().isEmpty())
        return name + (feminine ? QStringLiteral(" absente") : QStringLiteral(" absent"));
    if (!value || *value < 0)
        return name + QStringLiteral(" « ") + shownFieldText(text->trimmed()) +
               (feminine ? QStringLiteral(" » incorrecte") : QStringLiteral(" » incorrect"));
    return std::nullopt;
}

// UTF-16 as decoded keeps a surrogate without its pair: such a half is no character, and the
// server refuses it, so it becomes the replacement character, as broken UTF-8 does.
QString withoutLoneSurrogates(QString text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return withoutLoneSurrogates(utf16(bytes.mid(2)));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16BE);
        return withoutLoneSurrogates(utf16(bytes.mid(2)));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

std::optional<double> readDecimalField(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^\\s*-?([0-9]+([.,][0-9]*)?|[.,][0-9]+)\\s*$"));
    if (text.size() > 64 || !decimal.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = parseDecimal(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<qint64> readWholeField(const QString &text, int maxDigits)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*-?([0-9]+)\\s*$"));
    if (text.size() > 64) return std::nullopt;
    const QRegularExpressionMatch match = whole.match(text);
    if (!match.hasMatch() || match.capturedLength(1) > std::min(maxDigits, 18)) return std::nullopt;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString importLineMessage(int line, const QString &what, const QString &consequence)
{
    return QStringLiteral("Ligne %1 : %2. %3").arg(line).arg(what, consequence);
}

QString shownFieldText(const QString &text)
{
    if (text.size() <= 30) return text;
    return text.left(29) + QChar(0x2026);
}

TextFile readTextFile(const QByteArray &bytes, LineLayout layout)
{
    TextFile contents;
    const QStringList lines = splitLines(decodeText(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        const LineReading read = layout(lines[i]);
        const int lineNumber = i + 1;
        if (read.kind == LineReading::Skipped) continue;
        if (read.kind == LineReading::Refused) {
            if (!contents.error)
                contents.error = ImportError{lineNumber, read.field, shownFieldText(read.value),
                                             importLineMessage(lineNumber, read.problem, nothingImportedText())};
            continue;
        }
        FileLog log;
        log.line = lineNumber;
        log.number = read.number;
        log.species = read.species;
        log.lengthText = read.length.value_or(QString()).trimmed();
        log.diameterText = read.diameter.value_or(QString()).trimmed();
        log.length = read.length ? readDecimalField(*read.length) : std::nullopt;
        log.diameter = read.diameter ? readDecimalField(*read.diameter) : std::nullopt;

        if (!contents.error) {
            auto problem = measureProblem(read.length, log.length, true, QStringLiteral("longueur"));
            QString fieldName = QStringLiteral("longueur");
            QString value = log.lengthText;
            if (!problem) {
                problem = measureProblem(read.diameter, log.diameter, false, QStringLiteral("diamètre"));
                fieldName = QStringLiteral("diamètre");
                value = log.diameterText;
            }
            if (!problem && !std::isfinite(*log.diameter * *log.diameter * 3.1415 / 40000.0 * *log.length))
                problem = QStringLiteral("volume de la grume incalculable");
            if (problem)
                contents.error = ImportError{log.line, fieldName, shownFieldText(value),
                                             importLineMessage(log.line, *problem, nothingImportedText())};
        }
        contents.logs.append(log);
    }
    return contents;
}

double previewVolume(const FileLog &log)
{
    if (!log.length || !log.diameter) return 0;
    const double v = *log.diameter * *log.diameter * 3.14 / 40000.0 * *log.length;
    return std::isfinite(v) ? v : 0;
}

QString previewLine(const FileLog &log)
{
    // the workstation's decimal mark, as the measures are read
    QString length = log.lengthText;
    QString diameter = log.diameterText;
    length.replace(QLatin1Char('.'), QLatin1Char(','));
    diameter.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("N° ") + log.number + QStringLiteral(" - ") + log.species + QStringLiteral(" - Long : ") +
           length + QStringLiteral(" - dia : ") + diameter;
}

QString importSummary(int count, double total)
{
    return QStringLiteral("( Qte = ") + QString::number(count) + QStringLiteral("     total :") +
           formatNumber(total, QStringLiteral("0.00")) + QStringLiteral(" m3 )");
}

} // namespace ravelin
