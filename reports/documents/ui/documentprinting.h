#pragma once

#include <QString>

class QWidget;

namespace ravelin {

struct AppContext;

// The print screens of the sales documents, each a preview of its laid-out document.

// imp_bl: the delivery note of order `number` (origin "GRUME") or of chip delivery `number`
// ("PLAQUETTE"). "Imprimer" prints on paper; "PDF" writes report.pdf in the working folder,
// replacing it, then says so. A number of 0 or less opens nothing.
void printDeliveryNote(AppContext &context, int number, const QString &origin, QWidget *parent);

// imp_facture: the invoice or credit note `number`; "Imprimer" prints it and closes. A number of 0
// or less opens nothing.
void printInvoiceDocument(AppContext &context, int number, QWidget *parent);

} // namespace ravelin
