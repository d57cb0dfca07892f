#include "stocksfixture.h"

#include "firewoodstocklist.h"
#include "listgrid.h"
#include "orderlines.h"
#include "stocklistdialog.h"
#include "testdb.h"
#include "transfers.h"
#include "ui_stocklistdialog.h"
#include "zones.h"

#include <QSqlDatabase>

#include <functional>
#include <latch>
#include <thread>

using namespace ravelin;

// Two workstations on the same stocks: each runs on a connection of its own, at the same moment
// where it matters (two threads released together).
class TestStockSharing : public QObject
{
    Q_OBJECT
    test::StocksFixture f;
    QSqlDatabase m_other;

    // Runs both works at once, each on its own connection opened in its thread.
    void atOnce(const std::function<void(QSqlDatabase)> &first, const std::function<void(QSqlDatabase)> &second)
    {
        std::latch start(2);
        const QString database = f.db.databaseName();
        const auto run = [&](const QString &name, const std::function<void(QSqlDatabase)> &work) {
            {
                QSqlDatabase db = test::openAnotherConnection(database, name);
                start.arrive_and_wait();
                work(db);
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        };
        std::thread a(run, QStringLiteral("first"), first);
        std::thread b(run, QStringLiteral("second"), second);
        a.join();
        b.join();
    }

private slots:
    void initTestCase()
    {
        f.open();
        m_other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("other"));
        QVERIFY(m_other.isOpen());
    }
    void init() { f.clearTables(); }
    void cleanup()
    {
        f.run(QStringLiteral("drop trigger if exists refuse_stock"));
        f.run(QStringLiteral("drop trigger if exists refuse_transfer_delete"));
    }

