#pragma once

#include "serverconfig.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin::test {

// The MariaDB server started by scripts/test (socket in RAVELIN_TEST_SOCKET, user
// RAVELIN_TEST_USER / RAVELIN_TEST_PASSWORD). A missing server is a test failure, not a skip.
struct TestServer
{
    QString socket;
    QString user;
    QString password;
    static TestServer fromEnvironment();
};

// Server settings of the test server, as Serveur_config.INI would give them.
ServerConfig testServerConfig();

// Drops and creates the database `name` (default: the test executable's name), loads
// db/schema.sql into it (and db/demo.sql when asked), and opens a connection to it under the
// connection name `connection` (default: the database name). Fails the current test with the
// server's message when anything goes wrong, returning an invalid database.
QSqlDatabase createTestDatabase(const QString &name = QString(), bool withDemo = false,
                                const QString &connection = QString());

// A further connection to the same database, as a second workstation would open it.
QSqlDatabase openAnotherConnection(const QString &database, const QString &connection);

} // namespace ravelin::test
