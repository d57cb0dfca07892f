#include "benchserver.h"

#include <QFileInfo>

namespace ravelin::bench {

void addServerOptions(QCommandLineParser &parser)
{
    parser.addOption(
        {QStringLiteral("config"), QStringLiteral("Serveur_config.INI giving the server."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("socket"), QStringLiteral("Unix socket of the server."), QStringLiteral("path")});
    parser.addOption(
        {QStringLiteral("host"), QStringLiteral("Server host (default localhost)."), QStringLiteral("name")});
    parser.addOption(
        {QStringLiteral("port"), QStringLiteral("Server TCP port (default 3306)."), QStringLiteral("port")});
    parser.addOption(
        {QStringLiteral("user"), QStringLiteral("Database account (default ravelin)."), QStringLiteral("name")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("Password of the account (default ravelin)."),
                      QStringLiteral("text")});
}

ServerConfig serverFromOptions(const QCommandLineParser &parser, const QString &database, QString *error)
{
    ServerConfig config;
    if (parser.isSet(QStringLiteral("config"))) {
        const QString path = parser.value(QStringLiteral("config"));
        if (!QFileInfo::exists(path)) {
            if (error) *error = QStringLiteral("%1 does not exist").arg(path);
            return config;
        }
        config = readServerConfig(path);
    } else {
        config.host = QStringLiteral("localhost");
        config.hostDistant = config.host;
        config.socket = qEnvironmentVariable("RAVELIN_TEST_SOCKET");
        config.user = qEnvironmentVariable("RAVELIN_TEST_USER", QStringLiteral("ravelin"));
        config.password = qEnvironmentVariable("RAVELIN_TEST_PASSWORD", QStringLiteral("ravelin"));
    }
    if (parser.isSet(QStringLiteral("socket"))) config.socket = parser.value(QStringLiteral("socket"));
    if (parser.isSet(QStringLiteral("host"))) config.host = config.hostDistant = parser.value(QStringLiteral("host"));
    if (parser.isSet(QStringLiteral("port"))) config.port = parser.value(QStringLiteral("port")).toInt();
    if (parser.isSet(QStringLiteral("user"))) config.user = parser.value(QStringLiteral("user"));
    if (parser.isSet(QStringLiteral("password"))) config.password = parser.value(QStringLiteral("password"));
    config.database = database;
    if (error) {
        error->clear();
        if (config.socket.isEmpty() && (config.host.isEmpty() || config.host == QLatin1String("NON")))
            *error = QStringLiteral("no server: give --config, --socket or --host (or set RAVELIN_TEST_SOCKET)");
    }
    return config;
}

QStringList mariadbClientArguments(const ServerConfig &config)
{
    QStringList args{QStringLiteral("--no-defaults"), QStringLiteral("--default-character-set=utf8mb4")};
    if (!config.socket.isEmpty()) {
        args << QStringLiteral("--socket=") + config.socket;
    } else {
        args << QStringLiteral("--host=") + config.host << QStringLiteral("--port=") + QString::number(config.port);
    }
    args << QStringLiteral("--user=") + config.user;
    if (!config.password.isEmpty()) args << QStringLiteral("--password=") + config.password;
    return args;
}

} // namespace ravelin::bench
