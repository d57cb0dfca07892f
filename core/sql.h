#pragma once

#include "result.h"
#include "servererrors.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QVariantList>

#include "sourcelocation.h"

namespace ravelin {

// The statements below name the calling function in their errors from the call's source location.

// Prepares and runs one statement with its values bound in order. Sets `query` for reading.
Status exec(QSqlQuery &query, const QString &sql, const QVariantList &values = {},
            SourceLocation location = SourceLocation::current());

// Runs one statement and returns the first column of its first row (null when no row).
Result<QVariant> scalar(QSqlDatabase db, const QString &sql, const QVariantList &values = {},
                        SourceLocation location = SourceLocation::current());

// Runs a statement that returns no rows; gives the number of rows it changed (the server does not
// count a row an update leaves as it was).
Result<int> execute(QSqlDatabase db, const QString &sql, const QVariantList &values = {},
                    SourceLocation location = SourceLocation::current());

// A transaction that rolls back unless committed. Deadlocks are the caller's to retry.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db, SourceLocation location = SourceLocation::current());
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    const Status &started() const { return m_started; }
    Status commit();

private:
    QSqlDatabase m_db;
    QString m_where;
    Status m_started;
    bool m_open = false;
};

// How many times a transaction the server aborted with a deadlock runs again.
constexpr int deadlockRetries = 3;

// Before running a transaction again after a deadlock: a short random wait (milliseconds) that
// grows with each attempt, so that the two workstations that collided do
// not start again at the same instant. Kept short: a retry happens while the user waits.
int deadlockRetryDelay(int attempt);
void waitBeforeRetry(int attempt);

// Runs `work` once inside a transaction; commits when it succeeds.
template <typename Work> Status runInTransaction(QSqlDatabase db, Work &work, const SourceLocation &location)
{
    Transaction tx(db, location);
    if (!tx.started()) return tx.started();
    Status done = work();
    if (done) done = tx.commit();
    return done;
}

// Runs `work` inside a transaction, running it again (after a short wait) when the server aborts
// it with a deadlock. `work` returns a Status; the transaction commits when it succeeds.
template <typename Work>
Status inTransaction(QSqlDatabase db, Work work, SourceLocation location = SourceLocation::current())
{
    for (int attempt = 0;; ++attempt) {
        // The transaction is rolled back before the wait, so the other workstation can go on.
        Status done = runInTransaction(db, work, location);
        if (done || !isDeadlock(done.error()) || attempt >= deadlockRetries) return done;
        waitBeforeRetry(attempt);
    }
}

} // namespace ravelin
