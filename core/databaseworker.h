#pragma once

#include "result.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class QThread;

namespace ravelin {

// A thread with a database connection of its own, for the long work of a screen (counting and
// summing a long list, exporting it, an analysis): the user-interface thread keeps painting and
// answering while the server works. The connection is opened on the worker's thread with the
// settings of the connection it is given (server, account, database, session settings), once, and
// kept while the worker lives; jobs run one after the other in the order given.
//
// A job is a function of the worker's connection; what it returns is handed to `done` on the
// thread that owns the worker (the screen's), through its event loop, unless the job has been
// cancelled meanwhile or the worker has gone. Cancelling a job that is running stops its statement
// on the server (KILL QUERY on the connection the worker was given).
class DatabaseWorker : public QObject
{
    Q_OBJECT
public:
    using Ticket = quint64;

    // `db` is the connection to copy, and the one that stops a statement on cancel: it must belong
    // to the thread that creates the worker.
    explicit DatabaseWorker(QSqlDatabase db, QObject *parent = nullptr);
    // Cancels what runs, drops what waits, and waits for the thread to end.
    ~DatabaseWorker() override;

    // Queues `job` (called as job(QSqlDatabase) on the worker's thread) and calls `done(result)` on
    // the owner's thread when it ends. Returns the job's ticket, for cancel().
    template <typename Job, typename Done> Ticket run(Job job, Done done)
    {
        using Value = std::invoke_result_t<Job &, QSqlDatabase>;
        return post([job = std::move(job), done = std::move(done)](QSqlDatabase db) mutable {
            auto value = std::make_shared<Value>(job(db));
            return std::function<void()>([done, value]() mutable { done(std::move(*value)); });
        });
    }

    // The job will not deliver its result; a job running has its statement stopped. Nothing
    // happens for a job already delivered.
    void cancel(Ticket ticket);
    // Cancels every job given so far.
    void cancelAll();

    // True while a job is queued or running (seen from the owner's thread).
    bool isBusy() const { return m_pending > 0; }
    // The name of the worker's connection (unique in the program).
    QString connectionName() const { return m_connection; }

    // Runs the job on the worker's thread and waits for it (tests, and a caller that has nothing
    // else to do meanwhile).
    template <typename Job> auto runAndWait(Job job) -> std::invoke_result_t<Job &, QSqlDatabase>
    {
        using Value = std::invoke_result_t<Job &, QSqlDatabase>;
        std::shared_ptr<Value> value;
        runHere([&job, &value](QSqlDatabase db) { value = std::make_shared<Value>(job(db)); });
        return std::move(*value);
    }

signals:
    // The worker's connection could not be opened: every job gets a closed connection.
    void openFailed(const ravelin::Error &error);

private:
    using Deliver = std::function<void()>;
    using Work = std::function<Deliver(QSqlDatabase)>;
    Ticket post(Work work);
    void runHere(const std::function<void(QSqlDatabase)> &work);

    struct Shared; // what the worker's thread and the owner share
    std::shared_ptr<Shared> m_shared;
    QSqlDatabase m_db;
    QString m_connection;
    QThread *m_thread = nullptr;
    QObject *m_context = nullptr; // lives in the worker's thread
    int m_pending = 0;
    Ticket m_lastTicket = 0;
};

} // namespace ravelin
