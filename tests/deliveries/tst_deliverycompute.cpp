#include "mappagedata.h"
#include "deliverycompute.h"
#include "routepage.h"

#include <QTest>

using namespace ravelin;

// The delivery's computations on the texts the editor shows, without the database.
class TestDeliveryCompute : public QObject
{
    Q_OBJECT

    static DeliveryPriceFields fields(const QString &unite, const QString &tonnage, const QString &humidite,
                                      const QString &prixTonne, const QString &prixMwh)
    {
        DeliveryPriceFields f;
        f.operation = QStringLiteral("VENTE");
        f.unite = unite;
        f.tonnage = tonnage;
        f.humidite = humidite;
        f.prixTonne = prixTonne;
        f.prixMwh = prixMwh;
        f.mwh = QStringLiteral("7");
        f.totalMwh = QStringLiteral("8");
        f.prixTotal = QStringLiteral("9");
        return f;
    }

private slots:
    void prices_data()
    {
        QTest::addColumn<QString>("unite");
        QTest::addColumn<QString>("tonnage");
        QTest::addColumn<QString>("humidite");
        QTest::addColumn<QString>("prixTonne");
        QTest::addColumn<QString>("prixMwh");
        QTest::addColumn<QString>("mwh");
        QTest::addColumn<QString>("totalMwh");
        QTest::addColumn<QString>("prixTotal");
        QTest::addColumn<bool>("prixTonneEnabled");
        // the total by MWh is the shown energy (33,66) times the price, not the exact energy's
        QTest::newRow("MWH 10 t 30 %") << "MWH"
                                       << "10"
                                       << "30"
                                       << "80"
                                       << "25"
                                       << "33,66"
                                       << "841,50"
                                       << "841,50" << false;
        QTest::newRow("TONNE 80 €") << "TONNE"
                                    << "10"
                                    << "30"
                                    << "80"
                                    << "25"
                                    << "7"
                                    << "8"
                                    << "800,00" << true;
        QTest::newRow("MWH tonnage cleared") << "MWH"
                                             << ""
                                             << "30"
                                             << "80"
                                             << "25"
                                             << "0,00"
                                             << "0,00"
                                             << "0,00" << true;
        QTest::newRow("TONNE tonnage cleared") << "TONNE"
                                               << ""
                                               << "30"
                                               << "80"
                                               << "25"
                                               << "7"
                                               << "8"
                                               << "0,00" << true;
        QTest::newRow("TONNE price cleared") << "TONNE"
                                             << "10"
                                             << "30"
                                             << ""
                                             << "25"
                                             << "7"
                                             << "8"
                                             << "0,00" << true;
        QTest::newRow("moisture 0") << "MWH"
                                    << "1"
                                    << "0"
                                    << ""
                                    << ""
                                    << "5,10"
                                    << "8"
                                    << "8" << false;
        // a moisture giving a negative energy, or outside 0–100, is no measure: nothing moves
        QTest::newRow("moisture 95") << "MWH"
                                     << "10"
                                     << "95"
                                     << ""
                                     << "25"
                                     << "7"
                                     << "8"
                                     << "9" << true;
        QTest::newRow("moisture 120") << "MWH"
                                      << "10"
                                      << "120"
                                      << ""
                                      << "25"
                                      << "7"
                                      << "8"
                                      << "9" << true;
        QTest::newRow("moisture -5") << "MWH"
                                     << "10"
                                     << "-5"
                                     << ""
                                     << "25"
                                     << "7"
                                     << "8"
                                     << "9" << true;
        QTest::newRow("comma decimals") << "TONNE"
                                        << "2,5"
                                        << ""
                                        << "10.5"
                                        << ""
                                        << "7"
                                        << "8"
                                        << "26,25" << true;
        QTest::newRow("tonnage not a number") << "TONNE"
                                              << "abc"
                                              << ""
                                              << "10"
                                              << ""
                                              << "7"
                                              << "8"
                                              << "9" << true;
    }
    void prices()
    {
        QFETCH(QString, unite);
        QFETCH(QString, tonnage);
        QFETCH(QString, humidite);
        QFETCH(QString, prixTonne);
        QFETCH(QString, prixMwh);
        const DeliveryRecalculation r = recalculateDelivery(fields(unite, tonnage, humidite, prixTonne, prixMwh));
        QTEST(r.fields.mwh, "mwh");
        QTEST(r.fields.totalMwh, "totalMwh");
        QTEST(r.fields.prixTotal, "prixTotal");
        QTEST(r.prixTonneEnabled.value_or(true), "prixTonneEnabled");
        QVERIFY(r.showUnitGroup);
        QCOMPARE(r.showTonneGroup, unite == QLatin1String("TONNE"));
        QCOMPARE(r.showMwhGroup, unite == QLatin1String("MWH"));
    }

