#include "counters.h"
#include "database.h"
#include "sql.h"
#include "testdb.h"

#include <QTest>

#include <algorithm>
#include <mutex>
#include <thread>

using namespace ravelin;

class TestCounters : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

private slots:
    void initTestCase() { m_db = test::createTestDatabase(); }

    void proposeDoesNotWriteAndTakeDoes_data()
    {
        QTest::addColumn<int>("counter");
        QTest::newRow("n_lot") << int(Counter::NLot);
        QTest::newRow("num_bl") << int(Counter::NumBl);
        QTest::newRow("num_facture") << int(Counter::NumFacture);
        QTest::newRow("num_intervenant_possible") << int(Counter::NumIntervenantPossible);
        QTest::newRow("num_contact") << int(Counter::NumContact);
    }
    void proposeDoesNotWriteAndTakeDoes()
    {
        QFETCH(int, counter);
        const auto c = Counter(counter);
        QVERIFY(execute(m_db, QStringLiteral("update increment set %1 = 41").arg(counterColumn(c))));
        QCOMPARE(*proposeNextCounter(m_db, c), 42);
        QCOMPARE(*proposeNextCounter(m_db, c), 42);
        QCOMPARE(*takeNextCounter(m_db, c), 42);
        QCOMPARE(*takeNextCounter(m_db, c), 43);
        QCOMPARE(scalar(m_db, QStringLiteral("select %1 from increment").arg(counterColumn(c)))->toInt(), 43);
    }

    void ordersAndDeliveriesShareOneSequence()
    {
        QVERIFY(execute(m_db, QStringLiteral("update increment set num_bl = 100")));
        const int order = *takeNextCounter(m_db, Counter::NumBl);
        const int delivery = *takeNextCounter(m_db, Counter::NumBl);
        QCOMPARE(order, 101);
        QCOMPARE(delivery, 102);
    }

    void missingRowIsAnError()
    {
        QVERIFY(execute(m_db, QStringLiteral("delete from increment")));
        const auto taken = takeNextCounter(m_db, Counter::NLot);
        QVERIFY(!taken);
        QVERIFY(!taken.error().message.isEmpty());
        QVERIFY(execute(
            m_db,
            QStringLiteral("insert into increment (n_lot, num_bl, num_facture, num_intervenant_possible, num_contact) "
                           "values (0, 0, 0, 0, 0)")));
    }

    // Eight workstations taking delivery numbers at once never receive the same one.
    void concurrentWorkstationsGetDistinctNumbers()
    {
        QVERIFY(execute(m_db, QStringLiteral("update increment set num_bl = 5000")));
        const QString database = m_db.databaseName();
        std::mutex lock;
        std::vector<int> numbers;
        QStringList failures;
        std::vector<std::thread> workers;
        for (int w = 0; w < 8; ++w) {
            workers.emplace_back([&, w] {
                const QString name = QStringLiteral("workstation%1").arg(w);
                {
                    auto db = openConnection(test::testServerConfig(), name, database);
                    std::vector<int> mine;
                    QString failure;
                    if (!db) failure = db.error().fullText();
                    for (int i = 0; db && i < 250 && failure.isEmpty(); ++i) {
                        const auto n = takeNextCounter(*db, Counter::NumBl);
                        if (n) mine.push_back(*n);
                        else failure = n.error().fullText();
                    }
                    std::lock_guard guard(lock);
                    numbers.insert(numbers.end(), mine.begin(), mine.end());
                    if (!failure.isEmpty()) failures << failure;
                    if (db) db->close();
                }
                QSqlDatabase::removeDatabase(name);
            });
        }
        for (auto &t : workers) t.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(numbers.size(), size_t(2000));
        std::sort(numbers.begin(), numbers.end());
        QVERIFY(std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end());
        QCOMPARE(numbers.front(), 5001);
        QCOMPARE(numbers.back(), 7000);
        QCOMPARE(scalar(m_db, QStringLiteral("select num_bl from increment"))->toInt(), 7000);
    }
};

QTEST_GUILESS_MAIN(TestCounters)
#include "tst_counters.moc"
