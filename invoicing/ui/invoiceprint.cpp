#include "invoiceprint.h"

#include "appcontext.h"
#include "dialogs.h"

namespace ravelin {

bool invoicePrintingAvailable()
{
    return false;
}

void printInvoice(AppContext &context, int number, QWidget *parent)
{
    Q_UNUSED(number);
    Q_UNUSED(parent);
    context.dialogs->message(QStringLiteral("L'impression des factures n'est pas encore disponible."));
}

} // namespace ravelin
