#pragma once

#include "paths.h"
#include "result.h"
#include "serverconfig.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

namespace ravelin {

// What the start-up sequence leaves for the main window.
struct StartupState
{
    QString applicationFolder; // where pages are written, with its trailing separator
    QString configPath;        // the Serveur_config.INI used
    ServerConfig config;
    QSqlDatabase db;
    QSqlRecord settings;
    bool schemaLevelRaised = false;
};

inline QString missingConfigMessage()
{
    return QStringLiteral("Impossible de trouver \"Serveur_config.INI\"");
}

// The message for a configuration that is missing or lacks a required key, with the files tried
// in its details.
Error configurationError(const ConfigLocation &config);

// Reads the Serveur_config.INI found, opens the company database, loads the settings row, raises
// the schema level and writes the program's version into the file when it may. Nothing is written
// before the connection is open: a server that cannot be reached ends the start-up with a message
// naming it.
Result<StartupState> startProgram(const ConfigLocation &config, const QString &applicationFolder,
                                  const QString &version);

// The same with the Serveur_config.INI of `folder`, which is also the application folder.
Result<StartupState> startProgram(const QString &folder, const QString &version);

} // namespace ravelin
