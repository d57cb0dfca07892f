#include "serverconfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

class TestServerConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("Serveur_config.INI"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        return path;
    }

private slots:
    void requiredKeys_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("complete");
        QTest::newRow("both keys") << QByteArray("[SERVEUR]\nhost=srv\nhost_distant=x\n") << true;
        QTest::newRow("any case") << QByteArray("[serveur]\r\nHOST = srv\r\nHost_Distant=x\r\n") << true;
        QTest::newRow("host only") << QByteArray("[SERVEUR]\nhost=srv\n") << false;
        QTest::newRow("other section") << QByteArray("[AUTRE]\nhost=srv\nhost_distant=x\n") << false;
        QTest::newRow("empty file") << QByteArray() << false;
    }
    void requiredKeys()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, complete);
        QCOMPARE(readServerConfig(write(text)).isComplete(), complete);
    }

    void missingFileKeepsDefaults()
    {
        const ServerConfig c = readServerConfig(m_dir.filePath(QStringLiteral("absent.INI")));
        QVERIFY(!c.isComplete());
        QCOMPARE(c.host, QStringLiteral("NON"));
    }

    void connectionKeys()
    {
        const ServerConfig c = readServerConfig(write("[Serveur]\nhost=db.local\nhost_distant=NON2\nDatabase=scierie\n"
                                                      "user=bureau\npassword=s3cret\nport=3307\nsocket=/tmp/s.sock\n"));
        QCOMPARE(c.host, QStringLiteral("db.local"));
        QCOMPARE(c.database, QStringLiteral("scierie"));
        QCOMPARE(c.user, QStringLiteral("bureau"));
        QCOMPARE(c.password, QStringLiteral("s3cret"));
        QCOMPARE(c.port, 3307);
        QCOMPARE(c.socket, QStringLiteral("/tmp/s.sock"));
    }

    void versionIsWrittenBackKeepingTheRest()
    {
        const QString path =
            write("; poste du bureau\n[SERVEUR]\nhost=srv\nhost_distant=x\nVERSION=7.2\n\n[AUTRE]\nk=v\n");
        QVERIFY(writeConfigVersion(path, QStringLiteral("8.0b")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(
            QString::fromUtf8(f.readAll()),
            QStringLiteral("; poste du bureau\n[SERVEUR]\nhost=srv\nhost_distant=x\nVERSION=8.0b\n\n[AUTRE]\nk=v\n"));
        QCOMPARE(readServerConfig(path).version, QStringLiteral("8.0b"));

        const QString added = write("[SERVEUR]\nhost=srv\nhost_distant=x\n\n[AUTRE]\nk=v\n");
        QVERIFY(writeConfigVersion(added, QStringLiteral("8.0b")));
        QCOMPARE(readServerConfig(added).version, QStringLiteral("8.0b"));
        IniFile ini;
        QVERIFY(ini.load(added));
        QCOMPARE(ini.value(QStringLiteral("autre"), QStringLiteral("K")), QStringLiteral("v"));
    }
};

QTEST_GUILESS_MAIN(TestServerConfig)
#include "tst_serverconfig.moc"
