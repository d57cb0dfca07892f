#include "databaseworker.h"
#include "pagedquerymodel.h"
#include "sql.h"
#include "testdb.h"

#include <QSignalSpy>
#include <QTest>

using namespace ravelin;

// A list read a page at a time: the pages follow each other on the key without gaps or repeats,
// the count comes after the first page, and reading the first screenful costs one statement
// whatever the size of the table.
class TestPagedQueryModel : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

    qint64 questions()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("show session status like 'Questions'"));
        return q.next() ? q.value(1).toLongLong() : -1;
    }
    static QStringList names(const PagedQueryModel &model)
    {
        QStringList values;
        for (int row = 0; row < model.rowCount(); ++row)
            values << model.record(row).value(QStringLiteral("nom")).toString();
        return values;
    }
    PagedQuery places(const QString &where = QString(), const QVariantList &values = {}, bool descending = false)
    {
        PagedQuery q;
        q.columns = QStringLiteral("inc, destination as nom");
        q.from = QStringLiteral("destination");
        q.where = where;
        q.values = values;
        q.descending = descending;
        return q;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(execute(m_db, QStringLiteral("delete from destination")));
        for (const char *name : {"A", "B", "C", "D'Arcy", "E", "F", "G"})
            QVERIFY(execute(m_db, QStringLiteral("insert into destination (destination, stockage) values (?, 'NON')"),
                            {QString::fromUtf8(name)}));
    }

    void pagesFollowTheKey_data()
    {
        QTest::addColumn<bool>("descending");
        QTest::addColumn<bool>("keysFirst");
        QTest::addColumn<QStringList>("expected");
        const QStringList up{"A", "B", "C", "D'Arcy", "E", "F", "G"}, down{"G", "F", "E", "D'Arcy", "C", "B", "A"};
        QTest::newRow("ascending") << false << false << up;
        QTest::newRow("descending") << true << false << down;
        QTest::newRow("ascending, keys first") << false << true << up;
        QTest::newRow("descending, keys first") << true << true << down;
    }
    void pagesFollowTheKey()
    {
        QFETCH(bool, descending);
        QFETCH(bool, keysFirst);
        QFETCH(QStringList, expected);
        PagedQueryModel model;
        model.setPageSize(3);
        QSignalSpy counted(&model, &PagedQueryModel::counted);
        PagedQuery q = places(QStringLiteral("stockage = ?"), {QStringLiteral("NON")}, descending);
        // the index named exists; a missing one is only a slower read
        if (keysFirst)
            q.keyIndex = descending ? QStringLiteral("no_such_index") : QStringLiteral("idx_destination_stockage");
        const qint64 before = questions();
        QVERIFY(model.setQuery(m_db, q));
        QCOMPARE(questions() - before, 2); // the first page, and reading the counter
        QCOMPARE(names(model), expected.mid(0, 3));
        QVERIFY(model.canFetchMore());
        QVERIFY(!model.totalCount());
        QTRY_COMPARE(counted.count(), 1); // on the next turn of the event loop
        QCOMPARE(model.totalCount().value_or(-1), 7);

        model.fetchMore();
        model.fetchMore();
        QCOMPARE(names(model), expected);
        QVERIFY(!model.canFetchMore());
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("nom"));
    }

    void boundFilterAndExactPage()
    {
        PagedQueryModel model;
        model.setPageSize(2);
        // a page that holds the whole list gives the count at once, without a count statement
        QVERIFY(model.setQuery(
            m_db, places(QStringLiteral("destination in (?, ?)"), {QStringLiteral("D'Arcy"), QStringLiteral("B")}),
            PagedQueryModel::Count::Never));
        QCOMPARE(names(model), (QStringList{"B", "D'Arcy"}));
        QVERIFY(!model.canFetchMore());
        QCOMPARE(model.totalCount().value_or(-1), 2);

        QVERIFY(model.setQuery(m_db, places(QStringLiteral("destination > ?"), {QStringLiteral("C")}),
                               PagedQueryModel::Count::Now));
        QCOMPARE(model.totalCount().value_or(-1), 4);
        QVERIFY(model.fetchUpTo(3));
        QVERIFY(!model.fetchUpTo(4));
        QCOMPARE(names(model), (QStringList{"D'Arcy", "E", "F", "G"}));
    }

    // Ordered by a column that repeats and may be empty, then the key: pages of one row still give
    // every row once, in the order of the whole statement.
    void pagesFollowSeveralColumns()
    {
        QVERIFY(execute(
            m_db,
            QStringLiteral("update destination set client = case destination when 'A' then 'Zoé' when 'B' then NULL "
                           "when 'C' then 'Bois' when 'D''Arcy' then NULL else 'Bois' end")));
        PagedQuery q = places();
        q.columns = QStringLiteral("inc, client, destination, destination as nom");
        q.orderBy = QStringList{QStringLiteral("client"), QStringLiteral("destination")};
        PagedQueryModel model;
        model.setPageSize(1);
        QVERIFY(model.setQuery(m_db, q, PagedQueryModel::Count::Never));
        while (model.canFetchMore()) model.fetchMore();
        QCOMPARE(names(model), (QStringList{"B", "D'Arcy", "C", "E", "F", "G", "A"}));

        // descending: the empty ones last
        PagedQuery descending = q;
        descending.orderBy = QStringList{QStringLiteral("client desc"), QStringLiteral("destination desc")};
        QVERIFY(model.setQuery(m_db, descending, PagedQueryModel::Count::Never));
        while (model.canFetchMore()) model.fetchMore();
        QCOMPARE(names(model), (QStringList{"A", "G", "F", "E", "C", "D'Arcy", "B"}));
        model.setPageSize(2);
        QVERIFY(model.setQuery(m_db, descending, PagedQueryModel::Count::Never));
        QCOMPARE(model.locate(QStringLiteral("destination"), QStringLiteral("D'Arcy")).value(), std::optional<int>(5));
        model.setPageSize(1);

        // finding a row far down reads the rows up to it at once
        const auto locateIn = [&](const QString &name) -> std::optional<int> {
            model.setPageSize(2);
            if (!model.setQuery(m_db, q, PagedQueryModel::Count::Never)) return -2;
            const qint64 before = questions();
            auto found = model.locate(QStringLiteral("destination"), name);
            if (!found) return -3;
            if (questions() - before > 5) return -4; // the counter read included
            return *found;
        };
        QCOMPARE(locateIn(QStringLiteral("F")), std::optional<int>(4));
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(names(model).last(), QStringLiteral("F"));
        QCOMPARE(locateIn(QStringLiteral("D'Arcy")), std::optional<int>(1));
        QCOMPARE(locateIn(QStringLiteral("A")), std::optional<int>(6));
        QCOMPARE(locateIn(QStringLiteral("nowhere")), std::optional<int>());
        QVERIFY(execute(m_db, QStringLiteral("update destination set client = NULL")));

        q.orderBy = QStringList{QStringLiteral("ville")}; // not read: the pages could not follow
        const int shown = model.rowCount();
        const auto refused = model.setQuery(m_db, q);
        QVERIFY(!refused);
        QCOMPARE(model.rowCount(), shown);
    }

    // Texts that repeat are held once; a column of thousands of different texts still reads right.
    void manyDifferentTexts()
    {
        QStringList rows;
        for (int n = 0; n < 2500; ++n) rows << QStringLiteral("('T%1', 'X', 'BUCHE')").arg(n, 4, 10, QLatin1Char('0'));
        QVERIFY(execute(m_db, QStringLiteral("insert into destination (destination, client, stockage) values ") +
                                  rows.join(QLatin1Char(','))));
        PagedQuery q = places(QStringLiteral("stockage = 'BUCHE'"));
        q.columns = QStringLiteral("inc, destination as nom, client");
        PagedQueryModel model;
        QVERIFY(model.setQuery(m_db, q, PagedQueryModel::Count::Never));
        QVERIFY(model.fetchAll());
        QCOMPARE(model.rowCount(), 2500);
        QCOMPARE(model.record(0).value(QStringLiteral("nom")).toString(), QStringLiteral("T0000"));
        QCOMPARE(model.record(2499).value(QStringLiteral("nom")).toString(), QStringLiteral("T2499"));
        QCOMPARE(model.record(2100).value(QStringLiteral("client")).toString(), QStringLiteral("X"));
        QVERIFY(execute(m_db, QStringLiteral("delete from destination where stockage = 'BUCHE'")));
    }

    void failureKeepsTheRowsShown()
    {
        PagedQueryModel model;
        QVERIFY(model.setQuery(m_db, places()));
        const QStringList shown = names(model);
        const auto refused = model.setQuery(m_db, places(QStringLiteral("no_such_column = 1")));
        QVERIFY(!refused);
        QVERIFY(refused.error().message.contains(QStringLiteral("no_such_column")) ||
                !refused.error().detail.isEmpty());
        QCOMPARE(names(model), shown);
    }

    void aLostConnectionStopsTheScrolling()
    {
        QSqlDatabase other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("lost"));
        PagedQueryModel model;
        model.setPageSize(3);
        QSignalSpy failed(&model, &PagedQueryModel::failed);
        QVERIFY(model.setQuery(other, places(), PagedQueryModel::Count::Never));
        const auto id = scalar(other, QStringLiteral("select connection_id()"));
        QVERIFY(id);
        QVERIFY(execute(m_db, QStringLiteral("kill ?"), {*id}));
        model.fetchMore();
        QCOMPARE(failed.count(), 1);
        QVERIFY(model.lastError());
        QVERIFY(!model.canFetchMore());
        QCOMPARE(model.rowCount(), 3);
    }

    // Counted on a worker's connection: the model's own connection reads the first page only, the
    // count and sums come back later on this thread, and the count of a query replaced meanwhile
    // never shows.
    void countedOnTheWorker_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("statements"); // on the model's connection, for the first page
        QTest::newRow("longer than a page") << 3 << qint64(7) << 1;
        QTest::newRow("within a page, counted as read") << 50 << qint64(7) << 1;
    }
    void countedOnTheWorker()
    {
        QFETCH(int, pageSize);
        QFETCH(qint64, total);
        QFETCH(int, statements);
        QVERIFY(execute(m_db, QStringLiteral("update destination set cout_tonne = length(destination)")));
        DatabaseWorker worker(m_db);
        PagedQueryModel model;
        model.setPageSize(pageSize);
        model.setWorker(&worker);
        model.setSums({QStringLiteral("cout_tonne")});
        QSignalSpy counted(&model, &PagedQueryModel::counted);
        PagedQuery q = places(QStringLiteral("stockage = ?"), {QStringLiteral("NON")});
        q.columns = QStringLiteral("inc, destination as nom, cout_tonne");

        // a first query (six places, counted on the worker) replaced at once: its count is dropped
        model.setPageSize(3);
        QVERIFY(model.setQuery(m_db, places(QStringLiteral("destination <> ?"), {QStringLiteral("A")})));
        QVERIFY(model.isCounting());
        model.setPageSize(pageSize);
        const qint64 before = questions();
        QVERIFY(model.setQuery(m_db, q));
        // the first page, and the stop of the replaced count (KILL QUERY, sent on this connection)
        // when that count was still running on the worker rather than waiting or done
        const qint64 spent = questions() - before - 1;
        QVERIFY2(spent == statements || spent == statements + 1, qPrintable(QString::number(spent)));
        QTRY_COMPARE(counted.count(), 1);
        QTest::qWait(50);
        QCOMPARE(counted.count(), 1);
        QCOMPARE(counted.first().first().toLongLong(), total);
        QCOMPARE(model.totalCount().value_or(-1), total);
        QCOMPARE(model.sums().value(0).toDouble(), 1.0 * (1 + 1 + 1 + 6 + 1 + 1 + 1)); // "D'Arcy" is 6 long
        QVERIFY(!model.isCounting());
    }

    // Finding a row deep down the list counts the rows before it only: the whole count may still be
    // running on the worker.
    void locateWithoutTheWholeCount()
    {
        DatabaseWorker worker(m_db);
        PagedQueryModel model;
        model.setPageSize(2);
        QVERIFY(model.setQuery(m_db, places(), PagedQueryModel::Count::Never));
        const qint64 before = questions();
        QCOMPARE(model.locate(QStringLiteral("destination"), QStringLiteral("F")).value(), std::optional<int>(5));
        QCOMPARE(questions() - before - 1, 3); // the row's order values, the rows before it, the rows up to it
        QVERIFY(!model.totalCount());
        QCOMPARE(model.record(5).value(QStringLiteral("nom")).toString(), QStringLiteral("F"));
    }
};

QTEST_GUILESS_MAIN(TestPagedQueryModel)
#include "tst_pagedquerymodel.moc"
