#include "version.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The program itself, run as an administrator or a packaging script would: the console commands
// need no display and no configuration, and write nothing.
class TestCommandLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_home;

    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    Run run(const QStringList &arguments, bool display = false)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), m_home.filePath(QStringLiteral("etc")));
        if (display) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_home.path());
        p.start(QStringLiteral(RAVELIN_BINARY), arguments);
        Run r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QStringList filesUnderHome() const
    {
        QStringList files;
        QDirIterator it(m_home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) files << it.next();
        return files;
    }

private slots:
    void consoleCommands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString version =
            QStringLiteral("Ravelin %1 (%2)\n").arg(ravelin::programVersion(), ravelin::programBuild());
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << "";
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << "";
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Utilisation : ravelin [OPTION]..."
                                << "";
        QTest::newRow("unknown option") << QStringList{"--version", "--nope"} << 2 << ""
                                        << "nope";
        QTest::newRow("create-database without configuration")
            << QStringList{"--create-database", "societe", "--config", "absent.ini"} << 1 << ""
            << "Impossible de trouver \"Serveur_config.INI\"";
    }
    void consoleCommands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run r = run(arguments);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(out.isEmpty() || r.out.startsWith(out), qPrintable(r.out));
        QVERIFY2(err.isEmpty() || r.err.contains(err), qPrintable(r.err));
        QCOMPARE(filesUnderHome(), QStringList());
    }

    void helpNamesEveryOption()
    {
        const Run r = run({QStringLiteral("--help")});
        for (const char *option : {"--config FICHIER", "--create-database NOM", "--demo", "--diagnostic", "--help",
                                   "--version", "~/.config/ravelin/", "/etc/xdg/ravelin/"})
            QVERIFY2(r.out.contains(QLatin1String(option)), option);
    }

    // Without a configuration the diagnostic names what is missing and where it looked.
    void diagnosticReportsAMissingConfiguration()
    {
        const Run r =
            run({QStringLiteral("--diagnostic"), QStringLiteral("--config"), QStringLiteral("absent.ini")}, true);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains(QStringLiteral("Pilote QMYSQL : chargé")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QStringLiteral("Configuration : Impossible de trouver")), qPrintable(r.out));
        QVERIFY2(r.out.contains(m_home.filePath(QStringLiteral("absent.ini"))), qPrintable(r.out));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
