#include "sql.h"

#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

namespace ravelin {

static Status run(QSqlQuery &query, const QString &sql, const QVariantList &values, const QString &where)
{
    if (!query.prepare(sql)) return databaseError(query.lastError(), sql, where);
    for (const QVariant &v : values) query.addBindValue(v);
    if (!query.exec()) return databaseError(query.lastError(), sql, where);
    return {};
}

Status exec(QSqlQuery &query, const QString &sql, const QVariantList &values, SourceLocation location)
{
    return run(query, sql, values, functionName(location));
}

static Result<QVariant> firstValue(QSqlDatabase db, const QString &sql, const QVariantList &values,
                                   const QString &where)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = run(q, sql, values, where); !s) return s.error();
    if (!q.next()) return QVariant();
    return q.value(0);
}

Result<QVariant> scalar(QSqlDatabase db, const QString &sql, const QVariantList &values, SourceLocation location)
{
    return firstValue(db, sql, values, functionName(location));
}

static Result<int> changedRows(QSqlDatabase db, const QString &sql, const QVariantList &values, const QString &where)
{
    QSqlQuery q(db);
    if (Status s = run(q, sql, values, where); !s) return s.error();
    return q.numRowsAffected();
}

Result<int> execute(QSqlDatabase db, const QString &sql, const QVariantList &values, SourceLocation location)
{
    return changedRows(db, sql, values, functionName(location));
}

Transaction::Transaction(QSqlDatabase db, SourceLocation location) : m_db(db), m_where(functionName(location))
{
    if (m_db.transaction()) m_open = true;
    else m_started = databaseError(m_db.lastError(), QStringLiteral("START TRANSACTION"), m_where);
}

Transaction::~Transaction()
{
    // A rollback that fails leaves nothing to undo: the server ends the transaction with the
    // connection.
    if (m_open) (void)m_db.rollback();
}

Status Transaction::commit()
{
    if (!m_open) return m_started;
    m_open = false;
    if (!m_db.commit()) {
        const Error e = databaseError(m_db.lastError(), QStringLiteral("COMMIT"), m_where);
        (void)m_db.rollback(); // the commit's error is the one to report
        return e;
    }
    return {};
}

int deadlockRetryDelay(int attempt)
{
    // 10-20 ms, then 20-40, 40-80: at most 140 ms over the three retries.
    const int ceiling = 20 << std::min(attempt, 4);
    return int(QRandomGenerator::global()->bounded(ceiling / 2, ceiling + 1));
}

void waitBeforeRetry(int attempt)
{
    QThread::msleep(deadlockRetryDelay(attempt));
}

} // namespace ravelin
