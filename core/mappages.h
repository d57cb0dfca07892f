#pragma once

#include "result.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace ravelin {

// The map pages the program writes into its folder (lots map, address page, delivery route). They
// draw themselves in the browser with Leaflet, which ships with the program, over the tiles and
// the geocoder of the installation's setting; the program serves them on this workstation only
// (core/ui/mapserver.h), because the tile and geocoding servers refuse requests without a Referer,
// which a page opened as a file does not send.

// Section CARTE of Serveur_config.INI:
//   tuiles       tile address with {z}, {x}, {y} (default OpenStreetMap's)
//   attribution  the text the map shows for its tiles
//   geocodeur    address search; the address is appended, URL-encoded, and the answer is
//                Nominatim's JSON (default Nominatim, France only)
struct MapSettings
{
    QString tileUrl;
    QString attribution;
    QString geocoderUrl;
};
MapSettings defaultMapSettings();
// The settings of the installation whose folder is `applicationFolder`; a missing file, section
// or key keeps the default.
MapSettings readMapSettings(const QString &applicationFolder);

// A position text "latitude,longitude" with points as decimal marks (blanks allowed), both in
// range; nothing otherwise.
struct MapPosition
{
    double latitude = 0;
    double longitude = 0;
};
std::optional<MapPosition> parseMapPosition(const QString &text);

// Where the address page opens until the geocoder answers, and the lots map when the settings'
// centre is not a position.
inline MapPosition fixedMapCentre()
{
    return {45.5882409, 5.608414000000039};
}

// A page's data: one JSON element the page's script reads (`<script type="application/json"
// id="donnees">`), "<", ">", "&", U+2028 and U+2029 written as \u escapes so that no text ends
// the element; numbers carry a point in any locale.
QString mapDataElement(const QJsonObject &data);

// The head every map page shares: UTF-8 declared, `title`, Leaflet's style and script (served
// beside the page), the map settings as the JSON element `carte-reglages`.
QString mapPageHead(const QString &title, const MapSettings &settings);

// A marker of the lots map: its picture (a file of the folder `image`) and its title, shown on
// hover and in the popup of a click.
struct MapMarker
{
    MapPosition position;
    QString icon;
    QString title;
};
// pointeurs.html: markers over the map centred on `centre` at zoom 9.
QString markersPageHtml(const MapPosition &centre, const QList<MapMarker> &markers, const MapSettings &settings);

// terrain.html: looks `address` up with the geocoder of the settings (region FR) and shows the
// position found as text "latitude,longitude" to copy into the screen's field `field` (its
// caption).
QString addressPageHtml(const QString &address, const MapSettings &settings,
                        const QString &field = QStringLiteral("Position centre de la carte"));

// Writes `html` as `fileName` in `folder`, replacing it, UTF-8 with CR LF line ends; gives its
// path. A folder that cannot be written gives an error naming the file.
Result<QString> writeMapPage(const QString &folder, const QString &fileName, const QString &html);

inline QString lotsMapFileName()
{
    return QStringLiteral("pointeurs.html");
}
inline QString addressPageFileName()
{
    return QStringLiteral("terrain.html");
}

} // namespace ravelin
