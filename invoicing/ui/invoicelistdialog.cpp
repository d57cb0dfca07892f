#include "invoicelistdialog.h"
#include "ui_invoicelistdialog.h"

#include "appcontext.h"
#include "counters.h"
#include "dialogs.h"
#include "formats.h"
#include "gridmodel.h"
#include "invoicecreation.h"
#include "invoicecreationdialog.h"
#include "invoiceprint.h"
#include "invoicevalidationdialog.h"
#include "listgrid.h"
#include "masterdetail.h"
#include "modal.h"

#include <QCalendarWidget>
#include <QTableView>

namespace ravelin {

InvoiceListDialog::InvoiceListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_facture>()), m_context(context)
{
    m_ui->setupUi(this);
    const QString amounts = QStringLiteral("#,##0.00");

    ListDeclaration invoices;
    invoices.screen = QStringLiteral("liste_facture");
    invoices.columns = {
        {QStringLiteral("num_facture"), QStringLiteral("N° fact."), QString(), 80, Qt::AlignRight},
        {QStringLiteral("type_fac"), QStringLiteral("Type"), QString(), 70},
        {QStringLiteral("client"), QString(), QString(), 200},
        {QStringLiteral("ville"), QString(), QString(), 130},
        {QStringLiteral("date_fac"), QStringLiteral("date Fact"), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("montant_ht"), QStringLiteral("Montant HT"), amounts, 100, {}, {}, true},
        {QStringLiteral("n0"), QStringLiteral("."), QString(), 20},
        {QStringLiteral("montant_ttc"), QStringLiteral("montant TTC"), amounts, 100, {}, {}, true},
        {QStringLiteral("n1"), QStringLiteral("."), QString(), 20},
        {QStringLiteral("echeance"), QStringLiteral("Echéance"), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("tva"), QStringLiteral("TVA"), QString(), 50},
        {QStringLiteral("reglement"), QString(), QString(), 200},
    };
    invoices.key = QStringLiteral("inc");
    // a credit note is written in red from end to end
    invoices.textColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("type_fac")).toString() == QLatin1String("AVOIR") ? QColor(Qt::red)
                                                                                              : QColor();
    };
    invoices.counter = m_ui->Label_nb;
    m_list = new ListGrid(context, m_ui->Grille_facture, invoices);

    ListDeclaration notes;
    notes.screen = QStringLiteral("liste_facture_bl");
    notes.columns = {{QStringLiteral("inc_liv"), QStringLiteral("N° BL"), QString(), 70},
                     {QStringLiteral("date_liv"), QStringLiteral("date BL"), QStringLiteral("dd/mm/yyyy"), 80},
                     {QStringLiteral("total_ht"), QStringLiteral("Montant HT"), amounts, 90}};
    notes.key = QStringLiteral("inc_liv");
    m_notes = new ListGrid(context, m_ui->Grille_bl, notes);
    m_reload = new DetailReload(
        200, [this] { reloadNotes(); }, this);

    const QDate today = QDate::currentDate();
    m_ui->date_debut->setDate(today.addDays(-60));
    m_ui->date_fin->setDate(today);
    const bool printing = invoicePrintingAvailable();
    m_ui->BtnImprimer->setEnabled(printing);
    if (!printing) m_ui->BtnImprimer->setToolTip(QStringLiteral("Impression des factures non disponible"));

    connect(m_list, &ListGrid::currentRowChanged, m_reload, &DetailReload::restart);
    connect(m_list, &ListGrid::counted, this, &InvoiceListDialog::showTotals);
    connect(m_ui->rech, &QPushButton::clicked, this, &InvoiceListDialog::search);
    for (QLineEdit *field : {m_ui->client, m_ui->num_facture})
        connect(field, &QLineEdit::returnPressed, this, &InvoiceListDialog::search);
    for (QRadioButton *sort : {m_ui->tri_date, m_ui->tri_client, m_ui->tri_num})
        connect(sort, &QRadioButton::clicked, this, &InvoiceListDialog::search);
    // a date chosen in the drop-down lists again; one being typed waits for the field to be left
    for (QDateEdit *date : {m_ui->date_debut, m_ui->date_fin}) {
        connect(date->calendarWidget(), &QCalendarWidget::clicked, this, &InvoiceListDialog::search);
        connect(date, &QDateEdit::editingFinished, this, [this] {
            if (filters().from != m_lastSearch.from || filters().to != m_lastSearch.to) search();
        });
    }
    connect(m_ui->BtnCreerFacture, &QPushButton::clicked, this, &InvoiceListDialog::createInvoice);
    connect(m_ui->BtnCreerAvoir, &QPushButton::clicked, this, &InvoiceListDialog::createCreditNote);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &InvoiceListDialog::print);
    connect(m_ui->Grille_facture, &QTableView::doubleClicked, this, [this] {
        if (invoicePrintingAvailable()) print();
    });
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);

    search();
}

InvoiceListDialog::~InvoiceListDialog() = default;

InvoiceSearch InvoiceListDialog::filters() const
{
    InvoiceSearch s;
    s.client = m_ui->client->text();
    s.number = m_ui->num_facture->text();
    s.sort = m_ui->tri_date->isChecked()     ? InvoiceSort::Date
             : m_ui->tri_client->isChecked() ? InvoiceSort::Client
                                             : InvoiceSort::Number;
    s.from = m_ui->date_debut->date();
    s.to = m_ui->date_fin->date();
    return s;
}

