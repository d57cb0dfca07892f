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

    // A file written by Notepad or by another program: read right, and written back with every
    // byte as it was but the version line.
    void encodingAndLineEndsAreKept_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<IniFile::Encoding>("encoding");
        QTest::newRow("Windows-1252, CR LF") << QByteArray("; r\xE9glages \x80\r\n[SERVEUR]\r\nhost=srv\r\n"
                                                           "host_distant=x\r\npassword=caf\xE9\r\nversion=7.2\r\n")
                                             << QStringLiteral("café")
                                             << QByteArray("; r\xE9glages \x80\r\n[SERVEUR]\r\nhost=srv\r\n"
                                                           "host_distant=x\r\npassword=caf\xE9\r\nversion=8.0b\r\n")
                                             << IniFile::Encoding::Windows1252;
        QTest::newRow("UTF-8 with its mark, no end on the last line")
            << QByteArray("\xEF\xBB\xBF[SERVEUR]\nhost=srv\nhost_distant=x\npassword=caf\xC3\xA9")
            << QStringLiteral("café")
            << QByteArray("\xEF\xBB\xBF[SERVEUR]\nhost=srv\nhost_distant=x\npassword=caf\xC3\xA9\nversion=8.0b")
            << IniFile::Encoding::Utf8WithMark;
        QTest::newRow("UTF-8, mixed ends, other section after")
            << QByteArray("[SERVEUR]\r\nhost=srv\nhost_distant=x\r\npassword=\xC3\xA9t\xC3\xA9\r\n\r\n[CARTE]\nk=v\n")
            << QStringLiteral("été")
            << QByteArray("[SERVEUR]\r\nhost=srv\nhost_distant=x\r\npassword=\xC3\xA9t\xC3\xA9\r\nversion=8.0b\r\n"
                          "\r\n[CARTE]\nk=v\n")
            << IniFile::Encoding::Utf8;
        const auto utf16 = [](const QString &text) {
            QByteArray bytes("\xFF\xFE");
            for (const QChar c : text) bytes += char(c.unicode() & 0xFF), bytes += char(c.unicode() >> 8);
            return bytes;
        };
        QTest::newRow("UTF-16 with its mark, CR LF")
            << utf16(QStringLiteral("[SERVEUR]\r\nhost=srv\r\nhost_distant=x\r\npassword=café\r\n"))
            << QStringLiteral("café")
            << utf16(QStringLiteral("[SERVEUR]\r\nhost=srv\r\nhost_distant=x\r\npassword=café\r\nversion=8.0b\r\n"))
            << IniFile::Encoding::Utf16LE;
    }
    void encodingAndLineEndsAreKept()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, password);
        QFETCH(QByteArray, after);
        QFETCH(IniFile::Encoding, encoding);
        const QString path = write(before);
        const ServerConfig c = readServerConfig(path);
        QVERIFY(c.isComplete());
        QCOMPARE(c.password, password);
        IniFile ini;
        QVERIFY(ini.load(path));
        QCOMPARE(ini.encoding(), encoding);
        QVERIFY(writeConfigVersion(path, QStringLiteral("8.0b")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), after);
    }

    void windows1252RoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 1; b < 256; ++b) all += char(b);
        IniFile::Encoding encoding;
        const QString text = IniFile::decode(all, &encoding);
        QCOMPARE(encoding, IniFile::Encoding::Windows1252);
        QCOMPARE(text.at(0x80 - 1), QChar(0x20AC));
        QCOMPARE(IniFile::encode(text, encoding), all);
        QCOMPARE(IniFile::encode(QStringLiteral("€ œ ☃"), encoding), QByteArray("\x80 \x9C ?"));
    }
};

QTEST_GUILESS_MAIN(TestServerConfig)
#include "tst_serverconfig.moc"
