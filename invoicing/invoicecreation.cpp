#include "invoicecreation.h"

#include "invoicestore.h"
#include "multirow.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"
#include "workstation.h"

#include <QSqlRecord>

namespace ravelin {

namespace {

QString summaryTable()
{
    return workTableName(QStringLiteral("Fac"));
}

QString placeTable()
{
    return workTableName(QStringLiteral("Fac2"));
}

// "?,?,?" for `count` values.
QString marks(qsizetype count)
{
    QStringList m;
    for (qsizetype i = 0; i < count; ++i) m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

// Chip deliveries that are sold to a customer: the summary and the place rows offer only these.
const QString saleOperations = QStringLiteral("operation in ('VENTE','TRANSPORT','VENTE sur ACHAT')");

// The priced lines of orders: their volume lines and loaded logs, which together make the order's
// price.
QString orderLinesSql(const QString &where)
{
    return QStringLiteral("select inc,'GRUME/STERE' as source,essence,qualite,qte_liv,unite_liv,prix_unit,prix_total,"
                          "n_lot,0 as humidite,0 as total_mwh,0 as pefc,inc_cde from liste_grume_cde where ") +
           where + QStringLiteral(" and descriptif in ('VOLUME','GRUME1') order by inc_cde,inc");
}

// The one priced line of a delivery: by the MWh its energy and price per MWh with the moisture,
// otherwise its tonnage and price per tonne; the PEFC share as a whole percent.
QString deliveryLinesSql(const QString &where)
{
    return QStringLiteral(
               "select inc,'PLAQUETTE' as source,essence,qualite,"
               "case when unite='MWH' then mwh else qte_liv_totale end as qte_liv,unite as unite_liv,"
               "case when unite='MWH' then prix_mwh else prix_tonne end as prix_unit,prix_total,n_lot,"
               "case when unite='MWH' then humidite else 0 end as humidite,"
               "case when unite='MWH' then total_mwh else 0 end as total_mwh,"
               "coalesce(round(qte_pefc/nullif(qte_liv_totale,0)*100,0),0) as pefc,inc as inc_cde from livraison "
               "where ") +
           where + QStringLiteral(" order by inc");
}

// The orders or deliveries of `sales` locked, each checked to be uninvoiced at the amount the user
// selected, then flagged with the invoice number in one statement. Gives the rows read by inc.
Result<QHash<int, QSqlRecord>> lockAndFlag(QSqlDatabase db, const QString &table, const QString &columns,
                                           const QList<SelectedSale> &sales, const QString &priceColumn, int number)
{
    QHash<int, QSqlRecord> byInc;
    if (sales.isEmpty()) return byInc;
    QVariantList keys;
    for (const SelectedSale &s : sales) keys << s.inc;
    auto rows = select(db,
                       QStringLiteral("select inc,facturee,num_facture,") + priceColumn + QLatin1Char(',') + columns +
                           QStringLiteral(" from ") + table + QStringLiteral(" where inc in (") + marks(keys.size()) +
                           QStringLiteral(") for update"),
                       keys);
    if (!rows) return rows.error();
    for (const QSqlRecord &r : *rows) byInc.insert(r.value(QStringLiteral("inc")).toInt(), r);
    for (const SelectedSale &s : sales) {
        const auto it = byInc.constFind(s.inc);
        if (it == byInc.constEnd())
            return Error::notFound(
                QStringLiteral("Le BL n° %1 n'existe plus : la facture n'est pas créée.").arg(s.inc));
        if (it->value(QStringLiteral("facturee")).toString() != QLatin1String("NON"))
            return Error::changedElsewhere(
                QStringLiteral("Le BL n° %1 a déjà été facturé (facture n° %2) : la facture n'est pas créée.")
                    .arg(s.inc)
                    .arg(it->value(QStringLiteral("num_facture")).toString()));
        if (toCents(it->value(priceColumn).toDouble()) != s.priceCents)
            return Error::changedElsewhere(
                QStringLiteral("Le montant du BL n° %1 a été modifié depuis la sélection : la facture n'est pas créée.")
                    .arg(s.inc));
    }
    QVariantList values{number};
    values += keys;
    auto touched = execute(db,
                           QStringLiteral("update ") + table +
                               QStringLiteral(" set facturee='OUI', num_facture=? where inc in (") +
                               marks(keys.size()) + QStringLiteral(") and facturee='NON'"),
                           values);
    if (!touched) return touched.error();
    if (*touched != keys.size())
        return Error::changedElsewhere(QStringLiteral("Un BL de la sélection a été facturé sur un autre poste : la "
                                                      "facture n'est pas créée."));
    return byInc;
}

} // namespace

Result<DataTable> customerSummary(QSqlDatabase db, const QString &client)
{
    const QString table = summaryTable();
    const QString createError = QStringLiteral("Impossible de créer (1) une table temporaire !");
    auto fail = [](const Error &e, const QString &message) {
        Error shown = e;
        shown.message = message;
        return shown;
    };
    // amounts held as doubles: a float would show 150 000,07 as 150 000,06
    if (Status created = recreateWorkTable(db, table,
                                           QStringLiteral("(t1 DOUBLE, client VARCHAR(100), destination VARCHAR(100), "
                                                          "t2 DOUBLE, h1 DOUBLE)"));
        !created)
        return fail(created.error(), createError);
    const QString insert = QStringLiteral("insert into ") + table + QStringLiteral(" (t1,client,destination,t2,h1) ");
    if (auto orders =
            execute(db, insert + QStringLiteral("select round(A.prix_vente,2),A.client,A.destination,"
                                                "round(A.qte_defaut_totale,2),0 from cde A where "
                                                "A.facturee='NON' and A.prix_vente>0 and A.client is not null"));
        !orders)
        return fail(orders.error(), createError);
    if (auto deliveries =
            execute(db, insert +
                            QStringLiteral("select round(A.prix_total,2),B.client,A.destination,"
                                           "round(A.qte_defaut_totale,2),A.humidite from livraison A join "
                                           "destination B on B.destination=A.destination where A.facturee='NON' "
                                           "and A.qte_defaut_totale>0 and A.prix_total>0 and A.destination<>'' "
                                           "and A.") +
                            saleOperations);
        !deliveries)
        return fail(deliveries.error(), QStringLiteral("Impossible de créer (2) une table temporaire !"));
    QString read =
        QStringLiteral("select round(sum(t1),2) as t1,min(client) as client,destination,round(sum(t2),2) as t2,"
                       "round(avg(t2),2) as moy_qte,round(avg(h1),2) as moy_humidite,count(destination) as nb,"
                       "round(sum(t2)/count(destination),2) as moy_nom from ") +
        table;
    QVariantList values;
    if (!client.isEmpty()) {
        read += QStringLiteral(" where client like ?");
        values << containsPattern(client);
    }
    read += QStringLiteral(" group by destination order by destination");
    auto rows = selectTable(db, read, values);
    if (!rows) return fail(rows.error(), QStringLiteral("Impossible d'ouvrir une table temporaire !"));
    return rows;
}

Result<DataTable> placeRows(QSqlDatabase db, const QString &place, const QString &defaultUnit)
{
    const QString table = placeTable();
    if (Status created = recreateWorkTable(
            db, table,
            QStringLiteral(
                "as select cast('NON' as char(3)) as sel,inc,destination,cast(? as char(20)) as u1,'€' as u2,"
                "cast('GRUME' as char(10)) as u3,date_cde,type_cde,ville_liv,pays_liv,qte_defaut_totale,"
                "n_cde_client,prix_vente,livree,unite_liv,qte_liv_totale,unite_liv as unite_vente from cde "
                "where facturee='NON' and destination=? and prix_vente>0 "
                "union all "
                "select 'NON',inc,destination,?,'€','PLAQUETTE',date_livraison,operation,'.','.',"
                "qte_defaut_totale,'.',prix_total,'LIVREE',unite_liv,qte_liv_totale,unite from livraison "
                "where facturee='NON' and destination=? and qte_liv_totale>0 and prix_total>0 and ") +
                saleOperations,
            {defaultUnit, place, defaultUnit, place});
        !created)
        return created.error();
    return selectTable(db, QStringLiteral("select * from ") + table + QStringLiteral(" order by date_cde,inc"));
}

Result<DataTable> pricedLines(QSqlDatabase db, const QString &kind, int inc, const QString &saleUnit)
{
    Q_UNUSED(saleUnit);
    if (kind == QLatin1String("GRUME")) return selectTable(db, orderLinesSql(QStringLiteral("inc_cde=?")), {inc});
    return selectTable(db, deliveryLinesSql(QStringLiteral("inc=?")), {inc});
}

Result<qint64> toggleRow(QSqlDatabase db, int inc)
{
    const QString table = placeTable();
    if (auto done = execute(db,
                            QStringLiteral("update ") + table +
                                QStringLiteral(" set sel=case when sel='NON' then 'OUI' else 'NON' end where inc=?"),
                            {inc});
        !done)
        return done.error();
    auto sales = selectedSales(db);
    if (!sales) return sales.error();
    qint64 total = 0;
    for (const SelectedSale &s : *sales) total += s.priceCents;
    return total;
}

Result<QList<SelectedSale>> selectedSales(QSqlDatabase db)
{
    auto rows = select(db, QStringLiteral("select u3,inc,prix_vente from ") + placeTable() +
                               QStringLiteral(" where sel='OUI' order by date_cde,inc"));
    if (!rows) return rows.error();
    QList<SelectedSale> sales;
    for (const QSqlRecord &r : *rows)
        sales.append({r.value(0).toString(), r.value(1).toInt(), toCents(r.value(2).toDouble())});
    return sales;
}

Result<InvoiceCustomer> invoiceCustomer(QSqlDatabase db, const QString &place, const QString &client)
{
    auto row = selectOne(
        db,
        QStringLiteral("select destination,client,adresse,adresse1,cp,ville,pays,client_fac,"
                       "adresse_fac,adresse1_fac,cp_fac,ville_fac,pays_fac,tva_intra,inc_tva,"
                       "inc_reglement from destination where destination=?"),
        {place}, QStringLiteral("La destination « %1 » n'existe plus : la facture ne peut pas être créée.").arg(place));
    if (!row) {
        if (row.error().is(ErrorKind::NotFound)) return Error::refusal(row.error().message);
        return row.error();
    }
    InvoiceCustomer c;
    for (int i = 0; i < row->count(); ++i) c.values.insert(row->fieldName(i), row->value(i));
    if (!client.isEmpty()) c.values.insert(QStringLiteral("client"), client);
    return c;
}

Result<WrittenInvoice> writeInvoice(QSqlDatabase db, const InvoiceToWrite &invoice)
{
    if (invoice.sales.isEmpty()) return Error::refusal(nothingSelectedMessage());
    if (invoice.vatInc <= 0) return Error::refusal(missingVatRateMessage());
    if (invoice.modeInc <= 0) return Error::refusal(missingPaymentModeMessage());
    // the due date is settled before anything is written
    if (!invoice.due.isValid()) return Error::refusal(dueDateErrorMessage());
    if (!invoice.date.isValid()) return Error::refusal(QStringLiteral("Date de facture incorrecte"));

    QList<SelectedSale> orders, deliveries;
    for (const SelectedSale &s : invoice.sales) (s.kind == QLatin1String("GRUME") ? orders : deliveries).append(s);

    WrittenInvoice written;
    const Status done = inTransaction(db, [&]() -> Status {
        auto number = takeInvoiceNumber(db);
        if (!number) return number.error();
        written.number = *number;

        // read under lock: the invoices of every workstation queue on the counter row
        auto latest = scalar(db, QStringLiteral("select max(date_fac) as n1 from facture_entete for update"));
        if (!latest) return latest.error();
        if (auto refusal = invoiceDateRefusal(invoice.date, latest->toDate())) return Error::refusal(*refusal);

        auto lockedOrders =
            lockAndFlag(db, QStringLiteral("cde"), QStringLiteral("date_cde,type_cde,destination,unite_liv"), orders,
                        QStringLiteral("prix_vente"), written.number);
        if (!lockedOrders) return lockedOrders.error();
        auto lockedDeliveries =
            lockAndFlag(db, QStringLiteral("livraison"), QStringLiteral("date_livraison,operation,destination,unite"),
                        deliveries, QStringLiteral("prix_total"), written.number);
        if (!lockedDeliveries) return lockedDeliveries.error();

        // the priced lines of every sale, in two statements
        QHash<int, QList<QSqlRecord>> lines;
        auto readLines = [&](const QList<SelectedSale> &sales, const QString &sql) -> Status {
            if (sales.isEmpty()) return {};
            QVariantList keys;
            for (const SelectedSale &s : sales) keys << s.inc;
            auto rows = select(db, sql, keys);
            if (!rows) return rows.error();
            for (const QSqlRecord &r : *rows) lines[r.value(QStringLiteral("inc_cde")).toInt()].append(r);
            return {};
        };
        if (Status s = readLines(
                orders, orderLinesSql(QStringLiteral("inc_cde in (") + marks(orders.size()) + QLatin1Char(')')));
            !s)
            return s;
        if (Status s = readLines(
                deliveries, deliveryLinesSql(QStringLiteral("inc in (") + marks(deliveries.size()) + QLatin1Char(')')));
            !s)
            return s;

        QList<QVariantList> body, detail;
        qint64 ht = 0;
        for (const SelectedSale &s : invoice.sales) {
            const bool order = s.kind == QLatin1String("GRUME");
            const QSqlRecord r = order ? lockedOrders->value(s.inc) : lockedDeliveries->value(s.inc);
            const QDate date = r.value(order ? QStringLiteral("date_cde") : QStringLiteral("date_livraison")).toDate();
            ht += s.priceCents;
            body.append({written.number, s.kind, s.inc, date,
                         r.value(order ? QStringLiteral("type_cde") : QStringLiteral("operation")),
                         r.value(QStringLiteral("destination")),
                         r.value(order ? QStringLiteral("unite_liv") : QStringLiteral("unite")),
                         order ? r.value(QStringLiteral("prix_vente")) : r.value(QStringLiteral("prix_total"))});
            for (const QSqlRecord &l : lines.value(s.inc))
                detail.append({written.number, s.inc, l.value(QStringLiteral("source")), l.value(QStringLiteral("inc")),
                               date, l.value(QStringLiteral("n_lot")), l.value(QStringLiteral("essence")),
                               l.value(QStringLiteral("qualite")), l.value(QStringLiteral("qte_liv")),
                               l.value(QStringLiteral("unite_liv")), l.value(QStringLiteral("prix_unit")),
                               l.value(QStringLiteral("prix_total")), l.value(QStringLiteral("humidite")),
                               l.value(QStringLiteral("total_mwh")), l.value(QStringLiteral("pefc"))});
        }
        if (Status s =
                insertRows(db, QStringLiteral("facture_corps"),
                           {QStringLiteral("inc_facture"), QStringLiteral("type1"), QStringLiteral("inc_liv"),
                            QStringLiteral("date_liv"), QStringLiteral("type_liv"), QStringLiteral("destination"),
                            QStringLiteral("unite_vente"), QStringLiteral("total_ht")},
                           body);
            !s)
            return s;
        if (Status s =
                insertRows(db, QStringLiteral("facture_corps_detail"),
                           {QStringLiteral("inc_facture"), QStringLiteral("inc_corps"), QStringLiteral("origine"),
                            QStringLiteral("inc_source"), QStringLiteral("date_liv"), QStringLiteral("n_lot"),
                            QStringLiteral("essence"), QStringLiteral("qualite"), QStringLiteral("qte_liv"),
                            QStringLiteral("unite_liv"), QStringLiteral("prix_unit"), QStringLiteral("prix_total"),
                            QStringLiteral("humidite"), QStringLiteral("total_mwh"), QStringLiteral("pefc")},
                           detail);
            !s)
            return s;

        written.amounts = invoiceAmounts(ht, invoice.vatRate);
        QHash<QString, QVariant> customer = invoice.customer.values;
        static const QStringList printedTwin{QStringLiteral("client"), QStringLiteral("adresse"),
                                             QStringLiteral("adresse1"), QStringLiteral("cp"), QStringLiteral("ville")};
        for (auto it = invoice.edited.cbegin(); it != invoice.edited.cend(); ++it) {
            customer.insert(it.key(), textOrNull(it.value()));
            if (printedTwin.contains(it.key()))
                customer.insert(it.key() + QStringLiteral("_fac"), textOrNull(it.value()));
        }
        QList<ColumnValue> header{{QStringLiteral("num_facture"), written.number},
                                  {QStringLiteral("type_fac"), QStringLiteral("FACTURE")},
                                  {QStringLiteral("date_fac"), invoice.date},
                                  {QStringLiteral("echeance"), invoice.due}};
        for (const QString &c : {QStringLiteral("destination"), QStringLiteral("client"), QStringLiteral("adresse"),
                                 QStringLiteral("adresse1"), QStringLiteral("cp"), QStringLiteral("ville"),
                                 QStringLiteral("pays"), QStringLiteral("client_fac"), QStringLiteral("adresse_fac"),
                                 QStringLiteral("adresse1_fac"), QStringLiteral("cp_fac"), QStringLiteral("ville_fac"),
                                 QStringLiteral("pays_fac"), QStringLiteral("tva_intra")})
            header.append({c, customer.value(c)});
        header.append({QStringLiteral("inc_tva"), invoice.vatInc});
        header.append({QStringLiteral("inc_reglement"), invoice.modeInc});
        header.append({QStringLiteral("montant_ht"), fromCents(written.amounts.ht)});
        header.append({QStringLiteral("montant_tva"), fromCents(written.amounts.tva)});
        header.append({QStringLiteral("montant_ttc"), fromCents(written.amounts.ttc)});
        if (auto inserted = insertRow(db, QStringLiteral("facture_entete"), header); !inserted) return inserted.error();
        return {};
    });
    if (!done) return done.error();
    return written;
}

Result<QList<SaleWithLines>> selectedSalesWithLines(QSqlDatabase db)
{
    auto rows = select(db, QStringLiteral("select u3,inc,date_cde,type_cde,prix_vente,unite_vente from ") +
                               placeTable() + QStringLiteral(" where sel='OUI' order by date_cde,inc"));
    if (!rows) return rows.error();
    QList<SaleWithLines> sales;
    QVariantList orders, deliveries;
    for (const QSqlRecord &r : *rows) {
        SaleWithLines s;
        s.kind = r.value(0).toString();
        s.inc = r.value(1).toInt();
        s.date = r.value(2).toDate();
        s.type = r.value(3).toString();
        s.amount = r.value(4).toDouble();
        s.saleUnit = r.value(5).toString();
        (s.kind == QLatin1String("GRUME") ? orders : deliveries) << s.inc;
        sales.append(s);
    }
    QHash<int, DataTable> lines;
    auto readLines = [&](const QVariantList &keys, const QString &sql) -> Status {
        if (keys.isEmpty()) return {};
        auto table = selectTable(db, sql, keys);
        if (!table) return table.error();
        const int owner = table->columnIndex(QStringLiteral("inc_cde"));
        for (int r = 0; r < table->rowCount(); ++r) {
            const int inc = table->value(r, owner).toInt();
            auto it = lines.find(inc);
            if (it == lines.end()) it = lines.insert(inc, DataTable(table->columns()));
            QVariantList values;
            for (int c = 0; c < table->columnCount(); ++c) values << table->value(r, c);
            it->addRow(values);
        }
        return {};
    };
    if (Status s =
            readLines(orders, orderLinesSql(QStringLiteral("inc_cde in (") + marks(orders.size()) + QLatin1Char(')')));
        !s)
        return s.error();
    if (Status s = readLines(
            deliveries, deliveryLinesSql(QStringLiteral("inc in (") + marks(deliveries.size()) + QLatin1Char(')')));
        !s)
        return s.error();
    for (SaleWithLines &s : sales) s.lines = lines.value(s.inc);
    return sales;
}

} // namespace ravelin
