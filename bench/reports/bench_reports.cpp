// Lays out the contractor actions statement and the deliveries of a lot with many lines, writes
// them as PDF, and prints a table of the time and memory of each step.
//
//   bench_reports [--rows 2000] [--keep <folder>]
//
// Runs offscreen (QT_QPA_PLATFORM=offscreen is set when nothing else is).

#include "contractoractions.h"
#include "lotdeliveries.h"
#include "platform.h"
#include "reportlayout.h"
#include "reportpainter.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

using namespace ravelin;

namespace {

double currentMemoryMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2) return 0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

DataTable actions(int rows)
{
    DataTable t({"fac_fournisseur", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    t.reserve(rows);
    const QStringList kinds = {"LIV. GRUME", "LIV. PLAQUETTE", "TRANSFERT", "COUPE"};
    for (int r = 1; r <= rows; ++r) {
        t.addRow({QStringLiteral("NON"), kinds[r % 4], QStringLiteral("SARL Débardage Martin"),
                  QString::number(1000 + r % 300), 1, QDate(2024, 12, 31).addDays(-r / 10), qlonglong(r % 40),
                  87.35 * (r % 53 + 1), 0, QStringLiteral("TRANSPORT"), QStringLiteral("T")});
    }
    return t;
}

DataTable deliveries(int rows)
{
    DataTable t({"n0", "inc_cde", "type_cde", "date_creation", "descriptif", "essence", "qualite", "m3", "n_lot",
                 "lieu", "qte_liv", "qte_defaut", "unite_liv", "unite_defaut", "prix_unit", "prix_total", "stock",
                 "ticket", "lettre_voiture"});
    t.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        t.addRow({QStringLiteral("€"), r, r % 2 ? QStringLiteral("LIVRAISON") : QStringLiteral("PLAQUETTE"),
                  QDateTime(QDate(2020, 1, 1).addDays(r / 5), QTime(9, 0)), QStringLiteral("VOLUME"),
                  QStringLiteral("Chêne"), QStringLiteral("Qualité A"), 3.5, QStringLiteral("1042"),
                  QStringLiteral("Scierie Dupont"), 3.5, 3.5 + r % 7, QStringLiteral("m3"), QStringLiteral("m3"), 40.0,
                  140.0, QStringLiteral("COUPE"), QStringLiteral("T-%1").arg(r), QStringLiteral("LV%1").arg(r)});
    }
    return t;
}

struct Row
{
    QString step;
    double ms;
    double memoryMb;
    double peakMb;
    QString note;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("rows"), QStringLiteral("Lines per document."), QStringLiteral("n"), QStringLiteral("2000")});
    parser.addOption(
        {QStringLiteral("keep"), QStringLiteral("Folder where the PDF files are kept."), QStringLiteral("folder")});
    parser.process(app);
    const int rows = parser.value(QStringLiteral("rows")).toInt();
    QTemporaryDir temporary;
    const QString folder =
        parser.isSet(QStringLiteral("keep")) ? parser.value(QStringLiteral("keep")) : temporary.path();

    QList<Row> table;
    QTextStream out(stdout);
    const auto measure = [&](const QString &step, const std::function<QString()> &work) {
        QElapsedTimer timer;
        timer.start();
        const QString note = work();
        table.append(Row{step, timer.nsecsElapsed() / 1e6, currentMemoryMb(), peakMemoryMb(), note});
    };
    table.append(Row{QStringLiteral("start"), 0, currentMemoryMb(), peakMemoryMb(), QString()});

    struct Document
    {
        QString name;
        std::function<ReportData()> data;
    };
    const QList<Document> documents = {
        {QStringLiteral("contractor_actions"),
         [&] {
             return contractorActionsData(actions(rows), QStringLiteral("SARL Débardage Martin"), QDate(2020, 1, 1),
                                          QDate(2024, 12, 31));
         }},
        {QStringLiteral("lot_deliveries"),
         [&] {
             return lotDeliveriesData(deliveries(rows), 1042, QStringLiteral("Saint-Agrève"),
                                      QStringLiteral("Les Sagnes"));
         }},
    };

    int failures = 0;
    for (const Document &d : documents) {
        ReportData data;
        measure(d.name + QStringLiteral(": data"), [&] {
            data = d.data();
            return QStringLiteral("%1 lines").arg(rows);
        });
        Result<ReportDocument> document = Error();
        measure(d.name + QStringLiteral(": layout"), [&] {
            document = layoutReport(d.name, data);
            if (!document) {
                ++failures;
                return document.error().fullText();
            }
            return QStringLiteral("%1 pages").arg(document->pageCount());
        });
        if (!document) continue;
        const QString path = folder + QLatin1Char('/') + d.name + QStringLiteral(".pdf");
        measure(d.name + QStringLiteral(": PDF"), [&] {
            const Status written = writeReportPdf(*document, path);
            if (!written) {
                ++failures;
                return written.error().fullText();
            }
            return QStringLiteral("%1 kB").arg(QFileInfo(path).size() / 1024);
        });
    }

    out << QStringLiteral("%1 | %2 | %3 | %4 | %5\n")
               .arg(QStringLiteral("step"), -28)
               .arg(QStringLiteral("time (ms)"), 10)
               .arg(QStringLiteral("memory (MB)"), 12)
               .arg(QStringLiteral("peak (MB)"), 10)
               .arg(QStringLiteral("result"));
    out << QString(28, QLatin1Char('-')) << "-|-" << QString(10, QLatin1Char('-')) << "-|-"
        << QString(12, QLatin1Char('-')) << "-|-" << QString(10, QLatin1Char('-')) << "-|-"
        << QString(20, QLatin1Char('-')) << '\n';
    for (const Row &r : table) {
        out << QStringLiteral("%1 | %2 | %3 | %4 | %5\n")
                   .arg(r.step, -28)
                   .arg(r.ms, 10, 'f', 1)
                   .arg(r.memoryMb, 12, 'f', 1)
                   .arg(r.peakMb, 10, 'f', 1)
                   .arg(r.note);
    }
    if (parser.isSet(QStringLiteral("keep"))) out << "PDF files in " << folder << '\n';
    return failures == 0 ? 0 : 1;
}
