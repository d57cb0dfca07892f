#include "routepage.h"

#include "formats.h"
#include "geocodepage.h"
#include "sql.h"
#include "statements.h"

#include <QDir>
#include <QSaveFile>

#include <cmath>

namespace ravelin {

double lorryFactor(const QVariant &coefCamion)
{
    double coef = 25;
    if (!coefCamion.isNull()) {
        bool ok = false;
        const double read = parseDecimal(coefCamion.toString(), &ok);
        if (ok && std::isfinite(read)) coef = read;
    }
    return 1 + coef / 100;
}

QString msToTime(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two((seconds / 3600) % 24) + QLatin1Char(':') + two((seconds / 60) % 60) + QLatin1Char(':') +
           two(seconds % 60);
}

Result<RouteEnds> routeEnds(QSqlDatabase db, const QString &depart, const QString &destination)
{
    RouteEnds ends{depart, destination};
    auto lot = select(db, QStringLiteral("select lieu,cp from coupe where lieu=? limit 1"), {depart});
    if (!lot) return lot.error();
    if (!lot->isEmpty())
        ends.origin = lot->first().value(0).toString() + QLatin1Char(' ') + lot->first().value(1).toString();
    auto place =
        select(db, QStringLiteral("select cp,ville from destination where destination=? limit 1"), {destination});
    if (!place) return place.error();
    if (!place->isEmpty())
        ends.destination = place->first().value(1).toString() + QLatin1Char(' ') + place->first().value(0).toString();
    return ends;
}

QString routePageHtml(const RouteEnds &ends, double factor)
{
    // The map is OpenStreetMap's (Leaflet); the road comes from the OSRM service and the places
    // from Nominatim, none of which needs a key.
    static const QString head = QStringLiteral(R"HTML(<!DOCTYPE html>
<html lang="fr">
<head>
<meta charset="utf-8">
<title>Ravelin - Livraisons</title>
<link rel="stylesheet" href="https://unpkg.com/leaflet@1.9.4/dist/leaflet.css">
<script src="https://unpkg.com/leaflet@1.9.4/dist/leaflet.js"></script>
<style>body{font-family:Arial;font-size:13px;color:black}</style>
</head>
<body>
<center>
<div id="map" style="width:1000px;height:700px"></div>
<div id="trajet"></div>
</center>
<script>
function msToTime(duration) {
  var seconds = parseInt((duration / 1000) % 60), minutes = parseInt((duration / (1000 * 60)) % 60),
      hours = parseInt((duration / (1000 * 60 * 60)) % 24);
  hours = (hours < 10) ? "0" + hours : hours;
  minutes = (minutes < 10) ? "0" + minutes : minutes;
  seconds = (seconds < 10) ? "0" + seconds : seconds;
  return hours + ":" + minutes + ":" + seconds;
}
var map = L.map('map').setView([46.6, 2.4], 1);
L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {maxZoom: 19,
  attribution: '&copy; OpenStreetMap'}).addTo(map);
function geocode(text) {
  return fetch("https://nominatim.openstreetmap.org/search?format=json&countrycodes=fr&limit=1&q=" +
               encodeURIComponent(text)).then(function (r) { return r.json(); })
    .then(function (found) { if (!found.length) throw "introuvable"; return found[0]; });
}
var directionsService = {
  route: function (request, callback) {
    Promise.all([geocode(request.origin), geocode(request.destination)]).then(function (places) {
      var a = places[0], b = places[1];
      return fetch("https://router.project-osrm.org/route/v1/driving/" + a.lon + "," + a.lat + ";" + b.lon + "," +
                   b.lat + "?overview=full&geometries=geojson").then(function (r) { return r.json(); })
        .then(function (road) {
          if (road.code != "Ok" || !road.routes.length) { callback(null, "ERREUR"); return; }
          callback({start_address: a.display_name, end_address: b.display_name, route: road.routes[0]}, "OK");
        });
    }).catch(function () { callback(null, "ERREUR"); });
  }
};
</script>
)HTML");
    const QString factorText = QString::number(factor, 'g', 12);
    QString script;
    script += QStringLiteral("<script>\n var request = {\n");
    script += QStringLiteral("origin: ") + javaScriptString(ends.origin, QLatin1Char('\'')) + QStringLiteral(",\n");
    script +=
        QStringLiteral("destination: ") + javaScriptString(ends.destination, QLatin1Char('\'')) + QStringLiteral(",\n");
    script += QStringLiteral("travelMode: 'DRIVING'};\n");
    script += QStringLiteral("var F = ") + factorText + QStringLiteral(";\n");
    script += QStringLiteral(R"JS(directionsService.route(request, function(response, status) {
if (status == "OK") {
  var depart = response.start_address, arrivee = response.end_address;
  var distance = response.route.distance / 1000;
  var duree = response.route.duration;
  var duree1 = msToTime(duree * 1000 * F);
  var esc = function (t) { var d = document.createElement("div"); d.textContent = t; return d.innerHTML; };
  document.getElementById("trajet").innerHTML =
    '<table width="60%" border="1"><caption>Soft Ravelin : Livraisons</caption>' +
    '<tr><th>Depart</th><th>Destination</th><th>Distance</th><th>temps de route (CAMION)</th></tr>' +
    '<tr><td>' + esc(depart) + '</td><td>' + esc(arrivee) + '</td><td>' + Math.round(distance) + ' km</td><td>' +
    duree1 + '</td></tr></table>';
  var line = L.geoJSON(response.route.geometry).addTo(map);
  map.fitBounds(line.getBounds());
}
});
</script>
</body>
</html>
)JS");
    return head + script;
}

Result<QString> writeRoutePage(const QString &folder, const RouteEnds &ends, double factor)
{
    const QString path = QDir(folder).filePath(QStringLiteral("livraisons.html"));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(routePageHtml(ends, factor).toUtf8()) < 0 || !f.commit())
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier %1").arg(path), f.errorString());
    return path;
}

} // namespace ravelin
