#pragma once

#include "invoicecreation.h"
#include "invoicestore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class validation_facture;
}

namespace ravelin {

struct AppContext;
class InvoicePreview;

// validation_facture: the last step of an invoice. Shows the customer, the lines, the amounts, the
// rate, the payment mode and the due date of the invoice being made, recomputes VAT and due date
// when the rate, the mode or the date change, checks the invoice-date rule, and hands back what
// was settled. It writes nothing.
class InvoiceValidationDialog : public QDialog
{
    Q_OBJECT
public:
    InvoiceValidationDialog(AppContext &context, const InvoiceCustomer &customer, const QString &title, qint64 htCents,
                            const QDate &today, const QList<SaleWithLines> &sales, QWidget *parent = nullptr);
    ~InvoiceValidationDialog() override;

    Ui::validation_facture *ui() const { return m_ui.get(); }
    InvoicePreview *preview() const { return m_preview; }
    bool loaded() const { return m_loaded; }

    // What the user settled, once accepted.
    QDate invoiceDate() const;
    QDate due() const;
    int vatInc() const;
    double vatRate() const;
    int modeInc() const;
    InvoiceAmounts amounts() const { return m_amounts; }
    bool printAsked() const { return m_print; }
    // The customer fields changed on screen, by column.
    QHash<QString, QString> editedCustomer() const;

public slots:
    // "calcul TVA et Echéance": VAT, total and due date from the rate, mode and date shown.
    void compute();
    // The two validating buttons.
    void validate(bool print);

private:
    std::unique_ptr<Ui::validation_facture> m_ui;
    AppContext &m_context;
    InvoiceCustomer m_customer;
    qint64 m_ht;
    InvoiceAmounts m_amounts;
    QList<VatRate> m_rates;
    QList<PaymentMode> m_modes;
    InvoicePreview *m_preview;
    bool m_print = false;
    bool m_loaded = false;
};

} // namespace ravelin
