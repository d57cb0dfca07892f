#pragma once

#include "result.h"

#include <QString>

namespace ravelin {

// A text as a JavaScript string literal between `quote`s, safe inside a page's script: backslashes
// and both quotes escaped, "<" written so that no tag can close the script, line ends as blanks.
QString javaScriptString(const QString &text, QChar quote = QLatin1Char('"'));

// Writes terrain.html in `folder` (core/mappages.h): a page that looks an address up (region "FR")
// and shows its latitude and longitude, for the user to copy into the field the page names
// (`field`, the caption of the screen's field that opened it). Gives the file's path; open it with
// showMapPage (core/ui/mapserver.h).
Result<QString> writeGeocodingPage(const QString &folder, const QString &address,
                                   const QString &field = QStringLiteral("Position centre de la carte"));

} // namespace ravelin
