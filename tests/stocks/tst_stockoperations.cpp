#include "stocksfixture.h"

#include "chipstock.h"
#include "firewoodstock.h"
#include "firewoodstocklist.h"
#include "productsavailable.h"
#include "transfers.h"
#include "zones.h"

using namespace ravelin;

// The firewood stock moves that transfer lines make, the stock list's inventory and removal, and
// the transfers' totals, on their tables.
class TestStockOperations : public QObject
{
    Q_OBJECT
    test::StocksFixture f;

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void depositsFindOrCreateTheirRow()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie L'Isle"));
        const QDateTime before = QDateTime::currentDateTime().addDays(-1).addSecs(-2);
        QVERIFY(f.addLine(transfer, f.deposit(10)));
        QCOMPARE(f.stockRows(), 1);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 10.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_defaut"), 10.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_inventaire"), 0.0);
        const QDateTime dated = f.value(QStringLiteral("select date_inventaire from stock_buche")).toDateTime();
        QVERIFY(dated >= before && dated <= QDateTime::currentDateTime().addDays(-1).addSecs(2));

        // the same key, from elsewhere again (no lot, no volume line): the same row
        QVERIFY(f.addLine(transfer, f.deposit(4)));
        QCOMPARE(f.stockRows(), 1);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 14.0);
        // another unit: a row of its own
        QVERIFY(f.addLine(transfer, f.deposit(3, QStringLiteral("Stere"))));
        QCOMPARE(f.stockRows(), 2);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut from stock_buche where unite_stock='Stere'")).toDouble(),
                 2.0);
        // a zone named with one character never gets a row
        const int tiny = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"), QStringLiteral("X"));
        QVERIFY(f.addLine(tiny, f.deposit(5)));
        QCOMPARE(f.stockRows(), 2);

        // the transfer's totals follow its lines
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from transfert where inc=?"), {transfer}).toDouble(),
                 17.0);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut_totale from transfert where inc=?"), {transfer}).toDouble(),
                 16.0);
    }

    void stockToStockTakesConsumedAndPutsDeposited()
    {
        // 30 steres worth 20 m3 in the northern zone
        const int north =
            f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20, QStringLiteral("12"));
        const int transfer = f.transfer(transferFromStock(), QStringLiteral("Parc Nord"), QStringLiteral("Parc Sud"));
        TransferLine line = f.deposit(2);
        line.incStockBuche = north;
        line.uniteConso = QStringLiteral("Stere");
        line.uniteDepart = QStringLiteral("Stere");
        line.qteConso = 3;
        line.nLot = QStringLiteral("12");
        line.id = 7;
        const int inc = f.addLine(transfer, line);
        QVERIFY(inc);
        QCOMPARE(f.stock(north, "qte_theorique_restante"), 27.0);
        QCOMPARE(f.stock(north, "qte_defaut"), 18.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 2.0);
        QCOMPARE(f.value(QStringLiteral("select n_lot from stock_buche where destination='Parc Sud'")).toString(),
                 QStringLiteral("12"));

        // a second line, then the whole transfer deleted: both stocks as they were
        QVERIFY(f.addLine(transfer, line));
        QCOMPARE(f.stock(north, "qte_theorique_restante"), 24.0);
        auto deleted = deleteTransfer(f.db, transfer);
        QVERIFY(deleted);
        QVERIFY(deleted->warnings.isEmpty());
        QCOMPARE(f.stock(north, "qte_theorique_restante"), 30.0);
        QCOMPARE(f.stock(north, "qte_defaut"), 20.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 0.0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from transfert")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_transfert")), 0);
    }

    void lineChangedThenRemoved()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        const int line = f.addLine(transfer, f.deposit(5));
        auto changed = changeTransferLine(f.db, line, 3, 3, 1, 0);
        QVERIFY(changed);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 3.0);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from transfert")).toDouble(), 3.0);
        QVERIFY(removeTransferLine(f.db, line));
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 0.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_defaut"), 0.0);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from transfert")).toDouble(), 0.0);
        // removed again: nothing is there, nothing moves
        auto again = removeTransferLine(f.db, line);
        QVERIFY(!again);
        QCOMPARE(again.error().message, noRecordMessage());
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 0.0);
    }

    void lotToChipZoneMovesNoFirewoodStock()
    {
        const int volumeLine = f.insertLot(12, 100);
        const int transfer =
            f.transfer(transferFromLot(), QStringLiteral("12"), QStringLiteral("Plateforme"), toChipZone());
        TransferLine line = f.deposit(8);
        line.nLot = QStringLiteral("12");
        line.id = volumeLine;
        QVERIFY(f.addLine(transfer, line));
        QCOMPARE(f.stockRows(), 0);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut from liste_grume_transfert")).toDouble(), 8.0);
    }

    void missingStockIsToldNotFailed()
    {
        const int north = f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20);
        const int transfer = f.transfer(transferFromStock(), QStringLiteral("Parc Nord"), QStringLiteral("Parc Sud"));
        TransferLine line = f.deposit(2);
        line.incStockBuche = north;
        const int inc = f.addLine(transfer, line);
        f.run(QStringLiteral("delete from stock_buche where inc=?"), {north});
        auto removed = removeTransferLine(f.db, inc);
        QVERIFY(removed);
        QCOMPARE(
            removed->warnings,
            QStringList{QStringLiteral("Stock n° %1 ( Parc Nord ) introuvable : quantité non reprise").arg(north)});
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 0.0);
    }

    void conversion()
    {
        // 10 steres deposited, taken from a lot counted in m3, 10 % lost on the way
        auto converted = convertTransferLine(f.db, QStringLiteral("Chêne"), QStringLiteral("m3"), QStringLiteral("m3"),
                                             QStringLiteral("Stere"), 10, 10);
        QVERIFY(converted);
        QCOMPARE(converted->qteDefaut, 6.67);
        QVERIFY(qAbs(converted->qteConso - 6.003) < 1e-9);
    }

    void lineChecks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("species") << "essence"
                                 << "Vous devez saisir une ESSENCE";
        QTest::newRow("quality") << "qualite"
                                 << "Vous devez saisir une QUALITE";
        QTest::newRow("unit") << "unite_liv"
                              << "Vous devez saisir une UNITE pour le STOCK";
        QTest::newRow("destination quality") << "qualite_destination"
                                             << "Vous devez saisir une QUALITE de BOIS après transfert";
        QTest::newRow("quantity") << "qte_conso"
                                  << "Vous devez saisir une quantité";
    }
    void lineChecks()
    {
        QFETCH(QString, field);
        QFETCH(QString, message);
        TransferLine line = f.deposit(1);
        if (field == QLatin1String("essence")) line.essence.clear();
        if (field == QLatin1String("qualite")) line.qualite.clear();
        if (field == QLatin1String("unite_liv")) line.uniteLiv.clear();
        if (field == QLatin1String("qualite_destination")) line.qualiteDestination.clear();
        if (field == QLatin1String("qte_conso")) line.qteConso = QString();
        QCOMPARE(checkTransferLine(line, true), message);
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        auto refused = addTransferLine(f.db, transfer, line);
        QVERIFY(!refused);
        QCOMPARE(refused.error().message, message);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_transfert")), 0);
    }

    void inventory_data()
    {
        QTest::addColumn<QString>("counted");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<double>("defaut");
        QTest::addColumn<QString>("message");
        QTest::newRow("french decimal") << "12,5" << 12.5 << 8.33 << QString();
        QTest::newRow("dotted decimal") << "1.5" << 1.5 << 1.0 << QString();
        QTest::newRow("not a number") << "abc" << 30.0 << 20.0 << "Quantité incorrecte !";
    }
    void inventory()
    {
        QFETCH(QString, counted);
        QFETCH(double, quantity);
        QFETCH(double, defaut);
        QFETCH(QString, message);
        const int inc = f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20);
        const Status done = inventoryStock(f.db, inc, counted);
        QCOMPARE(done ? QString() : done.error().message, message);
        QCOMPARE(f.stock(inc, "qte_theorique_restante"), quantity);
        QCOMPARE(f.stock(inc, "qte_defaut"), defaut);
    }

    void removeEmptyRow_data()
    {
        QTest::addColumn<QVariant>("quantity");
        QTest::addColumn<bool>("removed");
        QTest::newRow("below zero") << QVariant(-0.5) << true;
        QTest::newRow("zero") << QVariant(0.0) << true;
        QTest::newRow("empty") << QVariant(QMetaType::fromType<double>()) << true;
        QTest::newRow("above zero") << QVariant(0.01) << false;
    }
    void removeEmptyRow()
    {
        QFETCH(QVariant, quantity);
        QFETCH(bool, removed);
        const int inc = f.insertStock(QStringLiteral("Parc Nord"), 0, QStringLiteral("m3"), 0);
        f.run(QStringLiteral("update stock_buche set qte_theorique_restante=? where inc=?"), {quantity, inc});
        const Status done = deleteEmptyStock(f.db, inc);
        QCOMPARE(bool(done), removed);
        if (!removed) QCOMPARE(done.error().message, stockAboveZeroMessage());
        QCOMPARE(f.stockRows(), removed ? 0 : 1);
    }

    void redatedTransferRedatesItsLines()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        f.addLine(transfer, f.deposit(1));
        const QDateTime read = f.value(QStringLiteral("select date_transfert from transfert")).toDateTime();
        const QDateTime moved(QDate(2026, 3, 2), read.time());
        QVERIFY(saveTransferHeader(f.db, transfer,
                                   {{QStringLiteral("date_transfert"), read, moved, QString()},
                                    {QStringLiteral("corps_cde"), QVariant(), QStringLiteral("camion 2"), QString()}}));
        QCOMPARE(f.value(QStringLiteral("select date_creation from liste_grume_transfert")).toDateTime(), moved);
        QCOMPARE(f.value(QStringLiteral("select corps_cde from transfert")).toString(), QStringLiteral("camion 2"));
    }

    void actionsCarryTheCost()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        auto first = addTransferAction(f.db, transfer,
                                       TransferAction{QStringLiteral("Fendage Martin"), QStringLiteral("FENDAGE"),
                                                      QDate(2026, 3, 2), 10, QStringLiteral("Stere"), 12, 120,
                                                      QStringLiteral("12")});
        QVERIFY(first);
        QVERIFY(addTransferAction(f.db, transfer,
                                  TransferAction{QStringLiteral("Transports Roux"), QStringLiteral("TRANSPORT"),
                                                 QDate(2026, 3, 2), 1, QStringLiteral("Forfait"), 80, 80, QString()}));
        QCOMPARE(f.value(QStringLiteral("select total_cout_action from transfert")).toDouble(), 200.0);
        QVERIFY(removeTransferAction(f.db, transfer, *first));
        QCOMPARE(f.value(QStringLiteral("select total_cout_action from transfert")).toDouble(), 80.0);
        QCOMPARE(f.stockRows(), 0);
    }

    void zoneNames()
    {
        auto unnamed = createZone(f.db, newZone(ZoneKind::Firewood, QStringLiteral("m3")));
        QVERIFY(!unnamed);
        QCOMPARE(unnamed.error().message, zoneNameRequiredMessage());
        PlaceValues zone = newZone(ZoneKind::Chips, QStringLiteral("m3"));
        zone.insert(QStringLiteral("destination"), QStringLiteral("Parc Nord"));
        auto taken = createZone(f.db, zone);
        QVERIFY(!taken);
        QCOMPARE(taken.error().message, zoneNameExistsMessage());
        zone.insert(QStringLiteral("destination"), QStringLiteral("L'Isle"));
        auto created = createZone(f.db, zone);
        QVERIFY(created);
        QCOMPARE(f.value(QStringLiteral("select unite from destination where inc=?"), {*created}).toString(),
                 QStringLiteral("TONNE"));
        // a zone that stock rows name keeps its name and stays
        f.insertStock(QStringLiteral("L'Isle"), 1, QStringLiteral("m3"), 1);
        QVERIFY(!updateZone(f.db, *created,
                            {{QStringLiteral("destination"), QStringLiteral("L'Isle"), QStringLiteral("Lisle"), {}}}));
        QVERIFY(!deleteZone(f.db, *created));
        QCOMPARE(f.count(QStringLiteral("select count(*) from destination where destination='L''Isle'")), 1);
    }

    void chipStockAtADate()
    {
        f.run(QStringLiteral("update destination set tonnage_inventaire=100, date_inventaire='2026-03-01', "
                             "tonnage_maxi=250 where destination='Plateforme'"));
        f.run(QStringLiteral("insert into destination (client, destination, stockage, tonnage_maxi) values ('Nous', "
                             "'Hangar', 'OUI', 0)"));
        const auto delivery = [&](int inc, const char *from, const char *to, const char *when, double tonnes) {
            f.run(QStringLiteral("insert into livraison (inc, creation, depart, destination, date_livraison, "
                                 "qte_defaut_totale) values (?, 0, ?, ?, ?, ?)"),
                  {inc, QString::fromUtf8(from), QString::fromUtf8(to), QString::fromLatin1(when), tonnes});
        };
        delivery(1, "Forêt", "Plateforme", "2026-03-01 00:00:00", 40);  // on the inventory day: counted
        delivery(2, "Forêt", "Plateforme", "2026-02-28 23:00:00", 7);   // before it: not counted
        delivery(3, "Plateforme", "Client", "2026-03-20 17:30:00", 25); // on the chosen day: counted
        delivery(4, "Forêt", "Plateforme", "2026-03-21 00:00:00", 9);   // the day after: not counted
        delivery(5, "Forêt", "Hangar", "2020-01-01 08:00:00", 3);       // a zone without inventory date
        f.run(QStringLiteral("insert into liste_grume_transfert (destination, date_creation, qte_defaut) values "
                             "('Plateforme', '2026-03-20 17:30:00', 10)"));
        QList<int> steps;
        auto stock = computeChipStock(f.db, QDate(2026, 3, 20), [&](int done, int) { steps << done; });
        QVERIFY(stock);
        QCOMPARE(steps, (QList<int>{1, 2}));
        QCOMPARE(stock->zones.rowCount(), 2);
        QCOMPARE(stock->zones.value(1, QStringLiteral("destination")).toString(), QStringLiteral("Plateforme"));
        QCOMPARE(stock->zones.value(1, QStringLiteral("total_entree")).toDouble(), 50.0);
        QCOMPARE(stock->zones.value(1, QStringLiteral("total_sortie")).toDouble(), 25.0);
        QCOMPARE(stock->zones.value(1, QStringLiteral("total_stock")).toDouble(), 125.0);
        QCOMPARE(stock->zones.value(0, QStringLiteral("total_stock")).toDouble(), 3.0);
        QCOMPARE(stock->total, 128.0);
        QCOMPARE(usedShareText(125, 250), std::optional<QString>(QStringLiteral("50")));
        QCOMPARE(usedShareText(125, 0), std::nullopt);
        QCOMPARE(remainingTimeText(10000, 1, 4), QStringLiteral("00:30"));
        QCOMPARE(remainingTimeText(90000, 1, 2), QStringLiteral("01:30"));
    }

    void productsAvailable_data()
    {
        QTest::addColumn<QString>("lots");
        QTest::addColumn<bool>("byLot");
        QTest::addColumn<QStringList>("rows"); // "essence lot m3 a1 sur_pied"
        QTest::newRow("by species") << "" << false << QStringList{"Chêne - 30 31 10", "Hêtre - 5 5 -"};
        QTest::newRow("several lots") << "11+10+20" << true
                                      << QStringList{"Chêne 10 20 21 10", "Chêne 11 10 10 -", "Hêtre 20 5 5 -"};
        QTest::newRow("one lot") << "11" << true << QStringList{"Chêne 11 10 10 -"};
    }
    void productsAvailable()
    {
        QFETCH(QString, lots);
        QFETCH(bool, byLot);
        QFETCH(QStringList, rows);
        f.run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('Hêtre', 1, 0.8, 1.5)"));
        const auto line = [&](int lot, const char *species, double qte, double surPied) {
            f.run(
                QStringLiteral("insert into grume (N_lot, descriptif, essence, unite, qte, qte_defaut, "
                               "qte_livree_defaut, sur_pied, livree) values (?, 'VOLUME', ?, 'm3', ?, ?, 0, ?, 'NON')"),
                {lot, QString::fromUtf8(species), qte, qte, surPied});
        };
        line(10, "Chêne", 10.4, 5); // 10.4 + 10.4: m3 sums 10 + 10, a1 20.8
        line(10, "Chêne", 10.4, 5);
        line(11, "Chêne", 10, 0);
        line(12, "Chêne", 0, 3); // quantity 0: no share of standing wood
        line(20, "Hêtre", 5, 0);
        f.run(QStringLiteral("update grume set sur_pied=null where sur_pied=0"));
        f.run(QStringLiteral("insert into grume (N_lot, descriptif, essence, qte, qte_defaut, livree) values "
                             "(10, 'VOLUME', 'Chêne', 50, 50, 'OUI')")); // delivered: left out
        auto statement = productsAvailableQuery(ProductsSearch{QString(), lots, true, byLot});
        QVERIFY(statement);
        auto found = select(f.db, statement->sql, statement->values);
        QVERIFY2(found, qPrintable(found ? QString() : found.error().fullText()));
        QStringList got;
        for (const QSqlRecord &r : *found) {
            const auto n = [&](const char *c) {
                return r.value(QLatin1String(c)).isNull()
                           ? QStringLiteral("-")
                           : QString::number(qRound(r.value(QLatin1String(c)).toDouble()));
            };
            got << QStringList{r.value(QStringLiteral("essence")).toString(),
                               byLot ? r.value(QStringLiteral("n_lot")).toString() : QStringLiteral("-"), n("m3"),
                               n("a1"), n("sur_pied")}
                       .join(QLatin1Char(' '));
        }
        QCOMPARE(got, rows);
        QCOMPARE(productsAvailableQuery(ProductsSearch{QString(), QStringLiteral("11+a"), true, false}).error().message,
                 QStringLiteral("Saisie incorrecte"));
    }
};

QTEST_MAIN(TestStockOperations)
#include "tst_stockoperations.moc"
