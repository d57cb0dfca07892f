// Expressions and formats of report fields, through the layout of a one-field template.

#include "reportlayout.h"

#include <QTest>

using namespace ravelin;

namespace {

ReportData sampleData()
{
    DataTable lines({QStringLiteral("essence"), QStringLiteral("qte"), QStringLiteral("n"), QStringLiteral("jour"),
                     QStringLiteral("vide"), QStringLiteral("humidite"), QStringLiteral("texte_qte"),
                     QStringLiteral("Date_Creation")});
    lines.addRow({QStringLiteral("Chêne"), 12.5, 3, QDate(2024, 3, 5), QVariant(), 35.0, QStringLiteral("7.25"),
                  QDateTime(QDate(2024, 1, 31), QTime(14, 30))});
    ReportData data;
    data.setDataset(QStringLiteral("l"), lines);
    data.setValue(QStringLiteral("titre"), QStringLiteral("Lot 12"));
    data.setValue(QStringLiteral("debut"), QDate(2024, 2, 1));
    data.setPrintDate(QDateTime(QDate(2024, 6, 10), QTime(9, 15)));
    return data;
}

QByteArray oneFieldTemplate(const QString &expression, const QString &format = QString())
{
    QString xml = QStringLiteral("<report><band type=\"detail\" dataset=\"l\" height=\"5\">"
                                 "<field name=\"f\" x=\"0\" w=\"200\" expr=\"%1\"%2/></band></report>");
    xml = xml.arg(expression.toHtmlEscaped(),
                  format.isEmpty() ? QString() : QStringLiteral(" format=\"%1\"").arg(format.toHtmlEscaped()));
    return xml.toUtf8();
}

} // namespace

class TestReportExpression : public QObject
{
    Q_OBJECT

private slots:
    void evaluates_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");

        QTest::newRow("named value joined") << "'Du : ' + titre"
                                            << ""
                                            << "Du : Lot 12";
        QTest::newRow("text and number joined") << "l.essence + ' ' + l.qte"
                                                << ""
                                                << "Chêne 12,5";
        QTest::newRow("numbers added") << "l.qte + l.n"
                                       << ""
                                       << "15,5";
        QTest::newRow("arithmetic") << "(l.qte - 2.5) * l.n / 2"
                                    << ""
                                    << "15";
        QTest::newRow("division by zero is empty") << "l.qte / 0"
                                                   << ""
                                                   << "";
        QTest::newRow("negative") << "-l.qte"
                                  << ""
                                  << "-12,5";
        QTest::newRow("null joins as empty") << "l.vide + 'x'"
                                             << ""
                                             << "x";
        QTest::newRow("quote doubled") << "'l''essence'"
                                       << ""
                                       << "l'essence";
        QTest::newRow("column name case") << "l.ESSENCE"
                                          << ""
                                          << "Chêne";
        QTest::newRow("date time shown with time") << "l.date_creation"
                                                   << ""
                                                   << "31/01/2024 14:30:00";
        QTest::newRow("date shown") << "l.jour"
                                    << ""
                                    << "05/03/2024";
        QTest::newRow("comparison true") << "iif(l.n >= 3 and l.essence = 'Chêne', 'oui', 'non')"
                                         << ""
                                         << "oui";
        QTest::newRow("comparison false") << "iif(not (l.n > 2) or l.essence <> 'Chêne', 'oui', 'non')"
                                          << ""
                                          << "non";
        QTest::newRow("number read from text") << "iif(l.texte_qte > 7, 'plus', 'moins')"
                                               << ""
                                               << "plus";
        QTest::newRow("length of a number") << "len(l.humidite)"
                                            << ""
                                            << "2";
        QTest::newRow("text functions") << "upper(left(l.essence, 3)) + right('abcdef', 2) + trim('  x  ')"
                                        << ""
                                        << "CHÊefx";
        QTest::newRow("round") << "round(12.46, 1)"
                               << ""
                               << "12,5";
        QTest::newRow("isEmpty") << "iif(isEmpty(l.vide), 'vide', 'plein')"
                                 << ""
                                 << "vide";
        QTest::newRow("format function") << "format(l.qte, '#.00') + ' m3'"
                                         << ""
                                         << "12,50 m3";
        QTest::newRow("print date") << "printDate()"
                                    << "dd/mm/yyyy"
                                    << "10/06/2024";
        QTest::newRow("line and page") << "line() + '/' + page() + '/' + pages()"
                                       << ""
                                       << "1/1/1";

