#include "listexport.h"
#include "sql.h"
#include "testdb.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace ravelin;

namespace {

// A worksheet read back from the XLSX file's own XML: each cell's text, and whether the file
// typed it as a number (dates are numbers with a date format).
struct SheetCell
{
    QString value;
    bool number = false;
    int style = 0;
};
using Sheet = QList<QList<SheetCell>>;

QByteArray unzipped(const QString &file, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    if (!unzip.waitForFinished(60000)) return {};
    return unzip.readAllStandardOutput();
}

int columnOf(const QString &reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (!c.isLetter()) break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

Sheet readSheet(const QString &file)
{
    Sheet rows;
    QXmlStreamReader xml(unzipped(file, QStringLiteral("xl/worksheets/sheet1.xml")));
    SheetCell cell;
    int column = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("row")) rows.append(QList<SheetCell>());
        else if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
            cell = SheetCell();
            const QString type = xml.attributes().value(QLatin1String("t")).toString();
            cell.number = type.isEmpty() || type == QLatin1String("n");
            cell.style = xml.attributes().value(QLatin1String("s")).toInt();
            column = columnOf(xml.attributes().value(QLatin1String("r")).toString());
        } else if (xml.isStartElement() && (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
            cell.value = xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            while (rows.last().size() < column) rows.last().append(SheetCell());
            rows.last().append(cell);
        }
    }
    return rows;
}

// The number format of each cell style of the workbook, by style index.
QStringList styleFormats(const QString &file)
{
    QXmlStreamReader xml(unzipped(file, QStringLiteral("xl/styles.xml")));
    QHash<int, QString> custom{{0, QStringLiteral("General")}, {14, QStringLiteral("mm-dd-yy")}};
    QStringList styles;
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("numFmt"))
            custom.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                          xml.attributes().value(QLatin1String("formatCode")).toString());
        else if (xml.isStartElement() && xml.name() == QLatin1String("cellXfs")) inCellXfs = true;
        else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) inCellXfs = false;
        else if (inCellXfs && xml.isStartElement() && xml.name() == QLatin1String("xf"))
            styles << custom.value(xml.attributes().value(QLatin1String("numFmtId")).toInt());
    }
    return styles;
}

