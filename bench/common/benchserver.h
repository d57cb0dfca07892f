#pragma once

#include "serverconfig.h"

#include <QCommandLineParser>
#include <QString>

namespace ravelin::bench {

// Adds the options that say where the database server is:
//   --config FILE      a Serveur_config.INI (host, port, socket, user, password are read from it)
//   --socket PATH      unix socket of the server
//   --host NAME, --port N, --user NAME, --password TEXT
// Without --config the values default to the environment the tests use (RAVELIN_TEST_SOCKET,
// RAVELIN_TEST_USER, RAVELIN_TEST_PASSWORD), then to localhost and the account ravelin/ravelin.
void addServerOptions(QCommandLineParser &parser);

// The server settings the options and the environment give, with `database` as the company
// database. The error text is empty when the settings are usable.
ServerConfig serverFromOptions(const QCommandLineParser &parser, const QString &database, QString *error);

// Arguments of the mariadb command-line client for the same server and account (without the
// database name), e.g. {"--no-defaults", "--default-character-set=utf8mb4", "--socket=/tmp/x.sock",
// "--user=ravelin", "--password=ravelin"}.
QStringList mariadbClientArguments(const ServerConfig &config);

} // namespace ravelin::bench
