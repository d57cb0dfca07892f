#pragma once

#include "invoicestore.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class liste_facture;
}

namespace ravelin {

struct AppContext;
class DetailReload;
class ListGrid;

// liste_facture: the invoices and credit notes of a period with their totals and delivery notes;
// the creation of an invoice, of a credit note, and the printing start here.
class InvoiceListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit InvoiceListDialog(AppContext &context, QWidget *parent = nullptr);
    ~InvoiceListDialog() override;

    Ui::liste_facture *ui() const { return m_ui.get(); }
    ListGrid *invoices() const { return m_list; }
    ListGrid *deliveryNotes() const { return m_notes; }
    DetailReload *notesReload() const { return m_reload; }

    InvoiceSearch filters() const;
    // The current document's number; nothing when the list is empty.
    std::optional<int> currentNumber() const;

public slots:
    // "rech.", the sorts and the dates.
    void search();
    // "Créer FACTURE": the selection screen, the validation screen, then the invoice written.
    void createInvoice();
    // "Créer AVOIR" on the current invoice.
    void createCreditNote();
    // "Imprimer" and the double click.
    void print();
    // The delivery notes of the current document (what the 200 ms timer runs).
    void reloadNotes();

private:
    void showTotals();
    // Lists the documents again, the document `number` selected when given.
    void rerun(std::optional<int> number = std::nullopt);

    std::unique_ptr<Ui::liste_facture> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
    ListGrid *m_notes;
    DetailReload *m_reload;
    InvoiceSearch m_lastSearch;
};

// Opens the invoice list (menu "Facturation" → "Liste des Factures").
void openInvoiceList(AppContext &context, QWidget *parent);

} // namespace ravelin
