// The e-invoice XML: built from an invoice and a credit note read from a test database, checked
// against the Cross Industry Invoice schema with xmllint, and refused with every reason at once.

#include "appfixture.h"
#include "facturx.h"
#include "invoicedocument.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

namespace {

// xmllint's verdict on the XML against the CII D16B schema; empty when valid.
QString schemaErrors(const QByteArray &xml)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("factur-x.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("cannot write ") + path;
    file.write(xml);
    file.close();
    QProcess process;
    process.start(QStringLiteral("xmllint"),
                  {QStringLiteral("--noout"), QStringLiteral("--schema"),
                   QStringLiteral(RAVELIN_EINVOICE_DIR "/cii-schema/CII/uncefact/data/standard/"
                                                       "CrossIndustryInvoice_100pD16B.xsd"),
                   path});
    if (!process.waitForFinished(120000)) return QStringLiteral("xmllint did not finish");
    if (process.exitCode() == 0) return QString();
    return QString::fromUtf8(process.readAllStandardError());
}

} // namespace

class TestFacturX : public QObject
{
    Q_OBJECT

    test::AppFixture f;

    QByteArray xmlOf(int number)
    {
        auto sets = readInvoice(f.db, number);
        if (!sets) qFatal("%s", qPrintable(sets.error().fullText()));
        auto xml = facturXml(*sets);
        if (!xml) qFatal("%s", qPrintable(xml.error().message));
        return *xml;
    }

private slots:
    void initTestCase()
    {
        f.open();
        f.run(
            QStringLiteral("update perso set nom='Bois du Morvan', siret='12345678900011', tva_intra='FR12345678901', "
                           "cp='58000', ville='Nevers', email='contact@morvan.fr', commentaire_fac='Pas d''escompte'"));
        f.run(QStringLiteral("insert into liste_tva (inc, tva) values (1, 5.5), (2, 0)"));
        f.run(QStringLiteral("insert into liste_reglement (inc, reglement) values (1, 'Virement à 30 jours')"));
        f.run(QStringLiteral(
            "insert into facture_entete (num_facture, type_fac, date_fac, echeance, client_fac, adresse_fac, cp_fac, "
            "ville_fac, pays_fac, tva_intra, inc_tva, inc_reglement, montant_ht, montant_tva, montant_ttc) values "
            "(8001, 'FACTURE', '2024-03-31', '2024-04-30', 'Chaufferie SA', '3 rue du Four', '58000', 'Nevers', "
            "'France', 'FR99887766554', 1, 1, 1508.53, 82.97, 1591.5), "
            "(8002, 'AVOIR', '2024-04-02', '2024-04-02', 'Chaufferie SA', '3 rue du Four', '58000', 'Nevers', "
            "'', null, 1, 1, -1009.8, -55.54, -1065.34), "
            "(8003, 'FACTURE', '2024-04-03', null, 'Client Perdu', null, null, null, 'Narnia', null, 2, 1, 10, 0, "
            "10)"));
        f.run(QStringLiteral("insert into facture_corps (inc_facture, type1, inc_liv, date_liv) values "
                             "(8001, 'PLAQUETTE', 11, '2024-03-07'), (8001, 'GRUME', 12, '2024-03-08'), "
                             "(8002, 'PLAQUETTE', 11, '2024-03-07'), (8003, 'GRUME', 13, '2024-03-09')"));
        f.run(QStringLiteral(
            "insert into facture_corps_detail (inc_facture, inc_corps, origine, essence, qualite, qte_liv, unite_liv, "
            "prix_unit, prix_total, humidite, pefc) values "
            "(8001, 11, 'PLAQUETTE', 'Plaquette', 'P45', 33.66, 'MWH', 30, 1009.8, 35, 62.4), "
            "(8001, 12, 'GRUME/STERE', 'Chêne', 'B', 5, 'Stere', 50, 250, null, null), "
            "(8001, 12, 'PRESTATION', 'Broyage', '', 2.5, 'Heure', 99.492, 248.73, null, null), "
            "(8002, 11, 'PLAQUETTE', 'Plaquette', 'P45', -33.66, 'MWH', 30, -1009.8, 35, 62.4), "
            "(8003, 13, 'GRUME', 'Chêne', 'A', 1, 'Palette', 10, 10, null, null)"));
    }

