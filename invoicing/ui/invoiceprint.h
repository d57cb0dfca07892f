#pragma once

class QWidget;

namespace ravelin {

struct AppContext;

// The printed invoice (imp_facture). It comes with the printed documents; until then the ways to
// it ("Imprimer", the double click, "Valider et imprimer") stay disabled.
bool invoicePrintingAvailable();
// Shows the print preview of document `number`.
void printInvoice(AppContext &context, int number, QWidget *parent);

} // namespace ravelin
