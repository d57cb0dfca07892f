// The e-invoice: its XML built from an invoice and a credit note read from a test database and
// checked against the Cross Industry Invoice schema with xmllint, refused with every reason at
// once; its PDF/A-3 file taken apart with libqpdf; the "Facture électronique" button of the
// invoice's print screen driven as a user would.

#include "documentprinting.h"
#include "facturx.h"
#include "facturxfixture.h"
#include "invoicedocument.h"
#include "modalscript.h"
#include "paths.h"
#include "pdfa3.h"
#include "pdfqpdf.h"
#include "reportpreview.h"
#include "reporttestutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
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

// The text of the first element `tag` of an XMP packet (of its rdf:li when it holds a list).
QString xmpText(const QString &xmp, const QString &tag)
{
    const QRegularExpression element(QStringLiteral("<%1>(.*?)</%1>").arg(QRegularExpression::escape(tag)),
                                     QRegularExpression::DotMatchesEverythingOption);
    QString inner = element.match(xmp).captured(1);
    const QRegularExpression item(QStringLiteral("<rdf:li[^>]*>(.*?)</rdf:li>"));
    if (const auto li = item.match(inner); li.hasMatch()) inner = li.captured(1);
    return inner.trimmed();
}

// "D:20240401093000+00'00'" and "2024-04-01T09:30:00+00:00" as instants.
QDateTime pdfDateTime(QString text)
{
    text.remove(QStringLiteral("D:")).remove(QLatin1Char('\''));
    return QDateTime::fromString(text, QStringLiteral("yyyyMMddHHmmsst"));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestFacturX : public QObject
{
    Q_OBJECT

    test::AppFixture f;
    QTemporaryDir m_folder;

    InvoiceSets setsOf(int number)
    {
        auto sets = readInvoice(f.db, number);
        if (!sets) qFatal("%s", qPrintable(sets.error().fullText()));
        return *sets;
    }

    QByteArray xmlOf(int number)
    {
        auto xml = facturXml(setsOf(number));
        if (!xml) qFatal("%s", qPrintable(xml.error().message));
        return *xml;
    }

    ReportDocument documentOf(const InvoiceSets &sets)
    {
        auto document = layoutInvoice(invoiceData(sets));
        if (!document) qFatal("%s", qPrintable(document.error().message));
        return *document;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        // this workstation's settings (the e-invoice's last folder) in a folder of the test's own
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.filePath(QStringLiteral("config")));
        f.open();
        test::loadFacturXDocuments(f);
    }

    void init() { f.dialogs.clear(); }

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
              "<ram:GrandTotalAmount>1591.50</ram:GrandTotalAmount>", "<ram:CountryID>FR</ram:CountryID>",
              "<ram:TypeCode>30</ram:TypeCode>", "<ram:IBANID>FR7630006000011234567890189</ram:IBANID>"})
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
        // the invoice it cancels
        QVERIFY(text.contains(QStringLiteral("<ram:InvoiceReferencedDocument>")));
        QVERIFY(text.contains(QStringLiteral("<ram:IssuerAssignedID>8001</ram:IssuerAssignedID>")));
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

    // The file of an invoice and of a credit note, taken apart: the pages as printed, the XML
    // attached as the archive format asks, and the metadata agreeing with the document information.
    void eInvoiceStructure_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("title");
        QTest::newRow("invoice") << 8001 << "FACTURE n° 8001";
        QTest::newRow("credit note") << 8002 << "AVOIR n° 8002";
    }
    void eInvoiceStructure()
    {
        QFETCH(int, number);
        QFETCH(QString, title);
        const InvoiceSets sets = setsOf(number);
        const ReportDocument document = documentOf(sets);
        const QString path = m_folder.filePath(facturXPdfName(sets));
        const QDateTime when(QDate(2024, 4, 1), QTime(9, 30), Qt::UTC);
        const Status written = writeFacturXInvoice(sets, document, path, when);
        QVERIFY2(written, qPrintable(written.ok() ? QString() : written.error().fullText()));

        const pdfqpdf::Inspection pdf = pdfqpdf::inspect(path, QStringLiteral("factur-x.xml"));
        QCOMPARE(pdf.error, QString());
        QCOMPARE(pdf.version, QStringLiteral("1.7"));
        QCOMPARE(pdf.pages, document.pageCount());
        QCOMPARE(pdf.fontsNotEmbedded, QStringList());
        QVERIFY(test::simplifiedText(test::pdfText(path))
                    .contains(sets.header.value(0, "type_fac").toString() + QStringLiteral(" n° ") +
                              QString::number(number)));

        // The one associated file, its /Filespec entry and its stream, also named in /EmbeddedFiles,
        // and the XML given back as built.
        QCOMPARE(pdf.associatedFiles, 1);
        QCOMPARE(pdf.specType, QStringLiteral("/Filespec"));
        QCOMPARE(pdf.specF, QStringLiteral("factur-x.xml"));
        QCOMPARE(pdf.specUF, QStringLiteral("factur-x.xml"));
        QCOMPARE(pdf.relationship, QStringLiteral("/Data"));
        QCOMPARE(pdf.streamType, QStringLiteral("/EmbeddedFile"));
        QCOMPARE(pdf.streamSubtype, QStringLiteral("/text/xml"));
        QCOMPARE(pdf.paramsModDate, QStringLiteral("D:20240401093000+00'00'"));
        QVERIFY(pdf.namedInEmbeddedFiles);
        QCOMPARE(pdf.embedded, *facturXml(sets));
        QCOMPARE(pdf.paramsSize, qint64(pdf.embedded.size()));

        // The XMP: unfiltered, PDF/A-3B with the Factur-X schema, saying what /Info says.
        QVERIFY(!pdf.metadataFiltered);
        QCOMPARE(pdf.metadataSubtype, QStringLiteral("/XML"));
        const QString &xmp = pdf.xmp;
        QCOMPARE(xmpText(xmp, QStringLiteral("pdfaid:part")), QStringLiteral("3"));
        QCOMPARE(xmpText(xmp, QStringLiteral("pdfaid:conformance")), QStringLiteral("B"));
        QCOMPARE(xmpText(xmp, QStringLiteral("fx:DocumentType")), QStringLiteral("INVOICE"));
        QCOMPARE(xmpText(xmp, QStringLiteral("fx:DocumentFileName")), QStringLiteral("factur-x.xml"));
        QCOMPARE(xmpText(xmp, QStringLiteral("fx:Version")), QStringLiteral("1.0"));
        QCOMPARE(xmpText(xmp, QStringLiteral("fx:ConformanceLevel")), QStringLiteral("EN 16931"));
        QVERIFY(xmp.contains(
            QStringLiteral("<pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#")));
        QCOMPARE(pdf.info.value("Title"), title);
        QCOMPARE(pdf.info.value("Author"), QStringLiteral("Bois du Morvan"));
        QCOMPARE(xmpText(xmp, QStringLiteral("dc:title")), pdf.info.value("Title"));
        QCOMPARE(xmpText(xmp, QStringLiteral("dc:creator")), pdf.info.value("Author"));
        QCOMPARE(xmpText(xmp, QStringLiteral("xmp:CreatorTool")), pdf.info.value("Creator"));
        QCOMPARE(xmpText(xmp, QStringLiteral("pdf:Producer")), pdf.info.value("Producer"));
        QCOMPARE(QDateTime::fromString(xmpText(xmp, QStringLiteral("xmp:CreateDate")), Qt::ISODate), when);
        QCOMPARE(pdfDateTime(pdf.info.value("CreationDate")), when);
        QCOMPARE(QDateTime::fromString(xmpText(xmp, QStringLiteral("xmp:ModifyDate")), Qt::ISODate), when);
        QCOMPARE(pdfDateTime(pdf.info.value("ModDate")), when);
        // Written by QPdfWriter as PDF/A: the colour intent and the identifier stay.
        QVERIFY(pdf.outputIntents);
        QVERIFY(pdf.identifier);
    }

    // The file is written whole or left as it was: a refused invoice and a folder that cannot be
    // written leave what was there.
    void eInvoiceWholeOrUntouched()
    {
        const QString path = m_folder.filePath(QStringLiteral("FACTURE_8003.pdf"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous file");
        old.close();
        const InvoiceSets refused = setsOf(8003);
        QVERIFY(!writeFacturXInvoice(refused, documentOf(refused), path));
        QCOMPARE(fileBytes(path), QByteArray("previous file"));

        const InvoiceSets sets = setsOf(8001);
        const QString nowhere = m_folder.filePath(QStringLiteral("absent/FACTURE_8001.pdf"));
        const Status written = writeFacturXInvoice(sets, documentOf(sets), nowhere);
        QVERIFY(!written);
        QCOMPARE(written.error().message, QStringLiteral("Impossible d'écrire le fichier PDF FACTURE_8001.pdf."));
        QVERIFY(!QFile::exists(nowhere));
    }

    // imp_facture: the button shows only when the company switched the e-invoice on; it proposes
    // FACTURE_<n>.pdf or AVOIR_<n>.pdf in the folder this workstation used last, writes the file
    // and says so; a refusal names every reason, asks nothing and writes nothing; the window stays
    // open for printing either way.
    void eInvoiceButton_data()
    {
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("folder");   // answered to the save dialog, in the test's folder
        QTest::addColumn<QString>("proposed"); // the file proposed, from the test's folder
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("switched off") << "NON" << 8001 << ""
                                      << "" << QStringList{};
        QTest::newRow("invoice") << "OUI" << 8001 << "envoi"
                                 << "documents/FACTURE_8001.pdf"
                                 << QStringList{"Facture électronique enregistrée : FACTURE_8001.pdf"};
        QTest::newRow("credit note, in the last folder")
            << "OUI" << 8002 << "envoi"
            << "envoi/AVOIR_8002.pdf" << QStringList{"Facture électronique enregistrée : AVOIR_8002.pdf"};
        QTest::newRow("cancelled") << "OUI" << 8001 << "-"
                                   << "envoi/FACTURE_8001.pdf" << QStringList{};
        QTest::newRow("refused") << "OUI" << 8003 << ""
                                 << "" << QStringList{"refused"};
    }
    void eInvoiceButton()
    {
        QFETCH(QString, enabled);
        QFETCH(int, number);
        QFETCH(QString, folder);
        QFETCH(QString, proposed);
        QFETCH(QStringList, messages);
        f.run(QStringLiteral("update perso set facture_electronique=?, siret=?"),
              {enabled, number == 8003 ? QString() : QStringLiteral("12345678900011")});
        if (QTest::currentDataTag() == QLatin1String("invoice"))
            QSettings(QStringLiteral("Ravelin")).remove(QStringLiteral("facture_electronique"));
        QDir(m_folder.path()).mkpath(QStringLiteral("envoi"));
        const QString written = folder.isEmpty() || folder == QLatin1String("-")
                                    ? QString()
                                    : m_folder.filePath(folder + QLatin1Char('/') + QFileInfo(proposed).fileName());
        if (!written.isEmpty()) QFile::remove(written);
        if (!proposed.isEmpty()) f.dialogs.answer(written); // the save dialog's answer (empty: cancelled)

        test::ModalScript screens;
        bool stillOpen = false;
        screens.then([&](QDialog &d) {
            auto *button = d.findChild<QPushButton *>(QStringLiteral("factureElectronique"));
            if (enabled == QLatin1String("NON")) {
                if (button) QTest::qFail("button shown while switched off", __FILE__, __LINE__);
                return int(QDialog::Rejected);
            }
            if (!button || button->text() != QStringLiteral("Facture électronique")) {
                QTest::qFail("no e-invoice button", __FILE__, __LINE__);
                return int(QDialog::Rejected);
            }
            button->click();
            stillOpen = d.result() == 0 && d.findChild<QPushButton *>(QStringLiteral("imprimer"));
            return int(QDialog::Rejected);
        });
        printInvoiceDocument(f.context, number, nullptr);
        QCOMPARE(screens.shown(), QStringList{"imp_facture"});
        if (enabled == QLatin1String("NON")) {
            QCOMPARE(f.dialogs.shown().size(), 0);
            return;
        }
        QVERIFY(stillOpen);
        QCOMPARE(f.dialogs.pendingAnswers(), 0);

        QStringList shownMessages;
        QString askedFor;
        for (const auto &shown : f.dialogs.shown()) {
            if (shown.kind == QLatin1String("saveFile")) askedFor = shown.text;
            else shownMessages << shown.text;
        }
        if (messages == QStringList{"refused"}) {
            QCOMPARE(askedFor, QString());
            QCOMPARE(shownMessages.size(), 1);
            for (const char *reason : {"SIRET", "taux de TVA nul", "unité inconnue : Palette", "pays inconnu : Narnia"})
                QVERIFY2(shownMessages.first().contains(QString::fromUtf8(reason)), qPrintable(shownMessages.first()));
            QVERIFY(!QFile::exists(m_folder.filePath(QStringLiteral("envoi/FACTURE_8003.pdf"))));
            return;
        }
        // First time: the user's documents; then the folder this workstation wrote to last.
        const QString expectedProposal = proposed.startsWith(QLatin1String("documents/"))
                                             ? QDir(documentsFolder()).filePath(QFileInfo(proposed).fileName())
                                             : m_folder.filePath(proposed);
        QCOMPARE(askedFor, expectedProposal);
        QCOMPARE(shownMessages, messages);
        if (written.isEmpty()) return;
        const pdfqpdf::Inspection pdf = pdfqpdf::inspect(written, QStringLiteral("factur-x.xml"));
        QCOMPARE(pdf.error, QString());
        QVERIFY(pdf.namedInEmbeddedFiles);
    }
};

QTEST_MAIN(TestFacturX)
#include "tst_facturx.moc"
