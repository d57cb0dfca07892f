#pragma once

#include "databaseworker.h"
#include "result.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>

#include <atomic>
#include <functional>
#include <memory>

namespace ravelin {

// The connection and thread of one analysis screen, alive with it. Every statement of the screen
// runs here: the work tables are temporary tables of this connection, so the detail, the printout
// and the settling read what the computation wrote. A computation is a list of steps run in turn,
// then a read that builds what the screen shows; the screen is told after each step (its progress
// panel) and gets the result on its own thread. `cancel()` stops the statement running (KILL QUERY
// from the screen's connection) and drops the result: the screen is free at once, and the next
// computation starts on a connection that nothing stops.
class AnalysisRunner : public QObject
{
    Q_OBJECT
public:
    using Step = std::function<Status(QSqlDatabase)>;

    explicit AnalysisRunner(QSqlDatabase db, QObject *parent = nullptr);
    // Cancels what runs and waits for the thread to end.
    ~AnalysisRunner() override;

    // Runs `steps`, then `read`, on the runner's connection; `done(result)` is called on this
    // object's thread unless the computation is cancelled first. A computation still running is
    // cancelled.
    template <typename T>
    void run(QList<Step> steps, std::function<Result<T>(QSqlDatabase)> read, std::function<void(Result<T>)> done)
    {
        cancel();
        const quint64 generation = ++m_generation;
        const int count = int(steps.size());
        QPointer<AnalysisRunner> self(this);
        // a cancelled computation sends no further statement (a killed SLEEP, say, ends without error)
        m_stop = std::make_shared<std::atomic<bool>>(false);
        emit started(count);
        m_ticket = m_worker->run(
            [steps = std::move(steps), read = std::move(read), self, generation, count,
             stop = m_stop](QSqlDatabase db) -> Result<T> {
                for (int i = 0; i < count; ++i) {
                    if (*stop) return Error::refusal(QStringLiteral("Calcul interrompu"));
                    if (Status s = steps[i](db); !s) return s.error();
                    reportStep(self, generation, i + 1, count);
                }
                if (*stop) return Error::refusal(QStringLiteral("Calcul interrompu"));
                return read(db);
            },
            [this, generation, done = std::move(done)](Result<T> result) {
                if (generation != m_generation) return;
                m_ticket = 0;
                emit finished();
                done(std::move(result));
            });
    }

    // Runs a short job on the runner's connection and waits for it (a detail's read, a settling).
    template <typename Job> auto runAndWait(Job job) { return m_worker->runAndWait(std::move(job)); }

    // Stops the computation running, if any: its statement is killed on the server, its result
    // dropped, and `cancelled()` emitted.
    void cancel();
    bool isBusy() const { return m_ticket != 0; }

    DatabaseWorker &worker() { return *m_worker; }

signals:
    void started(int steps);
    void progressed(int done, int steps);
    void finished();
    void cancelled();

private:
    static void reportStep(QPointer<AnalysisRunner> self, quint64 generation, int done, int steps);

    std::unique_ptr<DatabaseWorker> m_worker;
    DatabaseWorker::Ticket m_ticket = 0;
    std::shared_ptr<std::atomic<bool>> m_stop;
    quint64 m_generation = 0;
};

// "Impossible de créer une table temporaire !": how an analysis says its work table failed, the
// server's text in the details.
inline QString workTableFailedText()
{
    return QStringLiteral("Impossible de créer une table temporaire !");
}
Error workTableError(const Error &error);

// The first step of a computation: the temporary work table `table` made anew with `definition`.
AnalysisRunner::Step recreateWorkTableStep(const QString &table, const QString &definition);

} // namespace ravelin
