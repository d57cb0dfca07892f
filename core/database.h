#pragma once

#include "result.h"
#include "serverconfig.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The session settings every connection of the program uses, so that the same statements behave
// alike on MariaDB and MySQL 8.
inline QString sessionSqlMode()
{
    return QStringLiteral("ONLY_FULL_GROUP_BY,STRICT_TRANS_TABLES,NO_ZERO_IN_DATE,NO_ZERO_DATE,"
                          "ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION");
}

// Opens a connection named `connection` to `database` (empty: no default database) with the
// server settings of the configuration, and sets its character set and sql_mode. The error names
// the host and carries the server's text.
Result<QSqlDatabase> openConnection(const ServerConfig &config, const QString &connection, const QString &database);

// Opens a further connection named `connection` with the settings of the connection named
// `original` (server, database, account, options) and the same session settings. Safe to call
// from another thread than the original's: the new connection belongs to the calling thread.
Result<QSqlDatabase> cloneConnection(const QString &original, const QString &connection);

inline Result<QSqlDatabase> openCompanyDatabase(const ServerConfig &config,
                                                const QString &connection = QStringLiteral("dbMain"))
{
    return openConnection(config, connection, config.database);
}

// Loads a script of plain statements, each ending with ";" at the end of a line; lines starting
// with "--" are comments.
Status runSqlScript(QSqlDatabase db, const QString &script);

// The schema and demo data compiled into the program.
QString schemaScript();
QString demoScript();

// Creates the company database `name` on the configured server from the schema (and the demo
// data when asked). Refuses a name that is not made of letters, digits and underscores, and an
// existing database.
Status createCompanyDatabase(const ServerConfig &config, const QString &name, bool withDemo);

} // namespace ravelin