QStringList csvLines(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF")) return {QStringLiteral("no byte-order mark")};
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

// Exporting a list: every row of the list as filtered, read a page at a time, with its captions
// and formats; CSV as a French spreadsheet opens it, XLSX with typed cells; a cancelled or failed
// export leaves no file behind.
class TestListExport : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QTemporaryDir m_folder;

    QList<ExportColumn> columns() const
    {
        return {{QStringLiteral("nom"), QStringLiteral("Nom du lieu"), QString(), 150},
                {QStringLiteral("m3"), QStringLiteral("Volume (m3)"), QStringLiteral("#,##0.00"), 70},
                {QStringLiteral("jour"), QStringLiteral("Date"), QString(), 80},
                {QStringLiteral("quantite"), QStringLiteral("Quantité"), QString(), 60},
                {QStringLiteral("prix"), QStringLiteral("Prix"), QStringLiteral("0.000"), 60}};
    }
    PagedQuery rows(const QString &where = QString(), const QVariantList &values = {}) const
    {
        PagedQuery q;
        q.columns = QStringLiteral("inc, nom, m3, jour, quantite, prix");
        q.from = QStringLiteral("export_rows");
        q.where = where;
        q.values = values;
        return q;
    }
    QString path(const QString &name) const { return m_folder.filePath(name); }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(m_folder.isValid());
        QVERIFY(
            execute(m_db, QStringLiteral("create table export_rows (inc int not null auto_increment primary key, "
                                         "nom varchar(60), m3 double, jour date, quantite int, prix varchar(20))")));
        // row n: "Lieu n", n * 1000.5 m3, the n-th of January 2026, n pieces, a price typed as text
        for (int n = 1; n <= 23; ++n)
            QVERIFY(execute(
                m_db,
                QStringLiteral("insert into export_rows (nom, m3, jour, quantite, prix) values (?, ?, ?, "
                               "?, ?)"),
                {QStringLiteral("Lieu %1").arg(n), n * 1000.5, QDate(2026, 1, n), n, QStringLiteral("%1.25").arg(n)}));
        QVERIFY(execute(m_db,
                        QStringLiteral("insert into export_rows (nom, m3, jour, quantite, prix) values (?, "
                                       "null, null, null, '')"),
                        {QStringLiteral("Scierie \"Les Chênes\"; Autun")}));
    }

    void csvReadBackTheFrenchWay_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::newRow("one page") << 5000;
        QTest::newRow("pages of five rows") << 5;
    }
    void csvReadBackTheFrenchWay()
    {
        QFETCH(int, pageSize);
        const QString file = path(QStringLiteral("liste.csv"));
        QList<qint64> progress;
        auto done = exportList(
            m_db, rows(), columns(), file, exportFormatFor(file),
            [&](qint64 written) {
                progress << written;
                return true;
            },
            pageSize);
        QVERIFY2(done, qPrintable(done.error().fullText()));
        QCOMPARE(done->rows, 24);
        QVERIFY(!done->cancelled);
        QCOMPARE(progress.last(), 24);
        QCOMPARE(progress.size(), pageSize == 5 ? 5 : 1);
        const QStringList lines = csvLines(file);
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.at(0), QStringLiteral("Nom du lieu;Volume (m3);Date;Quantité;Prix"));
        QCOMPARE(lines.at(1), QStringLiteral("Lieu 1;1000,50;01/01/2026;1;1,250"));
        QCOMPARE(lines.at(12), QStringLiteral("Lieu 12;12006,00;12/01/2026;12;12,250"));
        QCOMPARE(lines.at(23), QStringLiteral("Lieu 23;23011,50;23/01/2026;23;23,250"));
        QCOMPARE(lines.at(24), QStringLiteral("\"Scierie \"\"Les Chênes\"\"; Autun\";;;;"));
        QCOMPARE(filesIn(m_folder.path()), QStringList{QStringLiteral("liste.csv")});
        QVERIFY(QFile::remove(file));
    }

    void xlsxCellsAreTyped_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::newRow("one page") << 5000;
        QTest::newRow("pages of seven rows") << 7;
    }
    void xlsxCellsAreTyped()
    {
        QFETCH(int, pageSize);
        const QString file = path(QStringLiteral("liste.xlsx"));
        auto done = exportList(m_db, rows(), columns(), file, exportFormatFor(file), {}, pageSize);
        QVERIFY2(done, qPrintable(done.error().fullText()));
        QCOMPARE(done->rows, 24);
        const Sheet sheet = readSheet(file);
        const QStringList formats = styleFormats(file);
        QCOMPARE(sheet.size(), 25); // every row, after the captions
        QStringList captions;
        for (const SheetCell &c : sheet.at(0)) captions << c.value;
        QCOMPARE(captions, (QStringList{"Nom du lieu", "Volume (m3)", "Date", "Quantité", "Prix"}));
        const QList<SheetCell> &row = sheet.at(12); // "Lieu 12"
        QCOMPARE(row.at(0).value, QStringLiteral("Lieu 12"));
        QVERIFY(!row.at(0).number);
        QVERIFY(row.at(1).number);
        QCOMPARE(row.at(1).value.toDouble(), 12006.0);
        QCOMPARE(formats.value(row.at(1).style), QStringLiteral("#,##0.00"));
        // a date is the number of days since 1900 with a date format
        QVERIFY(row.at(2).number);
        QCOMPARE(row.at(2).value.toDouble(), double(QDate(1899, 12, 30).daysTo(QDate(2026, 1, 12))));
        QCOMPARE(formats.value(row.at(2).style), QStringLiteral("dd/mm/yyyy"));
        QVERIFY(row.at(3).number);
        QCOMPARE(row.at(3).value, QStringLiteral("12"));
        // a text column formatted as numbers holds numbers
        QVERIFY(row.at(4).number);
        QCOMPARE(row.at(4).value.toDouble(), 12.25);
        QCOMPARE(formats.value(row.at(4).style), QStringLiteral("0.000"));
        QCOMPARE(sheet.at(24).at(0).value, QStringLiteral("Scierie \"Les Chênes\"; Autun"));
        QCOMPARE(sheet.at(24).size(), 1); // empty cells are left out

        // a spreadsheet reader agrees
        QProcess reader;
        reader.start(QStringLiteral("xlsx2csv"), {QStringLiteral("-d"), QStringLiteral(";"), file});
        QVERIFY(reader.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 25);
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("Lieu 1;")), qPrintable(lines.at(1)));
        QVERIFY(QFile::remove(file));
    }

    // Stopped after its first page, or failing: no file, no temporary file, and a file of that
    // name written before is left as it was.
    void nothingIsLeftBehind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fails");
        QTest::newRow("CSV cancelled") << QStringLiteral("annule.csv") << false;
        QTest::newRow("XLSX cancelled") << QStringLiteral("annule.xlsx") << false;
        QTest::newRow("CSV failing") << QStringLiteral("erreur.csv") << true;
        QTest::newRow("XLSX failing") << QStringLiteral("erreur.xlsx") << true;
    }
    void nothingIsLeftBehind()
    {
        QFETCH(QString, name);
        QFETCH(bool, fails);
        const QString file = path(name);
        for (const bool before : {false, true}) {
            if (before) {
                QFile older(file);
                QVERIFY(older.open(QIODevice::WriteOnly));
                older.write("older");
            }
            PagedQuery q = rows();
            if (fails) q.columns += QStringLiteral(", no_such_column");
            int pages = 0;
            auto done = exportList(
                m_db, q, columns(), file, exportFormatFor(file), [&](qint64) { return ++pages < 2; }, 5);
            if (fails) {
                QVERIFY(!done);
            } else {
                QVERIFY(done);
                QVERIFY(done->cancelled);
                QCOMPARE(done->rows, 10);
            }
            QCOMPARE(filesIn(m_folder.path()), before ? QStringList{name} : QStringList());
            if (before) {
                QFile older(file);
                QVERIFY(older.open(QIODevice::ReadOnly));
                QCOMPARE(older.readAll(), QByteArray("older"));
                older.close();
                QVERIFY(QFile::remove(file));
            }
        }
    }

    // Rows an operation computed export the same way.
    void rowsOfATable()
    {
        DataTable table({QStringLiteral("NOM"), QStringLiteral("m3"), QStringLiteral("jour")});
        table.addRow({QStringLiteral("Zone A"), 1.5, QDate(2025, 12, 31)});
        table.addRow({QStringLiteral("Zone B"), QVariant(), QVariant()});
        const QString csv = path(QStringLiteral("table.csv"));
        QVERIFY(exportTable(table, columns().mid(0, 3), csv, ExportFormat::Csv));
        QCOMPARE(csvLines(csv), (QStringList{QStringLiteral("Nom du lieu;Volume (m3);Date"),
                                             QStringLiteral("Zone A;1,50;31/12/2025"), QStringLiteral("Zone B;;")}));
        const QString xlsx = path(QStringLiteral("table.xlsx"));
        QVERIFY(exportTable(table, columns().mid(0, 3), xlsx, ExportFormat::Xlsx));
        const Sheet sheet = readSheet(xlsx);
        QCOMPARE(sheet.size(), 3);
        QVERIFY(sheet.at(1).at(1).number);
        QCOMPARE(sheet.at(1).at(1).value.toDouble(), 1.5);
        QVERIFY(QFile::remove(csv));
        QVERIFY(QFile::remove(xlsx));
    }

    void excelFormats_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("excel");
        QTest::newRow("amount") << "#,##0.00"
                                << "#,##0.00";
        QTest::newRow("volume") << "0.000"
                                << "0.000";
        QTest::newRow("spaces for thousands") << "# ###.000"
                                              << "#,##0.000";
        QTest::newRow("whole, grouped") << "# ##0"
                                        << "#,##0";
        QTest::newRow("no leading digit") << "#.00"
                                          << "0.00";
        QTest::newRow("whole") << "0"
                               << "0";
        QTest::newRow("unit after") << "0.00 €"
                                    << "0.00\" €\"";
        QTest::newRow("date") << "dd/mm/yyyy"
                              << "dd/mm/yyyy";
        QTest::newRow("date and time") << "dd/mm/yyyy hh:nn"
                                       << "dd/mm/yyyy hh:mm";
    }
    void excelFormats()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, excel);
        QCOMPARE(excelFormat(pattern), excel);
    }
};

QTEST_GUILESS_MAIN(TestListExport)
#include "tst_listexport.moc"
