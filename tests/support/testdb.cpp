#include "testdb.h"

#include "database.h"
#include "sql.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

namespace ravelin::test {

TestServer TestServer::fromEnvironment()
{
    TestServer s;
    s.socket = qEnvironmentVariable("RAVELIN_TEST_SOCKET");
    s.user = qEnvironmentVariable("RAVELIN_TEST_USER", QStringLiteral("ravelin"));
    s.password = qEnvironmentVariable("RAVELIN_TEST_PASSWORD", QStringLiteral("ravelin"));
    return s;
}

ServerConfig testServerConfig()
{
    const TestServer s = TestServer::fromEnvironment();
    ServerConfig c;
    c.host = QStringLiteral("localhost");
    c.hostDistant = QStringLiteral("localhost");
    c.socket = s.socket;
    c.user = s.user;
    c.password = s.password;
    return c;
}

QSqlDatabase createTestDatabase(const QString &requested, bool withDemo, const QString &connection)
{
    if (qEnvironmentVariableIsEmpty("RAVELIN_TEST_SOCKET")) {
        QTest::qFail("RAVELIN_TEST_SOCKET is not set: run the tests through scripts/test", __FILE__, __LINE__);
        return {};
    }
    QString name = requested;
    if (name.isEmpty()) name = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    const ServerConfig config = testServerConfig();
    {
        auto server = openConnection(config, QStringLiteral("test_admin"), QString());
        if (!server) {
            QTest::qFail(qPrintable(server.error().fullText()), __FILE__, __LINE__);
            return {};
        }
        auto dropped = execute(*server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        if (!dropped) {
            QTest::qFail(qPrintable(dropped.error().fullText()), __FILE__, __LINE__);
            return {};
        }
        server->close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test_admin"));
    if (Status s = createCompanyDatabase(config, name, withDemo); !s) {
        QTest::qFail(qPrintable(s.error().fullText() + QStringLiteral("\n") + s.error().statement.left(300)), __FILE__,
                     __LINE__);
        return {};
    }
    return openAnotherConnection(name, connection.isEmpty() ? name : connection);
}

QSqlDatabase openAnotherConnection(const QString &database, const QString &connection)
{
    auto db = openConnection(testServerConfig(), connection, database);
    if (!db) {
        QTest::qFail(qPrintable(db.error().fullText()), __FILE__, __LINE__);
        return {};
    }
    return *db;
}

} // namespace ravelin::test
