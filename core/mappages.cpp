#include "mappages.h"

#include "serverconfig.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

namespace ravelin {

MapSettings defaultMapSettings()
{
    return {QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"),
            QStringLiteral("© OpenStreetMap contributors"),
            QStringLiteral("https://nominatim.openstreetmap.org/search?format=json&limit=1&countrycodes=fr&q=")};
}

MapSettings readMapSettings(const QString &applicationFolder)
{
    MapSettings settings = defaultMapSettings();
    IniFile ini;
    if (!ini.load(QDir(applicationFolder).filePath(configFileName()))) return settings;
    const auto read = [&](const char *key, QString &value) {
        const QString v = ini.value(QStringLiteral("CARTE"), QLatin1String(key)).trimmed();
        if (!v.isEmpty()) value = v;
    };
    read("tuiles", settings.tileUrl);
    read("attribution", settings.attribution);
    read("geocodeur", settings.geocoderUrl);
    return settings;
}

std::optional<MapPosition> parseMapPosition(const QString &text)
{
    static const QRegularExpression position(
        QStringLiteral("^\\s*(-?[0-9]{1,3}(?:\\.[0-9]+)?)\\s*,\\s*(-?[0-9]{1,3}(?:\\.[0-9]+)?)\\s*$"));
    const auto m = position.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const double latitude = m.captured(1).toDouble();
    const double longitude = m.captured(2).toDouble();
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::abs(latitude) > 90 || std::abs(longitude) > 180)
        return std::nullopt;
    return MapPosition{latitude, longitude};
}

QString mapDataElement(const QJsonObject &data)
{
    QString json = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    json.replace(QLatin1Char('<'), QStringLiteral("\\u003c"));
    json.replace(QLatin1Char('>'), QStringLiteral("\\u003e"));
    json.replace(QLatin1Char('&'), QStringLiteral("\\u0026"));
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return QStringLiteral("<script type=\"application/json\" id=\"donnees\">") + json + QStringLiteral("</script>\n");
}

static QJsonArray positionArray(const MapPosition &p)
{
    return QJsonArray{p.latitude, p.longitude};
}

static QString settingsElement(const MapSettings &settings)
{
    QString element = mapDataElement(QJsonObject{{QStringLiteral("tuiles"), settings.tileUrl},
                                                 {QStringLiteral("attribution"), settings.attribution},
                                                 {QStringLiteral("geocodeur"), settings.geocoderUrl}});
    element.replace(QStringLiteral("id=\"donnees\""), QStringLiteral("id=\"carte-reglages\""));
    return element;
}

QString mapPageHead(const QString &title, const MapSettings &settings)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n<title>") +
           title.toHtmlEscaped() +
           QStringLiteral("</title>\n"
                          "<meta name=\"viewport\" content=\"initial-scale=1.0, user-scalable=no\">\n"
                          "<link rel=\"stylesheet\" href=\"leaflet/leaflet.css\">\n"
                          "<script src=\"leaflet/leaflet.js\"></script>\n"
                          "<style>html,body{height:100%;margin:0;font-family:Arial,sans-serif}</style>\n") +
           settingsElement(settings) +
           QStringLiteral(
               "<script>\n"
               "function reglages() { return JSON.parse(document.getElementById('carte-reglages').textContent); }\n"
               "function donnees() { return JSON.parse(document.getElementById('donnees').textContent); }\n"
               "function fondDeCarte(carte) {\n"
               "  var r = reglages();\n"
               "  L.tileLayer(r.tuiles, {maxZoom: 19}).addTo(carte);\n"
               "  carte.attributionControl.setPrefix(false);\n"
               "  var a = document.createElement('span'); a.textContent = r.attribution;\n"
               "  carte.attributionControl.addAttribution(a.innerHTML);\n"
               "}\n"
               "</script>\n");
}

