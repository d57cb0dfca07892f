#pragma once

#include "datatable.h"

#include <QDialog>

#include <memory>

namespace Ui {
class creer_facture;
}

namespace ravelin {

struct AppContext;
class DatabaseWorker;
class ListGrid;

// creer_facture: the customer places with something to invoice, the chosen place's invoiceable
// orders and deliveries to tick, and the priced lines of the current one. "Créer Facture" closes
// it accepted once the user confirms the ticked total; the caller makes the invoice.
class InvoiceCreationDialog : public QDialog
{
    Q_OBJECT
public:
    explicit InvoiceCreationDialog(AppContext &context, QWidget *parent = nullptr);
    ~InvoiceCreationDialog() override;

    Ui::creer_facture *ui() const { return m_ui.get(); }
    ListGrid *customers() const { return m_customers; }
    ListGrid *rows() const { return m_rows; }
    ListGrid *lines() const { return m_lines; }

    // The chosen place and its customer (empty when none).
    QString place() const;
    QString client() const;
    qint64 selectedTotal() const { return m_selected; }
    // True while the customer summary is being built.
    bool searching() const { return m_searchTicket != 0; }

public slots:
    // "Chercher", also run when the screen opens. The summary is built on a connection of its own
    // (the work table "Fac" is read only there), so the screen stays free meanwhile; the places show
    // when it is ready.
    void searchCustomers();
    // "selectionner livraison à facturer" and the double click: ticks or unticks the current row.
    void toggleCurrent();
    // "Créer Facture".
    void confirm();

private:
    void placeChanged();
    void rowChanged();
    void showSelected();
    void showCustomers(const DataTable &summary);

    std::unique_ptr<Ui::creer_facture> m_ui;
    AppContext &m_context;
    ListGrid *m_customers;
    ListGrid *m_rows;
    ListGrid *m_lines;
    DataTable m_rowTable;
    qint64 m_selected = 0;
    DatabaseWorker *m_worker = nullptr;
    quint64 m_searchTicket = 0;
};

} // namespace ravelin
