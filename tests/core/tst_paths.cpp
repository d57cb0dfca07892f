#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

// The folders of an installed program, a build tree and a Windows folder, laid out in a temporary
// home: QStandardPaths' test mode keeps the real user's folders out of it, and XDG_CONFIG_DIRS stands
// for /etc/xdg.
class TestPaths : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;

    QString folder(const QString &relative) const
    {
        const QString path = m_root.filePath(relative);
        QDir().mkpath(path);
        return QDir(path).absolutePath() + QLatin1Char('/');
    }
    QString userConfig() const { return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/"; }
    QString systemConfig() const { return m_root.filePath(QStringLiteral("etc/xdg/ravelin/")); }
    static void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    void clear()
    {
        for (const QString &f : {userConfig(), systemConfig(), m_root.filePath(QStringLiteral("bin/"))})
            QDir(f).removeRecursively();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("HOME", m_root.filePath(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", m_root.filePath(QStringLiteral("etc/xdg")).toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        QCoreApplication::setApplicationName(QStringLiteral("ravelin"));
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(userConfig().startsWith(m_root.path()));
        QCOMPARE(configFolders(), (QStringList{userConfig(), systemConfig()}));
    }

    // Beside the program first, then the user's folder, then the system's; the program writes
    // its version into the first two only.
    void configurationSearch_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("user");
        QTest::addColumn<bool>("system");
        QTest::addColumn<QString>("used"); // "bin", "user", "system" or ""
        QTest::addColumn<bool>("writable");
        QTest::newRow("beside and in the user folder") << true << true << true << "bin" << true;
        QTest::newRow("user and system") << false << true << true << "user" << true;
        QTest::newRow("system only") << false << false << true << "system" << false;
        QTest::newRow("none") << false << false << false << "" << false;
    }
    void configurationSearch()
    {
        QFETCH(bool, beside);
        QFETCH(bool, user);
        QFETCH(bool, system);
        QFETCH(QString, used);
        QFETCH(bool, writable);
        clear();
        const QString bin = folder(QStringLiteral("bin"));
        const QString name = QStringLiteral("Serveur_config.INI");
        const QHash<QString, QString> places{
            {QStringLiteral("bin"), bin + name},
            {QStringLiteral("user"), userConfig() + name},
            {QStringLiteral("system"), systemConfig() + name},
        };
        if (beside) touch(places["bin"]);
        if (user) touch(places["user"]);
        if (system) touch(places["system"]);

        const ConfigLocation found = locateConfig(QString(), bin);
        QCOMPARE(found.path, used.isEmpty() ? QString() : places[used]);
        QCOMPARE(found.writable, writable);
        if (used.isEmpty()) QCOMPARE(found.searched, (QStringList{places["bin"], places["user"], places["system"]}));

        // A file named on the command line wins, even when it does not exist (its absence is then
        // what the message reports).
        const ConfigLocation given = locateConfig(m_root.filePath(QStringLiteral("admin.ini")), bin);
        QCOMPARE(given.path, m_root.filePath(QStringLiteral("admin.ini")));
        QCOMPARE(given.searched, QStringList{given.path});
    }

    // Resources come with the program; the pages go where the program may write without touching
    // an installed tree.
    void resourcesAndPages_data()
    {
        QTest::addColumn<QString>("layout"); // folders and files to create under the root
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("resources");
        QTest::addColumn<QString>("pages"); // "data" for the user's data folder
        QTest::newRow("build tree or Windows folder: all beside") << "tree/app/image/"
                                                                  << "tree/app"
                                                                  << "tree/app/"
                                                                  << "tree/app/";
        QTest::newRow("installed under a prefix") << "usr/bin/,usr/share/ravelin/image/"
                                                  << "usr/bin"
                                                  << "usr/share/ravelin/"
                                                  << "data";
        QTest::newRow("a stale copy in the user's data folder is ignored")
            << "opt/bin/,opt/share/ravelin/image/,home/.qttest/share/ravelin/image/"
            << "opt/bin"
            << "opt/share/ravelin/"
            << "data";
    }
    void resourcesAndPages()
    {
        QFETCH(QString, layout);
        QFETCH(QString, program);
        QFETCH(QString, resources);
        QFETCH(QString, pages);
        for (const QString &f : layout.split(QLatin1Char(','))) folder(f);
        const QString bin = folder(program);
        QCOMPARE(resourceFolder(bin), folder(resources));
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/";
        QCOMPARE(pagesFolder(bin), pages == QLatin1String("data") ? data : folder(pages));
        QVERIFY(QFileInfo(pagesFolder(bin)).isDir());
    }

    void readOnlyProgramFolderWritesPagesToTheUserDataFolder()
    {
        const QString bin = folder(QStringLiteral("readonly/app"));
        folder(QStringLiteral("readonly/app/image"));
        QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool stillWritable = QFileInfo(bin).isWritable();
        const QString pages = pagesFolder(bin);
        QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (stillWritable) QSKIP("run with rights that ignore file permissions");
        QCOMPARE(pages, QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/");
        QCOMPARE(resourceFolder(bin), bin);
    }

    void reportTemplateOverrides()
    {
        const QString bin = folder(QStringLiteral("bin"));
        qputenv("RAVELIN_REPORT_TEMPLATES", m_root.filePath(QStringLiteral("modeles")).toLocal8Bit());
        const QStringList folders = reportTemplateFolders(bin);
        qunsetenv("RAVELIN_REPORT_TEMPLATES");
        QCOMPARE(folders, (QStringList{m_root.filePath(QStringLiteral("modeles/")), bin + "report_templates/",
                                       userConfig() + "report_templates/", systemConfig() + "report_templates/"}));
        QCOMPARE(reportTemplateFolders(bin).first(), bin + "report_templates/");
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
