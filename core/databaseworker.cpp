#include "databaseworker.h"

#include "database.h"
#include "sql.h"

#include <QSet>
#include <QSqlQuery>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace ravelin {

struct DatabaseWorker::Shared
{
    std::mutex mutex;        // guards what follows, and the stopping of a statement
    QSet<Ticket> live;       // jobs queued or running whose result is still wanted
    Ticket running = 0;      // the job on the worker's thread now, 0 between jobs
    qint64 connectionId = 0; // the server's id of the worker's connection, once open
    QSqlDatabase db;         // used on the worker's thread only
};

namespace {
std::atomic<int> workersMade{0};
} // namespace

DatabaseWorker::DatabaseWorker(QSqlDatabase db, QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_db(db),
      m_connection(QStringLiteral("ravelin_worker_") + QString::number(++workersMade))
{
    m_thread = new QThread;
    m_thread->setObjectName(m_connection);
    m_context = new QObject;
    m_context->moveToThread(m_thread);
    m_thread->start();
    // the connection opens on the worker's thread, which owns it: the screen does not wait for it
    QMetaObject::invokeMethod(m_context, [this, shared = m_shared, original = db.connectionName(),
                                          name = m_connection] {
        auto opened = cloneConnection(original, name);
        if (!opened) {
            shared->db = QSqlDatabase::database(name, false);
            const Error e = opened.error();
            QMetaObject::invokeMethod(
                this, [this, e] { emit openFailed(e); }, Qt::QueuedConnection);
            return;
        }
        QSqlQuery q(*opened);
        const qint64 id = q.exec(QStringLiteral("select connection_id()")) && q.next() ? q.value(0).toLongLong() : 0;
        std::lock_guard lock(shared->mutex);
        shared->db = *opened;
        shared->connectionId = id;
    });
}

DatabaseWorker::~DatabaseWorker()
{
    cancelAll();
    QMetaObject::invokeMethod(m_context, [shared = m_shared, name = m_connection] {
        shared->db.close();
        shared->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        QThread::currentThread()->quit();
    });
    m_thread->wait();
    delete m_context;
    delete m_thread;
}

DatabaseWorker::Ticket DatabaseWorker::post(Work work)
{
    const Ticket ticket = ++m_lastTicket;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->live.insert(ticket);
    }
    ++m_pending;
    QMetaObject::invokeMethod(m_context, [this, shared = m_shared, ticket, work = std::move(work)]() mutable {
        {
            std::lock_guard lock(shared->mutex);
            if (!shared->live.contains(ticket)) {
                QMetaObject::invokeMethod(
                    this, [this] { --m_pending; }, Qt::QueuedConnection);
                return;
            }
            shared->running = ticket;
        }
        Deliver deliver = work(shared->db);
        {
            std::lock_guard lock(shared->mutex);
            shared->running = 0;
        }
        // the owner outlives its thread: what is posted to it after it has gone is never run
        QMetaObject::invokeMethod(
            this,
            [this, shared, ticket, deliver = std::move(deliver)] {
                --m_pending;
                bool wanted = false;
                {
                    std::lock_guard lock(shared->mutex);
                    wanted = shared->live.remove(ticket);
                }
                if (wanted && deliver) deliver();
            },
            Qt::QueuedConnection);
    });
    return ticket;
}

void DatabaseWorker::runHere(const std::function<void(QSqlDatabase)> &work)
{
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    post([&](QSqlDatabase db) {
        work(db);
        {
            std::lock_guard lock(doneMutex);
            done = true;
        }
        doneSignal.notify_one();
        return Deliver();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

void DatabaseWorker::cancel(Ticket ticket)
{
    std::lock_guard lock(m_shared->mutex);
    if (!m_shared->live.remove(ticket)) return;
    // the worker cannot move to its next job while the lock is held: the statement stopped is this
    // job's (the server forgets a stop that finds its connection idle)
    if (m_shared->running == ticket && m_shared->connectionId > 0)
        // best effort: the statement may have ended meanwhile, and its result is dropped anyway
        (void)execute(m_db, QStringLiteral("kill query ?"), {m_shared->connectionId});
}

void DatabaseWorker::cancelAll()
{
    std::lock_guard lock(m_shared->mutex);
    const bool stop = m_shared->running != 0 && m_shared->live.contains(m_shared->running);
    m_shared->live.clear();
    if (stop && m_shared->connectionId > 0)
        // best effort: the statement may have ended meanwhile, and its result is dropped anyway
        (void)execute(m_db, QStringLiteral("kill query ?"), {m_shared->connectionId});
}

} // namespace ravelin
