#include "logimport.h"

#include "formats.h"

#include <cmath>

namespace ravelin {

namespace {

constexpr int shortestLog = 6;      // characters; shorter lines are not logs
constexpr int shortLayoutRest = 40; // characters after the second field in the short layout

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

} // namespace

LogFileContents parseLogFile(const QByteArray &bytes)
{
    LogFileContents contents;
    const QStringList lines = splitLines(decodeText(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.size() < shortestLog) continue;
        const int firstSep = line.indexOf(QLatin1Char(';'));
        const QString first = firstSep < 0 ? line : line.left(firstSep);
        if (!readWholeField(first)) continue;

        ImportedLogLine log;
        log.line = i + 1;
        log.number = first.trimmed();
        // the rest after field 2 tells the layout
        const int secondSep = firstSep < 0 ? -1 : line.indexOf(QLatin1Char(';'), firstSep + 1);
        QStringList rest;
        if (secondSep >= 0) {
            const QString after = line.mid(secondSep + 1);
            rest = after.split(QLatin1Char(';'));
            if (after.size() > shortLayoutRest && !rest.isEmpty()) rest.removeFirst();
        }
        // rest: code ; length ; skipped ; diameter ; ...
        const auto field = [&](int index) -> std::optional<QString> {
            if (index < rest.size()) return rest[index];
            return std::nullopt;
        };
        log.code = field(0).value_or(QString()).trimmed();
        const auto lengthText = field(1);
        const auto diameterText = field(3);
        log.lengthText = lengthText.value_or(QString()).trimmed();
        log.diameterText = diameterText.value_or(QString()).trimmed();
        log.length = lengthText ? readDecimalField(*lengthText) : std::nullopt;
        log.diameter = diameterText ? readDecimalField(*diameterText) : std::nullopt;

        if (!contents.error) {
            auto problem = measureProblem(lengthText, log.length, true, QStringLiteral("longueur"));
            QString fieldName = QStringLiteral("longueur");
            QString value = log.lengthText;
            if (!problem) {
                problem = measureProblem(diameterText, log.diameter, false, QStringLiteral("diamètre"));
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

double previewVolume(const ImportedLogLine &log)
{
    if (!log.length || !log.diameter) return 0;
    const double v = *log.diameter * *log.diameter * 3.14 / 40000.0 * *log.length;
    return std::isfinite(v) ? v : 0;
}

QString previewLine(const ImportedLogLine &log)
{
    // the workstation's decimal mark, as the measures are read
    QString length = log.lengthText;
    QString diameter = log.diameterText;
    length.replace(QLatin1Char('.'), QLatin1Char(','));
    diameter.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("N° ") + log.number + QStringLiteral(" - ") + log.code + QStringLiteral(" - Long : ") +
           length + QStringLiteral(" - dia : ") + diameter;
}

QString importSummary(int count, double total)
{
    return QStringLiteral("( Qte = ") + QString::number(count) + QStringLiteral("     total :") +
           formatNumber(total, QStringLiteral("0.00")) + QStringLiteral(" m3 )");
}

} // namespace ravelin
