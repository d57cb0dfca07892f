#include "analysisrunner.h"

#include "workstation.h"

namespace ravelin {

AnalysisRunner::AnalysisRunner(QSqlDatabase db, QObject *parent)
    : QObject(parent), m_worker(std::make_unique<DatabaseWorker>(db))
{
}

AnalysisRunner::~AnalysisRunner()
{
    ++m_generation;
    if (m_stop) *m_stop = true;
    // the worker stops its statement and joins its thread before this object goes
    m_worker.reset();
}

void AnalysisRunner::cancel()
{
    if (!m_ticket) return;
    if (m_stop) *m_stop = true;
    m_worker->cancel(m_ticket);
    m_ticket = 0;
    ++m_generation;
    emit cancelled();
}

void AnalysisRunner::reportStep(QPointer<AnalysisRunner> self, quint64 generation, int done, int steps)
{
    // called on the worker's thread: the screen's object is only touched on its own thread
    QMetaObject::invokeMethod(
        self.data(),
        [self, generation, done, steps] {
            if (self && self->m_generation == generation && self->m_ticket) emit self->progressed(done, steps);
        },
        Qt::QueuedConnection);
}

Error workTableError(const Error &error)
{
    Error out = error;
    out.message = workTableFailedText();
    return out;
}

AnalysisRunner::Step recreateWorkTableStep(const QString &table, const QString &definition)
{
    return [table, definition](QSqlDatabase db) -> Status {
        if (Status created = recreateWorkTable(db, table, definition); !created) return workTableError(created.error());
        return {};
    };
}

} // namespace ravelin