QString markersPageHtml(const MapPosition &centre, const QList<MapMarker> &markers, const MapSettings &settings)
{
    QJsonArray list;
    for (const MapMarker &m : markers)
        list.append(QJsonObject{{QStringLiteral("position"), positionArray(m.position)},
                                {QStringLiteral("icone"), QStringLiteral("image/") + m.icon},
                                {QStringLiteral("titre"), m.title}});
    const QJsonObject data{{QStringLiteral("centre"), positionArray(centre)},
                           {QStringLiteral("zoom"), 9},
                           {QStringLiteral("marqueurs"), list}};
    return mapPageHead(QStringLiteral("Carte des coupes"), settings) + mapDataElement(data) +
           QStringLiteral(
               "</head>\n<body>\n<div id=\"carte\" style=\"width:100%; height:100%\"></div>\n<script>\n"
               "var d = donnees();\n"
               "var carte = L.map('carte').setView(d.centre, d.zoom);\n"
               "fondDeCarte(carte);\n"
               "d.marqueurs.forEach(function (m) {\n"
               "  var icone = L.icon({iconUrl: m.icone, iconSize: [25, 41], iconAnchor: [12, 41], popupAnchor: [0, "
               "-36]});\n"
               "  var bulle = document.createElement('div'); bulle.textContent = m.titre;\n"
               "  L.marker(m.position, {icon: icone, title: m.titre}).bindPopup(bulle).addTo(carte);\n"
               "});\n"
               "</script>\n</body>\n</html>\n");
}

QString addressPageHtml(const QString &address, const MapSettings &settings, const QString &field)
{
    const QJsonObject data{{QStringLiteral("adresse"), address},
                           {QStringLiteral("region"), QStringLiteral("FR")},
                           {QStringLiteral("centre"), positionArray(fixedMapCentre())},
                           {QStringLiteral("zoom"), 12},
                           {QStringLiteral("champ"), field}};
    return mapPageHead(QStringLiteral("Coordonnées de l'adresse"), settings) + mapDataElement(data) +
           QStringLiteral(
               "</head>\n<body>\n"
               "<u>Adresse :</u>\n<div id=\"aa\">Adresse..</div>\n"
               "<center><div id=\"bb\">recherche en cours..</div></center>\n"
               "<form>Latitude , Longitude :<br><div id=\"cc\">...</div></form>\n"
               "<p id=\"consigne\"></p>\n"
               "<div id=\"carte\" style=\"width:100%; height:100%\"></div>\n<script>\n"
               "var d = donnees();\n"
               "var myMarker = null;\n"
               "var myMap = L.map('carte').setView(d.centre, d.zoom);\n"
               "fondDeCarte(myMap);\n"
               "document.getElementById('aa').textContent = '1';\n"
               "document.getElementById('aa').textContent = d.adresse;\n"
               "document.getElementById('consigne').textContent = 'Copiez cette position dans le champ « ' + "
               "d.champ + ' ».';\n"
               "function erreur() { document.getElementById('bb').innerHTML = '<b><big>erreur</big></b>'; }\n"
               "fetch(reglages().geocodeur + encodeURIComponent(d.adresse))\n"
               "  .then(function (r) { return r.json(); })\n"
               "  .then(function (trouve) {\n"
               "    if (!trouve.length) { erreur(); return; }\n"
               "    var lat = String(trouve[0].lat), lng = String(trouve[0].lon);\n"
               "    var cc = document.getElementById('cc'); cc.textContent = '';\n"
               "    var saisie = document.createElement('input');\n"
               "    saisie.type = 'text'; saisie.name = 'latitude'; saisie.size = 40; saisie.value = lat + ',' + lng;\n"
               "    cc.appendChild(saisie); cc.appendChild(document.createElement('br'));\n"
               "    document.getElementById('bb').innerHTML = '<b><big>Adresse trouvée !</big></b>';\n"
               "    if (myMarker) myMap.removeLayer(myMarker);\n"
               "    myMarker = L.marker([parseFloat(lat), parseFloat(lng)], {title: 'Varnok : ' + d.adresse})"
               ".addTo(myMap);\n"
               "    myMap.setView([parseFloat(lat), parseFloat(lng)]);\n"
               "  })\n"
               "  .catch(erreur);\n"
               "</script>\n</body>\n</html>\n");
}

Result<QString> writeMapPage(const QString &folder, const QString &fileName, const QString &html)
{
    const QString path = QDir(folder).filePath(fileName);
    QString text = html;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
        return Error::failure(QStringLiteral("Impossible d'écrire la page %1").arg(QDir::toNativeSeparators(path)),
                              f.errorString());
    return path;
}

} // namespace ravelin
