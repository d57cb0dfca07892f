// The first two documents, the contractor actions statement and the deliveries of a lot, laid
// out and written as PDF with data sets built in memory.

#include "contractoractions.h"
#include "lotdeliveries.h"
#include "reportpainter.h"
#include "reporttestutil.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

namespace {

const QDateTime kPrintDate(QDate(2024, 4, 2), QTime(8, 30));

ReportData documentData(const QString &document, int rows)
{
    ReportData data;
    if (document == QLatin1String("contractor_actions")) {
        data = contractorActionsData(test::contractorActions(rows), QStringLiteral("SARL Débardage Martin"),
                                     QDate(2024, 3, 1), QDate(2024, 3, 31));
    } else {
        data = lotDeliveriesData(test::lotDeliveries(rows), 1042, QStringLiteral("Saint-Agrève"),
                                 QStringLiteral("Les Sagnes"));
    }
    data.setPrintDate(kPrintDate);
    return data;
}

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestReportDocuments : public QObject
{
    Q_OBJECT

private slots:
    void laysOut_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("sampleRow");
        QTest::addColumn<QString>("sampleQuantity");

        // Landscape A4: 190 mm between the margins. The statement's page header takes 36 mm and
        // leaves 30 lines of 5 mm; the deliveries' takes 31 mm and leaves 31 lines. The footer
        // goes to the next page when the last page is full.
        QTest::newRow("actions, 3 rows") << "contractor_actions" << 3 << 1 << "ACTIONS INTERVENANTS"
                                         << "601,50 €" << 2 << "300,75 €";
        QTest::newRow("actions, 120 rows") << "contractor_actions" << 120 << 5 << "ACTIONS INTERVENANTS"
                                           << "727 815,00 €" << 12 << "1 303,25 €";
        QTest::newRow("deliveries, 3 rows")
            << "lot_deliveries" << 3 << 1 << "Liste des LIVRAISONS réalisées sur le lot 1042"
            << "75,00" << 0 << "12,50";
        QTest::newRow("deliveries, 120 rows")
            << "lot_deliveries" << 120 << 4 << "Liste des LIVRAISONS réalisées sur le lot 1042"
            << "90750,00" << 99 << "1250,00";
    }

    void laysOut()
    {
        QFETCH(QString, document);
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(QString, heading);
        QFETCH(QString, total);
        QFETCH(int, sampleRow);
        QFETCH(QString, sampleQuantity);

        const ReportData data = documentData(document, rows);
        auto laidOut =
            document == QLatin1String("contractor_actions") ? layoutContractorActions(data) : layoutLotDeliveries(data);
        QVERIFY2(laidOut.ok(), qPrintable(laidOut.error().message));

        QCOMPARE(laidOut->pageCount(), pages);
        QCOMPARE(laidOut->orientation, QPageLayout::Landscape);
        for (int p = 0; p < pages; ++p) {
            const QStringList texts = laidOut->texts(p);
            QVERIFY2(texts.contains(heading), qPrintable(QStringLiteral("page %1").arg(p + 1)));
            QVERIFY(texts.contains(QStringLiteral("02/04/2024")));
        }
        const QString quantityItem =
            document == QLatin1String("contractor_actions") ? QStringLiteral("cout") : QStringLiteral("quantite");
        const QStringList quantities = laidOut->textsNamed(quantityItem);
        QCOMPARE(quantities.size(), rows);
        QCOMPARE(quantities[sampleRow], sampleQuantity);
        QCOMPARE(laidOut->textsNamed(QStringLiteral("nombre")), QStringList{QString::number(rows)});
        QCOMPARE(laidOut->textsNamed(QStringLiteral("total")), QStringList{total});
    }

    // The whole text of the three-line documents, page header to footer.
    void matchesExpectedText_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("contractor actions") << "contractor_actions";
        QTest::newRow("lot deliveries") << "lot_deliveries";
    }

    void matchesExpectedText()
    {
        QFETCH(QString, document);
        const ReportData data = documentData(document, 3);
        auto laidOut =
            document == QLatin1String("contractor_actions") ? layoutContractorActions(data) : layoutLotDeliveries(data);
        QVERIFY2(laidOut.ok(), qPrintable(laidOut.error().message));
        const QString expectedPath = QStringLiteral(RAVELIN_REPORT_TEST_DATA "/%1_3rows.txt").arg(document);
        if (qEnvironmentVariableIsSet("RAVELIN_UPDATE_EXPECTED")) {
            // After a deliberate change of a template: rewrite the expected text, then review the diff.
            QFile file(expectedPath);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(laidOut->toPlainText().toUtf8());
        }
        QCOMPARE(laidOut->toPlainText(), readFile(expectedPath));
    }

    void writesPdf_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("actions, 3 rows")
            << "contractor_actions" << 3 << 1
            << QStringList{"SARL Débardage Martin 02/04/2024",
                           "ACTIONS INTERVENANTS",
                           "Du : vendredi 01 mars 2024 Au : dimanche 31 mars 2024",
                           "Nom Type action Opération N°Lot Date Quantité Coût total €",
                           "SARL Débardage Martin LIV. GRUME TRANSPORT 201 31/03/2024 11 T 100,25 €",
                           "Nombre d'action : 3 TOTAL : 601,50 €"};
        QTest::newRow("actions, 120 rows")
            << "contractor_actions" << 120 << 5 << QStringList{"Nombre d'action : 120 TOTAL : 727 815,00 €"};
        QTest::newRow("deliveries, 3 rows")
            << "lot_deliveries" << 3 << 1
            << QStringList{"Saint-Agrève ( Les Sagnes ) 02/04/2024", "Liste des LIVRAISONS réalisées sur le lot 1042",
                           "Type Cde Date livraison Essence Qualite Quantité Unité Ticket pesée Lettre de voiture",
                           "PLAQUETTE 02/01/2024 Plaquette Humide 25,00 m3 T-2 LV2",
                           "Nombre de ligne : 3 TOTAL : 75,00"};
    }

    void writesPdf()
    {
        QFETCH(QString, document);
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(QStringList, expected);

        const ReportData data = documentData(document, rows);
        auto laidOut =
            document == QLatin1String("contractor_actions") ? layoutContractorActions(data) : layoutLotDeliveries(data);
        QVERIFY2(laidOut.ok(), qPrintable(laidOut.error().message));

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("report.pdf"));
        QFile stale(path); // an older file is replaced without a question
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("ancien");
        stale.close();
        const Status written = writeReportPdf(*laidOut, path);
        QVERIFY2(written.ok(), qPrintable(written.error().fullText()));

        const QString raw = test::pdfText(path);
        QCOMPARE(raw.count(QLatin1Char('\f')), pages);
        const QString text = test::simplifiedText(raw);
        for (const QString &line : expected)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n\n") + raw.left(3000)));
    }

    void unwritableFolderIsAnError()
    {
        auto laidOut = layoutContractorActions(documentData(QStringLiteral("contractor_actions"), 3));
        QVERIFY(laidOut.ok());
        const Status written = writeReportPdf(*laidOut, QStringLiteral("/nonexistent-folder/report.pdf"));
        QVERIFY(!written.ok());
        QCOMPARE(written.error().message, QStringLiteral("Impossible d'écrire le fichier PDF report.pdf."));
    }
};

QTEST_MAIN(TestReportDocuments)
#include "tst_reportdocuments.moc"