    void firstDepositAtOnceMakesOneRow()
    {
        const int one = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        const int two = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        bool added[2] = {false, false};
        atOnce([&](QSqlDatabase db) { added[0] = bool(addTransferLine(db, one, f.deposit(3))); },
               [&](QSqlDatabase db) { added[1] = bool(addTransferLine(db, two, f.deposit(4))); });
        QVERIFY(added[0] && added[1]);
        QCOMPARE(f.stockRows(), 1);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 7.0);
    }

    void orderLineAndTransferLineTakeFromOneRow()
    {
        const int stock = f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("m3"), 30);
        f.run(QStringLiteral("insert into cde (inc, creation, type_cde, client, date_cde, unite_defaut, unite_liv, "
                             "facturee, livree) values (7, 0, 'SCIERIE', 'Scierie Martin', '2026-03-02', 'm3', 'm3', "
                             "'NON', 'NON')"));
        const int transfer = f.transfer(transferFromStock(), QStringLiteral("Parc Nord"), QStringLiteral("Parc Sud"));
        TransferLine line = f.deposit(4);
        line.incStockBuche = stock;
        ProductLine sold;
        sold.origin = originStock();
        sold.essence = QStringLiteral("Chêne");
        sold.qteLiv = 10;
        sold.prixUnit = 50;
        sold.uniteConso = QStringLiteral("m3");
        sold.incStockBuche = stock;
        sold.stockBuche = QStringLiteral("Parc Nord");
        sold.stockEssence = QStringLiteral("Chêne");
        sold.stockQualite = QStringLiteral("Bûche");
        sold.stockUnite = QStringLiteral("m3");
        bool done[2] = {false, false};
        atOnce(
            [&](QSqlDatabase db) {
                done[0] = bool(addProductLine(db, 7, sold,
                                              LineContext{QDateTime(QDate(2026, 3, 2), QTime(9, 0)),
                                                          QStringLiteral("Scierie Martin"), QStringLiteral("m3")}));
            },
            [&](QSqlDatabase db) { done[1] = bool(addTransferLine(db, transfer, line)); });
        QVERIFY(done[0] && done[1]);
        QCOMPARE(f.stock(stock, "qte_theorique_restante"), 16.0);
        QCOMPARE(f.stock(stock, "qte_defaut"), 16.0);
    }

    void twoTransfersCreatedAtOnce()
    {
        int made[2] = {0, 0};
        const NewTransfer transfer{transferFromElsewhere(), QStringLiteral("Scierie"), QStringLiteral("Parc Nord"),
                                   toFirewoodZone(), QStringLiteral("m3")};
        const auto create = [&](QSqlDatabase db, int &inc) {
            auto created = createTransfer(db, transfer);
            inc = created ? *created : 0;
        };
        atOnce([&](QSqlDatabase db) { create(db, made[0]); }, [&](QSqlDatabase db) { create(db, made[1]); });
        QVERIFY(made[0] > 0 && made[1] > 0 && made[0] != made[1]);
        QCOMPARE(f.count(QStringLiteral("select count(*) from transfert where creation=0")), 2);
    }

    void lineGivenBackOnce()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        const int first = f.addLine(transfer, f.deposit(5));
        const int second = f.addLine(transfer, f.deposit(2));
        // removed on the other workstation first, then here: once
        QVERIFY(removeTransferLine(m_other, first));
        auto again = removeTransferLine(f.db, first);
        QVERIFY(!again);
        QCOMPARE(again.error().message, noRecordMessage());
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 2.0);
        // the transfer deleted on the other workstation while this one removes its last line
        QVERIFY(deleteTransfer(m_other, transfer));
        QVERIFY(!removeTransferLine(f.db, second));
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 0.0);
    }

    void emptyRowRemovedAfterADepositStays()
    {
        const int stock = f.insertStock(QStringLiteral("Parc Nord"), 0, QStringLiteral("m3"), 0);
        f.run(QStringLiteral("update stock_buche set qualite='Bûche 50', n_lot=null, id=null where inc=?"), {stock});
        StockListDialog list(f.context);
        list.setZoneFilter(allZones());
        QCOMPARE(list.list()->rowCount(), 1);
        // the other workstation deposits into that very row meanwhile
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        QVERIFY(addTransferLine(m_other, transfer, f.deposit(5)));
        QCOMPARE(f.stockRows(), 1);
        f.dialogs.answers({QStringLiteral("SUPPRIMER")});
        list.ui()->BtnSupprimer->click();
        QCOMPARE(f.dialogs.lastText(), stockAboveZeroMessage());
        QCOMPARE(f.stock(stock, "qte_theorique_restante"), 5.0);
    }

    void oneZoneNameTwice()
    {
        PlaceValues zone = newZone(ZoneKind::Firewood, QStringLiteral("m3"));
        zone.insert(QStringLiteral("destination"), QStringLiteral("Parc Est"));
        QString messages[2];
        atOnce(
            [&](QSqlDatabase db) {
                auto made = createZone(db, zone);
                if (!made) messages[0] = made.error().message;
            },
            [&](QSqlDatabase db) {
                auto made = createZone(db, zone);
                if (!made) messages[1] = made.error().message;
            });
        QCOMPARE(f.count(QStringLiteral("select count(*) from destination where destination='Parc Est'")), 1);
        QCOMPARE(messages[0] + messages[1], zoneNameExistsMessage());
    }

    void failingWritesLeaveEverythingAsItWas()
    {
        const int transfer = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        f.addLine(transfer, f.deposit(5));
        f.run(QStringLiteral("insert into liste_action_transfert (inc_transfert, i_cout) values (?, 40)"), {transfer});
        f.run(QStringLiteral("create trigger refuse_stock before update on stock_buche for each row signal sqlstate "
                             "'45000' set message_text = 'stock en lecture seule'"));
        auto refused = addTransferLine(f.db, transfer, f.deposit(3));
        QVERIFY(!refused);
        QCOMPARE(refused.error().message, lineWriteFailedMessage());
        QVERIFY(refused.error().detail.contains(QStringLiteral("stock en lecture seule")));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_transfert")), 1);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from transfert")).toDouble(), 5.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 5.0);

        f.run(QStringLiteral("drop trigger refuse_stock"));
        f.run(QStringLiteral("create trigger refuse_transfer_delete before delete on transfert for each row signal "
                             "sqlstate '45000' set message_text = 'suppression refusée'"));
        QVERIFY(!deleteTransfer(f.db, transfer));
        QCOMPARE(f.count(QStringLiteral("select count(*) from transfert")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_transfert")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_transfert")), 1);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 5.0);
    }
};

QTEST_MAIN(TestStockSharing)
#include "tst_stocksharing.moc"
