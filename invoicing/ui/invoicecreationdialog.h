#pragma once

#include "datatable.h"

#include <QDialog>

#include <memory>

namespace Ui {
class creer_facture;
}

namespace ravelin {

struct AppContext;
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

public slots:
    // "Chercher", also run when the screen opens.
    void searchCustomers();
    // "selectionner livraison à facturer" and the double click: ticks or unticks the current row.
    void toggleCurrent();
    // "Créer Facture".
    void confirm();

private:
    void placeChanged();
    void rowChanged();
    void showSelected();

    std::unique_ptr<Ui::creer_facture> m_ui;
    AppContext &m_context;
    ListGrid *m_customers;
    ListGrid *m_rows;
    ListGrid *m_lines;
    DataTable m_rowTable;
    qint64 m_selected = 0;
};

} // namespace ravelin
