#include "deliveriesfixture.h"

#include "counters.h"
#include "deliveryactions.h"
#include "deliverystore.h"
#include "pagedquerymodel.h"
#include "statements.h"
#include "testdb.h"

#include <thread>

using namespace ravelin;

// The operations on table `livraison`: the list's statement, creation, save and deletion, with two
// workstations where it matters.
class TestDeliveryStore : public QObject
{
    Q_OBJECT
    test::DeliveriesFixture f;

    QList<int> listed(const DeliverySearch &search)
    {
        auto statement = deliverySearchQuery(search);
        if (!statement) return {-1};
        PagedQueryModel model;
        if (!model.setQuery(f.db, *statement, PagedQueryModel::Count::Never)) return {-2};
        model.fetchAll().ok();
        QList<int> rows;
        for (int r = 0; r < model.rowCount(); ++r) rows << model.record(r).value(QStringLiteral("inc")).toInt();
        return rows;
    }

    QVariantMap delivery(int inc, const QString &operation, const QVariant &tonnage, const QVariant &verifie,
                         const QVariant &facturee, const QString &date = QStringLiteral("2026-01-10 08:00:00"))
    {
        return {{QStringLiteral("inc"), inc},
                {QStringLiteral("operation"), operation},
                {QStringLiteral("tonnage"), tonnage},
                {QStringLiteral("verifie"), verifie},
                {QStringLiteral("facturee"), facturee},
                {QStringLiteral("date_livraison"), date},
                {QStringLiteral("destination"), QStringLiteral("Chaufferie %1").arg(inc)},
                {QStringLiteral("depart"), QStringLiteral("Ussel")},
                {QStringLiteral("ticket"), QStringLiteral("T%1").arg(inc)}};
    }

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void statesAndFilters()
    {
        f.insertDelivery(delivery(1, QStringLiteral("VENTE"), 0, QStringLiteral("OUI"), QStringLiteral("NON")));
        f.insertDelivery(delivery(2, QStringLiteral("VENTE"), 12.5, QVariant(), QVariant()));
        f.insertDelivery(delivery(3, QStringLiteral("TRANSFERT"), 8, QStringLiteral("OUI"), QStringLiteral("NON")));
        f.insertDelivery(delivery(4, QStringLiteral("VENTE"), 20, QStringLiteral("OUI"), QStringLiteral("OUI")));
        f.insertDelivery(delivery(5, QStringLiteral("ACHAT"), QVariant(), QStringLiteral("NON"), QVariant()));
        DeliverySearch s;
        s.sort = DeliverySort::Number;
        // a null invoiced flag is not invoiced
        QCOMPARE(listed(s), (QList<int>{5, 3, 2, 1}));
        s.state = DeliveryState::NotDelivered;
        QCOMPARE(listed(s), (QList<int>{5, 1}));
        s.state = DeliveryState::Verified; // tonnage 0 and verified: in both
        QCOMPARE(listed(s), (QList<int>{3, 1}));
        s.state = DeliveryState::NotVerified;
        QCOMPARE(listed(s), (QList<int>{2}));
        s.history = true; // every state, invoiced ones too
        QCOMPARE(listed(s), (QList<int>{5, 4, 3, 2, 1}));
        s.type = DeliveryType::Purchases; // older ACHAT rows among the purchases
        QCOMPARE(listed(s), (QList<int>{5, 3}));
        s.type = DeliveryType::Sales;
        QCOMPARE(listed(s), (QList<int>{4, 2, 1}));
        s.type = DeliveryType::Both;
        s.ticket = QStringLiteral("T3");
        QCOMPARE(listed(s), (QList<int>{3}));
        s.ticket.clear();
        s.depart = QStringLiteral("Uss");
        QCOMPARE(listed(s).size(), 5);
        // filters are bound values: a quote in the ticket or the departure is a letter
        s.depart = QStringLiteral("x' or '1'='1");
        QCOMPARE(listed(s), QList<int>());
        s.depart.clear();
        s.destination = QStringLiteral("Chaufferie'");
        const auto refused = deliverySearchQuery(s);
        QVERIFY(!refused);
        QCOMPARE(refused.error().message, QStringLiteral("Saisie incorrecte, pas de \" ' \" "));
    }

