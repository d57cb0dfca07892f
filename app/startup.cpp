#include "startup.h"

#include "database.h"
#include "settings.h"

#include <QDir>

namespace ravelin {

Result<StartupState> startProgram(const QString &applicationFolder, const QString &version)
{
    StartupState state;
    state.applicationFolder = QDir(applicationFolder).absolutePath() + QLatin1Char('/');
    const QString configPath = state.applicationFolder + configFileName();
    state.config = readServerConfig(configPath);
    if (!state.config.isComplete()) return Error{missingConfigMessage(), {}, {}, QStringLiteral("startProgram")};

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

    // The version is informative for the administrator; a read-only folder does not stop the program.
    (void)writeConfigVersion(configPath, version);
    return state;
}

} // namespace ravelin
