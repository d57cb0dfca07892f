#include "invoicingfixture.h"

#include "invoicecreation.h"
#include "invoicestore.h"
#include "testdb.h"

#include <QSqlError>
#include <QSqlQuery>

#include <random>
#include <thread>

using namespace ravelin;

// Several workstations invoicing and crediting the same orders and deliveries at once.
class TestInvoiceSharing : public QObject
{
    Q_OBJECT
    test::InvoicingFixture f;

    struct Outcome
    {
        int written = 0;
        int credited = 0;
        QStringList refusals;
        QStringList failures;
    };

private slots:
    void initTestCase()
    {
        f.open();
        // a failure after the body and detail rows, on the connections that ask for it
        QSqlQuery q(f.db);
        QVERIFY2(q.exec(QStringLiteral("create trigger test_failing_invoice before insert on facture_entete for each "
                                       "row if @fail_invoice = 1 then signal sqlstate '45000' set message_text = "
                                       "'panne simulée'; end if")),
                 qPrintable(q.lastError().text()));
    }
    void cleanupTestCase()
    {
        QSqlQuery q(f.db);
        q.exec(QStringLiteral("drop trigger if exists test_failing_invoice"));
    }
    void init() { f.clearTables(); }

    void eightWorkstationsShareAPool()
    {
        constexpr int sales = 16;
        QList<SelectedSale> pool;
        for (int i = 0; i < sales; ++i) {
            const int inc = 2001 + i;
            if (i % 2 == 0) {
                f.insertOrder(inc, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 1 + i, 10}});
                pool.append({QStringLiteral("GRUME"), inc, qint64(1 + i) * 1000});
            } else {
                f.insertDelivery(inc, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 1 + i, 10);
                pool.append({QStringLiteral("PLAQUETTE"), inc, qint64(1 + i) * 1000});
            }
        }
        auto customer = invoiceCustomer(f.db, QStringLiteral("Scierie du Lac"), QString());
        QVERIFY(customer);
        const QString name = f.db.databaseName();
        const int vat = f.rate20, mode = f.net45;
        QList<Outcome> outcomes(8);
        std::vector<std::thread> stations;
        for (int w = 0; w < 8; ++w)
            stations.emplace_back([&, w] {
                Outcome &out = outcomes[w];
                QSqlDatabase db = test::openAnotherConnection(name, QStringLiteral("poste%1").arg(w));
                std::mt19937 random(w + 1);
                for (int attempt = 0; attempt < 8; ++attempt) {
                    const bool failing = (w * 8 + attempt) % 10 == 3;
                    QSqlQuery(db).exec(QStringLiteral("set @fail_invoice = %1").arg(failing ? 1 : 0));
                    Result<int> done = 0;
                    if (attempt % 3 == 2) {
                        // credit one of the invoices written so far
                        auto numbers = scalar(db,
                                              QStringLiteral("select num_facture from facture_entete where "
                                                             "type_fac='FACTURE' order by rand(?) limit 1"),
                                              {int(random())});
                        if (!numbers || numbers->isNull()) continue;
                        done = createCreditNote(db, numbers->toInt(), QDate::currentDate());
                        if (done) ++out.credited;
                    } else {
                        InvoiceToWrite invoice;
                        invoice.customer = *customer;
                        invoice.date = QDate::currentDate();
                        invoice.due = invoice.date.addDays(45);
                        invoice.vatInc = vat;
                        invoice.vatRate = 20;
                        invoice.modeInc = mode;
                        // three sales of the shared pool, some also chosen by another workstation
                        for (int k = 0; k < 3; ++k) {
                            const SelectedSale &s = pool.at(int(random() % sales));
                            bool taken = false;
                            for (const SelectedSale &t : invoice.sales) taken = taken || t.inc == s.inc;
                            if (!taken) invoice.sales.append(s);
                        }
                        auto written = writeInvoice(db, invoice);
                        if (written) ++out.written;
                        else done = written.error();
                    }
                    if (!done) {
                        const Error &e = done.error();
                        (e.is(ErrorKind::DatabaseFailure) ? out.failures : out.refusals) << e.message + e.detail;
                    }
                }
                db.close();
            });
        for (std::thread &s : stations) s.join();

        int written = 0, credited = 0, refused = 0, failed = 0;
        for (const Outcome &o : outcomes) {
            written += o.written;
            credited += o.credited;
            refused += int(o.refusals.size());
            failed += int(o.failures.size());
            for (const QString &failure : o.failures)
                QVERIFY2(failure.contains(QStringLiteral("panne simulée")), qPrintable(failure));
            for (const QString &refusal : o.refusals)
                QVERIFY2(refusal.contains(QStringLiteral("BL n°")) || refusal == alreadyCreditedMessage(),
                         qPrintable(refusal));
        }
        qInfo("%d invoices, %d credit notes, %d refused, %d failed", written, credited, refused, failed);
        QVERIFY(written > 0);
        // no duplicate, no gap, the counter on the last number
        const int documents = f.count(QStringLiteral("select count(*) from facture_entete"));
        QCOMPARE(documents, written + credited);
        QCOMPARE(f.count(QStringLiteral("select count(distinct num_facture) from facture_entete")), documents);
        QCOMPARE(f.count(QStringLiteral("select max(num_facture) - min(num_facture) + 1 from facture_entete")),
                 documents);
        QCOMPARE(f.count(QStringLiteral("select min(num_facture) from facture_entete")), 101);
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 100 + documents);
        // a failed invoice left nothing behind
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps where inc_facture not in (select "
                                        "num_facture from facture_entete)")),
                 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps_detail where inc_facture not in (select "
                                        "num_facture from facture_entete)")),
                 0);
        // each sale invoiced once: its invoices less its credit notes, one when it is flagged, none otherwise
        for (const SelectedSale &s : pool) {
            const QString table =
                s.kind == QLatin1String("GRUME") ? QStringLiteral("cde") : QStringLiteral("livraison");
            const int net = f.count(QStringLiteral("select coalesce(sum(case when e.type_fac='FACTURE' then 1 else -1 "
                                                   "end), 0) from facture_corps c join facture_entete e on "
                                                   "e.num_facture=c.inc_facture where c.inc_liv=?"),
                                    {s.inc});
            const QString flag = f.flag(table, s.inc);
            QVERIFY2(net == (flag.startsWith(QStringLiteral("OUI")) ? 1 : 0),
                     qPrintable(QStringLiteral("BL %1: %2, net %3").arg(s.inc).arg(flag).arg(net)));
            if (net == 1) {
                // flagged with the invoice that holds it
                const int number = flag.section(QLatin1Char('/'), 1).toInt();
                QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps c join facture_entete e on "
                                                "e.num_facture=c.inc_facture where c.inc_liv=? and "
                                                "c.inc_facture=? and e.type_fac='FACTURE'"),
                                 {s.inc, number}),
                         1);
            }
        }
    }

    void twoWorkstationsCreditOneInvoice()
    {
        f.insertOrder(2001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 3, 100}});
        auto customer = invoiceCustomer(f.db, QStringLiteral("Scierie du Lac"), QString());
        QVERIFY(customer);
        InvoiceToWrite invoice;
        invoice.customer = *customer;
        invoice.date = QDate::currentDate();
        invoice.due = invoice.date;
        invoice.vatInc = f.rate20;
        invoice.vatRate = 20;
        invoice.modeInc = f.net45;
        invoice.sales = {{QStringLiteral("GRUME"), 2001, 30000}};
        // a failure at the last write leaves nothing: no rows, the flag and the counter as they were
        f.run(QStringLiteral("set @fail_invoice = 1"));
        auto failed = writeInvoice(f.db, invoice);
        f.run(QStringLiteral("set @fail_invoice = 0"));
        QVERIFY(!failed);
        QVERIFY(failed.error().detail.contains(QStringLiteral("panne simulée")));
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps")), 0);
        QCOMPARE(f.flag(QStringLiteral("cde"), 2001), QStringLiteral("NON/-"));
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 100);

        auto written = writeInvoice(f.db, invoice);
        QVERIFY(written);

        const QString name = f.db.databaseName();
        QList<QString> results(2);
        std::vector<std::thread> stations;
        for (int w = 0; w < 2; ++w)
            stations.emplace_back([&, w] {
                QSqlDatabase db = test::openAnotherConnection(name, QStringLiteral("avoir%1").arg(w));
                auto credit = createCreditNote(db, written->number, QDate::currentDate());
                results[w] = credit ? QStringLiteral("ok") : credit.error().message;
                db.close();
            });
        for (std::thread &s : stations) s.join();
        QCOMPARE(results.count(QStringLiteral("ok")), 1);
        QCOMPARE(results.count(alreadyCreditedMessage()), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_entete where type_fac='AVOIR'")), 1);
    }
};

QTEST_GUILESS_MAIN(TestInvoiceSharing)
#include "tst_invoicesharing.moc"
