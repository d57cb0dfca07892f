#include "invoicestore.h"

#include "counters.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace ravelin {

namespace {

// The customer columns a document copies from its place, printed from their "_fac" twins.
const QStringList &customerColumns()
{
    static const QStringList columns{
        QStringLiteral("destination"),  QStringLiteral("client"),     QStringLiteral("adresse"),
        QStringLiteral("adresse1"),     QStringLiteral("cp"),         QStringLiteral("ville"),
        QStringLiteral("pays"),         QStringLiteral("client_fac"), QStringLiteral("adresse_fac"),
        QStringLiteral("adresse1_fac"), QStringLiteral("cp_fac"),     QStringLiteral("ville_fac"),
        QStringLiteral("pays_fac"),     QStringLiteral("tva_intra")};
    return columns;
}

} // namespace

Result<PagedQuery> invoiceListQuery(const InvoiceSearch &search)
{
    PagedQuery q;
    // the rate and mode are read beside each row, so a document whose rate was deleted stays listed
    q.columns = QStringLiteral(
        "inc,num_facture,type_fac,client,ville,date_fac,montant_ht,'€' as n0,montant_ttc,'€' as n1,echeance,"
        "(select B.tva from liste_tva B where B.inc=facture_entete.inc_tva) as tva,"
        "(select C.reglement from liste_reglement C where C.inc=facture_entete.inc_reglement) as reglement,"
        "montant_tva,destination,inc_tva,inc_reglement");
    q.from = QStringLiteral("facture_entete");
    q.where = QStringLiteral("date_fac>=? and date_fac<=?");
    q.values = {search.from, search.to};
    if (!search.client.isEmpty()) {
        q.where += QStringLiteral(" and client like ?");
        q.values << containsPattern(search.client);
    }
    if (!search.number.trimmed().isEmpty()) {
        const auto number = parseWholeNumber(search.number);
        if (!number) return Error::refusal(invoiceNumberFilterRefusal());
        q.where += QStringLiteral(" and num_facture=?");
        q.values << *number;
    }
    q.key = QStringLiteral("inc");
    switch (search.sort) {
    case InvoiceSort::Date:
        q.orderBy = {QStringLiteral("date_fac desc")};
        q.descending = false;
        q.keyIndex = QStringLiteral("idx_facture_entete_date_page");
        break;
    case InvoiceSort::Client:
        q.orderBy = {QStringLiteral("client"), QStringLiteral("date_fac")};
        q.descending = true;
        q.keyIndex = QStringLiteral("idx_facture_entete_client_page");
        break;
    case InvoiceSort::Number:
        q.orderBy = {QStringLiteral("num_facture desc")};
        q.descending = true;
        q.keyIndex = QStringLiteral("idx_facture_entete_number_page");
        break;
    }
    return q;
}

Result<DataTable> invoiceBodyRows(QSqlDatabase db, int number)
{
    return selectTable(db,
                       QStringLiteral("select inc_facture,type1,inc_liv,date_liv,type_liv,destination,unite_vente,"
                                      "total_ht from facture_corps where inc_facture=? order by date_liv,inc_liv"),
                       {number});
}

Result<QDate> latestInvoiceDate(QSqlDatabase db)
{
    auto latest = scalar(db, QStringLiteral("select max(date_fac) as n1 from facture_entete"));
    if (!latest) return latest.error();
    return latest->toDate();
}

Result<QList<VatRate>> vatRates(QSqlDatabase db)
{
    auto rows = select(db, QStringLiteral("select inc,tva from liste_tva order by inc"));
    if (!rows) return rows.error();
    QList<VatRate> rates;
    for (const QSqlRecord &r : *rows) rates.append({r.value(0).toInt(), r.value(1).toDouble()});
    return rates;
}

Result<QList<PaymentMode>> paymentModes(QSqlDatabase db)
{
    auto rows = select(
        db, QStringLiteral("select inc,reglement,nb_jour,fin_mois,jour_apres from liste_reglement order by inc"));
    if (!rows) return rows.error();
    QList<PaymentMode> modes;
    for (const QSqlRecord &r : *rows)
        modes.append({r.value(0).toInt(), r.value(1).toString(),
                      PaymentTerms{r.value(2).toInt(), r.value(3).toString(), r.value(4).toInt()}});
    return modes;
}

Result<int> takeInvoiceNumber(QSqlDatabase db)
{
    // a handful of numbers at most are passed over; the bound only stops a runaway loop
    for (int attempt = 0; attempt < 1000; ++attempt) {
        auto number = takeNextCounter(db, Counter::NumFacture);
        if (!number) return number.error();
        auto used = scalar(db, QStringLiteral("select count(*) from facture_entete where num_facture=?"), {*number});
        if (!used) return used.error();
        if (used->toInt() == 0) return *number;
    }
    return Error::failure(QStringLiteral("Aucun numéro de facture libre après le compteur."),
                          QStringLiteral("increment.num_facture"));
}

