#pragma once

#include "datatable.h"
#include "invoicerules.h"
#include "result.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

namespace ravelin {

// The making of an invoice: the customer places with something to invoice, a place's invoiceable
// orders and deliveries in this workstation's work tables, the ticking, and the writing of the
// invoice in one transaction.

// The customer places with orders or chip sales to invoice, built in the work table "Fac":
// client, destination, t1 (amount), t2 (quantity), nb, moy_qte, moy_humidite; `client` filters
// on the customer's name. One row per place, by place.
Result<DataTable> customerSummary(QSqlDatabase db, const QString &client);

// The place's invoiceable orders and deliveries, built in the work table "Fac2" (sel 'NON') and
// read by date: sel, inc, destination, u1, u2, u3 ("GRUME" or "PLAQUETTE"), date_cde, type_cde,
// ville_liv, pays_liv, qte_defaut_totale, n_cde_client, prix_vente, livree, unite_liv,
// qte_liv_totale, unite_vente. Deliveries follow the summary's rules: sales only, priced.
Result<DataTable> placeRows(QSqlDatabase db, const QString &place, const QString &defaultUnit);

// The priced lines of one order ("GRUME": its volume and loaded-log lines) or delivery
// ("PLAQUETTE": the delivery itself, by the tonne or by the MWh): inc, source, essence, qualite,
// qte_liv, unite_liv, prix_unit, prix_total, n_lot, humidite, total_mwh, pefc.
Result<DataTable> pricedLines(QSqlDatabase db, const QString &kind, int inc, const QString &saleUnit);

// Ticks the row `inc` of the place rows, or unticks it; gives the new selected total in cents.
Result<qint64> toggleRow(QSqlDatabase db, int inc);

// One order or delivery ticked, with its amount as the user saw it.
struct SelectedSale
{
    QString kind; // "GRUME" or "PLAQUETTE"
    int inc = 0;
    qint64 priceCents = 0;
};
// The ticked rows, by date.
Result<QList<SelectedSale>> selectedSales(QSqlDatabase db);

// The customer copied into a new invoice: the columns of facture_entete named as in the place.
struct InvoiceCustomer
{
    QHash<QString, QVariant> values; // destination, client, adresse ... tva_intra, inc_tva, inc_reglement
    QString value(const QString &column) const { return values.value(column).toString(); }
};

// The customer of the place, found by its name alone; a place that no longer exists is refused.
// `client` is the summary's customer name.
Result<InvoiceCustomer> invoiceCustomer(QSqlDatabase db, const QString &place, const QString &client);

// What the validation screen settled.
struct InvoiceToWrite
{
    InvoiceCustomer customer;
    // customer fields the user changed (client, adresse, adresse1, ville, cp, tva_intra): each goes
    // to the header, and the printed "_fac" twin takes it too
    QHash<QString, QString> edited;
    QDate date;
    QDate due;
    int vatInc = 0;
    double vatRate = 0;
    int modeInc = 0;
    QList<SelectedSale> sales;
};

struct WrittenInvoice
{
    int number = 0;
    InvoiceAmounts amounts;
};

// Writes the invoice in one transaction: its number taken from the counter (never one already
// used), the date checked against the latest invoice date, the ticked orders and deliveries locked
// and flagged while they are still uninvoiced at the amount selected (else refused, naming the
// BL), then the body, detail and header rows. Any failure leaves nothing written and the counter
// as it was.
Result<WrittenInvoice> writeInvoice(QSqlDatabase db, const InvoiceToWrite &invoice);

} // namespace ravelin

namespace ravelin {

// A ticked order or delivery with its priced lines, as the validation screen draws it.
struct SaleWithLines
{
    QString kind; // u3
    int inc = 0;
    QDate date;
    QString type;      // type_cde
    double amount = 0; // prix_vente
    QString saleUnit;  // unite_vente
    DataTable lines;   // as pricedLines() gives them
};

// The ticked rows of the place, by date, each with its priced lines, in three statements.
Result<QList<SaleWithLines>> selectedSalesWithLines(QSqlDatabase db);

} // namespace ravelin