    void invoiceFollowsTheSchema()
    {
        const QByteArray xml = xmlOf(8001);
        QCOMPARE(schemaErrors(xml), QString());
        const QString text = QString::fromUtf8(xml);
        for (const char *expected :
             {"<ram:TypeCode>380</ram:TypeCode>", "unitCode=\"MWH\">33.66<", "unitCode=\"G26\">5<",
              "unitCode=\"HUR\">2.5<", "<ram:ID schemeID=\"0002\">123456789</ram:ID>",
              "<ram:ID schemeID=\"VA\">FR12345678901</ram:ID>", "<ram:Content>BL n° 11 du 07/03/2024</ram:Content>",
              "<ram:Value>35,000</ram:Value>", "<ram:Value>62 %</ram:Value>",
              "<ram:RateApplicablePercent>5.5</ram:RateApplicablePercent>",
              "<ram:LineTotalAmount>1508.53</ram:LineTotalAmount>",
              "<ram:GrandTotalAmount>1591.50</ram:GrandTotalAmount>", "<ram:CountryID>FR</ram:CountryID>"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // Nothing of the moment it was made: the same invoice gives the same bytes.
        QCOMPARE(xmlOf(8001), xml);
    }

    void creditNoteIsPositive()
    {
        const QByteArray xml = xmlOf(8002);
        QCOMPARE(schemaErrors(xml), QString());
        const QString text = QString::fromUtf8(xml);
        QVERIFY(text.contains(QStringLiteral("<ram:TypeCode>381</ram:TypeCode>")));
        QVERIFY(text.contains(QStringLiteral("unitCode=\"MWH\">33.66<")));
        QVERIFY(text.contains(QStringLiteral("<ram:DuePayableAmount>1065.34</ram:DuePayableAmount>")));
        QVERIFY(!text.contains(QStringLiteral(">-")));
    }

    void refusedWithEveryReason()
    {
        f.run(QStringLiteral("update perso set siret=''"));
        auto sets = readInvoice(f.db, 8003);
        QVERIFY(sets);
        auto xml = facturXml(*sets);
        f.run(QStringLiteral("update perso set siret='12345678900011'"));
        QVERIFY(!xml);
        const QString message = xml.error().message;
        for (const char *reason : {"SIRET", "taux de TVA nul", "unité inconnue : Palette", "pays inconnu : Narnia"})
            QVERIFY2(message.contains(QString::fromUtf8(reason)), qPrintable(message));
    }

    void unitsAndCountries_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("code");
        QTest::newRow("m3") << "unit"
                            << "m3"
                            << "MTQ";
        QTest::newRow("T") << "unit"
                           << "T"
                           << "TNE";
        QTest::newRow("TONNE") << "unit"
                               << "TONNE"
                               << "TNE";
        QTest::newRow("Stere") << "unit"
                               << "Stere"
                               << "G26";
        QTest::newRow("Palette") << "unit"
                                 << "Palette"
                                 << "";
        QTest::newRow("empty country") << "country"
                                       << ""
                                       << "FR";
        QTest::newRow("France") << "country"
                                << "France"
                                << "FR";
        QTest::newRow("code") << "country"
                              << "be"
                              << "BE";
        QTest::newRow("neighbour") << "country"
                                   << "Allemagne"
                                   << "DE";
        QTest::newRow("unknown") << "country"
                                 << "Narnia"
                                 << "";
    }

    void unitsAndCountries()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, code);
        QCOMPARE(kind == QLatin1String("unit") ? facturXUnit(value) : facturXCountry(value), code);
    }
};

QTEST_MAIN(TestFacturX)
#include "tst_facturx.moc"
