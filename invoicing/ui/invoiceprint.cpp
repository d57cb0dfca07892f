#include "invoiceprint.h"

#include "appcontext.h"
#include "dialogs.h"

namespace ravelin {

namespace {

InvoicePrinter &installedPrinter()
{
    static InvoicePrinter printer;
    return printer;
}

} // namespace

void setInvoicePrinter(InvoicePrinter printer)
{
    installedPrinter() = std::move(printer);
}

bool invoicePrintingAvailable()
{
    return bool(installedPrinter());
}

void printInvoice(AppContext &context, int number, QWidget *parent)
{
    if (installedPrinter()) {
        installedPrinter()(context, number, parent);
        return;
    }
    context.dialogs->message(QStringLiteral("L'impression des factures n'est pas encore disponible."));
}

} // namespace ravelin
