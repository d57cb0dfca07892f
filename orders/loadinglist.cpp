#include "loadinglist.h"

#include <QStringList>

namespace ravelin {

namespace {

constexpr int fewestSeparators = 5;
constexpr int numberDigits = 9;

} // namespace

LineReading readLoadingListLine(const QString &line)
{
    LineReading read;
    if (line.count(QLatin1Char(';')) < fewestSeparators) return read;
    const QStringList fields = line.split(QLatin1Char(';'));
    if (!readWholeField(fields[1], numberDigits)) return read;
    read.number = fields[1].trimmed();
    read.species = fields[0].trimmed();
    if (read.species.size() > loadingSpeciesLength) {
        read.kind = LineReading::Refused;
        read.field = QStringLiteral("essence");
        read.value = read.species;
        read.problem = QStringLiteral("essence « ") + shownFieldText(read.species) + QStringLiteral(" » trop longue");
        return read;
    }
    read.kind = LineReading::Log;
    read.length = fields[3];
    read.diameter = fields[4];
    return read;
}

} // namespace ravelin
