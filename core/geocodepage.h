#pragma once

#include "result.h"

#include <QString>

namespace ravelin {

// Writes terrain.html in `folder`: a page that looks an address up (region "FR") and shows its
// latitude and longitude, for the user to copy into the field the page names (`field`, the caption
// of the screen's field that opened it). Gives the file's path.
Result<QString> writeGeocodingPage(const QString &folder, const QString &address,
                                   const QString &field = QStringLiteral("Position centre de la carte"));

} // namespace ravelin
