#include "analysesfixture.h"

#include "analysisrunner.h"
#include "analysisscreen.h"
#include "sql.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <memory>

using namespace ravelin;

// The worker of the analysis screens: steps off the screen's thread, the progress panel, and
// "Annuler", which frees the screen at once without touching the next computation.
class TestAnalysisRunner : public QObject
{
    Q_OBJECT
    test::AnalysesFixture f;

    static AnalysisRunner::Step statement(const QString &sql)
    {
        return [sql](QSqlDatabase db) -> Status {
            auto done = scalar(db, sql);
            if (!done) return done.error();
            return {};
        };
    }

private slots:
    void initTestCase() { f.open(); }

    void cancelFreesTheScreenAndTheNextComputationRuns()
    {
        AnalysisRunner runner(f.db);
        QLabel state;
        QWidget zone;
        AnalysisProgress progress(runner, &state, &zone);
        zone.show();
        bool firstDelivered = false;
        auto laterStepRan = std::make_shared<std::atomic<bool>>(false);
        runner.run<int>(
            {statement(QStringLiteral("select 1")), statement(QStringLiteral("select sleep(5)")),
             [laterStepRan](QSqlDatabase) -> Status {
                 *laterStepRan = true;
                 return {};
             }},
            [](QSqlDatabase) -> Result<int> { return 1; }, [&](Result<int>) { firstDelivered = true; });
        QVERIFY(runner.isBusy());
        QVERIFY(!progress.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(progress.isVisible(), 2000);
        QTRY_COMPARE(progress.bar()->value(), 1);

        QElapsedTimer held;
        held.start();
        progress.cancelButton()->click();
        QVERIFY2(held.elapsed() < 100, qPrintable(QString::number(held.elapsed())));
        QVERIFY(!runner.isBusy());
        QVERIFY(!progress.isVisible());
        QCOMPARE(state.text(), QStringLiteral("Calcul interrompu"));

        std::optional<Result<int>> second;
        runner.run<int>(
            {statement(QStringLiteral("select 2"))},
            [](QSqlDatabase db) -> Result<int> {
                auto v = scalar(db, QStringLiteral("select 40 + 2"));
                if (!v) return v.error();
                return v->toInt();
            },
            [&](Result<int> r) { second = std::move(r); });
        QCOMPARE(state.text(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(second.has_value(), 5000);
        QVERIFY2(second->ok(), qPrintable(second->ok() ? QString() : second->error().fullText()));
        QCOMPARE(**second, 42);
        QVERIFY(!firstDelivered);
        QVERIFY(!*laterStepRan);
    }

    void aFailedStepStopsTheComputation()
    {
        AnalysisRunner runner(f.db);
        std::optional<Result<int>> result;
        bool readRan = false;
        runner.run<int>(
            {statement(QStringLiteral("select * from table_absente"))},
            [&](QSqlDatabase) -> Result<int> {
                readRan = true;
                return 1;
            },
            [&](Result<int> r) { result = std::move(r); });
        QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 5000);
        QVERIFY(!result->ok());
        QVERIFY(!readRan);
    }

    void closingStopsTheStatementRunning()
    {
        QElapsedTimer closing;
        {
            AnalysisRunner runner(f.db);
            runner.run<int>(
                {statement(QStringLiteral("select sleep(20)"))}, [](QSqlDatabase) -> Result<int> { return 1; },
                [](Result<int>) { QFAIL("delivered after closing"); });
            QTest::qWait(300);
            closing.start();
        }
        QVERIFY2(closing.elapsed() < 3000, qPrintable(QString::number(closing.elapsed())));
    }
};

QTEST_MAIN(TestAnalysisRunner)
#include "tst_analysisrunner.moc"
