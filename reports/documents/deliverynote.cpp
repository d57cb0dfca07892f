#include "deliverynote.h"

#include "reportlayout.h"
#include "sql.h"
#include "statements.h"

namespace ravelin {

namespace {

struct NoteStatements
{
    QString header;
    QString body;
    QString lines;
};

NoteStatements statementsFor(const QString &origin)
{
    if (origin == chipsOrigin()) {
        return {QStringLiteral("select A.inc as num_facture, A.date_livraison as date_fac, '0' as montant_ht, "
                               "B.client, B.adresse, B.adresse1, B.ville, B.cp, B.tva_intra from livraison A "
                               "left join destination B on B.destination=A.destination where A.inc=?"),
                QStringLiteral("select inc as inc_facture, date_livraison as date_liv, 'PLAQUETTE' as type1, "
                               "destination, inc as inc_liv, unite from livraison where inc=?"),
                QStringLiteral("select '' as stock, unite, mwh, 'PLAQUETTE' as origine, inc as inc_facture, "
                               "date_livraison as date_fac, essence, qualite, inc as inc_source, unite_liv, "
                               "coalesce(qte_liv_totale, 0) as qte_liv, prix_tonne as prix_unit, prix_total, "
                               "humidite from livraison where inc=?")};
    }
    return {QStringLiteral("select A.inc as num_facture, A.date_cde as date_fac, '0' as montant_ht, A.client, "
                           "B.adresse, B.adresse1, B.ville, B.cp, B.tva_intra from cde A "
                           "left join destination B on B.destination=A.destination where A.inc=?"),
            QStringLiteral("select inc as inc_facture, date_cde as date_liv, 'GRUME' as type1, destination, "
                           "inc as inc_liv, '' as unite from cde where inc=?"),
            // Every row of the order: product lines and loaded logs, whose quantity is empty.
            QStringLiteral("select stock_buche as stock, unite_liv as unite, '0' as mwh, 'GRUME' as origine, "
                           "inc_cde as inc_facture, date_creation as date_fac, essence, qualite, "
                           "inc_cde as inc_source, unite_liv, coalesce(qte_liv, 0) as qte_liv, prix_unit, "
                           "prix_total, '0' as humidite from liste_grume_cde where inc_cde=? order by inc")};
}

} // namespace

Result<DeliveryNoteSets> readDeliveryNote(QSqlDatabase db, int number, const QString &origin)
{
    const NoteStatements sql = statementsFor(origin);
    DeliveryNoteSets sets;
    const Status read = inTransaction(db, [&]() -> Status {
        const QVariantList key{number};
        auto header = selectTable(db, sql.header, key);
        if (!header) return header.error();
        auto body = selectTable(db, sql.body, key);
        if (!body) return body.error();
        auto lines = selectTable(db, sql.lines, key);
        if (!lines) return lines.error();
        auto company = selectTable(db, QStringLiteral("select * from perso"));
        if (!company) return company.error();
        sets = {*header, *body, *lines, *company};
        return {};
    });
    if (!read) return read.error();
    return sets;
}

ReportData deliveryNoteData(const DeliveryNoteSets &sets)
{
    ReportData data;
    data.setDataset(QStringLiteral("entete"), sets.header);
    data.setDataset(QStringLiteral("corps"), sets.body);
    data.setLinkedDataset(QStringLiteral("lignes"), sets.lines, QStringLiteral("inc_facture"),
                          QStringLiteral("inc_liv"));
    data.setDataset(QStringLiteral("perso"), sets.company);
    return data;
}

Result<ReportDocument> layoutDeliveryNote(const ReportData &data)
{
    return layoutReport(deliveryNoteTemplateName(), data);
}

} // namespace ravelin
