// The delivery note and the invoice: their data read from the database, laid out, and their print
// screens driven as a user would.

#include "appfixture.h"
#include "deliverynote.h"
#include "documentprinting.h"
#include "invoicedocument.h"
#include "modalscript.h"
#include "reportpreview.h"
#include "reporttestutil.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace ravelin;

namespace {

ReportDocument noteOf(test::AppFixture &f, int number, const QString &origin)
{
    auto sets = readDeliveryNote(f.db, number, origin);
    if (!sets) qFatal("%s", qPrintable(sets.error().fullText()));
    auto document = layoutDeliveryNote(deliveryNoteData(*sets));
    if (!document) qFatal("%s", qPrintable(document.error().message));
    return *document;
}

ReportDocument invoiceOf(test::AppFixture &f, int number)
{
    auto sets = readInvoice(f.db, number);
    if (!sets) qFatal("%s", qPrintable(sets.error().fullText()));
    auto document = layoutInvoice(invoiceData(*sets));
    if (!document) qFatal("%s", qPrintable(document.error().message));
    return *document;
}

QPushButton *button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class TestSalesDocuments : public QObject
{
    Q_OBJECT

    test::AppFixture f;
    QTemporaryDir m_folder;
    QString m_previousFolder;

private slots:
    void initTestCase()
    {
        f.open();
        QVERIFY(m_folder.isValid());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        f.run(QStringLiteral("update perso set nom='Bois du Morvan', tva_intra='FR12345678901', "
                             "commentaire_fac='Pas d''escompte'"));
        f.run(QStringLiteral("insert into destination (client, destination, adresse, cp, ville, tva_intra) values "
                             "('Chaufferie SA', 'Chaufferie Nord', '3 rue du Four', '58000', 'Nevers', "
                             "'FR99887766554')"));
        // An order: two product lines and three loaded logs (no quantity of their own).
        f.run(QStringLiteral("insert into cde (inc, client, destination, date_cde) values "
                             "(501, 'Scierie Dupont', 'Chaufferie Nord', '2024-03-05 14:20:00'), "
                             "(504, 'Scierie Perdue', 'Lieu disparu', '2024-03-06 08:00:00')"));
        f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, essence, qualite, qte_liv, unite_liv, "
                             "stock_buche) values (501, 'PRODUIT', 'Chêne', 'B', 10, 'm3', 'Zone A'), "
                             "(501, 'PRODUIT', 'Hêtre', 'C', 1234.5, 'Stere', 'Zone B'), "
                             "(501, 'GRUME1', 'Chêne', 'B', null, 'm3', null), "
                             "(501, 'GRUME1', 'Chêne', 'B', null, 'm3', null), "
                             "(501, 'GRUME1', 'Chêne', 'B', null, 'm3', null), "
                             "(504, 'PRODUIT', 'Douglas', 'A', 7, 'm3', 'Zone C')"));
        // Chip deliveries, one sold by energy, one by weight.
        f.run(QStringLiteral("insert into livraison (inc, date_livraison, destination, essence, qualite, unite, "
                             "unite_liv, qte_liv_totale, mwh, humidite) values "
                             "(502, '2024-03-07 07:45:00', 'Chaufferie Nord', 'Plaquette', 'P45', 'MWH', 'T', "
                             "12.5, 33.66, 35), "
                             "(503, '2024-03-08 00:00:00', 'Chaufferie Nord', 'Plaquette', 'P45', 'T', 'T', 14, "
                             "0, 30)"));
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousFolder); }

    void deliveryNoteLines_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("texts");

        const QString logs = logsOrigin(), chips = chipsOrigin();
        QTest::newRow("order title") << 501 << logs << "titre" << QStringList{"Bon de Livraison n° 501"};
        QTest::newRow("order date without time") << 501 << logs << "date_fac" << QStringList{"05/03/2024"};
        QTest::newRow("order customer") << 501 << logs << "client" << QStringList{"Scierie Dupont"};
        QTest::newRow("place's VAT number")
            << 501 << logs << "client_tva" << QStringList{"N° TVA intra. FR99887766554"};
        QTest::newRow("products and loaded logs")
            << 501 << logs << "qte_liv" << QStringList{"10,00", "1 234,50", "0,00", "0,00", "0,00"};
        QTest::newRow("order stock") << 501 << logs << "stock" << QStringList{"Zone A", "Zone B", "", "", ""};
        QTest::newRow("no moisture for logs") << 501 << logs << "humidite" << QStringList{};
        QTest::newRow("page footer") << 501 << logs << "page" << QStringList{"1 / 1"};
        QTest::newRow("place gone: lines print") << 504 << logs << "qte_liv" << QStringList{"7,00"};
        QTest::newRow("place gone: no address") << 504 << logs << "client_adresse" << QStringList{""};
        QTest::newRow("place gone: no VAT") << 504 << logs << "client_tva" << QStringList{};
        QTest::newRow("chips: place's customer") << 502 << chips << "client" << QStringList{"Chaufferie SA"};
        QTest::newRow("chips by energy: MWh") << 502 << chips << "mwh" << QStringList{"33,66 MWH"};
        QTest::newRow("chips by energy: moisture") << 502 << chips << "humidite" << QStringList{"35,000"};
        QTest::newRow("chips by energy: heading") << 502 << chips << "memo_hu" << QStringList{"Humidité(%)"};
        QTest::newRow("chips by energy: date") << 502 << chips << "date_liv" << QStringList{"07/03/2024"};
        QTest::newRow("chips by weight: no MWh") << 503 << chips << "mwh" << QStringList{};
        QTest::newRow("chips by weight: no moisture") << 503 << chips << "humidite" << QStringList{};
        QTest::newRow("chips by weight: no heading") << 503 << chips << "memo_hu" << QStringList{};
        QTest::newRow("chips by weight: quantity") << 503 << chips << "qte_liv" << QStringList{"14,00"};
    }

    void deliveryNoteLines()
    {
        QFETCH(int, number);
        QFETCH(QString, origin);
        QFETCH(QString, item);
        QFETCH(QStringList, texts);
        QCOMPARE(noteOf(f, number, origin).textsNamed(item), texts);
    }

    // "PDF" writes report.pdf in the working folder, replacing it; "Imprimer" goes to the printer
    // dialog and writes nothing; a file that cannot be written is reported, the window kept.
    void deliveryNoteScreen()
    {
        const QString pdf = QDir::current().filePath(QStringLiteral("report.pdf"));
        QFile::remove(pdf);
        test::ModalScript screens;

        printDeliveryNote(f.context, 0, logsOrigin(), nullptr);
        printDeliveryNote(f.context, -3, chipsOrigin(), nullptr);
        QCOMPARE(screens.shown(), QStringList());

        // "Imprimer": the printer dialog (cancelled here), no file.
        bool printDialogShown = false;
        screens.then([&](QDialog &d) {
            QTimer::singleShot(0, [&] {
                if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                    printDialogShown = true;
                    dialog->reject();
                }
            });
            button(d, "imprimer")->click();
            return d.result();
        });
        printDeliveryNote(f.context, 501, logsOrigin(), nullptr);
        QVERIFY(printDialogShown);
        QVERIFY(!QFile::exists(pdf));

        // "PDF" twice: the second replaces the first without a question.
        for (int number : {502, 501}) {
            f.dialogs.clear();
            screens.then([](QDialog &d) {
                button(d, "pdf")->click();
                return d.result();
            });
            printDeliveryNote(f.context, number, number == 502 ? chipsOrigin() : logsOrigin(), nullptr);
            QCOMPARE(f.dialogs.texts(), QStringList{"Export PDF terminé : report.pdf"});
        }
        QCOMPARE(screens.shown(), (QStringList{"imp_bl", "imp_bl", "imp_bl"}));
        const QString text = test::simplifiedText(test::pdfText(pdf));
        QVERIFY2(text.contains(QStringLiteral("Bon de Livraison n° 501")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("33,66 MWH")));

        // A folder where report.pdf cannot be written: the error, the window stays open.
        QFile::remove(pdf);
        QVERIFY(QDir::current().mkdir(QStringLiteral("report.pdf")));
        f.dialogs.clear();
        bool keptOpen = false;
        screens.then([&](QDialog &d) {
            button(d, "pdf")->click();
            keptOpen = d.result() != QDialog::Accepted;
            return int(QDialog::Rejected);
        });
        printDeliveryNote(f.context, 501, logsOrigin(), nullptr);
        QVERIFY(keptOpen);
        QCOMPARE(f.dialogs.texts().size(), 1);
        QVERIFY(!f.dialogs.lastText().startsWith(QStringLiteral("Export PDF terminé")));
        QVERIFY(QDir::current().rmdir(QStringLiteral("report.pdf")));
    }

    void invoiceTexts_data()
    {
        f.run(QStringLiteral("insert into liste_tva (inc, tva) values (1, 5.5)"));
        f.run(QStringLiteral("insert into liste_reglement (inc, reglement) values (1, 'Virement à 30 jours')"));
        f.run(QStringLiteral(
            "insert into facture_entete (num_facture, type_fac, date_fac, echeance, client_fac, adresse_fac, cp_fac, "
            "ville_fac, pays_fac, tva_intra, inc_tva, inc_reglement, montant_ht, montant_tva, montant_ttc) values "
            "(7001, 'FACTURE', '2024-03-31', '2024-04-30', 'Chaufferie SA', '3 rue du Four', '58000', 'Nevers', "
            "'France', 'FR99887766554', 1, 1, 1508.53, 82.97, 1591.5), "
            "(7002, 'AVOIR', '2024-04-02', '2024-04-02', 'Chaufferie SA', null, null, null, null, null, 1, 1, "
            "-1508.53, -82.97, -1591.5), "
            "(7003, 'FACTURE', '2024-04-03', null, 'Chaufferie SA', null, null, null, null, null, 99, 99, 10, 0, "
            "10)"));
        f.run(QStringLiteral("insert into facture_corps (inc_facture, type1, inc_liv, date_liv, destination) values "
                             "(7001, 'PLAQUETTE', 11, '2024-03-07', 'Chaufferie Nord'), "
                             "(7001, 'GRUME', 12, '2024-03-08', 'Chaufferie Nord'), "
                             "(7001, 'GRUME', 13, '2024-03-09', 'Chaufferie Nord'), "
                             "(7002, 'PLAQUETTE', 11, '2024-03-07', 'Chaufferie Nord')"));
        f.run(QStringLiteral(
            "insert into facture_corps_detail (inc_facture, inc_corps, origine, essence, qualite, qte_liv, unite_liv, "
            "prix_unit, prix_total, humidite, pefc) values "
            "(7001, 11, 'PLAQUETTE', 'Plaquette', 'P45', 33.66, 'MWH', 30, 1009.8, 35, 62.4), "
            "(7001, 11, 'PLAQUETTE', 'Plaquette', 'P45', 10, 'T', 20, 200, 0, 62.4), "
            "(7001, 12, 'GRUME/STERE', 'Chêne', 'B', 5, 'Stere', 50, 250, null, 62.4), "
            "(7001, 12, 'GRUME/STERE', 'Hêtre', 'C', 1, 'Stere', 48.73, 48.73, 5, null), "
            "(7001, 13, 'GRUME', 'Chêne', 'A', 0, 'm3', 0, 0, 0, null), "
            "(7002, 11, 'PLAQUETTE', 'Plaquette', 'P45', -33.66, 'MWH', 30, -1009.8, 35, 62.4)"));

        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("title") << 7001 << "titre" << QStringList{"FACTURE  n° 7001"};
        QTest::newRow("date") << 7001 << "date_fac" << QStringList{"31/03/2024"};
        QTest::newRow("billing") << 7001 << "client_fac" << QStringList{"Chaufferie SA"};
        QTest::newRow("moisture 35, 0, empty, 5, 0") << 7001 << "humidite" << QStringList{"35,000", "5,000"};
        QTest::newRow("moisture heading") << 7001 << "memo_hu" << QStringList{"Humidité(%)", "Humidité(%)"};
        QTest::newRow("PEFC for chips only") << 7001 << "pefc" << QStringList{"PEFC : 62 %", "PEFC : 62 %"};
        QTest::newRow("quantity and unit")
            << 7001 << "quantite" << QStringList{"33,66 MWH", "10,00 T", "5,00 Stere", "1,00 Stere", "0,00 m3"};
        QTest::newRow("unit price") << 7001 << "prix_unit"
                                    << QStringList{"30,00€", "20,00€", "50,00€", "48,73€", "0,00€"};
        QTest::newRow("rate label") << 7001 << "libelle_tva" << QStringList{"Total TVA (5,5%)"};
        QTest::newRow("total HT") << 7001 << "total_ht" << QStringList{"1 508,53  €"};
        QTest::newRow("total TTC") << 7001 << "total_ttc" << QStringList{"1 591,50  €"};
        QTest::newRow("to pay") << 7001 << "a_payer" << QStringList{"1 591,50  €"};
        QTest::newRow("payment mode") << 7001 << "reglement" << QStringList{"Virement à 30 jours"};
        QTest::newRow("due date") << 7001 << "echeance" << QStringList{"30/04/2024"};
        QTest::newRow("company comment") << 7001 << "commentaire_fac" << QStringList{"Pas d'escompte"};
        QTest::newRow("credit note title") << 7002 << "titre" << QStringList{"AVOIR  n° 7002"};
        QTest::newRow("credit note quantity") << 7002 << "quantite" << QStringList{"-33,66 MWH"};
        QTest::newRow("credit note total") << 7002 << "a_payer" << QStringList{"-1 591,50  €"};
        QTest::newRow("credit note tax") << 7002 << "total_tva" << QStringList{"-82,97  €"};
        QTest::newRow("deleted rate") << 7003 << "libelle_tva" << QStringList{"Total TVA (%)"};
        QTest::newRow("deleted mode") << 7003 << "reglement" << QStringList{""};
    }

    void invoiceTexts()
    {
        QFETCH(int, number);
        QFETCH(QString, item);
        QFETCH(QStringList, texts);
        QCOMPARE(invoiceOf(f, number).textsNamed(item), texts);
    }

    // A long invoice: several pages, the payment and totals on the last one only.
    void longInvoiceTotalsOnLastPage()
    {
        f.run(QStringLiteral("insert into facture_entete (num_facture, type_fac, date_fac, inc_tva, inc_reglement, "
                             "montant_ht, montant_tva, montant_ttc) values (7010, 'FACTURE', '2024-05-02', 1, 1, "
                             "600, 33, 633)"));
        f.run(QStringLiteral("insert into facture_corps (inc_facture, type1, inc_liv) values (7010, 'GRUME', 21)"));
        f.run(QStringLiteral("insert into facture_corps_detail (inc_facture, inc_corps, origine, essence, qte_liv, "
                             "prix_unit, prix_total) select 7010, 21, 'GRUME', concat('Essence ', seq), 1, 10, 10 "
                             "from seq_1_to_60"));
        const ReportDocument document = invoiceOf(f, 7010);
        QVERIFY(document.pageCount() >= 2);
        QCOMPARE(document.textsNamed(QStringLiteral("essence")).size(), 60);
        QCOMPARE(document.textsNamed(QStringLiteral("total_ht")), QStringList{"600,00  €"});
        QCOMPARE(document.textsNamed(QStringLiteral("reglement")).size(), 1);
        QVERIFY(document.texts(document.pageCount() - 1).contains(QStringLiteral("600,00  €")));
        QVERIFY(!document.texts(0).contains(QStringLiteral("MODE DE REGLEMENT")));
        // The title is repeated on every page.
        QCOMPARE(document.textsNamed(QStringLiteral("titre")).size(), document.pageCount());
    }

    // imp_facture: nothing for a number of 0 or less; "Imprimer" goes to the printer dialog.
    void invoiceScreen()
    {
        test::ModalScript screens;
        printInvoiceDocument(f.context, 0, nullptr);
        QCOMPARE(screens.shown(), QStringList());
        bool printDialogShown = false;
        screens.then([&](QDialog &d) {
            auto &preview = static_cast<ReportPreview &>(d);
            if (!preview.document().texts(0).contains(QStringLiteral("FACTURE  n° 7001")))
                QTest::qFail("not the invoice", __FILE__, __LINE__);
            QTimer::singleShot(0, [&] {
                if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                    printDialogShown = true;
                    dialog->reject();
                }
            });
            button(d, "imprimer")->click();
            return d.result();
        });
        printInvoiceDocument(f.context, 7001, nullptr);
        QCOMPARE(screens.shown(), QStringList{"imp_facture"});
        QVERIFY(printDialogShown);
    }
};

QTEST_MAIN(TestSalesDocuments)
#include "tst_salesdocuments.moc"
