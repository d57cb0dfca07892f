#include "databaseworker.h"
#include "sql.h"
#include "testdb.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace ravelin;

// The worker of a screen's long work: its own connection, set like the program's, results handed
// back on the screen's thread, and a cancelled job stopped on the server and never delivered.
class TestDatabaseWorker : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

    // The statement the server runs for the connection, empty when it is idle.
    QString runningOn(qint64 connectionId)
    {
        auto info = scalar(m_db, QStringLiteral("select info from information_schema.processlist where id = ?"),
                           {connectionId});
        return info ? info->toString() : QString();
    }

private slots:
    void initTestCase() { m_db = test::createTestDatabase(); }

    void resultsComeBackOnTheOwnersThread()
    {
        DatabaseWorker worker(m_db);
        QThread *jobThread = nullptr;
        QThread *doneThread = nullptr;
        QVariantList seen;
        worker.run(
            [&jobThread](QSqlDatabase db) {
                jobThread = QThread::currentThread();
                QSqlQuery q(db);
                q.exec(QStringLiteral("select connection_id(), @@session.sql_mode, database()"));
                q.next();
                return QVariantList{q.value(0), q.value(1), q.value(2)};
            },
            [&](QVariantList values) {
                doneThread = QThread::currentThread();
                seen = values;
            });
        QVERIFY(worker.isBusy());
        QTRY_VERIFY(!seen.isEmpty());
        QVERIFY(!worker.isBusy());
        QVERIFY(jobThread != QThread::currentThread());
        QCOMPARE(doneThread, QThread::currentThread());
        const auto mine = scalar(m_db, QStringLiteral("select connection_id()"));
        QVERIFY(seen.at(0).toLongLong() != mine->toLongLong());
        // opened as the program opens its own connection
        QCOMPARE(seen.at(1), *scalar(m_db, QStringLiteral("select @@session.sql_mode")));
        QCOMPARE(seen.at(2).toString(), m_db.databaseName());
    }

    void aCancelledJobIsStoppedAndDropped_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("one job") << false;
        QTest::newRow("every job") << true;
    }
    void aCancelledJobIsStoppedAndDropped()
    {
        QFETCH(bool, all);
        DatabaseWorker worker(m_db);
        const qint64 id = worker.runAndWait([](QSqlDatabase db) {
            QSqlQuery q(db);
            return q.exec(QStringLiteral("select connection_id()")) && q.next() ? q.value(0).toLongLong() : 0;
        });
        QVERIFY(id > 0);
        bool delivered = false;
        bool queuedDelivered = false;
        QElapsedTimer clock;
        clock.start();
        const auto ticket = worker.run(
            [](QSqlDatabase db) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("select sleep(20)"));
                return 0;
            },
            [&](int) { delivered = true; });
        worker.run([](QSqlDatabase) { return 0; }, [&](int) { queuedDelivered = true; });
        QTRY_VERIFY(runningOn(id).contains(QStringLiteral("sleep")));
        if (all) worker.cancelAll();
        else worker.cancel(ticket);
        QTRY_VERIFY(!worker.isBusy());
        QVERIFY2(clock.elapsed() < 10000, "the statement was not stopped");
        QVERIFY(!delivered);
        QCOMPARE(queuedDelivered, !all);
        // the connection is still the worker's and answers the next job
        QCOMPARE(
            worker.runAndWait([](QSqlDatabase db) { return scalar(db, QStringLiteral("select 41 + 1"))->toInt(); }),
            42);
    }

    void goingAwayStopsTheStatement()
    {
        QElapsedTimer clock;
        clock.start();
        qint64 id = 0;
        {
            DatabaseWorker worker(m_db);
            id = worker.runAndWait(
                [](QSqlDatabase db) { return scalar(db, QStringLiteral("select connection_id()"))->toLongLong(); });
            worker.run(
                [](QSqlDatabase db) {
                    QSqlQuery q(db);
                    q.exec(QStringLiteral("select sleep(20)"));
                    return 0;
                },
                [](int) { QFAIL("delivered after the worker went"); });
            QTRY_VERIFY(runningOn(id).contains(QStringLiteral("sleep")));
        }
        QVERIFY(clock.elapsed() < 10000);
        // its connection is closed
        QTRY_VERIFY(!scalar(m_db, QStringLiteral("select id from information_schema.processlist where id = ?"), {id})
                         ->isValid());
    }

    void aConnectionThatCannotOpenIsReported()
    {
        QSqlDatabase broken = QSqlDatabase::cloneDatabase(m_db, QStringLiteral("broken"));
        broken.setPassword(QStringLiteral("not the password"));
        DatabaseWorker worker(broken);
        QSignalSpy failed(&worker, &DatabaseWorker::openFailed);
        bool jobFailed = false;
        worker.run([](QSqlDatabase db) { return scalar(db, QStringLiteral("select 1")).ok(); },
                   [&](bool ok) { jobFailed = !ok; });
        QTRY_VERIFY(jobFailed);
        QCOMPARE(failed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseWorker)
#include "tst_databaseworker.moc"
