#include "formats.h"
#include "workstation.h"

#include <QTest>

#include <limits>

using namespace ravelin;

class TestFormats : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");
        QTest::newRow("grouped amount") << 1234567.891 << "#,##0.00"
                                        << "1 234 567,89";
        QTest::newRow("small amount") << 0.5 << "#,##0.00"
                                      << "0,50";
        QTest::newRow("negative amount") << -1234.5 << "#,##0.00"
                                         << "-1 234,50";
        QTest::newRow("minus zero") << -0.001 << "#,##0.00"
                                    << "0,00";
        QTest::newRow("log volume") << 1.23456 << "0.000"
                                    << "1,235";
        QTest::newRow("volume no group") << 12345.5 << "0.000"
                                         << "12345,500";
        QTest::newRow("screen total") << 12345.6 << "# ##0"
                                      << "12 346";
        QTest::newRow("label amount") << 9876.5 << "# ###.00"
                                      << "9 876,50";
        QTest::newRow("label below one") << 0.25 << "# ###.00"
                                         << "0,25";
        QTest::newRow("three decimals") << 1500.1234 << "# ###.000"
                                        << "1 500,123";
        QTest::newRow("#.00") << 42.0 << "#.00"
                              << "42,00";
        QTest::newRow("integer") << 2.5 << "0"
                                 << "3";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "0.00"
                                  << "0,00";
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "#,##0.00"
                             << "0,00";
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, shown);
        QCOMPARE(formatNumber(value, pattern), shown);
    }

    void nullValuesShowEmpty()
    {
        QCOMPARE(formatValue(QVariant(), QStringLiteral("#,##0.00")), QString());
        QCOMPARE(formatValue(QVariant(QString()), QStringLiteral("#,##0.00")), QString());
        QCOMPARE(formatValue(QVariant(QStringLiteral("12.5")), QStringLiteral("0.00")), QStringLiteral("12,50"));
    }

    void dates()
    {
        const QDate d(2026, 12, 10);
        QCOMPARE(formatDate(d), QStringLiteral("10/12/2026"));
        QCOMPARE(formatDate(d, QStringLiteral("dddd dd mmmm yyyy")), QStringLiteral("jeudi 10 décembre 2026"));
        QCOMPARE(formatDateTime(QDateTime(d, QTime(9, 5, 7)), QStringLiteral("dddd dd mmmm yyyy   hh:nn:ss")),
                 QStringLiteral("jeudi 10 décembre 2026   09:05:07"));
        QCOMPARE(sqlDate(d), QStringLiteral("2026-12-10"));
    }

    void parsingAndSafeArithmetic()
    {
        bool ok = false;
        QCOMPARE(parseDecimal(QStringLiteral("12,5"), &ok), 12.5);
        QVERIFY(ok);
        QCOMPARE(parseDecimal(QStringLiteral(" 1 234.75 "), &ok), 1234.75);
        QVERIFY(ok);
        QCOMPARE(parseDecimal(QStringLiteral("abc"), &ok), 0.0);
        QVERIFY(!ok);
        QCOMPARE(parseDecimal(QStringLiteral("inf"), &ok), 0.0);
        QVERIFY(!ok);
        QCOMPARE(safeDivide(10, 0), 0.0);
        QCOMPARE(safeDivide(10, 4), 2.5);
        QCOMPARE(round2(2.345678), 2.35);
        QCOMPARE(round3(0.0004), 0.0);
    }

    void workTablesCarryTheWorkstation()
    {
        const QString id = workstationId();
        QVERIFY(id == QLatin1String("IMPOSSIBLE") ||
                QRegularExpression(QStringLiteral("^[0-9A-F]{8}$")).match(id).hasMatch());
        QCOMPARE(workstationId(), id); // stable
        QCOMPARE(workTableName(QStringLiteral("Fac")), QStringLiteral("TAMPON") + id + QStringLiteral("Fac"));
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