std::optional<int> InvoiceListDialog::currentNumber() const
{
    if (m_list->currentRow() < 0) return std::nullopt;
    return m_list->currentValue(QStringLiteral("num_facture")).toInt();
}

void InvoiceListDialog::search()
{
    const InvoiceSearch wanted = filters();
    auto statement = invoiceListQuery(wanted);
    if (!statement) {
        m_context.dialogs->error(statement.error());
        return;
    }
    m_lastSearch = wanted;
    m_ui->Label_total_ht->setText(QStringLiteral("( Total HT : … € )"));
    m_ui->Label_total_ttc->setText(QStringLiteral("( Total TTC : … € )"));
    if (Status shown = m_list->setQuery(m_context.db, *statement); !shown) m_context.dialogs->error(shown.error());
}

void InvoiceListDialog::rerun(std::optional<int> number)
{
    auto statement = invoiceListQuery(m_lastSearch);
    if (!statement) return;
    if (Status shown = m_list->setQuery(m_context.db, *statement); !shown) {
        m_context.dialogs->error(shown.error());
        return;
    }
    if (!number) return;
    for (int r = 0; r < m_list->rowCount(); ++r)
        if (m_list->raw(r, QStringLiteral("num_facture")).toInt() == *number) {
            m_list->selectRow(r);
            return;
        }
}

void InvoiceListDialog::showTotals()
{
    auto total = [this](const char *column) {
        return formatNumber(m_list->sum(QLatin1String(column)).toDouble(), QStringLiteral("# ##0"));
    };
    m_ui->Label_total_ht->setText(QStringLiteral("( Total HT : ") + total("montant_ht") + QStringLiteral(" € )"));
    m_ui->Label_total_ttc->setText(QStringLiteral("( Total TTC : ") + total("montant_ttc") + QStringLiteral(" € )"));
}

void InvoiceListDialog::reloadNotes()
{
    const auto number = currentNumber();
    if (!number) {
        m_notes->setTable(DataTable());
        return;
    }
    if (auto rows = invoiceBodyRows(m_context.db, *number)) m_notes->setTable(*rows);
    else m_context.dialogs->error(rows.error());
}

void InvoiceListDialog::createInvoice()
{
    InvoiceCreationDialog selection(m_context, this);
    selection.searchCustomers();
    if (runModal(selection) != QDialog::Accepted) return;

    auto customer = invoiceCustomer(m_context.db, selection.place(), selection.client());
    if (!customer) {
        m_context.dialogs->error(customer.error());
        return;
    }
    auto sales = selectedSalesWithLines(m_context.db);
    if (!sales) {
        m_context.dialogs->error(sales.error());
        return;
    }
    // the number shown is a proposal: it is taken only when the invoice is written
    auto proposal = proposeNextCounter(m_context.db, Counter::NumFacture);
    if (!proposal) {
        m_context.dialogs->error(proposal.error());
        return;
    }
    const QDate today = QDate::currentDate();
    InvoiceValidationDialog validation(m_context, *customer, QStringLiteral("FACTURE n°") + QString::number(*proposal),
                                       selection.selectedTotal(), today, *sales, this);
    if (!validation.loaded() || runModal(validation) != QDialog::Accepted) return;

    InvoiceToWrite invoice;
    invoice.customer = *customer;
    invoice.edited = validation.editedCustomer();
    invoice.date = validation.invoiceDate();
    invoice.due = validation.due();
    invoice.vatInc = validation.vatInc();
    invoice.vatRate = validation.vatRate();
    invoice.modeInc = validation.modeInc();
    for (const SaleWithLines &s : *sales) invoice.sales.append({s.kind, s.inc, toCents(s.amount)});
    auto written = writeInvoice(m_context.db, invoice);
    if (!written) {
        m_context.dialogs->error(written.error());
        rerun();
        return;
    }
    if (written->number != *proposal)
        m_context.dialogs->message(
            QStringLiteral("Le numéro %1 a été pris sur un autre poste : la facture porte le numéro %2.")
                .arg(*proposal)
                .arg(written->number));
    rerun(written->number);
    if (validation.printAsked() && invoicePrintingAvailable()) printInvoice(m_context, written->number, this);
}

void InvoiceListDialog::createCreditNote()
{
    const auto number = currentNumber();
    if (!number) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (m_list->currentValue(QStringLiteral("type_fac")).toString() == QLatin1String("AVOIR")) {
        m_context.dialogs->message(alreadyCreditNoteMessage());
        return;
    }
    if (!m_context.dialogs->yesNo(creditNoteQuestion(), QStringLiteral("Confirmation"))) {
        rerun(number);
        return;
    }
    auto credit = ravelin::createCreditNote(m_context.db, *number, QDate::currentDate());
    if (!credit) m_context.dialogs->error(credit.error());
    rerun(number);
}

void InvoiceListDialog::print()
{
    const auto number = currentNumber();
    if (!number) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    printInvoice(m_context, *number, this);
}

void openInvoiceList(AppContext &context, QWidget *parent)
{
    InvoiceListDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin
