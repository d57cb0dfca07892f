#include "sql.h"
#include "testdb.h"
#include "units.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace ravelin;

// corres: the one conversion between m3, tonnes and steres, on coefficients already read, through
// the database one species at a time, and through the table of every species read at once.
class TestUnits : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

    static SpeciesUnits oak() { return SpeciesUnits{1.0, 0.8, 1.5}; }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(m_db.isOpen());
        QVERIFY(execute(m_db, QStringLiteral("delete from essence")));
        QVERIFY(execute(m_db, QStringLiteral("insert into essence (essence, code, m3, T, Stere) values "
                                             "('Chêne', 'CH', 1, 0.8, 1.5), ('Sans tonne', 'ST', 1, NULL, 1.2), "
                                             "('Tonne nulle', 'TN', 1, 0, 1.2), ('Chêne', 'C2', 1, 0.5, 0.5)")));
    }

    void onCoefficients_data()
    {
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("from");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<double>("expected");
        QTest::newRow("10 T to m3") << true << "m3"
                                    << "T" << 10.0 << 12.5;
        QTest::newRow("10 m3 to Stere") << true << "Stere"
                                        << "m3" << 10.0 << 15.0;
        QTest::newRow("3 Stere to T") << true << "T"
                                      << "Stere" << 3.0 << 1.6;
        QTest::newRow("rounded to hundredths") << true << "T"
                                               << "Stere" << 1.0 << 0.53;
        QTest::newRow("negative quantity") << true << "m3"
                                           << "T" << -4.0 << -5.0;
        QTest::newRow("equal units round") << true << "T"
                                           << "T" << 2.345678 << 2.35;
        QTest::newRow("equal units, unknown species") << false << "Stere"
                                                      << "Stere" << 7.126 << 7.13;
        QTest::newRow("unknown species") << false << "m3"
                                         << "T" << 10.0 << 0.0;
        QTest::newRow("source Tonne is no unit") << true << "m3"
                                                 << "Tonne" << 10.0 << 0.0;
        QTest::newRow("target Tonne is no unit") << true << "Tonne"
                                                 << "m3" << 10.0 << 0.0;
        QTest::newRow("Tonne to Tonne is no unit") << true << "Tonne"
                                                   << "Tonne" << 10.0 << 0.0;
        QTest::newRow("unit names are exact") << true << "M3"
                                              << "T" << 10.0 << 0.0;
        QTest::newRow("empty unit") << true << ""
                                    << "T" << 10.0 << 0.0;
        QTest::newRow("NaN quantity") << true << "m3"
                                      << "T" << std::numeric_limits<double>::quiet_NaN() << 0.0;
        QTest::newRow("infinite quantity") << true << "m3"
                                           << "T" << std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("overflowing product") << true << "Stere"
                                             << "T" << 1e308 << 0.0;
    }
    void onCoefficients()
    {
        QFETCH(bool, known);
        QFETCH(QString, to);
        QFETCH(QString, from);
        QFETCH(double, quantity);
        QFETCH(double, expected);
        const SpeciesUnits units = oak();
        const double got = corres(known ? &units : nullptr, to, from, quantity);
        QVERIFY(std::isfinite(got));
        QCOMPARE(got, expected);
    }

    void emptyOrZeroCoefficients_data()
    {
        QTest::addColumn<QVariant>("tonne");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("from");
        QTest::addColumn<double>("expected");
        const QVariant empty(QMetaType::fromType<double>());
        QTest::newRow("empty source") << empty << "m3"
                                      << "T" << 0.0;
        QTest::newRow("empty target") << empty << "T"
                                      << "m3" << 0.0;
        QTest::newRow("zero source") << QVariant(0.0) << "m3"
                                     << "T" << 0.0;
        QTest::newRow("zero target") << QVariant(0.0) << "T"
                                     << "m3" << 0.0;
        QTest::newRow("unreadable text") << QVariant(QStringLiteral("abc")) << "m3"
                                         << "T" << 0.0;
        QTest::newRow("infinite coefficient") << QVariant(std::numeric_limits<double>::infinity()) << "m3"
                                              << "T" << 0.0;
        QTest::newRow("equal units need no coefficient") << empty << "T"
                                                         << "T" << 5.0;
    }
    void emptyOrZeroCoefficients()
    {
        QFETCH(QVariant, tonne);
        QFETCH(QString, to);
        QFETCH(QString, from);
        QFETCH(double, expected);
        const SpeciesUnits units{1.0, tonne, 1.5};
        const double got = corres(&units, to, from, 5.0);
        QVERIFY(std::isfinite(got));
        QCOMPARE(got, expected);
    }

    void throughTheDatabase_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("from");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<double>("expected");
        QTest::newRow("10 T to m3") << "Chêne"
                                    << "m3"
                                    << "T" << 10.0 << 12.5;
        QTest::newRow("10 m3 to Stere") << "Chêne"
                                        << "Stere"
                                        << "m3" << 10.0 << 15.0;
        QTest::newRow("3 Stere to T") << "Chêne"
                                      << "T"
                                      << "Stere" << 3.0 << 1.6;
        QTest::newRow("name as the database compares it") << "CHENE "
                                                          << "m3"
                                                          << "T" << 10.0 << 12.5;
        QTest::newRow("unknown species") << "Baobab"
                                         << "m3"
                                         << "T" << 10.0 << 0.0;
        QTest::newRow("source Tonne") << "Chêne"
                                      << "m3"
                                      << "Tonne" << 10.0 << 0.0;
        QTest::newRow("empty tonne coefficient") << "Sans tonne"
                                                 << "m3"
                                                 << "T" << 10.0 << 0.0;
        QTest::newRow("zero tonne coefficient") << "Tonne nulle"
                                                << "m3"
                                                << "T" << 10.0 << 0.0;
        QTest::newRow("zero tonne coefficient as target") << "Tonne nulle"
                                                          << "T"
                                                          << "m3" << 10.0 << 0.0;
        QTest::newRow("other units of a species without tonne") << "Sans tonne"
                                                                << "Stere"
                                                                << "m3" << 10.0 << 12.0;
        QTest::newRow("equal units, unknown species") << "Baobab"
                                                      << "m3"
                                                      << "m3" << 3.14159 << 3.14;
        QTest::newRow("injection is a name") << "x' or '1'='1"
                                             << "m3"
                                             << "T" << 10.0 << 0.0;
    }
    void throughTheDatabase()
    {
        QFETCH(QString, species);
        QFETCH(QString, to);
        QFETCH(QString, from);
        QFETCH(double, quantity);
        QFETCH(double, expected);
        const auto one = corres(m_db, species, to, from, quantity);
        QVERIFY2(one, qPrintable(one.ok() ? QString() : one.error().fullText()));
        QCOMPARE(*one, expected);

        // The table read once gives the same answer as the statement per species.
        const auto table = SpeciesUnitTable::read(m_db);
        QVERIFY(table);
        QCOMPARE(table->size(), 3);
        QCOMPARE(table->corres(species, to, from, quantity), expected);
    }

    void databaseFailureIsAnError()
    {
        QSqlDatabase closed = QSqlDatabase::database(m_db.connectionName() + QStringLiteral("_closed"), false);
        if (!closed.isValid())
            closed = QSqlDatabase::cloneDatabase(m_db, m_db.connectionName() + QStringLiteral("_closed"));
        QVERIFY(!closed.isOpen());
        const auto failed = corres(closed, QStringLiteral("Chêne"), QStringLiteral("m3"), QStringLiteral("T"), 10.0);
        QVERIFY(!failed.ok());
        QVERIFY(!failed.error().message.isEmpty());
        QVERIFY(!SpeciesUnitTable::read(closed).ok());
        // Between equal units nothing is read, so nothing can fail.
        const auto same = corres(closed, QStringLiteral("Chêne"), QStringLiteral("T"), QStringLiteral("T"), 1.234);
        QVERIFY(same.ok());
        QCOMPARE(*same, 1.23);
    }

    void readSpeciesUnitsGivesTheRowOrNothing()
    {
        const auto oakRow = readSpeciesUnits(m_db, QStringLiteral("Chêne"));
        QVERIFY(oakRow && oakRow->has_value());
        QCOMPARE((*oakRow)->coefficient(QStringLiteral("T")).value_or(-1), 0.8);
        QVERIFY(!(*oakRow)->coefficient(QStringLiteral("Tonne")).has_value());
        const auto none = readSpeciesUnits(m_db, QStringLiteral("Baobab"));
        QVERIFY(none && !none->has_value());
        QVERIFY(isQuantityUnit(QStringLiteral("Stere")));
        QVERIFY(!isQuantityUnit(QStringLiteral("Stère")));
        QCOMPARE(quantityUnits(), (QStringList{QStringLiteral("m3"), QStringLiteral("T"), QStringLiteral("Stere")}));
    }
};

QTEST_GUILESS_MAIN(TestUnits)
#include "tst_units.moc"
