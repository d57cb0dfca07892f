#include "database.h"

#include "settings.h"
#include "sql.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>

namespace ravelin {

static Status applySessionSettings(QSqlDatabase db)
{
    QSqlQuery q(db);
    for (const QString &s : {QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci"),
                             QStringLiteral("SET SESSION sql_mode='") + sessionSqlMode() + QLatin1Char('\''),
                             QStringLiteral("SET SESSION innodb_lock_wait_timeout=15")}) {
        if (!q.exec(s)) return databaseError(q.lastError(), s);
    }
    return {};
}

Result<QSqlDatabase> openConnection(const ServerConfig &config, const QString &connection, const QString &database)
{
    if (QSqlDatabase::contains(connection)) QSqlDatabase::removeDatabase(connection);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), connection);
    if (!db.isValid()) {
        return Error{QStringLiteral("Le pilote MySQL (QMYSQL) n'est pas installé sur ce poste."),
                     db.lastError().text(),
                     {},
                     QStringLiteral("openConnection")};
    }
    db.setHostName(config.host);
    db.setPort(config.port);
    if (!database.isEmpty()) db.setDatabaseName(database);
    db.setUserName(config.user);
    db.setPassword(config.password);
    QString options = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10");
    if (!config.socket.isEmpty()) options += QStringLiteral(";UNIX_SOCKET=") + config.socket;
    db.setConnectOptions(options);
    if (!db.open()) {
        Error e = databaseError(db.lastError(), {});
        const QString where = config.socket.isEmpty()
                                  ? config.host
                                  : config.host + QStringLiteral(" (") + config.socket + QLatin1Char(')');
        e.message = QStringLiteral("Impossible d'ouvrir la base de données \"%1\" sur le serveur \"%2\".\n%3")
                        .arg(database, where, e.detail);
        return e;
    }
    if (Status session = applySessionSettings(db); !session) return session.error();
    return db;
}

Result<QSqlDatabase> cloneConnection(const QString &original, const QString &connection)
{
    if (QSqlDatabase::contains(connection)) QSqlDatabase::removeDatabase(connection);
    QSqlDatabase db = QSqlDatabase::cloneDatabase(original, connection);
    if (!db.isValid() || !db.open()) {
        Error e = databaseError(db.lastError(), {});
        e.message = QStringLiteral("Impossible d'ouvrir une deuxième connexion à la base de données \"%1\".\n%2")
                        .arg(db.databaseName(), e.detail);
        return e;
    }
    if (Status session = applySessionSettings(db); !session) return session.error();
    return db;
}

Status runSqlScript(QSqlDatabase db, const QString &script)
{
    QString statement;
    QSqlQuery q(db);
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--"))) continue;
        statement += raw + QLatin1Char('\n');
        if (line.endsWith(QLatin1Char(';'))) {
            if (!q.exec(statement)) return databaseError(q.lastError(), statement);
            statement.clear();
        }
    }
    if (!statement.trimmed().isEmpty() && !q.exec(statement)) return databaseError(q.lastError(), statement);
    return {};
}

static QString resourceText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

QString schemaScript()
{
    return resourceText(QStringLiteral(":/db/schema.sql"));
}
QString demoScript()
{
    return resourceText(QStringLiteral(":/db/demo.sql"));
}

Status createCompanyDatabase(const ServerConfig &config, const QString &name, bool withDemo)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_]{1,64}$"));
    if (!valid.match(name).hasMatch())
        return Error{QStringLiteral("Nom de base de données invalide : %1").arg(name),
                     {},
                     {},
                     QStringLiteral("createCompanyDatabase")};
    const QString admin = QStringLiteral("ravelin_admin");
    {
        auto server = openConnection(config, admin, QString());
        if (!server) return server.error();
        auto exists =
            scalar(*server, QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"),
                   {name});
        if (!exists) return exists.error();
        if (exists->isValid())
            return Error{QStringLiteral("La base de données %1 existe déjà.").arg(name),
                         {},
                         {},
                         QStringLiteral("createCompanyDatabase")};
        // A database name cannot be bound; it was checked against the pattern above.
        auto created = execute(
            *server, QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(name));
        if (!created) return created.error();
        server->close();
    }
    QSqlDatabase::removeDatabase(admin);
    Status loaded;
    {
        auto db = openConnection(config, admin, name);
        if (!db) return db.error();
        loaded = runSqlScript(*db, schemaScript());
        if (loaded && withDemo) loaded = runSqlScript(*db, demoScript());
        // the script makes the first level's tables; later levels come as they do on start-up
        if (loaded) {
            auto raised = updateSchemaLevel(*db);
            if (!raised) loaded = raised.error();
        }
        db->close();
    }
    QSqlDatabase::removeDatabase(admin);
    return loaded;
}

} // namespace ravelin
