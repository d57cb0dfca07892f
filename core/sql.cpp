#include "sql.h"

namespace ravelin {

QString Error::fullText() const
{
    QString text = message;
    if (!detail.isEmpty() && detail != message) text += QStringLiteral("\n\n") + detail;
    return text;
}

Error databaseError(const QSqlError &error, const QString &statement, const QString &where)
{
    Error e;
    e.detail = error.text();
    e.statement = statement;
    e.where = where;
    e.nativeCode = error.nativeErrorCode().toInt();
    switch (e.nativeCode) {
    case 2002: // can't connect through socket
    case 2003: // can't connect to server
    case 2005: // unknown host
    case 2006: // server has gone away
    case 2013: // lost connection during query
        e.message = QStringLiteral("La connexion au serveur de base de données est perdue. "
                                   "Vérifiez le réseau puis recommencez.");
        break;
    case 1062: e.message = QStringLiteral("Cet enregistrement existe déjà (valeur en double)."); break;
    case 1205:
        e.message = QStringLiteral("Un autre poste modifie les mêmes données : délai d'attente dépassé. "
                                   "Recommencez dans un instant.");
        break;
    case 1213: e.message = QStringLiteral("Conflit avec un autre poste (interblocage). Recommencez."); break;
    case 1451:
        e.message = QStringLiteral("Cet enregistrement est utilisé ailleurs et ne peut pas être supprimé.");
        break;
    case 1044:
    case 1045: e.message = QStringLiteral("Accès refusé par le serveur de base de données."); break;
    case 1049: e.message = QStringLiteral("La base de données n'existe pas."); break;
    default:
        e.message = QStringLiteral("Erreur de base de données : ") +
                    (error.databaseText().isEmpty() ? error.text() : error.databaseText());
        break;
    }
    return e;
}

Status exec(QSqlQuery &query, const QString &sql, std::initializer_list<QVariant> values, const char *where)
{
    const QString fn = where ? QString::fromLatin1(where) : QString();
    if (!query.prepare(sql)) return databaseError(query.lastError(), sql, fn);
    for (const QVariant &v : values) query.addBindValue(v);
    if (!query.exec()) return databaseError(query.lastError(), sql, fn);
    return {};
}

Result<QVariant> scalar(QSqlDatabase db, const QString &sql, std::initializer_list<QVariant> values, const char *where)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, where); !s) return s.error();
    if (!q.next()) return QVariant();
    return q.value(0);
}

Result<int> execute(QSqlDatabase db, const QString &sql, std::initializer_list<QVariant> values, const char *where)
{
    QSqlQuery q(db);
    if (Status s = exec(q, sql, values, where); !s) return s.error();
    return q.numRowsAffected();
}

Transaction::Transaction(QSqlDatabase db) : m_db(db)
{
    if (m_db.transaction()) m_open = true;
    else
        m_started = databaseError(m_db.lastError(), QStringLiteral("START TRANSACTION"), QStringLiteral("Transaction"));
}

Transaction::~Transaction()
{
    if (m_open) m_db.rollback();
}

Status Transaction::commit()
{
    if (!m_open) return m_started;
    m_open = false;
    if (!m_db.commit()) {
        const Error e = databaseError(m_db.lastError(), QStringLiteral("COMMIT"), QStringLiteral("Transaction"));
        m_db.rollback();
        return e;
    }
    return {};
}

} // namespace ravelin
