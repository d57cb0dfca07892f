#pragma once

#include "boundquery.h"
#include "datatable.h"
#include "invoicerules.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The invoice list, the reference lists of the validation screen, the numbering and the credit
// note.

enum class InvoiceSort { Date, Client, Number };

// The filters of the invoice list as typed.
struct InvoiceSearch
{
    QString client;
    QString number; // a whole number, or empty
    InvoiceSort sort = InvoiceSort::Number;
    QDate from;
    QDate to;
};

// The invoices and credit notes of the period with their rate and payment mode. A document whose
// rate or mode has since been deleted from its list is still listed (with an empty rate or mode).
// A number that is not whole is refused ("Saisie incorrecte").
Result<PagedQuery> invoiceListQuery(const InvoiceSearch &search);

// The body rows ("Liste des Bon de Livraison") of one document, by delivery date.
Result<DataTable> invoiceBodyRows(QSqlDatabase db, int number);

// The latest invoice date (invalid when there is no invoice yet).
Result<QDate> latestInvoiceDate(QSqlDatabase db);

// A row of liste_tva: the rate as the number stored, not as a text.
struct VatRate
{
    int inc = 0;
    double rate = 0;
};
// A row of liste_reglement with its terms.
struct PaymentMode
{
    int inc = 0;
    QString name;
    PaymentTerms terms;
};
Result<QList<VatRate>> vatRates(QSqlDatabase db);
Result<QList<PaymentMode>> paymentModes(QSqlDatabase db);

// Takes the next invoice number inside the caller's transaction, passing over a number already
// given to a document (a counter set back by hand, an older workstation's invoice).
Result<int> takeInvoiceNumber(QSqlDatabase db);

// Writes the credit note of invoice `invoice`, dated and due `today`, in one transaction: the
// header, body and detail rows mirrored with opposite quantities and amounts (the unit price kept),
// and the orders and deliveries of the invoice released while they still carry its number; the
// header names the invoice in facture_origine. An
// invoice none of whose sales still carries its number has been credited already and is refused,
// as is a credit note. Gives the credit note's number.
Result<int> createCreditNote(QSqlDatabase db, int invoice, const QDate &today);

} // namespace ravelin
