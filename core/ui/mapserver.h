#pragma once

#include "result.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace ravelin {

// Serves the map pages of the application folder, Leaflet and the marker pictures to the browser
// of this workstation: Qt's HTTP server on 127.0.0.1 only, on a free port, under a random path
// token, GET of those files only (anything else is 404). Started at the first page shown.
class MapServer
{
public:
    static MapServer &instance();
    // The address of `fileName` (a page of `folder`), the server started when needed.
    Result<QUrl> urlOf(const QString &folder, const QString &fileName);
    // The body and type of `path` (below the token), or nothing when it is not served.
    struct Served
    {
        QByteArray body;
        QByteArray type;
    };
    std::optional<Served> serve(const QString &path) const;

private:
    MapServer();
    ~MapServer();
    struct Private;
    std::unique_ptr<Private> d;
};

// Opens a served page in the browser: the system's opener (platform.h) by default; tests install their own (an
// empty one restores the default) and get the previous one back. `file` is the page written.
using MapPageOpener = std::function<bool(const QUrl &url, const QString &file)>;
MapPageOpener setMapPageOpener(MapPageOpener opener);

inline QString mapPageNotOpenedMessage()
{
    return QStringLiteral("La carte n'a pas pu être affichée.");
}
// Serves the page `file` written in `folder` and asks the browser to open it. A server that cannot
// start, or a browser that does not open, gives an error to show.
Status showMapPage(const QString &folder, const QString &file);

} // namespace ravelin
