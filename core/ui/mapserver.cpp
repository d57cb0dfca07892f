#include "mapserver.h"

#include "platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QRandomGenerator>

// The resources of a static library are registered by hand.
static void registerMapFiles()
{
    Q_INIT_RESOURCE(maps);
}

namespace ravelin {

namespace {

// What the pages load besides themselves, shipped in the program's resources.
const QHash<QString, QByteArray> &bundledFiles()
{
    static const QHash<QString, QByteArray> files{
        {QStringLiteral("leaflet/leaflet.js"), "text/javascript; charset=utf-8"},
        {QStringLiteral("leaflet/leaflet.css"), "text/css; charset=utf-8"},
        {QStringLiteral("leaflet/images/layers.png"), "image/png"},
        {QStringLiteral("leaflet/images/layers-2x.png"), "image/png"},
        {QStringLiteral("leaflet/images/marker-icon.png"), "image/png"},
        {QStringLiteral("leaflet/images/marker-icon-2x.png"), "image/png"},
        {QStringLiteral("leaflet/images/marker-shadow.png"), "image/png"},
        {QStringLiteral("image/pointeur1.png"), "image/png"},
        {QStringLiteral("image/pointeur2.png"), "image/png"},
        {QStringLiteral("image/pointeur3.png"), "image/png"},
        {QStringLiteral("image/pointeur5.png"), "image/png"},
        {QStringLiteral("image/pointeur6.png"), "image/png"},
    };
    return files;
}

// The pages, written in the application folder under these names.
bool isPage(const QString &name)
{
    return name == QLatin1String("pointeurs.html") || name == QLatin1String("terrain.html") ||
           name == QLatin1String("livraisons.html");
}

MapPageOpener &opener()
{
    static MapPageOpener current;
    return current;
}

} // namespace

struct MapServer::Private
{
    QHttpServer server;
    quint16 port = 0;
    QString token;
    QString folder;
};

MapServer::MapServer() : d(std::make_unique<Private>())
{
    registerMapFiles();
    d->token = QString::number(QRandomGenerator::system()->generate64(), 36) +
               QString::number(QRandomGenerator::system()->generate64(), 36);
    d->server.route(QStringLiteral("/<arg>"), QHttpServerRequest::Method::Get,
                    [this](const QUrl &rest, const QHttpServerRequest &) {
                        const QString path = rest.path();
                        const QString prefix = d->token + QLatin1Char('/');
                        if (!path.startsWith(prefix))
                            return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
                        const auto served = serve(path.mid(prefix.size()));
                        if (!served) return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
                        QHttpServerResponse response(served->type, served->body);
                        response.setHeader("Cache-Control", "no-store");
                        return response;
                    });
}

MapServer::~MapServer() = default;

MapServer &MapServer::instance()
{
    static MapServer server;
    return server;
}

std::optional<MapServer::Served> MapServer::serve(const QString &path) const
{
    if (isPage(path)) {
        QFile page(QDir(d->folder).filePath(path));
        if (d->folder.isEmpty() || !page.open(QIODevice::ReadOnly)) return std::nullopt;
        return Served{page.readAll(), "text/html; charset=utf-8"};
    }
    const auto type = bundledFiles().constFind(path);
    if (type == bundledFiles().constEnd()) return std::nullopt;
    QFile file(QStringLiteral(":/cartes/") + path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return Served{file.readAll(), *type};
}

Result<QUrl> MapServer::urlOf(const QString &folder, const QString &fileName)
{
    if (d->port == 0) {
        d->port = d->server.listen(QHostAddress::LocalHost, 0);
        if (d->port == 0)
            return Error::failure(mapPageNotOpenedMessage(),
                                  QStringLiteral("Le serveur local des cartes n'a pas pu démarrer."));
    }
    d->folder = folder;
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2/%3").arg(d->port).arg(d->token, fileName));
}

MapPageOpener setMapPageOpener(MapPageOpener replacement)
{
    MapPageOpener previous = opener();
    opener() = std::move(replacement);
    return previous;
}

Status showMapPage(const QString &folder, const QString &file)
{
    auto url = MapServer::instance().urlOf(folder, QFileInfo(file).fileName());
    if (!url) return url.error();
    const bool opened = opener() ? opener()(*url, file) : openWithSystem(*url);
    if (!opened) return Error::failure(mapPageNotOpenedMessage(), url->toString());
    return {};
}

} // namespace ravelin
