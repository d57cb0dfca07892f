#include "ordersfixture.h"

#include "firewoodstock.h"
#include "orderactions.h"
#include "orderlines.h"
#include "orderlogs.h"
#include "orderstore.h"

#include <QDateTime>

using namespace ravelin;

// The order operations on their tables: numbering, deletion, product lines with their stock and
// lot moves and the order totals, logs attached and released, actions.
class TestOrderOperations : public QObject
{
    Q_OBJECT
    test::OrdersFixture f;

    LineContext around() const
    {
        return LineContext{QDateTime(QDate(2026, 3, 2), QTime(9, 0)), QStringLiteral("Scierie Martin"),
                           QStringLiteral("m3")};
    }
    ProductLine stockLine(int stockInc, double qte)
    {
        ProductLine line;
        line.origin = originStock();
        line.essence = QStringLiteral("Hêtre");
        line.qteLiv = qte;
        line.prixUnit = 50;
        line.uniteConso = QStringLiteral("Stere");
        line.nLot = QStringLiteral("12");
        line.id = 7;
        line.incStockBuche = stockInc;
        line.stockBuche = QStringLiteral("Dépôt Nord");
        line.stockEssence = QStringLiteral("Hêtre");
        line.stockQualite = QStringLiteral("Bûche");
        line.stockUnite = QStringLiteral("Stere");
        return line;
    }
    double stock(int inc, const char *column)
    {
        return f.value(QStringLiteral("select %1 from stock_buche where inc=?").arg(QLatin1String(column)), {inc})
            .toDouble();
    }
    double order(int inc, const char *column)
    {
        return f.value(QStringLiteral("select %1 from cde where inc=?").arg(QLatin1String(column)), {inc}).toDouble();
    }

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void createTakesTheSharedCounter()
    {
        auto first = createOrder(f.db, {QStringLiteral("SCIERIE"), QStringLiteral("T")}, QStringLiteral("m3"),
                                 QDateTime::currentDateTime());
        QVERIFY(first);
        QCOMPARE(*first, 501);
        QCOMPARE(f.count(QStringLiteral("select creation from cde where inc=501")), 0);
        QCOMPARE(f.value(QStringLiteral("select unite_liv from cde where inc=501")).toString(), QStringLiteral("T"));
        QCOMPARE(f.value(QStringLiteral("select facturee from cde where inc=501")).toString(), QStringLiteral("NON"));
        auto refused = createOrder(f.db, {QString(), QStringLiteral("T")}, QStringLiteral("m3"), QDateTime());
        QVERIFY(!refused);
        QCOMPARE(refused.error().message, orderTypeRequiredMessage());
        QCOMPARE(f.count(QStringLiteral("select num_bl from increment")), 501);
    }

