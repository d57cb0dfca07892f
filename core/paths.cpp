#include "paths.h"

#include "serverconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ravelin {

namespace {

QString withSeparator(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

bool hasResourcesBeside(const QString &programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QStringLiteral("image"))).isDir();
}

} // namespace

QString binaryFolder()
{
    return withSeparator(QCoreApplication::applicationDirPath());
}

QStringList configFolders()
{
    QStringList folders;
    for (const QString &f : QStandardPaths::standardLocations(QStandardPaths::AppConfigLocation)) {
        const QString folder = withSeparator(f);
        if (!folders.contains(folder)) folders << folder;
    }
    return folders;
}

ConfigLocation locateConfig(const QString &given, const QString &programFolder)
{
    ConfigLocation location;
    if (!given.isEmpty()) {
        const QString path = QFileInfo(given).absoluteFilePath();
        location.searched << path;
        location.path = path;
        location.writable = true;
        return location;
    }
    const QString beside = withSeparator(programFolder) + configFileName();
    location.searched << beside;
    if (QFileInfo(beside).isFile()) {
        location.path = beside;
        location.writable = true;
        return location;
    }
    // The first configuration folder is the user's own; the others belong to the system.
    const QStringList folders = configFolders();
    for (int i = 0; i < folders.size(); ++i) {
        const QString path = folders.at(i) + configFileName();
        if (location.searched.contains(path)) continue;
        location.searched << path;
        if (QFileInfo(path).isFile()) {
            location.path = path;
            location.writable = i == 0;
            return location;
        }
    }
    return location;
}

QString resourceFolder(const QString &programFolder)
{
    if (hasResourcesBeside(programFolder)) return withSeparator(programFolder);
    return withSeparator(QDir(programFolder).filePath(QStringLiteral("../share/ravelin")));
}

QString pagesFolder(const QString &programFolder)
{
    if (hasResourcesBeside(programFolder) && QFileInfo(programFolder).isWritable()) return withSeparator(programFolder);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(data);
    return withSeparator(data);
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QStringList reportTemplateFolders(const QString &programFolder)
{
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("RAVELIN_REPORT_TEMPLATES");
    if (!fromEnvironment.isEmpty()) folders << withSeparator(fromEnvironment);
    if (!programFolder.isEmpty()) folders << withSeparator(programFolder) + QStringLiteral("report_templates/");
    for (const QString &f : configFolders()) folders << f + QStringLiteral("report_templates/");
    return folders;
}

} // namespace ravelin