    void sorts()
    {
        f.insertDelivery(delivery(1, QStringLiteral("VENTE"), 1, {}, {}, QStringLiteral("2026-01-01 08:00:00")));
        f.insertDelivery(delivery(2, QStringLiteral("TRAVAIL"), 1, {}, {}, QStringLiteral("2026-01-03 08:00:00")));
        f.insertDelivery(delivery(3, QStringLiteral("PREVISION"), 1, {}, {}, QStringLiteral("2026-01-03 08:00:00")));
        DeliverySearch s;
        QCOMPARE(listed(s), (QList<int>{3, 2, 1}));
        s.sort = DeliverySort::Operation;
        QCOMPARE(listed(s), (QList<int>{3, 2, 1}));
        s.sort = DeliverySort::Destination;
        QCOMPARE(listed(s), (QList<int>{1, 2, 3}));
    }

    void colours_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<QString>("verifie");
        QTest::addColumn<QString>("facturee");
        QTest::addColumn<bool>("sortedByDate");
        QTest::addColumn<QString>("colour");
        QTest::newRow("forecast today") << "depart"
                                        << "PREVISION" << 0 << ""
                                        << "NON" << true << "FFFF80";
        QTest::newRow("forecast yesterday") << "date_livraison"
                                            << "PREVISION" << 1 << ""
                                            << "NON" << true << "FFB871";
        QTest::newRow("invoiced forecast") << "destination"
                                           << "PREVISION" << 1 << ""
                                           << "OUI" << true << "00FF00";
        QTest::newRow("verified") << "verifie"
                                  << "VENTE" << 3 << "OUI"
                                  << "NON" << true << "00FF00";
        QTest::newRow("sale place") << "depart"
                                    << "VENTE" << 0 << ""
                                    << "NON" << true << "";
    }
    void colours()
    {
        QFETCH(QString, column);
        QFETCH(QString, operation);
        QFETCH(int, daysAgo);
        QFETCH(QString, verifie);
        QFETCH(QString, facturee);
        QFETCH(bool, sortedByDate);
        const QDate today(2026, 12, 10);
        QTEST(deliveryCellColour(column, operation, QDateTime(today.addDays(-daysAgo), QTime(9, 0)), verifie, facturee,
                                 sortedByDate, today),
              "colour");
    }
    void sundayOnlyInDateSort()
    {
        const QDate sunday(2026, 12, 6);
        QCOMPARE(sunday.dayOfWeek(), int(Qt::Sunday));
        const QDateTime when(sunday, QTime(9, 0));
        QCOMPARE(deliveryCellColour(QStringLiteral("operation"), QStringLiteral("VENTE"), when, {}, {}, true, sunday),
                 QStringLiteral("FFA4A4"));
        QCOMPARE(deliveryCellColour(QStringLiteral("operation"), QStringLiteral("VENTE"), when, {}, {}, false, sunday),
                 QString());
        QCOMPARE(operationTextColour(QStringLiteral("TRANSFERT")), QStringLiteral("008000"));
        QCOMPARE(operationTextColour(QStringLiteral("ACHAT")), QStringLiteral("0000FF"));
    }

    void createTakesTheSharedNumber()
    {
        // an order takes its number from the same counter
        auto order = takeNextCounter(f.db, Counter::NumBl);
        QVERIFY(order);
        f.run(QStringLiteral("insert into livraison (inc, creation) values (9000, 1)")); // another's row being created
        NewDelivery d = newDeliveryDefaults(f.context.settings, QDateTime(QDate(2026, 5, 4), QTime(10, 30)));
        d.nLot = 12;
        d.id = 7;
        d.depart = QStringLiteral("Ussel");
        auto created = createDelivery(f.db, d);
        QVERIFY(created);
        QCOMPARE(*created, *order + 1);
        auto row = loadDelivery(f.db, *created);
        QVERIFY(row);
        QCOMPARE(row->value(QStringLiteral("creation")).toInt(), 0);
        QCOMPARE(row->value(QStringLiteral("operation")).toString(), QStringLiteral("VENTE"));
        QCOMPARE(row->value(QStringLiteral("facturee")).toString(), QStringLiteral("NON"));
        QCOMPARE(row->value(QStringLiteral("unite")).toString(), QStringLiteral("TONNE"));
        QCOMPARE(row->value(QStringLiteral("essence")).toString(), QStringLiteral("BOIS ENERGIE"));
        QCOMPARE(row->value(QStringLiteral("n_lot")).toInt(), 12);
        QCOMPARE(row->value(QStringLiteral("depart")).toString(), QStringLiteral("Ussel"));
        QCOMPARE(f.count(QStringLiteral("select creation from livraison where inc=9000")), 1);
    }

    void fourWorkstationsCreateAtOnce()
    {
        const QString name = f.db.databaseName();
        QList<QList<int>> taken(4);
        std::vector<std::thread> runs;
        for (int w = 0; w < 4; ++w)
            runs.emplace_back([name, w, &taken]() {
                QList<int> &numbers = taken[w];
                QSqlDatabase db = test::openAnotherConnection(name, QStringLiteral("poste%1").arg(w));
                for (int i = 0; i < 10; ++i) {
                    if (w % 2 == 0) {
                        // an order's number, as the orders take it
                        if (auto n = takeNextCounter(db, Counter::NumBl)) numbers << *n;
                    } else if (auto n = createDelivery(db, NewDelivery())) {
                        numbers << *n;
                    }
                }
                db.close();
            });
        QList<int> all;
        for (std::thread &run : runs) run.join();
        for (const QList<int> &numbers : taken) all += numbers;
        std::sort(all.begin(), all.end());
        QCOMPARE(all.size(), 40);
        for (int i = 1; i < all.size(); ++i) QCOMPARE(all[i], all[i - 1] + 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from livraison where creation=1")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from livraison")), 20);
    }

    void failedInsertLeavesNothing()
    {
        f.insertDelivery(delivery(501, QStringLiteral("VENTE"), 1, {}, {}));
        // the counter hands out a number already used: the insert fails, the counter stays
        auto created = createDelivery(f.db, NewDelivery());
        QVERIFY(!created);
        QCOMPARE(f.count(QStringLiteral("select num_bl from increment")), 500);
        QCOMPARE(f.count(QStringLiteral("select count(*) from livraison")), 1);
    }

    void saveWritesQuantitiesAndOnlyChanges()
    {
        f.run(QStringLiteral("delete from essence where essence='BOIS ENERGIE'"));
        f.run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('BOIS ENERGIE', 1, 0.9, 1.4)"));
        QVariantMap row =
            delivery(10, QStringLiteral("VENTE"), QVariant(), QStringLiteral("NON"), QStringLiteral("NON"));
        row.insert(QStringLiteral("essence"), QStringLiteral("BOIS ENERGIE"));
        row.insert(QStringLiteral("unite_liv"), QStringLiteral("T"));
        row.insert(QStringLiteral("unite_defaut"), QStringLiteral("m3"));
        row.insert(QStringLiteral("unite_conso"), QStringLiteral("Stere"));
        row.insert(QStringLiteral("commentaire"), QStringLiteral("avant"));
        f.insertDelivery(row);
        auto read = loadDelivery(f.db, 10);
        QVERIFY(read);
        // another workstation changes the comment meanwhile: kept, the user did not touch it
        f.run(QStringLiteral("update livraison set commentaire='ailleurs' where inc=10"));
        QVERIFY(saveDelivery(f.db, 10, *read,
                             {{QStringLiteral("tonnage"), 10.0},
                              {QStringLiteral("qte_pefc"), 3.0},
                              {QStringLiteral("commentaire"), QStringLiteral("avant")}}));
        QCOMPARE(f.value(QStringLiteral("select qte_defaut_totale from livraison where inc=10")).toDouble(), 11.11);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut_pefc from livraison where inc=10")).toDouble(), 3.33);
        QCOMPARE(f.value(QStringLiteral("select qte_conso from livraison where inc=10")).toDouble(), 15.56);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from livraison where inc=10")).toDouble(), 10.0);
        QCOMPARE(f.value(QStringLiteral("select commentaire from livraison where inc=10")).toString(),
                 QStringLiteral("ailleurs"));
    }

    void secondEditorIsRefused()
    {
        f.insertDelivery(delivery(11, QStringLiteral("VENTE"), 10, {}, QStringLiteral("NON")));
        f.run(QStringLiteral("update livraison set prix_tonne=80, prix_total=800, unite='TONNE' where inc=11"));
        auto first = loadDelivery(f.db, 11);
        auto second = loadDelivery(f.db, 11);
        QVERIFY(first && second);
        QVERIFY(saveDelivery(f.db, 11, *first,
                             {{QStringLiteral("tonnage"), 20.0}, {QStringLiteral("prix_total"), 1600.0}}));
        // the second changed the price alone: its total would disagree with the new tonnage
        const Status refused = saveDelivery(
            f.db, 11, *second, {{QStringLiteral("prix_tonne"), 90.0}, {QStringLiteral("prix_total"), 900.0}});
        QVERIFY(!refused);
        QVERIFY(refused.error().is(ErrorKind::ChangedElsewhere));
        QCOMPARE(f.value(QStringLiteral("select prix_total from livraison where inc=11")).toDouble(), 1600.0);
        QCOMPARE(f.value(QStringLiteral("select prix_tonne from livraison where inc=11")).toDouble(), 80.0);

        // the tonnage alone changed on one side, the price alone on the other: refused all the same
        auto third = loadDelivery(f.db, 11);
        auto fourth = loadDelivery(f.db, 11);
        QVERIFY(saveDelivery(f.db, 11, *third, {{QStringLiteral("tonnage"), 30.0}}));
        const Status stale = saveDelivery(f.db, 11, *fourth, {{QStringLiteral("prix_tonne"), 95.0}});
        QVERIFY(!stale);
        QVERIFY(stale.error().is(ErrorKind::ChangedElsewhere));
        QVERIFY(stale.error().message.contains(QStringLiteral("Tonnage livré")));
    }

    void invoicedMeanwhile()
    {
        f.insertDelivery(delivery(12, QStringLiteral("VENTE"), 10, {}, QStringLiteral("NON")));
        auto read = loadDelivery(f.db, 12);
        QVERIFY(read);
        QSqlDatabase other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("facturation"));
        QVERIFY(execute(other, QStringLiteral("update livraison set facturee='OUI', num_facture=77 where inc=12")));
        const Status saved = saveDelivery(f.db, 12, *read, {{QStringLiteral("ticket"), QStringLiteral("X")}});
        QVERIFY(!saved);
        QCOMPARE(saved.error().message, invoicedMeanwhileMessage());
        QVERIFY(!createDeliveryAction(f.db, 12,
                                      {QStringLiteral("BROYAGE"), QStringLiteral("Broyeur"), QDate::currentDate()}));
        const auto deleted = deleteDelivery(f.db, 12);
        QVERIFY(!deleted);
        QCOMPARE(deleted.error().message, QStringLiteral("Livraison FACTUREE, vous ne pouvez pas la supprimer !"));
        QCOMPARE(f.value(QStringLiteral("select facturee from livraison where inc=12")).toString(),
                 QStringLiteral("OUI"));
        QCOMPARE(f.count(QStringLiteral("select num_facture from livraison where inc=12")), 77);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv")), 0);
    }

    void deleteTakesActionsWith()
    {
        f.insertDelivery(delivery(13, QStringLiteral("VENTE"), 10, {}, QVariant()));
        f.run(QStringLiteral("update livraison set n_lot=44 where inc=13"));
        QVERIFY(createDeliveryAction(f.db, 13,
                                     {QStringLiteral("BROYAGE"), QStringLiteral("Broyeur"), QDate::currentDate()}));
        const auto deleted = deleteDelivery(f.db, 13);
        QVERIFY(deleted);
        QCOMPARE(deleted->toInt(), 44);
        QCOMPARE(f.count(QStringLiteral("select count(*) from livraison")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv")), 0);
    }

    void failedActionsDeleteKeepsTheDelivery()
    {
        f.insertDelivery(delivery(14, QStringLiteral("VENTE"), 10, {}, QVariant()));
        QVERIFY(createDeliveryAction(f.db, 14,
                                     {QStringLiteral("BROYAGE"), QStringLiteral("Broyeur"), QDate::currentDate()}));
        f.run(QStringLiteral("create trigger refuse_action_delete before delete on liste_action_liv for each row "
                             "signal sqlstate '45000' set message_text='refus'"));
        const auto deleted = deleteDelivery(f.db, 14);
        f.run(QStringLiteral("drop trigger refuse_action_delete"));
        QVERIFY(!deleted);
        QCOMPARE(f.count(QStringLiteral("select count(*) from livraison where inc=14")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv where inc_cde=14")), 1);
    }

    void roadDistanceAndTime()
    {
        QCOMPARE(parseKilometres(QStringLiteral("125")).value_or(-1), 125);
        QVERIFY(!parseKilometres(QStringLiteral("12,5")));
        QVERIFY(!parseKilometres(QString()));
        QVERIFY(!parseRoadTime(QStringLiteral("25:00:00")));
        f.insertDelivery(delivery(15, QStringLiteral("VENTE"), 10, {}, QVariant()));
        auto line = createDeliveryAction(f.db, 15,
                                         {QStringLiteral("TRANSPORT"), QStringLiteral("Trans"), QDate::currentDate()});
        QVERIFY(line);
        QVERIFY(setActionRoadTime(f.db, *line, *parseRoadTime(QStringLiteral("00:25:10"))));
        QCOMPARE(f.value(QStringLiteral("select temps_route from liste_action_liv where inc=?"), {*line}).toTime(),
                 QTime(0, 25, 10));
    }
};

QTEST_GUILESS_MAIN(TestDeliveryStore)
#include "tst_deliverystore.moc"