    void deletion_data()
    {
        QTest::addColumn<QString>("lineKind"); // "", "VOLUME", "GRUME"
        QTest::addColumn<QString>("facturee");
        QTest::addColumn<QString>("message");
        QTest::newRow("product line") << "VOLUME"
                                      << "NON" << orderWithLinesDeletionRefusal();
        QTest::newRow("loaded log") << "GRUME"
                                    << "NON" << orderWithLinesDeletionRefusal();
        QTest::newRow("invoiced") << ""
                                  << "OUI" << invoicedOrderDeletionRefusal();
        QTest::newRow("actions and logs only") << ""
                                               << "NON" << QString();
    }
    void deletion()
    {
        QFETCH(QString, lineKind);
        QFETCH(QString, facturee);
        QFETCH(QString, message);
        f.insertOrder(7, QStringLiteral("m3"), QStringLiteral("SCIERIE"), facturee);
        if (!lineKind.isEmpty())
            f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif) values (7, ?)"), {lineKind});
        f.run(QStringLiteral("insert into liste_action_cde (inc_cde, i_cout) values (7, 12)"));
        const int log = f.insertLog(12, QStringLiteral("1"), 1.5);
        f.run(QStringLiteral("update grume set inc_cde=7, livree='OUI' where inc=?"), {log});
        const Status done = deleteOrder(f.db, 7);
        if (message.isEmpty()) {
            QVERIFY(done);
            QCOMPARE(f.count(QStringLiteral("select count(*) from cde")), 0);
            QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_cde")), 0);
            QVERIFY(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {log}).isNull());
            QCOMPARE(f.value(QStringLiteral("select livree from grume where inc=?"), {log}).toString(),
                     QStringLiteral("OUI"));
        } else {
            QVERIFY(!done);
            QCOMPARE(done.error().message, message);
            QCOMPARE(f.count(QStringLiteral("select count(*) from cde")), 1);
            QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_cde")), 1);
        }
    }

    void stockLineMovesItsStock()
    {
        // an order in m3 from a stock counted in steres (Hêtre: m3 1, Stere 1.6)
        f.insertOrder(7);
        const int stockInc = f.insertStock(100, 62.5);
        auto added = addProductLine(f.db, 7, stockLine(stockInc, 10), around());
        QVERIFY2(added, qPrintable(added.ok() ? QString() : added.error().fullText()));
        QCOMPARE(f.value(QStringLiteral("select qte_conso from liste_grume_cde where inc=?"), {*added}).toDouble(),
                 16.0);
        QCOMPARE(f.value(QStringLiteral("select stock_qte from liste_grume_cde where inc=?"), {*added}).toDouble(),
                 16.0);
        QCOMPARE(stock(stockInc, "qte_theorique_restante"), 84.0);
        QCOMPARE(stock(stockInc, "qte_defaut"), 52.5);
        QCOMPARE(order(7, "qte_liv_totale"), 10.0);
        QCOMPARE(order(7, "prix_vente"), 500.0);

        QVERIFY(changeProductLine(f.db, *added, QStringLiteral("12"), 50));
        QCOMPARE(stock(stockInc, "qte_theorique_restante"), 84.0 - 3.2);
        QCOMPARE(order(7, "qte_liv_totale"), 12.0);

        auto removed = removeProductLine(f.db, *added);
        QVERIFY(removed);
        QVERIFY(removed->warning.isEmpty());
        QCOMPARE(stock(stockInc, "qte_theorique_restante"), 100.0);
        QCOMPARE(stock(stockInc, "qte_defaut"), 62.5);
        QCOMPARE(order(7, "qte_liv_totale"), 0.0);
    }

    void transferLinePutsIntoAStock()
    {
        f.run(
            QStringLiteral("insert into liste_grume_transfert (inc, destination, essence, qualite_destination, n_lot, "
                           "id, unite_liv, unite_defaut) values (3, 'Dépôt Sud', 'Hêtre', 'Bûche', '12', 7, 'Stere', "
                           "'m3')"));
        FirewoodStockMove move;
        move.lineInc = 3;
        move.deltaLiv = 8;
        move.deltaDefaut = 5;
        move.from = originLot();
        move.to = stockOrigin();
        move.lineKind = QStringLiteral("TRANSFERT");
        QVERIFY(moveFirewoodStock(f.db, move));
        QVERIFY(moveFirewoodStock(f.db, move));
        QCOMPARE(f.count(QStringLiteral("select count(*) from stock_buche")), 1);
        QCOMPARE(f.value(QStringLiteral("select qte_theorique_restante from stock_buche")).toDouble(), 16.0);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut from stock_buche")).toDouble(), 10.0);
        QCOMPARE(f.value(QStringLiteral("select qte_inventaire from stock_buche")).toDouble(), 0.0);
        f.run(QStringLiteral("delete from liste_grume_transfert"));
    }

    void missingStockRow()
    {
        f.insertOrder(7);
        const int stockInc = f.insertStock(100, 62.5);
        auto added = addProductLine(f.db, 7, stockLine(stockInc, 10), around());
        QVERIFY(added);
        f.run(QStringLiteral("delete from stock_buche"));
        // adding or changing is refused, naming the stock; nothing is left behind
        auto refused = addProductLine(f.db, 7, stockLine(stockInc, 5), around());
        QVERIFY(!refused);
        QVERIFY(refused.error().message.contains(QStringLiteral("Dépôt Nord")));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde")), 1);
        QVERIFY(!changeProductLine(f.db, *added, 12, 50));
        QCOMPARE(order(7, "qte_liv_totale"), 10.0);
        // removing goes on with a warning
        auto removed = removeProductLine(f.db, *added);
        QVERIFY(removed);
        QVERIFY(removed->warning.contains(QStringLiteral("Dépôt Nord")));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde")), 0);
    }

    void otherOrigins()
    {
        f.insertOrder(7);
        const int stockInc = f.insertStock(100, 62.5);
        const int volumeLine = f.insertLot(12, 100);
        ProductLine elsewhere;
        elsewhere.origin = originElsewhere();
        elsewhere.essence = QStringLiteral("Hêtre");
        elsewhere.qteLiv = 4;
        elsewhere.prixUnit = 10;
        elsewhere.uniteConso = QStringLiteral("Stere"); // replaced by the default unit
        auto other = addProductLine(f.db, 7, elsewhere, around());
        QVERIFY(other);
        QCOMPARE(f.value(QStringLiteral("select qte_conso from liste_grume_cde where inc=?"), {*other}).toDouble(),
                 4.0);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut from liste_grume_cde where inc=?"), {*other}).toDouble(),
                 4.0);
        QCOMPARE(f.value(QStringLiteral("select stock from liste_grume_cde where inc=?"), {*other}).toString(),
                 QStringLiteral("LIV."));

        ProductLine fromLot;
        fromLot.origin = originLot();
        fromLot.essence = QStringLiteral("Hêtre");
        fromLot.qteLiv = 30;
        fromLot.prixUnit = 10;
        fromLot.uniteConso = QStringLiteral("m3");
        fromLot.nLot = QStringLiteral("12");
        fromLot.id = volumeLine;
        auto lotLine = addProductLine(f.db, 7, fromLot, around());
        QVERIFY(lotLine);
        QCOMPARE(f.value(QStringLiteral("select qte_livree from grume where inc=?"), {volumeLine}).toDouble(), 30.0);
        QCOMPARE(stock(stockInc, "qte_theorique_restante"), 100.0);
        QVERIFY(changeProductLine(f.db, *lotLine, 40, 10));
        QCOMPARE(f.value(QStringLiteral("select qte_livree from grume where inc=?"), {volumeLine}).toDouble(), 40.0);
        QVERIFY(removeProductLine(f.db, *lotLine));
        QCOMPARE(f.value(QStringLiteral("select qte_livree from grume where inc=?"), {volumeLine}).toDouble(), 0.0);
        QCOMPARE(stock(stockInc, "qte_theorique_restante"), 100.0);
    }

    void hourOrderAndTransfer()
    {
        f.insertOrder(7, QStringLiteral("Heure"));
        ProductLine hours;
        hours.origin = originElsewhere();
        hours.qteLiv = 3;
        hours.prixUnit = 45;
        auto added = addProductLine(f.db, 7, hours, around());
        QVERIFY(added);
        QCOMPARE(f.value(QStringLiteral("select qte_defaut from liste_grume_cde where inc=?"), {*added}).toDouble(),
                 0.0);
        QCOMPARE(f.value(QStringLiteral("select qte_conso from liste_grume_cde where inc=?"), {*added}).toDouble(),
                 0.0);
        QCOMPARE(checkProductLine(hours, QStringLiteral("m3")), speciesRequiredMessage());
        QCOMPARE(checkProductLine(hours, QStringLiteral("Heure")), QString());

        f.insertOrder(8, QStringLiteral("m3"), transferType());
        hours.essence = QStringLiteral("Hêtre");
        auto transfer = addProductLine(f.db, 8, hours, around());
        QVERIFY(transfer);
        QCOMPARE(f.value(QStringLiteral("select stock from liste_grume_cde where inc=?"), {*transfer}).toString(),
                 QStringLiteral("STOCK"));
    }

    void pricesAddUpExactly()
    {
        f.insertOrder(7);
        QList<int> lines;
        for (double price : {0.10, 0.20, 0.30}) {
            ProductLine line;
            line.origin = originElsewhere();
            line.essence = QStringLiteral("Hêtre");
            line.qteLiv = 1;
            line.prixUnit = price;
            auto added = addProductLine(f.db, 7, line, around());
            QVERIFY(added);
            lines << *added;
        }
        QCOMPARE(order(7, "prix_vente"), 0.6);
        QVERIFY(removeProductLine(f.db, lines.last()));
        QCOMPARE(order(7, "prix_vente"), 0.3);
        QCOMPARE(order(7, "prix_vente_facture"), 0.3);
        // loaded logs never count
        f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, qte_liv, qte_defaut, prix_total) "
                             "values (7, 'GRUME', 5, 5, 100)"));
        QVERIFY(writeOrderLineTotals(f.db, 7));
        QCOMPARE(order(7, "qte_liv_totale"), 2.0);
    }

    void invoicedOrderRefusesEveryChange()
    {
        f.insertOrder(7);
        ProductLine line;
        line.origin = originElsewhere();
        line.essence = QStringLiteral("Hêtre");
        line.qteLiv = 1;
        line.prixUnit = 1;
        auto added = addProductLine(f.db, 7, line, around());
        QVERIFY(added);
        f.run(QStringLiteral("update cde set facturee='OUI', num_facture=33 where inc=7"));
        auto refused = addProductLine(f.db, 7, line, around());
        QCOMPARE(refused.error().message, invoicedAddRefusal());
        QCOMPARE(changeProductLine(f.db, *added, 2, 1).error().message, invoicedChangeRefusal());
        QCOMPARE(removeProductLine(f.db, *added).error().message, invoicedRemoveRefusal());
        // a header saved by an editor that read the order before it was invoiced
        const Status saved = saveOrderHeader(
            f.db, 7,
            {{QStringLiteral("client"), QStringLiteral("Scierie Martin"), QStringLiteral("Autre"), QString()},
             {QStringLiteral("facturee"), QStringLiteral("NON"), QStringLiteral("NON"), QString()}});
        QVERIFY(!saved);
        QCOMPARE(saved.error().message, invoicedOrderChangeRefusal());
        QCOMPARE(f.value(QStringLiteral("select num_facture from cde where inc=7")).toInt(), 33);
        QCOMPARE(f.value(QStringLiteral("select facturee from cde where inc=7")).toString(), QStringLiteral("OUI"));
    }

    void headerSaveMovesLineDates()
    {
        f.insertOrder(7);
        ProductLine line;
        line.origin = originElsewhere();
        line.essence = QStringLiteral("Hêtre");
        line.qteLiv = 1;
        line.prixUnit = 1;
        QVERIFY(addProductLine(f.db, 7, line, around()));
        const QVariant read = f.value(QStringLiteral("select date_cde from cde where inc=7"));
        const QDateTime moved(QDate(2026, 4, 1), QTime(0, 0));
        QVERIFY(saveOrderHeader(f.db, 7, {{QStringLiteral("date_cde"), read, moved, QString()}}));
        QCOMPARE(f.value(QStringLiteral("select date_creation from liste_grume_cde")).toDateTime(), moved);
        f.run(QStringLiteral("delete from cde"));
        const Status gone = saveOrderHeader(f.db, 7, {});
        QVERIFY(gone.error().is(ErrorKind::NotFound));
    }

    void attachAndRelease()
    {
        f.insertOrder(7);
        f.insertOrder(8);
        f.insertLot(12);
        const int a = f.insertLog(12, QStringLiteral("1"), 1.0);
        const int b = f.insertLog(12, QStringLiteral("2"), 2.0);
        const int c = f.insertLog(12, QStringLiteral("3"), 4.0);
        f.run(QStringLiteral("update grume set inc_cde=8, livree='OUI' where inc=?"), {c});
        auto attached = attachLogs(f.db, 7, {a, b, c});
        QVERIFY(attached);
        QCOMPARE(*attached, 2);
        QCOMPARE(logsNotAttachedMessage(1), QStringLiteral("1 grume(s) non affectée(s)"));
        QCOMPARE(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {c}).toInt(), 8);
        QCOMPARE(f.value(QStringLiteral("select total_grume_livre from coupe where n_lot=12")).toDouble(), 7.0);
        auto totals = readOrderLogTotals(f.db, 7);
        QVERIFY(totals);
        QCOMPARE(totals->count, 2);
        QCOMPARE(totals->volume, 3.0);

        // releasing a log that another order holds leaves it there
        QVERIFY(releaseLogs(f.db, 7, c));
        QCOMPARE(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {c}).toInt(), 8);
        QVERIFY(releaseLogs(f.db, 7, a));
        QVERIFY(f.value(QStringLiteral("select livree from grume where inc=?"), {a}).isNull());
        QVERIFY(releaseLogs(f.db, 7, std::nullopt));
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where inc_cde=7")), 0);
        QCOMPARE(f.value(QStringLiteral("select total_grume_livre from coupe where n_lot=12")).toDouble(), 4.0);

        // the picker lists free logs only; a lot number must be whole
        QVERIFY(!freeLogsQuery({QStringLiteral("1.5"), {}, {}, {}, {}}));
        QCOMPARE(freeLogsQuery({QStringLiteral("1.5"), {}, {}, {}, {}}).error().message,
                 QStringLiteral("Saisie incorrecte"));
    }

    void actionsKeepTheTotal()
    {
        f.insertOrder(7);
        OrderAction action;
        action.iNom = QStringLiteral("Transports Dubois");
        action.qteAction = 2.5;
        action.prixUnitAction = 3.333;
        action.iCout = 2.5 * 3.333;
        auto refused = addOrderAction(f.db, 7, action);
        QCOMPARE(refused.error().message, productLineRequiredMessage());
        ProductLine line;
        line.origin = originElsewhere();
        line.essence = QStringLiteral("Hêtre");
        line.qteLiv = 1;
        line.prixUnit = 1;
        QVERIFY(addProductLine(f.db, 7, line, around()));
        auto added = addOrderAction(f.db, 7, action);
        QVERIFY(added);
        QCOMPARE(order(7, "total_cout_action"), 8.3325);
        QVERIFY(removeOrderAction(f.db, 7, *added));
        QCOMPARE(order(7, "total_cout_action"), 0.0);
    }
};

QTEST_GUILESS_MAIN(TestOrderOperations)
#include "tst_orderoperations.moc"
