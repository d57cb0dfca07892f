#include "routepage.h"

#include "formats.h"
#include "mappages.h"
#include "sql.h"
#include "statements.h"

#include <QJsonObject>

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

QString routePageHtml(const RouteEnds &ends, double factor, const MapSettings &settings)
{
    // The road comes from the OSRM service and the places from the installation's geocoder, none
    // of which needs a key.
    const QJsonObject data{{QStringLiteral("origine"), ends.origin},
                           {QStringLiteral("destination"), ends.destination},
                           {QStringLiteral("facteur"), factor}};
    return mapPageHead(QStringLiteral("Ravelin - Livraisons"), settings) + mapDataElement(data) +
           QStringLiteral(R"HTML(<style>body{font-family:Arial;font-size:13px;color:black}</style>
</head>
<body>
<center>
<div id="map" style="width:1000px;height:700px"></div>
<table id="trajet" width="60%" border="1" style="display:none"><caption>Soft Ravelin : Livraisons</caption>
<tr><th>Depart</th><th>Destination</th><th>Distance</th><th>temps de route (CAMION)</th></tr>
<tr><td id="depart"></td><td id="arrivee"></td><td id="distance"></td><td id="duree"></td></tr></table>
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
var d = donnees();
var map = L.map('map').setView([46.6, 2.4], 5);
fondDeCarte(map);
function geocode(text) {
  return fetch(reglages().geocodeur + encodeURIComponent(text)).then(function (r) { return r.json(); })
    .then(function (found) { if (!found.length) throw "introuvable"; return found[0]; });
}
Promise.all([geocode(d.origine), geocode(d.destination)]).then(function (places) {
  var a = places[0], b = places[1];
  return fetch("https://router.project-osrm.org/route/v1/driving/" + a.lon + "," + a.lat + ";" + b.lon + "," +
               b.lat + "?overview=full&geometries=geojson").then(function (r) { return r.json(); })
    .then(function (road) {
      if (road.code != "Ok" || !road.routes.length) return;
      var route = road.routes[0];
      document.getElementById("depart").textContent = a.display_name;
      document.getElementById("arrivee").textContent = b.display_name;
      document.getElementById("distance").textContent = Math.round(route.distance / 1000) + " km";
      document.getElementById("duree").textContent = msToTime(route.duration * 1000 * d.facteur);
      document.getElementById("trajet").style.display = "";
      var line = L.geoJSON(route.geometry).addTo(map);
      map.fitBounds(line.getBounds());
    });
}).catch(function () {});
</script>
</body>
</html>
)HTML");
}

Result<QString> writeRoutePage(const QString &folder, const RouteEnds &ends, double factor)
{
    return writeMapPage(folder, QStringLiteral("livraisons.html"),
                        routePageHtml(ends, factor, readMapSettings(folder)));
}

} // namespace ravelin
