#include "invoicevalidationdialog.h"
#include "ui_invoicevalidationdialog.h"

#include "appcontext.h"
#include "dialogs.h"
#include "formats.h"
#include "invoicepreview.h"
#include "invoiceprint.h"
#include "textlimits.h"

#include <QStyle>

namespace ravelin {

namespace {

const QStringList customerFields{QStringLiteral("client"), QStringLiteral("adresse"), QStringLiteral("adresse1"),
                                 QStringLiteral("ville"),  QStringLiteral("cp"),      QStringLiteral("tva_intra")};

QString amountText(qint64 cents)
{
    return formatNumber(fromCents(cents), QStringLiteral("# ###.00"));
}

} // namespace

InvoiceValidationDialog::InvoiceValidationDialog(AppContext &context, const InvoiceCustomer &customer,
                                                 const QString &title, qint64 htCents, const QDate &today,
                                                 const QList<SaleWithLines> &sales, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::validation_facture>()), m_context(context), m_customer(customer),
      m_ht(htCents)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("facture_entete"));
    setWindowTitle(title);

    for (const QString &field : customerFields)
        if (auto *edit = findChild<QLineEdit *>(field)) edit->setText(customer.value(field));
    const QString clientStyle = QStringLiteral("QLineEdit { background-color: #53C7FF; }");
    for (QLineEdit *edit : {m_ui->client, m_ui->adresse, m_ui->adresse1, m_ui->ville, m_ui->cp})
        edit->setStyleSheet(clientStyle);
    const QString required = QStringLiteral("QComboBox { background-color: lime; }");
    m_ui->inc_tva->setStyleSheet(required);
    m_ui->inc_reglement->setStyleSheet(required);

    m_ui->BtnValiderImprimer->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_ui->BtnValider->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    m_ui->BtnAbandon->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_ui->BtnValiderImprimer->setEnabled(invoicePrintingAvailable());

    m_preview = new InvoicePreview(m_ui->ScrollBar_apercu, this);
    m_ui->previewLayout->replaceWidget(m_ui->Zone_apercu, m_preview);
    m_ui->Zone_apercu->hide();
    m_preview->setSales(sales);

    auto rates = vatRates(context.db);
    auto modes = paymentModes(context.db);
    if (!rates) context.dialogs->error(rates.error());
    if (!modes) context.dialogs->error(modes.error());
    m_loaded = rates && modes;
    if (rates) m_rates = *rates;
    if (modes) m_modes = *modes;
    for (const VatRate &r : m_rates) m_ui->inc_tva->addItem(formatValue(r.rate, QStringLiteral("0.##")), r.inc);
    for (const PaymentMode &m : m_modes) m_ui->inc_reglement->addItem(m.name, m.inc);
    m_ui->inc_tva->setCurrentIndex(m_ui->inc_tva->findData(customer.values.value(QStringLiteral("inc_tva")).toInt()));
    m_ui->inc_reglement->setCurrentIndex(
        m_ui->inc_reglement->findData(customer.values.value(QStringLiteral("inc_reglement")).toInt()));
    m_ui->date_fac->setDate(today);
    m_ui->echeance->setDate(today);
    m_ui->total_ht->setText(amountText(m_ht));
    compute();

    connect(m_ui->inc_tva, &QComboBox::currentIndexChanged, this, &InvoiceValidationDialog::compute);
    connect(m_ui->inc_reglement, &QComboBox::currentIndexChanged, this, &InvoiceValidationDialog::compute);
    // a click on the list recomputes even when the same mode is chosen again
    connect(m_ui->inc_reglement, &QComboBox::activated, this, &InvoiceValidationDialog::compute);
    connect(m_ui->date_fac, &QDateEdit::dateChanged, this, &InvoiceValidationDialog::compute);
    connect(m_ui->calcul, &QPushButton::clicked, this, &InvoiceValidationDialog::compute);
    connect(m_ui->BtnValiderImprimer, &QToolButton::clicked, this, [this] { validate(true); });
    connect(m_ui->BtnValider, &QToolButton::clicked, this, [this] { validate(false); });
    connect(m_ui->BtnAbandon, &QToolButton::clicked, this, &QDialog::reject);
}

InvoiceValidationDialog::~InvoiceValidationDialog() = default;

QDate InvoiceValidationDialog::invoiceDate() const
{
    return m_ui->date_fac->date();
}

QDate InvoiceValidationDialog::due() const
{
    return m_ui->echeance->date();
}

int InvoiceValidationDialog::vatInc() const
{
    return m_ui->inc_tva->currentIndex() >= 0 ? m_ui->inc_tva->currentData().toInt() : 0;
}

double InvoiceValidationDialog::vatRate() const
{
    const int index = m_ui->inc_tva->currentIndex();
    return index >= 0 && index < m_rates.size() ? m_rates.at(index).rate : 0;
}

int InvoiceValidationDialog::modeInc() const
{
    return m_ui->inc_reglement->currentIndex() >= 0 ? m_ui->inc_reglement->currentData().toInt() : 0;
}

QHash<QString, QString> InvoiceValidationDialog::editedCustomer() const
{
    QHash<QString, QString> edited;
    for (const QString &field : customerFields)
        if (auto *edit = findChild<QLineEdit *>(field); edit && edit->text() != m_customer.value(field))
            edited.insert(field, edit->text());
    return edited;
}

void InvoiceValidationDialog::compute()
{
    // the rate is the chosen row's number: "5,5" on screen is 5.5, never a text to read back
    m_amounts = invoiceAmounts(m_ht, vatRate());
    m_ui->total_tva->setText(amountText(m_amounts.tva));
    m_ui->total_ttc->setText(amountText(m_amounts.ttc));
    const int mode = m_ui->inc_reglement->currentIndex();
    if (mode < 0 || mode >= m_modes.size()) return;
    if (const auto date = dueDate(m_ui->date_fac->date(), m_modes.at(mode).terms)) m_ui->echeance->setDate(*date);
    else m_context.dialogs->message(dueDateErrorMessage());
}

void InvoiceValidationDialog::validate(bool print)
{
    if (m_ui->inc_tva->currentIndex() < 0) {
        m_context.dialogs->message(missingVatRateMessage());
        return;
    }
    if (m_ui->inc_reglement->currentIndex() < 0) {
        m_context.dialogs->message(missingPaymentModeMessage());
        return;
    }
    // the due date shown is kept: the user may have typed it
    auto latest = latestInvoiceDate(m_context.db);
    if (!latest) {
        m_context.dialogs->error(latest.error());
        return;
    }
    if (auto refusal = invoiceDateRefusal(m_ui->date_fac->date(), *latest)) {
        m_context.dialogs->message(*refusal);
        return;
    }
    m_print = print;
    accept();
}

} // namespace ravelin
