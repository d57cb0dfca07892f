#include "invoicerules.h"

#include <QTest>

using namespace ravelin;

// The rules of every invoice without the database: due date, amounts in cents, the date rule.
class TestInvoiceRules : public QObject
{
    Q_OBJECT

private slots:
    void dueDates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("dayAfter");
        QTest::addColumn<QDate>("due");
        QTest::newRow("end of month, the 10th")
            << QDate(2026, 3, 15) << 30 << "FIN de MOIS" << 10 << QDate(2026, 5, 10);
        QTest::newRow("net") << QDate(2026, 3, 15) << 45 << "NET" << 0 << QDate(2026, 4, 29);
        QTest::newRow("end of month, day 0 is the last day")
            << QDate(2026, 1, 15) << 30 << "FIN de MOIS" << 0 << QDate(2026, 2, 28);
        QTest::newRow("31 January, the 10th") << QDate(2026, 1, 1) << 30 << "FIN de MOIS" << 10 << QDate(2026, 2, 10);
        QTest::newRow("December rolls over the year")
            << QDate(2026, 11, 20) << 30 << "FIN de MOIS" << 0 << QDate(2026, 12, 31);
        QTest::newRow("no term") << QDate(2026, 6, 1) << 0 << "" << 0 << QDate(2026, 6, 1);
    }
    void dueDates()
    {
        QFETCH(QDate, date);
        QFETCH(int, days);
        QFETCH(QString, kind);
        QFETCH(int, dayAfter);
        QFETCH(QDate, due);
        QCOMPARE(dueDate(date, {days, kind, dayAfter}), std::optional<QDate>(due));
    }

    void dueDateFailsWithoutDate() { QVERIFY(!dueDate(QDate(), {30, QStringLiteral("NET"), 0})); }

    void amounts_data()
    {
        QTest::addColumn<double>("ht");
        QTest::addColumn<double>("rate");
        QTest::addColumn<qint64>("tva");
        QTest::addColumn<qint64>("ttc");
        QTest::newRow("1 000.00 at 20 %") << 1000.0 << 20.0 << qint64(20000) << qint64(120000);
        QTest::newRow("10.05 at 10 %, half a cent up") << 10.05 << 10.0 << qint64(101) << qint64(1106);
        QTest::newRow("23.00 at 5.5 %, exact cents") << 23.0 << 5.5 << qint64(127) << qint64(2427);
        QTest::newRow("0 %") << 512.34 << 0.0 << qint64(0) << qint64(51234);
        QTest::newRow("negative, half away from zero") << -10.05 << 10.0 << qint64(-101) << qint64(-1106);
        QTest::newRow("a float-looking amount keeps its cent")
            << 150000.07 << 20.0 << qint64(3000001) << qint64(18000008);
    }
    void amounts()
    {
        QFETCH(double, ht);
        QFETCH(double, rate);
        QFETCH(qint64, tva);
        QFETCH(qint64, ttc);
        const InvoiceAmounts a = invoiceAmounts(toCents(ht), rate);
        QCOMPARE(a.tva, tva);
        QCOMPARE(a.ttc, ttc);
        QCOMPARE(a.ht + a.tva, a.ttc);
        const InvoiceAmounts credit = negated(a);
        QCOMPARE(credit.ht, -a.ht);
        QCOMPARE(credit.ttc, -a.ttc);
    }

    void centsOfOddValues()
    {
        QCOMPARE(toCents(qInf()), qint64(0));
        QCOMPARE(toCents(qQNaN()), qint64(0));
        QCOMPARE(toCents(0.125), qint64(13));
        QCOMPARE(toCents(-0.125), qint64(-13));
    }

    void invoiceDate()
    {
        const QDate latest(2026, 3, 15);
        QVERIFY(!invoiceDateRefusal(latest, latest));
        QVERIFY(!invoiceDateRefusal(latest.addDays(1), latest));
        QVERIFY(!invoiceDateRefusal(latest, QDate())); // the first invoice
        QCOMPARE(
            invoiceDateRefusal(latest.addDays(-1), latest).value_or(QString()),
            QStringLiteral("Date de facture IMPOSSIBLE car infèrieure à la dernière date de facture du 15/03/2026"));
    }

    void confirmation()
    {
        QCOMPARE(invoiceConfirmation(123450, QStringLiteral("Bois SA")),
                 QStringLiteral("Confirmez vous la création d'une facture de 1 234,50 € pour le client Bois SA ?"));
    }
};

QTEST_GUILESS_MAIN(TestInvoiceRules)
#include "tst_invoicerules.moc"
