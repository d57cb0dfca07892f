#pragma once

#include "datatable.h"

#include <QDate>
#include <QDateTime>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTest>

namespace ravelin::test {

// The text of a PDF file as pdftotext reads it (layout kept, pages separated by form feeds).
// Fails the current test when the tool is missing or fails.
inline QString pdfText(const QString &pdfPath)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        QTest::qFail("pdftotext is missing: install poppler-utils (scripts/test does)", __FILE__, __LINE__);
        return {};
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath,
                         QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        QTest::qFail(
            qPrintable(QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError())),
            __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Spaces of every kind and runs of them become one space, so that a test can look for a row of
// a PDF page whatever the column gaps.
inline QString simplifiedText(QString text)
{
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    return text.simplified();
}

// The rows of the contractor actions statement: `rows` actions of one contractor, amounts
// 100,25 € x the row number, dates going back from 31 March 2024.
inline DataTable contractorActions(int rows)
{
    DataTable t({"fac_fournisseur", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    const QStringList kinds = {"LIV. GRUME", "LIV. PLAQUETTE", "TRANSFERT", "COUPE"};
    const QStringList operations = {"TRANSPORT", "BROYAGE", "CHARGEMENT", "DEBARDAGE"};
    for (int r = 1; r <= rows; ++r) {
        t.addRow({r % 3 ? QStringLiteral("NON") : QStringLiteral("OUI"), kinds[(r - 1) % 4],
                  QStringLiteral("SARL Débardage Martin"), QString::number(200 + r % 7), 1,
                  QDate(2024, 3, 31).addDays(-(r - 1) / 4), qlonglong(10 + r), 100.25 * r, 0, operations[(r - 1) % 4],
                  r % 2 ? QStringLiteral("T") : QStringLiteral("m3")});
    }
    return t;
}

// The rows of the deliveries of lot 1042: order lines, chip deliveries and transfers in turn,
// 12,5 m3 x the row number.
inline DataTable lotDeliveries(int rows)
{
    DataTable t({"n0", "inc_cde", "type_cde", "date_creation", "descriptif", "essence", "qualite", "m3", "n_lot",
                 "lieu", "qte_liv", "qte_defaut", "unite_liv", "unite_defaut", "prix_unit", "prix_total", "stock",
                 "ticket", "lettre_voiture"});
    const QStringList kinds = {"LIVRAISON", "PLAQUETTE", "TRANSFERT"};
    for (int r = 1; r <= rows; ++r) {
        const QString kind = kinds[(r - 1) % 3];
        const bool chips = kind == QLatin1String("PLAQUETTE");
        t.addRow({QStringLiteral("€"), 5000 + r, kind, QDateTime(QDate(2024, 1, 1).addDays(r / 2), QTime(10, 0)),
                  chips ? QStringLiteral("RIEN") : QStringLiteral("VOLUME"),
                  chips ? QStringLiteral("Plaquette") : QStringLiteral("Chêne"),
                  chips ? QStringLiteral("Humide") : QStringLiteral("Qualité A"), 12.5 * r, QStringLiteral("1042"),
                  QStringLiteral("Scierie Dupont"), 12.5 * r, 12.5 * r, QStringLiteral("m3"), QStringLiteral("m3"),
                  40.0, 500.0 * r, chips ? QStringLiteral("PLA") : QStringLiteral("COUPE"),
                  chips ? QStringLiteral("T-%1").arg(r) : QStringLiteral(" "),
                  chips ? QStringLiteral("LV%1").arg(r) : QStringLiteral(" ")});
    }
    return t;
}

} // namespace ravelin::test
