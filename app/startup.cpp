#include "startup.h"

#include "database.h"
#include "settings.h"

#include <QDir>

namespace ravelin {

Error configurationError(const ConfigLocation &config)
{
    const QString detail = config.path.isEmpty()
                               ? QStringLiteral("Fichiers cherchés :\n") + config.searched.join(QLatin1Char('\n'))
                               : QStringLiteral("Le fichier %1 n'a pas les clés host et host_distant de la section "
                                                "[SERVEUR].\nFichiers cherchés :\n%2")
                                     .arg(config.path, config.searched.join(QLatin1Char('\n')));
    return Error{missingConfigMessage(), detail, {}, QStringLiteral("startProgram")};
}

Result<StartupState> startProgram(const QString &folder, const QString &version)
{
    return startProgram(locateConfig(QDir(folder).filePath(configFileName())), folder, version);
}

Result<StartupState> startProgram(const ConfigLocation &location, const QString &applicationFolder,
                                  const QString &version)
{
    StartupState state;
    state.applicationFolder = QDir(applicationFolder).absolutePath() + QLatin1Char('/');
    state.configPath = location.path;
    if (!location.path.isEmpty()) state.config = readServerConfig(location.path);
    if (!state.config.isComplete()) return configurationError(location);

    auto db = openCompanyDatabase(state.config);
    if (!db) return db.error();
    state.db = *db;

    auto settings = loadSettings(state.db);
    if (!settings) return settings.error();
    auto raised = updateSchemaLevel(state.db);
    if (!raised) return raised.error();
    state.schemaLevelRaised = *raised;
    if (*raised) {
        settings = loadSettings(state.db);
        if (!settings) return settings.error();
    }
    state.settings = *settings;
    // a database made before the schema's later indexes gets them now
    if (auto added = addMissingIndexes(state.db); !added) return added.error();

    // The version is informative for the administrator; a read-only folder does not stop the program,
    // and a system-wide file is left as its administrator wrote it.
    if (location.writable) (void)writeConfigVersion(location.path, version);
    return state;
}

} // namespace ravelin
