#include "geocodepage.h"

#include <QDir>
#include <QSaveFile>
#include <QUrl>

namespace ravelin {

static QString htmlEscape(const QString &text)
{
    return text.toHtmlEscaped();
}

QString javaScriptString(const QString &text, QChar quote)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    out.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    out.replace(QLatin1Char('<'), QStringLiteral("\\u003c"));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return quote + out + quote;
}

Result<QString> writeGeocodingPage(const QString &folder, const QString &address, const QString &field)
{
    const QString path = QDir(folder).filePath(QStringLiteral("terrain.html"));
    const QString query = QString::fromUtf8(QUrl::toPercentEncoding(address));
    QString html = QStringLiteral(R"HTML(<!DOCTYPE html>
<html lang="fr">
<head>
<meta charset="utf-8">
<title>Coordonnées de l'adresse</title>
<style>body{font-family:sans-serif;margin:2em} #pos{font-size:1.4em;font-weight:bold}</style>
</head>
<body>
<h1>Coordonnées de l'adresse</h1>
<p>Adresse recherchée : <b>%1</b> (région FR)</p>
<p>Position trouvée (latitude,longitude) : <span id="pos">recherche en cours...</span></p>
<p>Copiez cette position dans le champ « %4 ».</p>
<p><a href="https://www.openstreetmap.org/search?query=%2">Voir l'adresse sur la carte</a></p>
<script>
var address = %3;
fetch("https://nominatim.openstreetmap.org/search?format=json&countrycodes=fr&limit=1&q=" + encodeURIComponent(address))
  .then(function (r) { return r.json(); })
  .then(function (found) {
    document.getElementById("pos").textContent = found.length ? found[0].lat + "," + found[0].lon : "adresse introuvable";
  })
  .catch(function () { document.getElementById("pos").textContent = "recherche impossible (pas de connexion)"; });
</script>
</body>
</html>
)HTML")
                       .arg(htmlEscape(address), query, javaScriptString(address), htmlEscape(field));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(html.toUtf8()) < 0 || !f.commit())
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier %1").arg(path), f.errorString());
    return path;
}

} // namespace ravelin
