#pragma once

#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The printed invoice or credit note (imp_facture, A4 portrait): the header, its delivery notes,
// their lines, the company, the VAT rate and the payment mode of one document.

inline QString invoiceTemplateName()
{
    return QStringLiteral("invoice");
}

struct InvoiceSets
{
    DataTable header;  // entete: facture_entete
    DataTable body;    // corps: facture_corps, plus humidite_vue (a line of the note shows moisture)
    DataTable lines;   // detail: facture_corps_detail of the whole document, linked by inc_corps
    DataTable company; // perso
    DataTable rate;    // tva: liste_tva row of the header (none when deleted)
    DataTable payment; // reglement: liste_reglement row of the header (none when deleted)
};

// Reads the six sets in one transaction, the lines of every note in one statement.
Result<InvoiceSets> readInvoice(QSqlDatabase db, int number);

// The sets plus the computed values "titre" (type_fac + "  n° " + number) and "libelle_tva"
// ("Total TVA (5,5%)").
ReportData invoiceData(const InvoiceSets &sets);
Result<ReportDocument> layoutInvoice(const ReportData &data);

} // namespace ravelin
