#include "logimport.h"

#include <QStringList>

namespace ravelin {

namespace {

constexpr int shortestLog = 6;      // characters; shorter lines are not logs
constexpr int shortLayoutRest = 40; // characters after the second field in the short layout

} // namespace

LineReading readLogListLine(const QString &line)
{
    LineReading read;
    if (line.size() < shortestLog) return read;
    const int firstSep = line.indexOf(QLatin1Char(';'));
    const QString first = firstSep < 0 ? line : line.left(firstSep);
    if (!readWholeField(first)) return read;

    read.kind = LineReading::Log;
    read.number = first.trimmed();
    // the rest after field 2 tells the layout
    const int secondSep = firstSep < 0 ? -1 : line.indexOf(QLatin1Char(';'), firstSep + 1);
    QStringList rest;
    if (secondSep >= 0) {
        const QString after = line.mid(secondSep + 1);
        rest = after.split(QLatin1Char(';'));
        if (after.size() > shortLayoutRest && !rest.isEmpty()) rest.removeFirst();
    }
    // rest: code ; length ; skipped ; diameter ; ...
    if (!rest.isEmpty()) read.species = rest[0].trimmed();
    if (rest.size() > 1) read.length = rest[1];
    if (rest.size() > 3) read.diameter = rest[3];
    return read;
}

} // namespace ravelin
