#include "documentprinting.h"

#include "appcontext.h"
#include "deliverynote.h"
#include "invoicedocument.h"
#include "modal.h"
#include "reportpreview.h"

#include <QDir>

namespace ravelin {

void printDeliveryNote(AppContext &context, int number, const QString &origin, QWidget *parent)
{
    if (number <= 0) return;
    auto sets = readDeliveryNote(context.db, number, origin);
    if (!sets) {
        context.dialogs->error(sets.error());
        return;
    }
    // The logo is looked for in the working folder, where the note is written too.
    ReportData data = deliveryNoteData(*sets);
    data.setPictureFolder(QDir::currentPath());
    auto document = layoutDeliveryNote(data);
    if (!document) {
        context.dialogs->error(document.error());
        return;
    }
    ReportPreview preview(*document, *context.dialogs, parent);
    preview.setObjectName(QStringLiteral("imp_bl"));
    preview.enablePdfExport(QDir::current().filePath(deliveryNotePdfName()),
                            QStringLiteral("Export PDF terminé : ") + deliveryNotePdfName());
    runModal(preview);
}

void printInvoiceDocument(AppContext &context, int number, QWidget *parent)
{
    if (number <= 0) return;
    auto sets = readInvoice(context.db, number);
    if (!sets) {
        context.dialogs->error(sets.error());
        return;
    }
    ReportData data = invoiceData(*sets);
    data.setPictureFolder(QDir::currentPath());
    auto document = layoutInvoice(data);
    if (!document) {
        context.dialogs->error(document.error());
        return;
    }
    ReportPreview preview(*document, *context.dialogs, parent);
    preview.setObjectName(QStringLiteral("imp_facture"));
    runModal(preview);
}

} // namespace ravelin
