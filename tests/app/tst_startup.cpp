#include "mainwindow.h"
#include "settings.h"
#include "sql.h"
#include "startup.h"
#include "testdb.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

class TestStartup : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QTemporaryDir m_dir;

    QString configPath() const { return m_dir.filePath(QStringLiteral("Serveur_config.INI")); }
    void writeConfig(const QByteArray &text)
    {
        QFile f(configPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray configText()
    {
        QFile f(configPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QByteArray serverKeys(const QString &socket)
    {
        const ServerConfig c = test::testServerConfig();
        return QStringLiteral("database=%1\nuser=%2\npassword=%3\nsocket=%4\n")
            .arg(m_db.databaseName(), c.user, c.password, socket)
            .toUtf8();
    }

private slots:
    void initTestCase() { m_db = test::createTestDatabase(); }

    void missingConfiguration_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("host without host_distant") << QByteArray("[SERVEUR]\nhost=localhost\n");
        QTest::newRow("host_distant without host") << QByteArray("[SERVEUR]\nhost_distant=x\n");
    }
    void missingConfiguration()
    {
        QFETCH(QByteArray, text);
        QFile::remove(configPath());
        if (!text.isEmpty()) writeConfig(text);
        const auto state = startProgram(m_dir.path(), MainWindow::versionText());
        QVERIFY(!state);
        QCOMPARE(state.error().message, QStringLiteral("Impossible de trouver \"Serveur_config.INI\""));
        QCOMPARE(configText(), text.isEmpty() ? QByteArray("<missing>") : text); // nothing written
    }

    void unreachableServerIsNamedAndNothingIsWritten()
    {
        const QByteArray text =
            "[SERVEUR]\nhost=serveur-bois\nhost_distant=x\n" + serverKeys(QStringLiteral("/nonexistent/mysqld.sock"));
        writeConfig(text);
        QVERIFY(execute(m_db, QStringLiteral("update perso set version_UPDATE = 0")));
        const auto state = startProgram(m_dir.path(), MainWindow::versionText());
        QVERIFY(!state);
        QVERIFY2(state.error().message.contains(QStringLiteral("serveur-bois")), qPrintable(state.error().message));
        QVERIFY(state.error().message.startsWith(QStringLiteral("Impossible d'ouvrir la base de données")));
        QCOMPARE(configText(), text);
        QCOMPARE(scalar(m_db, QStringLiteral("select version_UPDATE from perso"))->toDouble(), 0.0);
    }

    void startsAndWritesVersion()
    {
        writeConfig("[Serveur]\nHost=localhost\nHOST_DISTANT=NON2\n" + serverKeys(test::testServerConfig().socket));
        QVERIFY(execute(
            m_db,
            QStringLiteral("update perso set version_UPDATE = NULL, nom = 'Bois du Morvan', unite_defaut = 'm3'")));
        auto state = startProgram(m_dir.path(), MainWindow::versionText());
        QVERIFY2(state, qPrintable(state.ok() ? QString() : state.error().fullText()));
        QVERIFY(state->schemaLevelRaised);
        QCOMPARE(state->settings.value(QStringLiteral("unite_defaut")).toString(), QStringLiteral("m3"));
        QCOMPARE(state->settings.value(QStringLiteral("version_UPDATE")).toDouble(), kSchemaLevel);
        QVERIFY(state->applicationFolder.endsWith(QLatin1Char('/')));
        QVERIFY(configText().contains("version=8.0b"));
        QVERIFY(configText().contains("Host=localhost"));

        auto again = startProgram(m_dir.path(), MainWindow::versionText());
        QVERIFY(again);
        QVERIFY(!again->schemaLevelRaised);
    }

    // Installed, the configuration lives in the user's or the system's configuration folder; the
    // system's file belongs to the administrator and keeps its bytes.
    void configurationFromTheConfigurationFolders_data()
    {
        QTest::addColumn<bool>("system");
        QTest::newRow("user folder: version written") << false;
        QTest::newRow("system folder: file untouched") << true;
    }
    void configurationFromTheConfigurationFolders()
    {
        QFETCH(bool, system);
        QTemporaryDir root;
        qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("etc/xdg")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        QCoreApplication::setApplicationName(QStringLiteral("ravelin"));
        QStandardPaths::setTestModeEnabled(true);
        const QString folder = system ? root.filePath(QStringLiteral("etc/xdg/ravelin"))
                                      : QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("usr/bin"))));
        const QByteArray text = "[SERVEUR]\r\nhost=localhost\r\nhost_distant=x\r\n" +
                                serverKeys(test::testServerConfig().socket).replace("\n", "\r\n");
        const QString path = QDir(folder).filePath(QStringLiteral("Serveur_config.INI"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        const ConfigLocation location = locateConfig(QString(), root.filePath(QStringLiteral("usr/bin")));
        QCOMPARE(location.path, path);
        auto state = startProgram(location, root.filePath(QStringLiteral("pages")), MainWindow::versionText());
        QVERIFY2(state, qPrintable(state.ok() ? QString() : state.error().fullText()));
        QCOMPARE(state->configPath, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), system ? text : text + "version=8.0b\r\n");
        QStandardPaths::setTestModeEnabled(false);
    }

    void missingConfigurationListsThePlacesSearched()
    {
        const ConfigLocation location = locateConfig(QString(), m_dir.filePath(QStringLiteral("nowhere")));
        const auto state = startProgram(location, m_dir.path(), MainWindow::versionText());
        QVERIFY(!state);
        QCOMPARE(state.error().message, QStringLiteral("Impossible de trouver \"Serveur_config.INI\""));
        QVERIFY(location.searched.size() >= 2);
        for (const QString &place : location.searched)
            QVERIFY2(state.error().detail.contains(place), qPrintable(place));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
