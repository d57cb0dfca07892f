#pragma once

#include <functional>

class QWidget;

namespace ravelin {

struct AppContext;

// The printed invoice (imp_facture), installed by the program at start-up (app/screens.cpp). Until
// it is, the ways to it ("Imprimer", the double click, "Valider et imprimer") stay disabled.
using InvoicePrinter = std::function<void(AppContext &, int number, QWidget *parent)>;
void setInvoicePrinter(InvoicePrinter printer);
bool invoicePrintingAvailable();
// Shows the print preview of document `number`.
void printInvoice(AppContext &context, int number, QWidget *parent);

} // namespace ravelin
