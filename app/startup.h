#pragma once

#include "result.h"
#include "serverconfig.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

namespace ravelin {

// What the start-up sequence leaves for the main window.
struct StartupState
{
    QString applicationFolder; // with its trailing separator
    ServerConfig config;
    QSqlDatabase db;
    QSqlRecord settings;
    bool schemaLevelRaised = false;
};

inline QString missingConfigMessage()
{
    return QStringLiteral("Impossible de trouver \"Serveur_config.INI\"");
}

// Reads Serveur_config.INI of the folder, opens the company database, loads the settings row,
// raises the schema level and writes the program's version into the file. Nothing is written
// before the connection is open: a server that cannot be reached ends the start-up with a
// message naming it.
Result<StartupState> startProgram(const QString &applicationFolder, const QString &version);

} // namespace ravelin
