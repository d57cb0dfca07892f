#include "ordersfixture.h"

#include "deliverystore.h"
#include "orderlines.h"
#include "orderlogs.h"
#include "orderstore.h"

#include <QDateTime>

using namespace ravelin;

// Two workstations on the same orders: each step runs on one connection or the other, as the two
// users would interleave them; every change is read under the order's lock, so the second one
// works on what the first one left.
class TestOrderSharing : public QObject
{
    Q_OBJECT
    test::OrdersFixture f;
    QSqlDatabase m_other;

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
        line.prixUnit = 10;
        line.uniteConso = QStringLiteral("Stere");
        line.nLot = QStringLiteral("12");
        line.id = 7;
        line.incStockBuche = stockInc;
        line.stockBuche = QStringLiteral("Dépôt Nord");
        line.stockEssence = QStringLiteral("Hêtre");
        line.stockUnite = QStringLiteral("Stere");
        return line;
    }

private slots:
    void initTestCase()
    {
        f.open();
        m_other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("other"));
        QVERIFY(m_other.isOpen());
    }
    void init() { f.clearTables(); }
    void cleanup() { f.run(QStringLiteral("drop trigger if exists stock_fails")); }

    void numbersSharedWithChipDeliveries()
    {
        auto a = createOrder(f.db, {QStringLiteral("SCIERIE"), QStringLiteral("m3")}, QStringLiteral("m3"),
                             QDateTime::currentDateTime());
        auto b = createOrder(m_other, {QStringLiteral("EXPORT"), QStringLiteral("T")}, QStringLiteral("m3"),
                             QDateTime::currentDateTime());
        NewDelivery chips;
        chips.dateLivraison = QDateTime::currentDateTime();
        chips.uniteDefaut = QStringLiteral("T");
        auto c = createDelivery(m_other, chips);
        QVERIFY(a && b && c);
        QCOMPARE((QSet<int>{*a, *b, *c}).size(), 3);
        // each editor opens its own order
        QCOMPARE(loadOrder(f.db, *a)->value(QStringLiteral("type_cde")).toString(), QStringLiteral("SCIERIE"));
        QCOMPARE(loadOrder(m_other, *b)->value(QStringLiteral("type_cde")).toString(), QStringLiteral("EXPORT"));
    }

    void bothAddToOneOrderAndOneStock()
    {
        f.insertOrder(7);
        const int stockInc = f.insertStock(100, 62.5);
        auto mine = addProductLine(f.db, 7, stockLine(stockInc, 10), around());
        auto theirs = addProductLine(m_other, 7, stockLine(stockInc, 5), around());
        QVERIFY(mine && theirs);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from cde where inc=7")).toDouble(), 15.0);
        QCOMPARE(f.value(QStringLiteral("select prix_vente from cde where inc=7")).toDouble(), 150.0);
        QCOMPARE(f.value(QStringLiteral("select qte_theorique_restante from stock_buche")).toDouble(), 100.0 - 24.0);

        // the same line changed on both, then removed on both: the stock follows the line as it is
        QVERIFY(changeProductLine(f.db, *mine, 12, 10));
        QVERIFY(changeProductLine(m_other, *mine, 11, 10));
        QCOMPARE(f.value(QStringLiteral("select qte_theorique_restante from stock_buche")).toDouble(), 100.0 - 25.6);
        QVERIFY(removeProductLine(f.db, *mine));
        auto again = removeProductLine(m_other, *mine);
        QVERIFY(!again);
        QVERIFY(again.error().is(ErrorKind::NotFound));
        QCOMPARE(f.value(QStringLiteral("select qte_theorique_restante from stock_buche")).toDouble(), 100.0 - 8.0);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from cde where inc=7")).toDouble(), 5.0);
    }

    void oneLogAttachedTwice()
    {
        f.insertOrder(1);
        f.insertOrder(2);
        f.insertLot(12);
        const int log = f.insertLog(12, QStringLiteral("5"), 1.0);
        QCOMPARE(*attachLogs(f.db, 1, {log}), 1);
        QCOMPARE(*attachLogs(m_other, 2, {log}), 0);
        QCOMPARE(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {log}).toInt(), 1);
    }

    void deletedWhileALineIsAdded()
    {
        f.insertOrder(7);
        // this workstation checked the lines before asking "SUPPRIMER"; meanwhile the other adds one
        QCOMPARE(*orderHasLines(f.db, 7), false);
        ProductLine line;
        line.origin = originElsewhere();
        line.essence = QStringLiteral("Hêtre");
        line.qteLiv = 1;
        line.prixUnit = 1;
        QVERIFY(addProductLine(m_other, 7, line, around()));
        const Status deleted = deleteOrder(f.db, 7);
        QVERIFY(!deleted);
        QCOMPARE(deleted.error().message, orderWithLinesDeletionRefusal());
        QCOMPARE(f.count(QStringLiteral("select count(*) from cde")), 1);
        // and an order deleted elsewhere refuses its lines
        f.run(QStringLiteral("insert into cde (inc, creation, unite_liv, facturee) values (8, 0, 'm3', 'NON')"));
        QVERIFY(deleteOrder(m_other, 8));
        auto refused = addProductLine(f.db, 8, line, around());
        QVERIFY(refused.error().is(ErrorKind::NotFound));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde where inc_cde=8")), 0);
    }

    void failedStockStepLeavesNothing()
    {
        f.insertOrder(7);
        const int stockInc = f.insertStock(100, 62.5);
        f.run(QStringLiteral("create trigger stock_fails before update on stock_buche for each row "
                             "signal sqlstate '45000' set message_text='stock en panne'"));
        auto added = addProductLine(f.db, 7, stockLine(stockInc, 10), around());
        QVERIFY(!added);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde")), 0);
        QVERIFY(f.value(QStringLiteral("select qte_liv_totale from cde where inc=7")).isNull());
        QCOMPARE(f.value(QStringLiteral("select qte_theorique_restante from stock_buche")).toDouble(), 100.0);
    }
};

QTEST_GUILESS_MAIN(TestOrderSharing)
#include "tst_ordersharing.moc"