    void unpricedOperationsShowNoPrice_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("priced");
        for (const char *op : {"PREVISION", "ACHAT sur TRANSFERT", "TRAVAIL", "ACHAT", ""})
            QTest::newRow(op) << QString::fromUtf8(op) << false;
        for (const char *op : {"VENTE", "VENTE sur ACHAT", "TRANSPORT", "TRANSFERT"})
            QTest::newRow(op) << QString::fromUtf8(op) << true;
    }
    void unpricedOperationsShowNoPrice()
    {
        QFETCH(QString, operation);
        QFETCH(bool, priced);
        DeliveryPriceFields f =
            fields(QStringLiteral("TONNE"), QStringLiteral("10"), QString(), QStringLiteral("80"), QString());
        f.operation = operation;
        const DeliveryRecalculation r = recalculateDelivery(f);
        QCOMPARE(r.showUnitGroup, priced);
        QCOMPARE(r.fields.prixTotal, priced ? QStringLiteral("800,00") : QStringLiteral("9"));
    }

    void pefcShare_data()
    {
        QTest::addColumn<QString>("pefc");
        QTest::addColumn<QString>("tonnage");
        QTest::addColumn<QString>("label");
        QTest::newRow("3 of 12") << "3"
                                 << "12"
                                 << "25,00%";
        QTest::newRow("tonnage 0") << "3"
                                   << "0"
                                   << "??? %";
        QTest::newRow("empty pefc") << ""
                                    << "12"
                                    << "??? %";
        QTest::newRow("text") << "x"
                              << "12"
                              << "??? %";
    }
    void pefcShare()
    {
        QFETCH(QString, pefc);
        QFETCH(QString, tonnage);
        QTEST(pefcShareText(pefc, tonnage), "label");
    }

    void listMwhFigure()
    {
        QCOMPARE(tonnageMwhFigure(100, QStringLiteral("30")).value_or(QString()), QStringLiteral("337"));
        QCOMPARE(tonnageMwhFigure(0, QStringLiteral("30")).value_or(QString()), QStringLiteral("0"));
        QCOMPARE(tonnageMwhFigure(1000, QStringLiteral("30")).value_or(QString()), QStringLiteral("3 366"));
        QVERIFY(!tonnageMwhFigure(100, QString()));
        QVERIFY(!tonnageMwhFigure(100, QStringLiteral("abc")));
    }

    void saveQuantities()
    {
        SpeciesUnits energy{1.0, 0.9, 1.4};
        const DeliveryQuantities q =
            deliveryQuantities(&energy, QStringLiteral("m3"), QStringLiteral("T"), QStringLiteral("Stere"), 10, 3);
        QCOMPARE(q.qteLivTotale, 10.0);
        QCOMPARE(q.qteDefautTotale, 11.11);
        QCOMPARE(q.qteDefautPefc, 3.33);
        QCOMPARE(q.qteConso, 15.56);
        // the default unit is the delivered one: the tonnage itself, species or not
        const DeliveryQuantities same =
            deliveryQuantities(nullptr, QStringLiteral("T"), QStringLiteral("T"), QStringLiteral("T"), 10, 3);
        QCOMPARE(same.qteDefautTotale, 10.0);
        // a species whose tonne coefficient is 0 converts to 0, never to inf
        SpeciesUnits broken{1.0, 0.0, 1.4};
        QCOMPARE(deliveryQuantities(&broken, QStringLiteral("m3"), QStringLiteral("T"), QStringLiteral("T"), 10, 0)
                     .qteDefautTotale,
                 0.0);
    }

    void routeTimes()
    {
        QCOMPARE(lorryFactor(25), 1.25);
        QCOMPARE(lorryFactor(QVariant()), 1.25);
        QCOMPARE(msToTime(qint64(3600 * 1000 * lorryFactor(25))), QStringLiteral("01:15:00"));
        QCOMPARE(msToTime(25 * 3600 * 1000 + 61000), QStringLiteral("01:01:01"));
    }

    void routePageEscapesPlaces()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString html = routePageHtml(
            {QStringLiteral("Saint-Jean-d'Angély 17400"), QStringLiteral("a\\b \"c\" </script>\nd")}, 1.25);
        // the texts reach the page's script unchanged, none closing its element
        const QJsonObject data = test::mapPageData(html);
        QCOMPARE(data.value(QStringLiteral("origine")).toString(), QStringLiteral("Saint-Jean-d'Angély 17400"));
        QCOMPARE(data.value(QStringLiteral("destination")).toString(), QStringLiteral("a\\b \"c\" </script>\nd"));
        QCOMPARE(data.value(QStringLiteral("facteur")).toDouble(), 1.25);
        QVERIFY(!html.contains(QStringLiteral("</script>\nd")));
        QVERIFY(!html.contains(QStringLiteral("unpkg")));
        QVERIFY(html.contains(QStringLiteral("<title>Ravelin - Livraisons</title>")));
        QVERIFY(html.contains(QStringLiteral("Soft Ravelin : Livraisons")));
        QVERIFY(html.contains(QStringLiteral("temps de route (CAMION)")));
    }
};

QTEST_GUILESS_MAIN(TestDeliveryCompute)
#include "tst_deliverycompute.moc"