        QTest::newRow("#,##0.00") << "1234567.891"
                                  << "#,##0.00"
                                  << "1 234 567,89";
        QTest::newRow("#,##0.00 small") << "0.5"
                                        << "#,##0.00"
                                        << "0,50";
        QTest::newRow("# ###.00") << "1234.5"
                                  << "# ###.00"
                                  << "1 234,50";
        QTest::newRow("# ###.000") << "1234.5678"
                                   << "# ###.000"
                                   << "1 234,568";
        QTest::newRow("#.00") << "l.qte"
                              << "#.00"
                              << "12,50";
        QTest::newRow("#.00 thousands not grouped") << "12345.5"
                                                    << "#.00"
                                                    << "12345,50";
        QTest::newRow("0.00") << "3"
                              << "0.00"
                              << "3,00";
        QTest::newRow("0.000") << "1.23456"
                               << "0.000"
                               << "1,235";
        QTest::newRow("0") << "62.4"
                           << "0"
                           << "62";
        QTest::newRow("currency suffix") << "-1234.5"
                                         << "#,##0.00 €"
                                         << "-1 234,50 €";
        QTest::newRow("printf style") << "1234.5"
                                      << "%2.2f"
                                      << "1234,50";
        QTest::newRow("number in a text") << "l.texte_qte"
                                          << "0.00"
                                          << "7,25";
        QTest::newRow("null with a format") << "l.vide"
                                            << "#.00"
                                            << "";
        QTest::newRow("dd/mm/yyyy") << "l.jour"
                                    << "dd/mm/yyyy"
                                    << "05/03/2024";
        QTest::newRow("long date") << "l.jour"
                                   << "dddd dd mmmm yyyy"
                                   << "mardi 05 mars 2024";
        QTest::newRow("long date of a value") << "debut"
                                              << "dddd dd mmmm yyyy"
                                              << "jeudi 01 février 2024";
        QTest::newRow("date time as a date") << "l.date_creation"
                                             << "dd/mm/yyyy"
                                             << "31/01/2024";
        QTest::newRow("time") << "l.date_creation"
                              << "hh:nn"
                              << "14:30";
    }

    void evaluates()
    {
        QFETCH(QString, expression);
        QFETCH(QString, format);
        QFETCH(QString, expected);

        auto report = ReportTemplate::fromXml(oneFieldTemplate(expression, format), QStringLiteral("test.xml"), {});
        QVERIFY2(report.ok(), qPrintable(report.error().message));
        auto document = layoutReport(*report, sampleData());
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->textsNamed(QStringLiteral("f")), QStringList{expected});
    }

    void refusesBadExpressions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("explanation");

        QTest::newRow("incomplete") << "l.qte +"
                                    << "expression incomplète";
        QTest::newRow("unknown function") << "total(l.qte)"
                                          << "fonction inconnue « total »";
        QTest::newRow("unterminated text") << "'abc"
                                           << "texte non terminé";
        QTest::newRow("missing parenthesis") << "(l.qte + 1"
                                             << "« ) » attendu";
        QTest::newRow("missing column") << "l."
                                        << "nom de colonne attendu";
        QTest::newRow("argument count") << "len(l.qte, 2)"
                                        << "nombre d'arguments incorrect pour « len »";
        QTest::newRow("stray character") << "l.qte $ 2"
                                         << "caractère « $ » inattendu";
        QTest::newRow("two values side by side") << "l.qte l.n"
                                                 << "« l » inattendu";
    }

    void refusesBadExpressions()
    {
        QFETCH(QString, expression);
        QFETCH(QString, explanation);

        auto report = ReportTemplate::fromXml(oneFieldTemplate(expression), QStringLiteral("test.xml"), {});
        QVERIFY(!report.ok());
        const QString message = report.error().message;
        QVERIFY2(message.startsWith(QStringLiteral("Modèle d'impression test.xml, ligne 1 : ")), qPrintable(message));
        QVERIFY2(message.contains(explanation), qPrintable(message));
        QVERIFY2(message.contains(expression), qPrintable(message));
    }
};

QTEST_MAIN(TestReportExpression)
#include "tst_reportexpression.moc"
