#include "documentprinting.h"

#include "appcontext.h"
#include "deliverynote.h"
#include "facturx.h"
#include "invoicedocument.h"
#include "modal.h"
#include "paths.h"
#include "reportpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSettings>

namespace ravelin {

namespace {

// Where this workstation last wrote an e-invoice: the next one is proposed there.
const QString kEInvoiceFolderKey = QStringLiteral("facture_electronique/dossier");

QString lastEInvoiceFolder()
{
    const QString folder = QSettings(QStringLiteral("Ravelin")).value(kEInvoiceFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : documentsFolder();
}

// "Facture électronique": refused with every reason before any question, else the file chosen
// (FACTURE_<n>.pdf or AVOIR_<n>.pdf proposed) is written whole; the preview stays open for printing.
void saveEInvoice(AppContext &context, const InvoiceSets &sets, const ReportDocument &document)
{
    if (auto xml = facturXml(sets); !xml) {
        context.dialogs->error(xml.error());
        return;
    }
    const QString path =
        context.dialogs->saveFile(QStringLiteral("Facture électronique"), QStringLiteral("Fichier PDF (*.pdf)"),
                                  QDir(lastEInvoiceFolder()).filePath(facturXPdfName(sets)));
    if (path.isEmpty()) return;
    if (Status s = writeFacturXInvoice(sets, document, path); !s) {
        context.dialogs->error(s.error());
        return;
    }
    QSettings(QStringLiteral("Ravelin")).setValue(kEInvoiceFolderKey, QFileInfo(path).absolutePath());
    context.dialogs->message(QStringLiteral("Facture électronique enregistrée : ") + QFileInfo(path).fileName());
}

} // namespace

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
    if (facturXEnabled(*sets)) {
        QPushButton *button =
            preview.addButton(QStringLiteral("factureElectronique"), QStringLiteral("Facture électronique"));
        QObject::connect(button, &QPushButton::clicked, &preview,
                         [&context, &preview, invoice = *sets] { saveEInvoice(context, invoice, preview.document()); });
    }
    runModal(preview);
}

} // namespace ravelin
