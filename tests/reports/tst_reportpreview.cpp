// The preview window shared by every printed document, and the chart widget.

#include "chartwidget.h"
#include "contractoractions.h"
#include "reportlayout.h"
#include "reportpreview.h"
#include "reporttestutil.h"
#include "scripteddialogs.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QFileInfo>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QListWidget>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

Q_DECLARE_METATYPE(ravelin::ChartMarks)

namespace {

// Forty actions: two landscape pages.
ReportDocument twoPageStatement()
{
    ReportData data = contractorActionsData(test::contractorActions(40), QStringLiteral("SARL Débardage Martin"),
                                            QDate(2024, 3, 1), QDate(2024, 3, 31));
    auto document = layoutContractorActions(data);
    if (!document) qFatal("%s", qPrintable(document.error().message));
    return *document;
}

QPushButton *button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

QString pdfInfo(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestReportPreview : public QObject
{
    Q_OBJECT

private slots:
    void showsThePagesMaximised()
    {
        test::ScriptedDialogs dialogs;
        ReportPreview preview(twoPageStatement(), dialogs);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QVERIFY(preview.windowState() & Qt::WindowMaximized);
        QCOMPARE(button(preview, "imprimer")->text(), QStringLiteral("Imprimer"));
        QCOMPARE(button(preview, "fermer")->text(), QStringLiteral("Fermer"));
        QVERIFY(!button(preview, "pdf")->isVisible());
        QCOMPARE(preview.findChild<QLabel *>(QStringLiteral("nombrePages"))->text(), QStringLiteral("2 pages"));

        // The pages are drawn: the first page holds dark text on white.
        QWidget *pages = preview.findChild<QScrollArea *>(QStringLiteral("apercu"))->widget();
        const QImage image = pages->grab().toImage();
        int dark = 0;
        for (int y = 0; y < qMin(image.height(), 400); ++y) {
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 60;
        }
        QVERIFY(dark > 500);

        const double zoom = preview.zoom();
        button(preview, "zoomIn")->click();
        QVERIFY(preview.zoom() > zoom);
        QVERIFY(pages->height() > image.height());
    }

    void closeButtonPrintsNothing()
    {
        test::ScriptedDialogs dialogs;
        QTemporaryDir folder;
        ReportPreview preview(twoPageStatement(), dialogs);
        preview.enablePdfExport(folder.filePath(QStringLiteral("report.pdf")));
        preview.show();
        button(preview, "fermer")->click();
        QCOMPARE(preview.result(), int(QDialog::Rejected));
        QVERIFY(!preview.isVisible());
        QVERIFY(dialogs.shown().isEmpty());
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("report.pdf"))));
    }

    void printsOnTheChosenPrinterThenCloses()
    {
        test::ScriptedDialogs dialogs;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("imprime.pdf"));
        ReportPreview preview(twoPageStatement(), dialogs);
        preview.show();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QVERIFY(preview.printOn(printer));
        QCOMPARE(preview.result(), int(QDialog::Accepted));
        QVERIFY(dialogs.shown().isEmpty());

        const QString raw = test::pdfText(path);
        QCOMPARE(raw.count(QLatin1Char('\f')), 2);
        QVERIFY(test::simplifiedText(raw).contains(QStringLiteral("Nombre d'action : 40 TOTAL : 82 205,00 €")));
        // A4 in landscape: wider than high.
        const auto size =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts \\(A4\\)")).match(pdfInfo(path));
        QVERIFY2(size.hasMatch(), qPrintable(pdfInfo(path)));
        QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());

        // Printed from the paper's corner: the contractor's name starts at the 10 mm margin
        // (28.3 points), not 10 mm further in.
        QProcess boxes;
        boxes.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                     QStringLiteral("1"), path, QStringLiteral("-")});
        QVERIFY(boxes.waitForFinished(60000));
        const auto first =
            QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>SARL</word>"))
                .match(QString::fromUtf8(boxes.readAllStandardOutput()));
        QVERIFY(first.hasMatch());
        QVERIFY2(first.captured(1).toDouble() > 27 && first.captured(1).toDouble() < 33, qPrintable(first.captured(1)));
        QVERIFY2(first.captured(2).toDouble() > 27 && first.captured(2).toDouble() < 40, qPrintable(first.captured(2)));
    }

    void pdfButtonWritesTheFileWithoutAsking_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::newRow("PDF") << "pdf";
        QTest::newRow("Imprimer writing the PDF") << "imprimer";
    }

    void pdfButtonWritesTheFileWithoutAsking()
    {
        QFETCH(QString, clicked);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("report.pdf"));
        for (int time = 0; time < 2; ++time) { // the second export replaces the first file
            test::ScriptedDialogs dialogs;
            ReportPreview preview(twoPageStatement(), dialogs);
            preview.enablePdfExport(path, QStringLiteral("Export PDF terminé : report.pdf"));
            preview.setPrintWritesPdf(clicked == QLatin1String("imprimer"));
            preview.show();
            QVERIFY(button(preview, "pdf")->isVisible());
            button(preview, qPrintable(clicked))->click();
            QCOMPARE(preview.result(), int(QDialog::Accepted));
            QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Export PDF terminé : report.pdf")});
            QVERIFY(test::simplifiedText(test::pdfText(path)).contains(QStringLiteral("ACTIONS INTERVENANTS")));
        }
    }

    void failedExportIsShownAndTheWindowStays()
    {
        test::ScriptedDialogs dialogs;
        ReportPreview preview(twoPageStatement(), dialogs);
        preview.enablePdfExport(QStringLiteral("/nonexistent-folder/report.pdf"),
                                QStringLiteral("Export PDF terminé : report.pdf"));
        preview.show();
        button(preview, "pdf")->click();
        QVERIFY(preview.isVisible());
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.lastCaption(), QStringLiteral("Erreur"));
        QVERIFY(dialogs.lastText().startsWith(QStringLiteral("Impossible d'écrire le fichier PDF report.pdf.")));
    }

    // The customer delivery detail's preview lists the outline of its document; a click shows the
    // entry's page. Other previews keep the panel hidden.
    void outlinePanelShowsTheEntrysPage()
    {
        auto report = ReportTemplate::fromXml(R"xml(<report>
  <band type="detail" dataset="clients" height="90" outline="clients.nom">
    <field name="nom" expr="clients.nom" x="0" w="100"/>
  </band>
</report>)xml",
                                              QStringLiteral("essai.xml"), QString());
        QVERIFY(report);
        DataTable customers({QStringLiteral("nom")});
        for (const char *name : {"Alix", "Bard", "Cade", "Dorin", "Ebert", "Fabre", "Gallet"})
            customers.addRow({QString::fromUtf8(name)});
        ReportData data;
        data.setDataset(QStringLiteral("clients"), customers);
        auto document = layoutReport(*report, data);
        QVERIFY(document);
        QCOMPARE(document->pageCount(), 3);

        test::ScriptedDialogs dialogs;
        ReportPreview plain(*document, dialogs);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QVERIFY(!plain.findChild<QListWidget *>(QStringLiteral("plan"))->isVisible());

        ReportPreview preview(*document, dialogs);
        preview.setOriginMarker(deliveryDetailMarker());
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        auto *outline = preview.findChild<QListWidget *>(QStringLiteral("plan"));
        QVERIFY(outline->isVisible());
        QCOMPARE(outline->width(), 121);
        QCOMPARE(outline->count(), 7);
        QCOMPARE(outline->item(6)->text(), QStringLiteral("Gallet"));
        QCOMPARE(preview.currentPage(), 0);
        const QRect entry = outline->visualItemRect(outline->item(6));
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, entry.center());
        QCOMPARE(preview.currentPage(), 2);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, outline->visualItemRect(outline->item(3)).center());
        QCOMPARE(preview.currentPage(), 1);
    }

    void pieChartMarksAndGroupsSmallSlices_data()
    {
        QTest::addColumn<ChartMarks>("marks");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("otherBelow");
        QTest::addColumn<QList<ChartPoint>>("points");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<double>>("values");

        const QList<ChartPoint> shares = {{"Chêne", 50}, {"Hêtre", 45}, {"Pin", 3}, {"Sapin", 2}};
        QTest::newRow("label and percent, small ones grouped")
            << ChartMarks::LabelAndPercent << 2 << 5.0 << shares
            << QStringList{"Chêne 50,0 %", "Hêtre 45,0 %", "Autre 5,0 %"} << QList<double>{50, 45, 5};
        QTest::newRow("label and value, rounded to units")
            << ChartMarks::LabelAndValue << 0 << 0.0 << QList<ChartPoint>{{"Zone A", 1234.4}, {"Zone B", 7.6}}
            << QStringList{"Zone A 1 234", "Zone B 8"} << QList<double>{1234, 8};
        QTest::newRow("labels, empty and negative slices left out")
            << ChartMarks::Label << 2 << 0.0 << QList<ChartPoint>{{"1", 2.345}, {"2", 0}, {"3", -4}, {"4", 1}}
            << QStringList{"1", "4"} << QList<double>{2.35, 1};
    }

    void pieChartMarksAndGroupsSmallSlices()
    {
        QFETCH(ChartMarks, marks);
        QFETCH(int, decimals);
        QFETCH(double, otherBelow);
        QFETCH(QList<ChartPoint>, points);
        QFETCH(QStringList, labels);
        QFETCH(QList<double>, values);

        ChartWidget chart;
        ChartOptions options;
        options.kind = ChartKind::Pie;
        options.title = QStringLiteral("stock");
        options.marks = marks;
        options.decimals = decimals;
        options.otherBelowPercent = otherBelow;
        chart.setOptions(options);
        chart.setPoints(points);

        QCOMPARE(chart.chart()->title(), QStringLiteral("stock"));
        QVERIFY(!chart.chart()->legend()->isVisible());
        auto *series = qobject_cast<QPieSeries *>(chart.chart()->series().value(0));
        QVERIFY(series);
        QStringList drawnLabels;
        QList<double> drawnValues;
        for (QPieSlice *slice : series->slices()) {
            QVERIFY(slice->isLabelVisible());
            drawnLabels << slice->label();
            drawnValues << slice->value();
        }
        QCOMPARE(drawnLabels, labels);
        QCOMPARE(drawnValues, values);
        QCOMPARE(chart.marks(), labels);
    }

    void barChartDrawsOneBarPerRow()
    {
        ChartWidget chart;
        ChartOptions options;
        options.kind = ChartKind::Bar;
        options.marks = ChartMarks::Value;
        chart.setOptions(options);
        chart.setPoints({{"Client A", 1500.456}, {"Client B", 320}});

        auto *series = qobject_cast<QBarSeries *>(chart.chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets().size(), 1);
        QBarSet *set = series->barSets().first();
        QCOMPARE(set->count(), 2);
        QCOMPARE(set->at(0), 1500.46);
        QCOMPARE(set->at(1), 320.0);
        QCOMPARE(set->color(), QColor(Qt::red));
        auto *axis = qobject_cast<QBarCategoryAxis *>(chart.chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->categories(), QStringList({"Client A", "Client B"}));
        QVERIFY(!chart.chart()->legend()->isVisible());
        QCOMPARE(chart.marks(), QStringList({"1 500,46", "320,00"}));
        QStringList drawnMarks;
        for (QGraphicsItem *item : chart.chart()->childItems()) {
            if (auto *text = dynamic_cast<QGraphicsSimpleTextItem *>(item)) drawnMarks << text->text();
        }
        QCOMPARE(drawnMarks, chart.marks());

        chart.clear();
        QVERIFY(chart.points().isEmpty());
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
