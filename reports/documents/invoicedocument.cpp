#include "invoicedocument.h"

#include "formats.h"
#include "reportlayout.h"
#include "sql.h"
#include "statements.h"

namespace ravelin {

Result<InvoiceSets> readInvoice(QSqlDatabase db, int number)
{
    InvoiceSets sets;
    const Status read = inTransaction(db, [&]() -> Status {
        const QVariantList key{number};
        auto header = selectTable(db, QStringLiteral("select * from facture_entete where num_facture=?"), key);
        if (!header) return header.error();
        // Whether a note shows the moisture heading: one of its lines shows a moisture.
        auto body = selectTable(db,
                                QStringLiteral("select C.*, (select count(*) from facture_corps_detail D "
                                               "where D.inc_facture=C.inc_facture and D.inc_corps=C.inc_liv "
                                               "and D.humidite<>0) as humidite_vue "
                                               "from facture_corps C where C.inc_facture=? order by C.inc_liv"),
                                key);
        if (!body) return body.error();
        auto lines = selectTable(db, QStringLiteral("select * from facture_corps_detail where inc_facture=?"), key);
        if (!lines) return lines.error();
        auto company = selectTable(db, QStringLiteral("select * from perso"));
        if (!company) return company.error();
        const QVariant incTva = header->isEmpty() ? QVariant() : header->value(0, QStringLiteral("inc_tva"));
        const QVariant incReglement =
            header->isEmpty() ? QVariant() : header->value(0, QStringLiteral("inc_reglement"));
        auto rate = selectTable(db, QStringLiteral("select * from liste_tva where inc=?"), {incTva});
        if (!rate) return rate.error();
        auto payment = selectTable(db, QStringLiteral("select * from liste_reglement where inc=?"), {incReglement});
        if (!payment) return payment.error();
        sets = {*header, *body, *lines, *company, *rate, *payment};
        return {};
    });
    if (!read) return read.error();
    return sets;
}

ReportData invoiceData(const InvoiceSets &sets)
{
    ReportData data;
    data.setDataset(QStringLiteral("entete"), sets.header);
    data.setDataset(QStringLiteral("corps"), sets.body);
    data.setLinkedDataset(QStringLiteral("detail"), sets.lines, QStringLiteral("inc_corps"), QStringLiteral("inc_liv"));
    data.setDataset(QStringLiteral("perso"), sets.company);
    data.setDataset(QStringLiteral("tva"), sets.rate);
    data.setDataset(QStringLiteral("reglement"), sets.payment);

    QString title;
    if (!sets.header.isEmpty()) {
        title = sets.header.value(0, QStringLiteral("type_fac")).toString() + QStringLiteral("  n° ") +
                QString::number(sets.header.value(0, QStringLiteral("num_facture")).toInt());
    }
    data.setValue(QStringLiteral("titre"), title);
    // The rate as the French text of the number: 5.5 is "5,5", 20 is "20".
    const QVariant rate = sets.rate.isEmpty() ? QVariant() : sets.rate.value(0, QStringLiteral("tva"));
    const QString rateText =
        rate.isNull() ? QString() : frenchLocale().toString(rate.toDouble(), 'f', QLocale::FloatingPointShortest);
    data.setValue(QStringLiteral("libelle_tva"), QStringLiteral("Total TVA (") + rateText + QStringLiteral("%)"));
    return data;
}

Result<ReportDocument> layoutInvoice(const ReportData &data)
{
    return layoutReport(invoiceTemplateName(), data);
}

} // namespace ravelin
