// The EN 16931 business rules over the e-invoice: an invoice and a credit note the program builds
// pass every fatal rule, and a file of ours whose lines do not add up to its total fails BR-CO-10.
// The rules run in node-schematron (installed by the test einvoice_rules_setup from the locked
// tools/einvoice/package-lock.json); they take up to a minute or more per file on a busy machine,
// so every other case is checked against the schema and the program's own rules only.

#include "facturx.h"
#include "facturxfixture.h"
#include "invoicedocument.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

namespace {

struct Failure
{
    QString flag; // "fatal" or "warning"
    QString id;   // "BR-CO-10"
    QString message;
};

} // namespace

class TestFacturXRules : public QObject
{
    Q_OBJECT

    test::AppFixture f;
    QTemporaryDir m_folder;

    // The asserts the file fails; the test fails when the rules cannot be run at all.
    QList<Failure> failedRules(const QString &path)
    {
        const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (node.isEmpty()) {
            QTest::qFail("node is missing: install nodejs and npm (scripts/test does)", __FILE__, __LINE__);
            return {};
        }
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(node, {QStringLiteral(RAVELIN_EINVOICE_TOOLS "/check-rules.js"),
                             QStringLiteral(RAVELIN_EINVOICE_DIR "/EN16931-CII-validation-preprocessed.sch"), path});
        if (!process.waitForFinished(15 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() > 1) {
            QTest::qFail(qPrintable(QStringLiteral("the rules did not run: ") +
                                    QString::fromUtf8(process.readAllStandardError())),
                         __FILE__, __LINE__);
            return {};
        }
        QList<Failure> failures;
        bool checked = false;
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() == 2 && fields[1] == QLatin1String("checked")) checked = true;
            if (fields.size() == 4) failures.append({fields[1], fields[2], fields[3]});
        }
        if (!checked) QTest::qFail("the rules did not finish the file", __FILE__, __LINE__);
        return failures;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        f.open();
        test::loadFacturXDocuments(f);
    }

    void rules_data()
    {
        QTest::addColumn<QString>("file"); // a document number, or a fixture of tests/reports/data
        QTest::addColumn<QStringList>("fatal");
        QTest::newRow("invoice: MWH, stere and hour lines") << "8001" << QStringList{};
        QTest::newRow("credit note") << "8002" << QStringList{};
        QTest::newRow("lines not adding up to the total") << "facturx-wrong-sum.xml" << QStringList{"BR-CO-10"};
    }
    void rules()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, fatal);
        QString path;
        bool isNumber = false;
        const int number = file.toInt(&isNumber);
        if (isNumber) {
            auto sets = readInvoice(f.db, number);
            QVERIFY(sets);
            auto xml = facturXml(*sets);
            QVERIFY2(xml, qPrintable(xml.ok() ? QString() : xml.error().message));
            path = m_folder.filePath(file + QStringLiteral(".xml"));
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(*xml);
        } else {
            path = QStringLiteral(RAVELIN_REPORT_TEST_DATA "/") + file;
        }
        QStringList fatalIds, report;
        for (const Failure &failure : failedRules(path)) {
            report << failure.flag + QLatin1Char(' ') + failure.id + QLatin1Char(' ') + failure.message;
            if (failure.flag == QLatin1String("fatal") && !fatalIds.contains(failure.id)) fatalIds << failure.id;
        }
        if (fatal.isEmpty()) {
            QVERIFY2(fatalIds.isEmpty(), qPrintable(report.join(QLatin1Char('\n'))));
        } else {
            for (const QString &id : fatal) QVERIFY2(fatalIds.contains(id), qPrintable(report.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_MAIN(TestFacturXRules)
#include "tst_facturx_rules.moc"
