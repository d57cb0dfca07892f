#include "lotstore.h"
#include "sql.h"
#include "testdb.h"

#include <QSqlQuery>
#include <QTest>

using namespace ravelin;

class TestLotStore : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(m_db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto v = scalar(m_db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? *v : QVariant();
    }
    int count(const QString &sql, std::initializer_list<QVariant> values = {}) { return value(sql, values).toInt(); }

    // The lot numbers a search lists, in its order.
    QList<int> listed(const LotSearch &search)
    {
        auto statement = lotSearchQuery(search);
        if (!statement) {
            qWarning() << statement.error().message;
            return {-1};
        }
        // a page per row: the pages must follow each other in the sort's order
        PagedQueryModel model;
        model.setPageSize(1);
        if (Status s = model.setQuery(m_db, *statement, PagedQueryModel::Count::Never); !s) {
            qWarning() << s.error().fullText();
            return {-2};
        }
        while (model.canFetchMore()) model.fetchMore();
        QList<int> lots;
        for (int row = 0; row < model.rowCount(); ++row)
            lots << model.record(row).value(QStringLiteral("n_lot")).toInt();
        return lots;
    }

private slots:
    void initTestCase() { m_db = test::createTestDatabase(); }

    void init()
    {
        for (const char *table : {"coupe", "grume", "intervention", "proprietaire", "proprietaire_essence",
                                  "liste_grume_cde", "livraison", "liste_grume_transfert"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set n_lot=100"));
    }

    void searchStatement_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("town");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("buyer");
        QTest::addColumn<bool>("finished");
        QTest::addColumn<int>("sort");
        QTest::addColumn<QList<int>>("lots");
        const int byNumber = int(LotSort::Number), byDate = int(LotSort::Date), byPlace = int(LotSort::Place),
                  byType = int(LotSort::PurchaseType);
        // 11 Ussel unfinished, 12 Meymac null flag, 13 Egletons finished, 112 Ussel unfinished
        QTest::newRow("unfinished and null flag, by number") << ""
                                                             << ""
                                                             << ""
                                                             << "" << false << byNumber << QList<int>{112, 12, 11};
        QTest::newRow("finished too, null flag kept") << ""
                                                      << ""
                                                      << ""
                                                      << "" << true << byNumber << QList<int>{112, 13, 12, 11};
        QTest::newRow("number contains") << "12"
                                         << ""
                                         << ""
                                         << "" << false << byNumber << QList<int>{112, 12};
        QTest::newRow("town contains") << ""
                                       << "ssel"
                                       << ""
                                       << "" << false << byNumber << QList<int>{112, 11};
        QTest::newRow("owner name") << ""
                                    << ""
                                    << "Dupont"
                                    << "" << true << byNumber << QList<int>{13, 11};
        QTest::newRow("buyer") << ""
                               << ""
                               << ""
                               << "Marc" << false << byNumber << QList<int>{12};
        QTest::newRow("all four") << "1"
                                  << "Us"
                                  << "Dup"
                                  << "Jean" << false << byNumber << QList<int>{11};
        QTest::newRow("by date, newest first") << ""
                                               << ""
                                               << ""
                                               << "" << true << byDate << QList<int>{13, 112, 11, 12};
        QTest::newRow("by place") << ""
                                  << ""
                                  << ""
                                  << "" << false << byPlace << QList<int>{12, 11, 112};
        QTest::newRow("by purchase type") << ""
                                          << ""
                                          << ""
                                          << "" << true << byType << QList<int>{12, 13, 11, 112};
        QTest::newRow("apostrophe in text filters is only text") << ""
                                                                 << "d'Us"
                                                                 << ""
                                                                 << "" << false << byNumber << QList<int>{};
    }
    void searchStatement()
    {
        QFETCH(QString, number);
        QFETCH(QString, town);
        QFETCH(QString, name);
        QFETCH(QString, buyer);
        QFETCH(bool, finished);
        QFETCH(int, sort);
        QFETCH(QList<int>, lots);
        run(QStringLiteral("insert into coupe (n_lot, lieu, nom, acheteur, coupe_fini, date_achat, type_achat) values "
                           "(11, 'Ussel', 'Dupont', 'Jean', 'NON', '2025-03-01', 'SUR PIEDS'), "
                           "(12, 'Meymac', 'Martin', 'Marc', NULL, '2024-01-10', 'ABATTUE'), "
                           "(13, 'Egletons', 'Dupont + Durand', 'Jean', 'OUI', '2026-01-05', 'BORD DE ROUTE'), "
                           "(112, 'Ussel Bas', 'Blanc', 'Paul', 'NON', '2025-06-01', 'SUR PIEDS')"));
        LotSearch search;
        search.number = number;
        search.town = town;
        search.name = name;
        search.buyer = buyer;
        search.showFinished = finished;
        search.sort = LotSort(sort);
        QList<int> found = listed(search);
        QCOMPARE(found, lots);
    }

    void numberFilterRefusesApostrophe()
    {
        LotSearch search;
        search.number = QStringLiteral("1'2");
        auto statement = lotSearchQuery(search);
        QVERIFY(!statement);
        QCOMPARE(statement.error().message, QStringLiteral("Saisie incorrecte, pas de \" ' \" "));
    }

    void rowColours_data()
    {
        QTest::addColumn<QVariant>("alert");
        QTest::addColumn<QVariant>("end");
        QTest::addColumn<QString>("finished");
        QTest::addColumn<int>("colour");
        const QDate today(2026, 3, 9);
        QTest::newRow("nothing") << QVariant() << QVariant() << "NON" << int(LotRowColour::None);
        QTest::newRow("alert tomorrow") << QVariant(today.addDays(1)) << QVariant() << "" << int(LotRowColour::None);
        QTest::newRow("alert today") << QVariant(today) << QVariant() << "NON" << int(LotRowColour::Alert);
        QTest::newRow("alert today, later in the day (time ignored)")
            << QVariant(QDateTime(today, QTime(23, 59))) << QVariant() << "NON" << int(LotRowColour::Alert);
        QTest::newRow("end reached wins over alert")
            << QVariant(today.addDays(-9)) << QVariant(today) << "NON" << int(LotRowColour::Ended);
        QTest::newRow("end reached, alert not")
            << QVariant(today.addDays(3)) << QVariant(today.addDays(-1)) << "NON" << int(LotRowColour::Ended);
        QTest::newRow("end tomorrow, alert past")
            << QVariant(today.addDays(-1)) << QVariant(today.addDays(1)) << "NON" << int(LotRowColour::Alert);
        QTest::newRow("finished wins over both")
            << QVariant(today.addDays(-9)) << QVariant(today.addDays(-2)) << "OUI" << int(LotRowColour::Finished);
        QTest::newRow("finished without dates") << QVariant() << QVariant() << "OUI" << int(LotRowColour::Finished);
    }
    void rowColours()
    {
        QFETCH(QVariant, alert);
        QFETCH(QVariant, end);
        QFETCH(QString, finished);
        QFETCH(int, colour);
        QCOMPARE(int(lotRowColour(alert, end, finished, QDate(2026, 3, 9))), colour);
    }

    void createLot_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("counterAfter");
        QTest::newRow("proposal kept: counter taken") << "101"
                                                      << "" << 101;
        QTest::newRow("own free number below: counter untouched") << "57"
                                                                  << "" << 100;
        QTest::newRow("own free number above: counter untouched") << "250"
                                                                  << "" << 100;
        QTest::newRow("spaces around the proposal") << " 101 "
                                                    << "" << 101;
        QTest::newRow("existing number") << "42"
                                         << "N° coupe dèjà existant" << 100;
        QTest::newRow("not a number") << "abc"
                                      << "N° coupe incorrect" << 100;
        QTest::newRow("decimal comma") << "101,5"
                                       << "N° coupe incorrect" << 100;
        QTest::newRow("empty") << ""
                               << "N° coupe incorrect" << 100;
        QTest::newRow("zero") << "0"
                              << "N° coupe incorrect" << 100;
        QTest::newRow("nine digits") << "123456789"
                                     << "N° coupe incorrect" << 100;
        QTest::newRow("injection") << "101; delete from coupe"
                                   << "N° coupe incorrect" << 100;
    }
    void createLot()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(int, counterAfter);
        run(QStringLiteral("insert into coupe (n_lot) values (42)"));
        NewLot lot;
        lot.typeAchat = QStringLiteral("ABATTUE");
        lot.groupeEssence = QStringLiteral("OUI");
        lot.coef = 150.0;
        lot.coefCvo = 0.5;
        auto created = ravelin::createLot(m_db, lot, typed);
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), counterAfter);
        if (!message.isEmpty()) {
            QVERIFY(!created);
            QCOMPARE(created.error().message, message);
            QCOMPARE(count(QStringLiteral("select count(*) from coupe")), 1);
            return;
        }
        QVERIFY2(created, qPrintable(created.ok() ? QString() : created.error().fullText()));
        QCOMPARE(created->nLot, typed.trimmed().toInt());
        QCOMPARE(created->counterTaken, counterAfter == 101);
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("select inc,n_lot,indice_lot,type_achat,groupe_essence,coupe_fini,coef,coef_cvo "
                                      "from coupe where n_lot=") +
                       QString::number(created->nLot)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), created->inc);
        QCOMPARE(q.value(2).toInt(), 1);
        QCOMPARE(q.value(3).toString(), QStringLiteral("ABATTUE"));
        QCOMPARE(q.value(4).toString(), QStringLiteral("OUI"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("NON"));
        QCOMPARE(q.value(6).toDouble(), 150.0);
        QCOMPARE(q.value(7).toDouble(), 0.5);
    }

    void secondWorkstationCannotTakeTheSameNumber()
    {
        // Both were proposed 101; the first one to confirm gets it.
        QSqlDatabase other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("poste2"));
        NewLot lot;
        auto first = ravelin::createLot(other, lot, QStringLiteral("101"));
        QVERIFY(first);
        auto second = ravelin::createLot(m_db, lot, QStringLiteral("101"));
        QVERIFY(!second);
        QCOMPARE(second.error().message, QStringLiteral("N° coupe dèjà existant"));
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 101);
        // The next proposal follows on.
        auto third = ravelin::createLot(m_db, lot, QStringLiteral("102"));
        QVERIFY(third);
        QVERIFY(third->counterTaken);
        QCOMPARE(count(QStringLiteral("select count(*) from coupe")), 2);
    }

    void counterMovedMeanwhileIsNotTaken()
    {
        // The settings screen moved the counter on after the proposal was shown: 101 is still free
        // and is created, the counter (now ahead) stays where it was put.
        run(QStringLiteral("update increment set n_lot=150"));
        auto created = ravelin::createLot(m_db, NewLot{}, QStringLiteral("101"));
        QVERIFY(created);
        QVERIFY(!created->counterTaken);
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 150);
    }

    void deleteCascades()
    {
        run(QStringLiteral("insert into coupe (inc, n_lot) values (5, 20), (6, 21)"));
        for (int lot : {20, 21}) {
            run(QStringLiteral("insert into grume (N_lot, descriptif) values (?, 'GRUME'), (?, 'VOLUME')"), {lot, lot});
            run(QStringLiteral("insert into intervention (N_lot, type1) values (?, 'ABATTAGE')"), {lot});
            run(QStringLiteral("insert into proprietaire_essence (N_lot, nom) values (?, 'A')"), {lot});
            run(QStringLiteral("insert into proprietaire (N_lot, nom) values (?, 'A')"), {lot});
        }
        run(QStringLiteral("insert into liste_grume_cde (n_lot, id, descriptif) values ('20', 1, 'VOLUME')"));
        run(QStringLiteral("insert into livraison (inc, n_lot) values (900, 20)"));
        QVERIFY(ravelin::deleteLot(m_db, 5, 20));
        for (const char *table : {"grume", "intervention", "proprietaire_essence", "proprietaire"}) {
            QCOMPARE(count(QStringLiteral("select count(*) from %1 where N_lot=20").arg(QLatin1String(table))), 0);
            QVERIFY(count(QStringLiteral("select count(*) from %1 where N_lot=21").arg(QLatin1String(table))) > 0);
        }
        QCOMPARE(count(QStringLiteral("select count(*) from coupe")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from liste_grume_cde")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from livraison")), 1);
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 100);
    }

    void deleteStandsOrFallsTogether()
    {
        run(QStringLiteral("insert into coupe (inc, n_lot) values (5, 20)"));
        run(QStringLiteral("insert into grume (N_lot, descriptif) values (20, 'GRUME')"));
        run(QStringLiteral("insert into proprietaire (N_lot, nom) values (20, 'A')"));
        // Another workstation holds the owner row: the cascade cannot finish and nothing is deleted.
        QSqlDatabase other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("poste3"));
        QVERIFY(execute(other, QStringLiteral("set session innodb_lock_wait_timeout=1")));
        QVERIFY(execute(m_db, QStringLiteral("set session innodb_lock_wait_timeout=1")));
        QVERIFY(other.transaction());
        QVERIFY(execute(other, QStringLiteral("select * from proprietaire where N_lot=20 for update")));
        const Status s = ravelin::deleteLot(m_db, 5, 20);
        other.rollback();
        QVERIFY(!s);
        QCOMPARE(s.error().nativeCode, 1205);
        QCOMPARE(count(QStringLiteral("select count(*) from grume where N_lot=20")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from coupe")), 1);
        QVERIFY(execute(m_db, QStringLiteral("set session innodb_lock_wait_timeout=50")));
    }

    void finishedMark_data()
    {
        QTest::addColumn<bool>("finished");
        QTest::addColumn<QStringList>(
            "marks"); // free log, log of an order, log of a loaded list, volume line, other lot
        QTest::newRow("finished: every row of the lot") << true << QStringList{"OUI", "OUI", "OUI", "OUI", ""};
        QTest::newRow("not finished: the orders keep their logs") << false << QStringList{"", "OUI", "OUI", "", "OUI"};
    }
    void finishedMark()
    {
        QFETCH(bool, finished);
        QFETCH(QStringList, marks);
        const QString start = finished ? QString() : QStringLiteral("OUI");
        run(QStringLiteral("insert into grume (inc, N_lot, descriptif, livree, inc_cde) values "
                           "(1, 30, 'GRUME', ?, NULL), (2, 30, 'GRUME', 'OUI', 77), (3, 30, 'GRUME', 'OUI', NULL), "
                           "(4, 30, 'VOLUME', ?, NULL), (5, 31, 'GRUME', 'OUI', NULL)"),
            {start, start});
        if (finished) run(QStringLiteral("update grume set livree=NULL where inc=5"));
        run(QStringLiteral(
            "insert into liste_grume_cde (inc_cde, n_lot, inc_grume, descriptif) values (78, '30', 3, 'GRUME')"));
        QVERIFY(applyLotFinished(m_db, 30, finished));
        QStringList found;
        for (int inc = 1; inc <= 5; ++inc)
            found << value(QStringLiteral("select livree from grume where inc=?"), {inc}).toString();
        QCOMPARE(found, marks);
    }

    void savesOnlyWhatChanged()
    {
        run(QStringLiteral("insert into coupe (inc, n_lot, lieu, total_grume) values (8, 40, 'Ussel', 12.5)"));
        QVERIFY(saveLotChanges(
            m_db, 8,
            {{QStringLiteral("lieu"), QStringLiteral("Tulle")}, {QStringLiteral("date_fin"), QDate(2026, 5, 1)}}));
        QCOMPARE(value(QStringLiteral("select lieu from coupe where inc=8")).toString(), QStringLiteral("Tulle"));
        QCOMPARE(value(QStringLiteral("select date_fin from coupe where inc=8")).toDate(), QDate(2026, 5, 1));
        QCOMPARE(value(QStringLiteral("select total_grume from coupe where inc=8")).toDouble(), 12.5);
        QVERIFY(!saveLotChanges(m_db, 8, {{QStringLiteral("n_lot"), 41}}));
        QCOMPARE(value(QStringLiteral("select n_lot from coupe where inc=8")).toInt(), 40);
    }

    void firstOwnerDate()
    {
        auto none = firstOwnerPurchaseDate(m_db, 50);
        QVERIFY(none);
        QVERIFY(!none->isValid());
        run(QStringLiteral("insert into proprietaire (N_lot, nom, date_achat) values (50, 'Martin', '2025-02-01'), "
                           "(50, 'Albert', '2025-04-01'), (51, 'Aaron', '2020-01-01')"));
        auto first = firstOwnerPurchaseDate(m_db, 50);
        QVERIFY(first);
        QCOMPARE(first->toDate(), QDate(2025, 4, 1));
    }
};

QTEST_GUILESS_MAIN(TestLotStore)
#include "tst_lotstore.moc"
