#pragma once

#include "invoicedocument.h"
#include "result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace ravelin {

// The e-invoice of an invoice or credit note: its Factur-X XML (UN/CEFACT Cross Industry Invoice
// D16B, profile EN 16931), built from the same sets as its print, so that both say the same.
// A credit note is type 381 with its amounts made positive, and names the invoice it credits when
// it is known. The XML holds no time stamp: the same invoice gives the same bytes.
//
// Refused, every reason in one message: a rate of 0 % (no exemption category is kept), a SIRET
// that is not 14 digits, a missing or malformed VAT number, a unit or country the e-invoice has no
// code for, a negative price, lines that do not add up to the total before tax, or a total before
// tax and a tax that do not add up to the total, to the cent.
Result<QByteArray> facturXml(const InvoiceSets &sets);

// Whether the company switched the e-invoice on (perso.facture_electronique is 'OUI').
bool facturXEnabled(const InvoiceSets &sets);

// The file name proposed for the e-invoice: FACTURE_8001.pdf, AVOIR_8002.pdf.
QString facturXPdfName(const InvoiceSets &sets);

// Writes the e-invoice: the document's pages (as printed) plus its XML, in one PDF/A-3 file,
// replaced whole or left as it was. Refused as facturXml() refuses, before anything is written.
// `when` is the file's creation date.
Status writeFacturXInvoice(const InvoiceSets &sets, const ReportDocument &document, const QString &filePath,
                           const QDateTime &when = QDateTime::currentDateTime());

// UN/ECE recommendation 20 code of a unit of the program: m3 MTQ, T and TONNE TNE, Stere G26, MWH
// MWH, Heure HUR; empty when it has none.
QString facturXUnit(const QString &unit);
// ISO 3166 code of a country as the customer's file names it: empty or "France" FR, a two-letter
// code as it is, a few neighbours by their French name; empty when unknown.
QString facturXCountry(const QString &country);

} // namespace ravelin
