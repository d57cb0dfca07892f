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
        for (int row = 0; row < model.rowCount(); ++row) values << model.record(row).value(QStringLiteral("nom")).toString();
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
            QVERIFY(execute(m_db, QStringLiteral("insert into destination (destination, stockage) values (?, 'NON')"), {QString::fromUtf8(name)}));
    }

    void pagesFollowTheKey_data()
    {
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ascending") << false << QStringList{"A", "B", "C", "D'Arcy", "E", "F", "G"};
        QTest::newRow("descending") << true << QStringList{"G", "F", "E", "D'Arcy", "C", "B", "A"};
    }
    void pagesFollowTheKey()
    {
        QFETCH(bool, descending);
        QFETCH(QStringList, expected);
        PagedQueryModel model;
        model.setPageSize(3);
        QSignalSpy counted(&model, &PagedQueryModel::counted);
        const qint64 before = questions();
        QVERIFY(model.setQuery(m_db, places({}, {}, descending)));
        QCOMPARE(questions() - before, 2);  // the first page, and reading the counter
        QCOMPARE(names(model), expected.mid(0, 3));
        QVERIFY(model.canFetchMore());
        QVERIFY(!model.totalCount());
        QTRY_COMPARE(counted.count(), 1);  // on the next turn of the event loop
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
        QVERIFY(model.setQuery(m_db, places(QStringLiteral("destination in (?, ?)"), {QStringLiteral("D'Arcy"), QStringLiteral("B")}),
                               PagedQueryModel::Count::Never));
        QCOMPARE(names(model), (QStringList{"B", "D'Arcy"}));
        QVERIFY(!model.canFetchMore());
        QCOMPARE(model.totalCount().value_or(-1), 2);

        QVERIFY(model.setQuery(m_db, places(QStringLiteral("destination > ?"), {QStringLiteral("C")}), PagedQueryModel::Count::Now));
        QCOMPARE(model.totalCount().value_or(-1), 4);
        QVERIFY(model.fetchUpTo(3));
        QVERIFY(!model.fetchUpTo(4));
        QCOMPARE(names(model), (QStringList{"D'Arcy", "E", "F", "G"}));
    }

    void failureKeepsTheRowsShown()
    {
        PagedQueryModel model;
        QVERIFY(model.setQuery(m_db, places()));
        const QStringList shown = names(model);
        const auto refused = model.setQuery(m_db, places(QStringLiteral("no_such_column = 1")));
        QVERIFY(!refused);
        QVERIFY(refused.error().message.contains(QStringLiteral("no_such_column")) || !refused.error().detail.isEmpty());
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
};

QTEST_GUILESS_MAIN(TestPagedQueryModel)
#include "tst_pagedquerymodel.moc"