Result<int> createCreditNote(QSqlDatabase db, int invoice, const QDate &today)
{
    int number = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        // the counter first, as an invoice takes it: every writer of documents queues there in the
        // same order, so that two of them never wait for each other
        auto taken = takeInvoiceNumber(db);
        if (!taken) return taken.error();
        number = *taken;

        // the invoice's header, locked: a second workstation crediting it finds its sales released
        auto header =
            select(db, QStringLiteral("select * from facture_entete where num_facture=? for update"), {invoice});
        if (!header) return header.error();
        if (header->isEmpty()) return Error::notFound(recordDeletedMessage());
        const QSqlRecord &f = header->first();
        if (f.value(QStringLiteral("type_fac")).toString() == QLatin1String("AVOIR"))
            return Error::refusal(alreadyCreditNoteMessage());

        // the sales still invoiced by it go back to the invoiceable ones
        int released = 0;
        for (const auto &[table, kind] : {std::pair{QStringLiteral("cde"), QStringLiteral("GRUME")},
                                          std::pair{QStringLiteral("livraison"), QStringLiteral("PLAQUETTE")}}) {
            // from the invoice's body rows to their sales by key, whatever the size of the tables
            auto touched = execute(db,
                                   QStringLiteral("update ") + table +
                                       QStringLiteral(" A join facture_corps B on B.inc_liv=A.inc set "
                                                      "A.facturee='NON', A.num_facture=null where B.inc_facture=? "
                                                      "and B.type1=? and A.num_facture=?"),
                                   {invoice, kind, invoice});
            if (!touched) return touched.error();
            released += *touched;
        }
        if (released == 0) return Error::refusal(alreadyCreditedMessage());

        const InvoiceAmounts amounts = negated({toCents(f.value(QStringLiteral("montant_ht")).toDouble()),
                                                toCents(f.value(QStringLiteral("montant_tva")).toDouble()),
                                                toCents(f.value(QStringLiteral("montant_ttc")).toDouble())});
        QList<ColumnValue> values{{QStringLiteral("num_facture"), number},
                                  {QStringLiteral("type_fac"), QStringLiteral("AVOIR")},
                                  {QStringLiteral("date_fac"), today},
                                  {QStringLiteral("echeance"), today}};
        for (const QString &c : customerColumns()) values.append({c, f.value(c)});
        values.append({QStringLiteral("inc_tva"), f.value(QStringLiteral("inc_tva"))});
        values.append({QStringLiteral("inc_reglement"), f.value(QStringLiteral("inc_reglement"))});
        values.append({QStringLiteral("montant_ht"), fromCents(amounts.ht)});
        values.append({QStringLiteral("montant_tva"), fromCents(amounts.tva)});
        values.append({QStringLiteral("montant_ttc"), fromCents(amounts.ttc)});
        // the invoice it cancels, which its e-invoice names (older workstations leave it empty)
        values.append({QStringLiteral("facture_origine"), invoice});
        if (auto inserted = insertRow(db, QStringLiteral("facture_entete"), values); !inserted) return inserted.error();

        if (auto body = execute(db,
                                QStringLiteral("insert into facture_corps (inc_facture,type1,inc_liv,date_liv,type_liv,"
                                               "destination,unite_vente,total_ht) select ?,type1,inc_liv,date_liv,"
                                               "type_liv,destination,unite_vente,-total_ht from facture_corps where "
                                               "inc_facture=?"),
                                {number, invoice});
            !body)
            return body.error();
        if (auto detail = execute(
                db,
                QStringLiteral("insert into facture_corps_detail (inc_facture,inc_corps,origine,inc_source,date_liv,"
                               "n_lot,essence,qualite,qte_liv,unite_liv,prix_unit,prix_total,humidite,total_mwh,pefc,"
                               "descriptif,unit_defaut,qte_defaut,designation) select ?,inc_corps,origine,inc_source,"
                               "date_liv,n_lot,essence,qualite,-qte_liv,unite_liv,prix_unit,-prix_total,humidite,"
                               "total_mwh,pefc,descriptif,unit_defaut,-qte_defaut,designation from "
                               "facture_corps_detail where inc_facture=?"),
                {number, invoice});
            !detail)
            return detail.error();
        return {};
    });
    if (!done) return done.error();
    return number;
}

} // namespace ravelin
