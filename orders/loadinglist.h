#pragma once

#include "textimport.h"

#include <QByteArray>
#include <QString>

namespace ravelin {

// The loader's list of the logs put on a truck for an order, one log per line, fields separated
// by ";":
//   species ; number ; not used ; length (m) ; diameter (cm) ; rest
// A line with fewer than 5 ";", or whose number is not a whole number of at most 9 digits (a
// heading), is not a log and is skipped without a word. A species longer than its column refuses
// the file, naming the line. No database, no widgets.
LineReading readLoadingListLine(const QString &line);

inline TextFile parseLoadingList(const QByteArray &bytes)
{
    return readTextFile(bytes, readLoadingListLine);
}

// The longest species the loaded rows hold (liste_grume_cde.essence).
constexpr int loadingSpeciesLength = 100;

} // namespace ravelin
