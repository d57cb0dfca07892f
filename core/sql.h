#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

namespace ravelin {

// Turns a database error into the program's French message: lost connection, duplicate key, lock
// wait timeout and deadlock each get their own sentence; anything else keeps the server's text.
Error databaseError(const QSqlError &error, const QString &statement = {}, const QString &where = {});

// Prepares and runs one statement with its values bound in order. Sets `query` for reading.
Status exec(QSqlQuery &query, const QString &sql, std::initializer_list<QVariant> values = {},
            const char *where = nullptr);

// Runs one statement and returns the first column of its first row (null when no row).
Result<QVariant> scalar(QSqlDatabase db, const QString &sql, std::initializer_list<QVariant> values = {},
                        const char *where = nullptr);

// Runs a statement that returns no rows; gives the number of rows it touched.
Result<int> execute(QSqlDatabase db, const QString &sql, std::initializer_list<QVariant> values = {},
                    const char *where = nullptr);

// A transaction that rolls back unless committed. Deadlocks are the caller's to retry.
class Transaction
{
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    const Status &started() const { return m_started; }
    Status commit();

private:
    QSqlDatabase m_db;
    Status m_started;
    bool m_open = false;
};

// Runs `work` inside a transaction, retrying it a few times when the server aborts it with a
// deadlock. `work` returns a Status; the transaction commits when it succeeds.
template <typename Work> Status inTransaction(QSqlDatabase db, Work work)
{
    for (int attempt = 0;; ++attempt) {
        Transaction tx(db);
        if (!tx.started()) return tx.started();
        Status done = work();
        if (done) done = tx.commit();
        if (done || done.error().nativeCode != 1213 || attempt >= 3) return done;
    }
}

} // namespace ravelin
