#pragma once

#include <QString>
#include <QStringList>

namespace ravelin {

// Every folder the program reads from or writes to is decided here, and nowhere else.
//
// The same binary runs from a build tree, from a Windows folder holding everything, and installed
// under /usr; each function takes the program's folder so that tests can stand in for any of them.

// The folder of the running executable, with its trailing separator.
QString binaryFolder();

// The user's configuration folder, then the system-wide ones (~/.config/ravelin/,
// /etc/xdg/ravelin/ on Linux; %LOCALAPPDATA%\ravelin, C:\ProgramData\ravelin on Windows), each with
// its trailing separator.
QStringList configFolders();

// Where Serveur_config.INI was looked for, and which file is used.
struct ConfigLocation
{
    QString path;          // the file used; empty when none exists
    QStringList searched;  // every file tried, in order (for the message when none is usable)
    bool writable = false; // the program may write its version into it
};

// The file named on the command line when given (used even if absent, so that its absence is
// reported); else the first that exists of: beside the executable, then the configuration folders
// in order. A file found in a system-wide folder is the administrator's: the program never writes
// into it, even when it could.
ConfigLocation locateConfig(const QString &given = QString(), const QString &programFolder = binaryFolder());

// Read-only resources shipped with the program (image/, leaflet/): beside the executable when an
// `image` folder is there (build tree, Windows), else <executable>/../share/ravelin/. A copy in the
// user's data folder is never used: it would outlive an upgrade. With its trailing separator.
QString resourceFolder(const QString &programFolder = binaryFolder());

// Where generated pages are written (the application folder): the executable's folder when the
// program runs from a folder of its own (resources beside it) that can be written, else the
// user's data folder (~/.local/share/ravelin/), created when missing. An installed program never
// writes beside /usr/bin, not even when run by root. With its trailing separator.
QString pagesFolder(const QString &programFolder = binaryFolder());

// The folder file dialogs open in first: the user's documents.
QString documentsFolder();

// Folders that may hold report templates overriding the compiled-in ones, first found wins: the
// folder named by RAVELIN_REPORT_TEMPLATES, report_templates/ beside the executable, then
// report_templates/ of each configuration folder.
QStringList reportTemplateFolders(const QString &programFolder = binaryFolder());

} // namespace ravelin
