// The band layout: pages, repeated headers, nested data sets, groups, visibility conditions,
// pictures and the errors of broken templates. Data sets are built in memory.

#include "reportlayout.h"
#include "reportvalues.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

namespace {

Result<ReportTemplate> templateFrom(const QString &xml, const QString &folder = QString())
{
    return ReportTemplate::fromXml(xml.toUtf8(), QStringLiteral("essai.xml"), folder);
}

DataTable numberedLines(int count)
{
    DataTable lines({QStringLiteral("n"), QStringLiteral("essence"), QStringLiteral("qte")});
    for (int i = 1; i <= count; ++i)
        lines.addRow({i, i % 2 ? QStringLiteral("Chêne") : QStringLiteral("Hêtre"), 1.5 * i});
    return lines;
}

// A list with a page header, one line per row, a footer and a page footer holding the page number.
const char *const kListTemplate = R"xml(<report page="A4" orientation="portrait" margins="10">
  <band type="pageHeader" height="20">
    <text name="titre" x="0" y="0" w="190" h="8">LISTE</text>
  </band>
  <band type="detail" dataset="lignes" height="6">
    <band type="header" height="6" repeat="true"><text name="colonnes" x="0" w="100">Essence</text></band>
    <field name="ligne" expr="line() + ' ' + lignes.essence" x="0" w="100"/>
    <field name="qte" expr="lignes.qte" format="#,##0.00" x="120" w="40" align="right"/>
    <band type="footer" height="10">
      <field name="nombre" expr="count()" x="0" w="40"/>
      <field name="total" expr="sum(lignes.qte)" format="#,##0.00" x="120" w="40" align="right"/>
    </band>
  </band>
  <band type="pageFooter" height="8" %1>
    <field name="page" expr="'Page ' + page() + ' / ' + pages()" x="0" w="190" align="center"/>
  </band>
</report>)xml";

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void breaksPagesAndRepeatsThePageHeader_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("columnHeads");
        QTest::addColumn<QString>("total");

        // A4 portrait: 297 - 2 x 10 margins - 20 page header - 8 page footer = 249 mm; less the
        // 6 mm of column heads, 40 lines of 6 mm a page. The column heads are repeated on each
        // page that holds lines; a footer that no longer fits goes alone to the next page.
        QTest::newRow("3 rows") << 3 << 1 << 1 << "9,00";
        QTest::newRow("41 rows") << 41 << 2 << 2 << "1 291,50";
        QTest::newRow("120 rows, the footer on a page of its own") << 120 << 4 << 3 << "10 890,00";
    }

    void breaksPagesAndRepeatsThePageHeader()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(int, columnHeads);
        QFETCH(QString, total);

        auto report = templateFrom(QString::fromUtf8(kListTemplate).arg(QString()));
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), numberedLines(rows));
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));

        QCOMPARE(document->pageCount(), pages);
        QCOMPARE(document->textsNamed(QStringLiteral("titre")).size(), pages);
        QCOMPARE(document->textsNamed(QStringLiteral("colonnes")).size(), columnHeads);
        QStringList expectedPages;
        for (int p = 1; p <= pages; ++p) expectedPages << QStringLiteral("Page %1 / %2").arg(p).arg(pages);
        QCOMPARE(document->textsNamed(QStringLiteral("page")), expectedPages);
        const QStringList lines = document->textsNamed(QStringLiteral("ligne"));
        QCOMPARE(lines.size(), rows);
        QCOMPARE(lines.last(),
                 QStringLiteral("%1 %2").arg(rows).arg(rows % 2 ? QStringLiteral("Chêne") : QStringLiteral("Hêtre")));
        QCOMPARE(document->textsNamed(QStringLiteral("nombre")), QStringList{QString::number(rows)});
        QCOMPARE(document->textsNamed(QStringLiteral("total")), QStringList{total});

        // Every body item lies between the page header and the page footer.
        for (const ReportPage &page : document->pages) {
            for (const ReportItem &item : page.items) {
                if (item.band == QLatin1String("detail") || item.band == QLatin1String("footer") ||
                    item.band == QLatin1String("header")) {
                    QVERIFY(item.rect.top() >= 30 - 1e-6);
                    QVERIFY(item.rect.bottom() <= 297 - 10 - 8 + 1e-6);
                }
            }
        }
    }

    void pageFooterOnlyWhenTheDocumentHasOnePage_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("footers");
        QTest::newRow("one page") << 3 << 1;
        QTest::newRow("four pages") << 120 << 0;
    }

    void pageFooterOnlyWhenTheDocumentHasOnePage()
    {
        QFETCH(int, rows);
        QFETCH(int, footers);
        auto report = templateFrom(QString::fromUtf8(kListTemplate).arg(QStringLiteral("visible=\"pages() = 1\"")));
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), numberedLines(rows));
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->textsNamed(QStringLiteral("page")).size(), footers);
    }

    void subDetailIsReadForEachMasterRow_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("read by the caller for each row") << false;
        QTest::newRow("taken from one table by key") << true;
    }

    void subDetailIsReadForEachMasterRow()
    {
        QFETCH(bool, linked);
        const QString xml = QStringLiteral(R"xml(<report margins="10">
  <band type="master" dataset="entete" height="0">
    <band type="detail" dataset="corps" height="8">
      <field name="bl" expr="'BL : ' + corps.inc_liv" x="0" w="60" font="bold"/>
      <band type="subDetail" dataset="lignes" height="5">
        <band type="header" height="5"><text name="entetes" x="0" w="40" font="underline">Essence</text></band>
        <field name="ligne" expr="line() + '. ' + lignes.essence + ' ' + format(lignes.qte, '# ###.00')" x="5" w="100"/>
        <band type="footer" height="5">
          <field name="sous_total" expr="'BL ' + corps.inc_liv + ' : ' + sum(lignes.qte)" x="5" w="100"/>
        </band>
      </band>
      <band type="footer" height="5">
        <field name="total_bl" expr="count() + ' BL, ' + count(lignes) + ' lignes'" x="0" w="100"/>
      </band>
    </band>
  </band>
  <band type="summary" height="5">
    <field name="total" expr="'Total : ' + sum(lignes.qte)" x="0" w="100"/>
  </band>
  <band type="pageFooter" height="5">
    <field name="page" expr="page() + ' / ' + pages()" x="0" w="100"/>
  </band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));

        DataTable header({QStringLiteral("num_facture")});
        header.addRow({7});
        DataTable body({QStringLiteral("inc_liv"), QStringLiteral("type1")});
        body.addRow({101, QStringLiteral("GRUME")});
        body.addRow({102, QStringLiteral("PLAQUETTE")});
        body.addRow({103, QStringLiteral("GRUME")});
        DataTable allLines({QStringLiteral("inc_corps"), QStringLiteral("essence"), QStringLiteral("qte")});
        allLines.addRow({101, QStringLiteral("Chêne"), 10.0});
        allLines.addRow({101, QStringLiteral("Hêtre"), 2.5});
        allLines.addRow({102, QStringLiteral("Pin"), 1000.0});
        allLines.addRow({101, QStringLiteral("Frêne"), 1.0});

        ReportData data;
        data.setDataset(QStringLiteral("entete"), header);
        data.setDataset(QStringLiteral("corps"), body);
        int reads = 0;
        if (linked) {
            data.setLinkedDataset(QStringLiteral("lignes"), allLines, QStringLiteral("inc_corps"),
                                  QStringLiteral("inc_liv"));
        } else {
            data.setDetailSource(
                QStringLiteral("lignes"), allLines.columns(), [&](const DataRow &parent) -> Result<DataTable> {
                    ++reads;
                    DataTable rows(allLines.columns());
                    for (int r = 0; r < allLines.rowCount(); ++r) {
                        if (allLines.value(r, 0) == parent.value(QStringLiteral("inc_liv")))
                            rows.addRow({allLines.value(r, 0), allLines.value(r, 1), allLines.value(r, 2)});
                    }
                    return rows;
                });
        }
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        if (!linked) QCOMPARE(reads, 3); // once per body row, even with the page count's second pass

        QCOMPARE(document->toPlainText(), QStringLiteral("== page 1 ==\n"
                                                         "BL : 101\n"
                                                         "Essence\n"
                                                         "1. Chêne 10,00\n"
                                                         "2. Hêtre 2,50\n"
                                                         "3. Frêne 1,00\n"
                                                         "BL 101 : 13,5\n"
                                                         "BL : 102\n"
                                                         "Essence\n"
                                                         "1. Pin 1 000,00\n"
                                                         "BL 102 : 1000\n"
                                                         "BL : 103\n"
                                                         "3 BL, 4 lignes\n"
                                                         "Total : 1013,5\n"
                                                         "1 / 1\n"));
    }

    // A band's outline names each of its prints with the page it landed on; a group header gives
    // one entry per group.
    void outlineEntriesNameTheirPages()
    {
        const QString xml = QStringLiteral(R"xml(<report>
  <band type="detail" dataset="lignes" height="20">
    <field name="ligne" expr="lignes.n" x="10" w="20"/>
    <group by="lignes.essence">
      <band type="groupHeader" height="5" outline="lignes.essence + ' (' + lignes.n + ')'">
        <field name="groupe" expr="lignes.essence" x="0" w="50"/>
      </band>
    </group>
  </band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        DataTable lines({QStringLiteral("n"), QStringLiteral("essence"), QStringLiteral("qte")});
        const QStringList species{"Chêne", "Chêne", "Hêtre", "Hêtre", "Hêtre", "Hêtre", "Hêtre", "Hêtre",
                                  "Hêtre", "Hêtre", "Hêtre", "Hêtre", "Hêtre", "Hêtre", "Pin"};
        for (int i = 0; i < species.size(); ++i) lines.addRow({i + 1, species.at(i), 1.0});
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), lines);
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->pageCount(), 2);
        QCOMPARE(document->outline, (QList<ReportOutlineEntry>{{"Chêne (1)", 0}, {"Hêtre (3)", 0}, {"Pin (15)", 1}}));

        // An outline naming a column that is not there is refused like any other expression.
        auto broken = templateFrom(QString(xml).replace(QStringLiteral("lignes.n + ')'"), QStringLiteral("lignes.x")));
        QVERIFY(broken.ok());
        auto refused = layoutReport(*broken, data);
        QVERIFY(!refused.ok());
        QVERIFY2(refused.error().message.contains(QStringLiteral("lignes.x")), qPrintable(refused.error().message));
    }

    void groupsHaveHeadersAndFooters()
    {
        const QString xml = QStringLiteral(R"xml(<report>
  <band type="detail" dataset="lignes" height="5">
    <field name="ligne" expr="lignes.n" x="10" w="20"/>
    <group by="lignes.essence">
      <band type="groupHeader" height="5"><field name="groupe" expr="lignes.essence" x="0" w="50" font="bold"/></band>
      <band type="groupFooter" height="5">
        <field name="sous_total" expr="lignes.essence + ' : ' + count() + ' / ' + format(sum(lignes.qte), '0.00')" x="0" w="80"/>
      </band>
    </group>
    <band type="footer" height="5"><field name="total" expr="'Total ' + sum(lignes.qte)" x="0" w="80"/></band>
  </band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        DataTable lines({QStringLiteral("n"), QStringLiteral("essence"), QStringLiteral("qte")});
        lines.addRow({1, QStringLiteral("Chêne"), 1.0});
        lines.addRow({2, QStringLiteral("Chêne"), 2.0});
        lines.addRow({3, QStringLiteral("Pin"), 4.0});
        lines.addRow({4, QStringLiteral("Sapin"), 8.5});
        lines.addRow({5, QStringLiteral("Sapin"), 0.5});
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), lines);
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->texts(0), QStringList({"Chêne", "1", "2", "Chêne : 2 / 3,00", "Pin", "3", "Pin : 1 / 4,00",
                                                  "Sapin", "4", "5", "Sapin : 2 / 9,00", "Total 16"}));
    }

    void visibilityIsDecidedForEachRow_data()
    {
        QTest::addColumn<QVariant>("humidite");
        QTest::addColumn<QString>("origine");
        QTest::addColumn<bool>("moistureShown");
        QTest::addColumn<bool>("pefcShown");

        QTest::newRow("moisture 35, chips") << QVariant(35.0) << "PLAQUETTE" << true << true;
        QTest::newRow("moisture 0") << QVariant(0.0) << "PLAQUETTE" << false << true;
        QTest::newRow("moisture 5, one character") << QVariant(5.0) << "GRUME/STERE" << false << false;
        QTest::newRow("no moisture") << QVariant() << "GRUME/STERE" << false << false;
        QTest::newRow("moisture 35.5") << QVariant(35.5) << "GRUME/STERE" << true << false;
    }

    void visibilityIsDecidedForEachRow()
    {
        QFETCH(QVariant, humidite);
        QFETCH(QString, origine);
        QFETCH(bool, moistureShown);
        QFETCH(bool, pefcShown);

        const QString xml = QStringLiteral(R"xml(<report>
  <band type="detail" dataset="lignes" height="10">
    <field name="origine" expr="lignes.origine" x="0" w="30"/>
    <text name="entete_hu" x="40" w="30" visible="len(lignes.humidite) >= 2">Humidité(%)</text>
    <field name="humidite" expr="lignes.humidite" format="# ###.000" x="70" w="30" visible="len(lignes.humidite) >= 2"/>
    <field name="pefc" expr="'PEFC : ' + format(lignes.pefc, '0') + ' %'" x="100" y="5" w="40"
           visible="lignes.origine = 'PLAQUETTE'"/>
  </band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        DataTable lines({QStringLiteral("origine"), QStringLiteral("humidite"), QStringLiteral("pefc")});
        lines.addRow({origine, humidite, 62.4});
        lines.addRow({QStringLiteral("AUTRE"), 40.0, 10.0}); // the next row decides for itself
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), lines);
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));

        const QStringList moisture = document->textsNamed(QStringLiteral("humidite"));
        QCOMPARE(document->textsNamed(QStringLiteral("entete_hu")).size(), moistureShown ? 2 : 1);
        QCOMPARE(moisture.size(), moistureShown ? 2 : 1);
        if (moistureShown) QCOMPARE(moisture.first(), formatReportValueForTest(humidite));
        QCOMPARE(document->textsNamed(QStringLiteral("pefc")),
                 pefcShown ? QStringList{QStringLiteral("PEFC : 62 %")} : QStringList());
    }

    void hiddenRowsAreNeitherPrintedNorCounted()
    {
        const QString xml = QStringLiteral(R"xml(<report>
  <band type="detail" dataset="lignes" height="5" visible="lignes.qte > 3">
    <field name="ligne" expr="line() + ':' + lignes.n" x="0" w="30"/>
    <band type="footer" height="5"><field name="total" expr="count() + ' / ' + sum(lignes.qte)" x="0" w="40"/></band>
  </band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), numberedLines(4)); // qte 1.5, 3, 4.5, 6
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->texts(0), QStringList({"1:3", "2:4", "2 / 10,5"}));
    }

    void growingTextPushesTheNextBandDown()
    {
        const QString xml = QStringLiteral(R"xml(<report font="Arial 10">
  <band type="title" height="6">
    <field name="commentaire" expr="commentaire" x="0" w="40" h="5" grow="true"/>
  </band>
  <band type="detail" dataset="lignes" height="5"><field name="ligne" expr="lignes.n" x="0" w="20"/></band>
</report>)xml");
        auto report = templateFrom(xml);
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        ReportData data;
        data.setDataset(QStringLiteral("lignes"), numberedLines(1));
        data.setValue(QStringLiteral("commentaire"),
                      QStringLiteral(
                          "Première ligne du commentaire\nDeuxième ligne qui est assez longue pour passer à la ligne"));
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        const QList<ReportItem> &items = document->pages.first().items;
        QCOMPARE(items.size(), 2);
        QVERIFY2(items[0].rect.height() > 12, qPrintable(QString::number(items[0].rect.height())));
        QVERIFY(items[0].wrap);
        QCOMPARE(items[1].rect.top(), items[0].rect.bottom());
    }

    void pictureComesFromTheWorkingFolderElseFromTheTemplate_data()
    {
        QTest::addColumn<bool>("logoInFolder");
        QTest::newRow("logo.jpg present") << true;
        QTest::newRow("no logo.jpg") << false;
    }

    void pictureComesFromTheWorkingFolderElseFromTheTemplate()
    {
        QFETCH(bool, logoInFolder);
        QTemporaryDir templateFolder, workingFolder;
        QImage own(30, 10, QImage::Format_RGB32);
        own.fill(Qt::blue);
        QVERIFY(own.save(templateFolder.filePath(QStringLiteral("propre.png"))));
        if (logoInFolder) {
            QImage logo(40, 20, QImage::Format_RGB32);
            logo.fill(Qt::green);
            QVERIFY(logo.save(workingFolder.filePath(QStringLiteral("logo.jpg"))));
        }
        const QString xml = QStringLiteral(R"xml(<report>
  <band type="pageHeader" height="40">
    <picture name="logo" file="logo.jpg" src="propre.png" x="0" y="0" w="107" h="37"/>
  </band>
</report>)xml");
        auto report = templateFrom(xml, templateFolder.path());
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        ReportData data;
        data.setPictureFolder(workingFolder.path());
        auto document = layoutReport(*report, data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        const ReportItem &picture = document->pages.first().items.first();
        QCOMPARE(picture.kind, ReportItem::Kind::Picture);
        QCOMPARE(picture.image.size(), logoInFolder ? QSize(40, 20) : QSize(30, 10));
        QCOMPARE(picture.rect, QRectF(10, 10, 107, 37));
    }

    void brokenTemplateNamesFileLineAndName_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("what");

        const QString head = QStringLiteral("<report>\n<band type=\"detail\" dataset=\"lignes\" height=\"5\">\n");
        const QString tail = QStringLiteral("</band>\n</report>\n");
        QTest::newRow("not XML") << head + QStringLiteral("<field x=\"0\" w=\"10\" expr=\"lignes.n\">\n") + tail << 4
                                 << "XML illisible";
        QTest::newRow("unknown data set")
            << QStringLiteral("<report>\n\n<band type=\"detail\" dataset=\"lignez\" height=\"5\">\n") + tail << 3
            << "jeu de données « lignez » inconnu";
        QTest::newRow("unknown column") << head +
                                               QStringLiteral("<field x=\"0\" w=\"10\" expr=\"lignes.quantite\"/>\n") +
                                               tail
                                        << 3 << "colonne « lignes.quantite » inconnue";
        QTest::newRow("unknown data set in a field")
            << head + QStringLiteral("\n<field x=\"0\" w=\"10\" expr=\"lots.lieu\"/>\n") + tail << 4
            << "jeu de données « lots » inconnu";
        QTest::newRow("unknown value") << head +
                                              QStringLiteral("<field x=\"0\" w=\"10\" expr=\"'Du : ' + debut\"/>\n") +
                                              tail
                                       << 3 << "valeur « debut » inconnue";
        QTest::newRow("bad expression") << head + QStringLiteral("<field x=\"0\" w=\"10\" expr=\"lignes.n +\"/>\n") +
                                               tail
                                        << 3 << "expression « lignes.n + » incorrecte";
        QTest::newRow("unknown element") << head + QStringLiteral("<champ x=\"0\" w=\"10\"/>\n") + tail << 3
                                         << "élément <champ> inconnu";
        QTest::newRow("unknown attribute")
            << head + QStringLiteral("<field x=\"0\" w=\"10\" exp=\"lignes.n\"/>\n") + tail << 3
            << "attribut « exp » inconnu";
        QTest::newRow("unknown band type")
            << QStringLiteral("<report>\n<band type=\"entete\" height=\"5\"/>\n</report>\n") << 2
            << "type de bande « entete » inconnu";
        QTest::newRow("sum of nothing") << head + QStringLiteral("<field x=\"0\" w=\"10\" expr=\"sum(2)\"/>\n") + tail
                                        << 3 << "sum() doit porter sur une colonne";
        QTest::newRow("dependent data set at the top")
            << QStringLiteral("<report>\n<band type=\"detail\" dataset=\"details\"/>\n</report>\n") << 2
            << "« details » se lit pour chaque ligne";
    }

    void brokenTemplateNamesFileLineAndName()
    {
        QFETCH(QString, xml);
        QFETCH(int, line);
        QFETCH(QString, what);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("casse.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(xml.toUtf8());
        file.close();

        ReportData data;
        data.setDataset(QStringLiteral("lignes"), numberedLines(2));
        data.setDetailSource(QStringLiteral("details"), {QStringLiteral("x")},
                             [](const DataRow &) -> Result<DataTable> { return DataTable(); });
        Result<ReportDocument> document = [&]() -> Result<ReportDocument> {
            auto report = ReportTemplate::loadFile(path);
            if (!report) return report.error();
            return layoutReport(*report, data);
        }();
        QVERIFY(!document.ok());
        const QString message = document.error().message;
        QVERIFY2(message.startsWith(QStringLiteral("Modèle d'impression casse.xml, ligne %1 : ").arg(line)),
                 qPrintable(message));
        QVERIFY2(message.contains(what), qPrintable(message));
        QCOMPARE(document.error().detail, path);
    }

    void missingTemplateIsAnError()
    {
        auto byPath = ReportTemplate::loadFile(QStringLiteral("/nonexistent/absent.xml"));
        QVERIFY(!byPath.ok());
        QVERIFY2(byPath.error().message.contains(QStringLiteral("absent.xml")), qPrintable(byPath.error().message));
        auto byName = ReportTemplate::load(QStringLiteral("absent"));
        QVERIFY(!byName.ok());
        QVERIFY2(byName.error().message.contains(QStringLiteral("absent.xml")), qPrintable(byName.error().message));
    }

    void overrideFolderReplacesTheCompiledTemplate()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("lot_deliveries.xml")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<report><band type=\"title\" height=\"5\"><text name=\"t\" x=\"0\" w=\"50\">Autre "
                   "modèle</text></band></report>");
        file.close();
        qputenv("RAVELIN_REPORT_TEMPLATES", folder.path().toLocal8Bit());
        auto document = layoutReport(QStringLiteral("lot_deliveries"), ReportData());
        qunsetenv("RAVELIN_REPORT_TEMPLATES");
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->textsNamed(QStringLiteral("t")), QStringList{QStringLiteral("Autre modèle")});
    }

private:
    static QString formatReportValueForTest(const QVariant &v)
    {
        return formatReportValue(v, QStringLiteral("# ###.000"));
    }
};

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
