#include "invoicecreationdialog.h"
#include "ui_invoicecreationdialog.h"

#include "appcontext.h"
#include "databaseworker.h"
#include "dialogs.h"
#include "formats.h"
#include "gridmodel.h"
#include "invoicecreation.h"
#include "listgrid.h"
#include "textlimits.h"

#include <QSignalBlocker>
#include <QTableView>

namespace ravelin {

InvoiceCreationDialog::InvoiceCreationDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::creer_facture>()), m_context(context)
{
    m_ui->setupUi(this);
    const QString amounts = QStringLiteral("#,##0.00");

    ListDeclaration customers;
    customers.screen = QStringLiteral("creer_facture_clients");
    customers.columns = {{QStringLiteral("client"), QString(), QString(), 160},
                         {QStringLiteral("destination"), QString(), QString(), 160},
                         {QStringLiteral("t1"), QStringLiteral("Montant €"), amounts, 90},
                         {QStringLiteral("t2"), QStringLiteral("Quantite"), amounts, 80},
                         {QStringLiteral("nb"), QStringLiteral("nb liv."), QString(), 50},
                         {QStringLiteral("moy_qte"), QStringLiteral("Qte moy"), amounts, 70},
                         {QStringLiteral("moy_humidite"), QStringLiteral("moy humid"), amounts, 70}};
    customers.key = QStringLiteral("destination");
    m_customers = new ListGrid(context, m_ui->Grille_client, customers);

    ListDeclaration rows;
    rows.screen = QStringLiteral("creer_facture_livraisons");
    rows.columns = {{QStringLiteral("inc"), QStringLiteral("N° BL"), QString(), 70},
                    {QStringLiteral("date_cde"), QStringLiteral("Date"), QStringLiteral("dd/mm/yyyy"), 80},
                    {QStringLiteral("type_cde"), QStringLiteral("Type"), QString(), 110},
                    {QStringLiteral("u3"), QStringLiteral("Nature"), QString(), 80},
                    {QStringLiteral("prix_vente"), QStringLiteral("Montant HT"), amounts, 90},
                    {QStringLiteral("u2"), QStringLiteral("."), QString(), 20},
                    {QStringLiteral("unite_vente"), QStringLiteral("Unité"), QString(), 60},
                    {QStringLiteral("sel"), QStringLiteral("Sélection"), QString(), 60, Qt::AlignHCenter}};
    rows.key = QStringLiteral("inc");
    rows.rowColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("sel")).toString() == QLatin1String("OUI") ? rgb(QStringLiteral("00FF00"))
                                                                                       : QColor();
    };
    m_rows = new ListGrid(context, m_ui->Grille_liv, rows);

    ListDeclaration lines;
    lines.screen = QStringLiteral("creer_facture_lignes");
    lines.columns = {{QStringLiteral("source"), QStringLiteral("Origine"), QString(), 90},
                     {QStringLiteral("essence"), QStringLiteral("Essence"), QString(), 100},
                     {QStringLiteral("qualite"), QStringLiteral("Qualité"), QString(), 100},
                     {QStringLiteral("qte_liv"), QStringLiteral("Quantité"), amounts, 80},
                     {QStringLiteral("unite_liv"), QStringLiteral("Unité"), QString(), 60},
                     {QStringLiteral("prix_unit"), QStringLiteral("Prix unit."), amounts, 80},
                     {QStringLiteral("prix_total"), QStringLiteral("Prix total"), amounts, 90},
                     {QStringLiteral("n_lot"), QStringLiteral("N° lot"), QString(), 60},
                     {QStringLiteral("humidite"), QStringLiteral("Humidité"), amounts, 70},
                     {QStringLiteral("total_mwh"), QStringLiteral("Total MWH"), amounts, 80}};
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_detail, lines);

    limitTextFields(this, context, QStringLiteral("destination"),
                    {{QStringLiteral("client"), QStringLiteral("client")}});

    connect(m_ui->Chercher, &QPushButton::clicked, this, &InvoiceCreationDialog::searchCustomers);
    connect(m_ui->client, &QLineEdit::returnPressed, this, &InvoiceCreationDialog::searchCustomers);
    connect(m_customers, &ListGrid::currentRowChanged, this, &InvoiceCreationDialog::placeChanged);
    connect(m_rows, &ListGrid::currentRowChanged, this, &InvoiceCreationDialog::rowChanged);
    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &InvoiceCreationDialog::toggleCurrent);
    connect(m_ui->Grille_liv, &QTableView::doubleClicked, this, &InvoiceCreationDialog::toggleCurrent);
    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &InvoiceCreationDialog::confirm);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    showSelected();
}

InvoiceCreationDialog::~InvoiceCreationDialog() = default;

QString InvoiceCreationDialog::place() const
{
    return m_customers->currentValue(QStringLiteral("destination")).toString();
}

QString InvoiceCreationDialog::client() const
{
    return m_customers->currentValue(QStringLiteral("client")).toString();
}

void InvoiceCreationDialog::searchCustomers()
{
    if (!m_worker) m_worker = new DatabaseWorker(m_context.db, this);
    if (m_searchTicket) m_worker->cancel(m_searchTicket);
    m_ui->Label_total_ht->setText(QStringLiteral("Total HT : … €"));
    m_ui->Label_nb_client->setText(QStringLiteral("Nb de client : …"));
    const QString client = m_ui->client->text();
    m_searchTicket = m_worker->run([client](QSqlDatabase db) { return customerSummary(db, client); },
                                   [this](Result<DataTable> summary) {
                                       m_searchTicket = 0;
                                       if (!summary) {
                                           m_context.dialogs->error(summary.error());
                                           return;
                                       }
                                       showCustomers(*summary);
                                   });
}

void InvoiceCreationDialog::showCustomers(const DataTable &summary)
{
    double total = 0;
    for (int r = 0; r < summary.rowCount(); ++r) total += summary.value(r, QStringLiteral("t1")).toDouble();
    m_ui->Label_total_ht->setText(QStringLiteral("Total HT : ") + formatNumber(total, QStringLiteral("# ###.00")) +
                                  QStringLiteral(" €"));
    m_ui->Label_nb_client->setText(QStringLiteral("Nb de client : ") + QString::number(summary.rowCount()));
    {
        // the place's rows are built once below, whether or not the current row moved
        const QSignalBlocker quiet(m_customers);
        m_customers->setTable(summary);
        if (m_customers->rowCount() > 0) m_customers->selectRow(0);
    }
    placeChanged();
}

void InvoiceCreationDialog::placeChanged()
{
    m_selected = 0;
    showSelected();
    m_rowTable = DataTable();
    if (m_customers->currentRow() < 0) {
        const QSignalBlocker quiet(m_rows);
        m_rows->setTable(m_rowTable);
        m_lines->setTable(DataTable());
        return;
    }
    auto rows = placeRows(m_context.db, place(), m_context.defaultUnit());
    if (!rows) {
        m_context.dialogs->error(rows.error());
        return;
    }
    m_rowTable = *rows;
    {
        const QSignalBlocker quiet(m_rows);
        m_rows->setTable(m_rowTable);
        if (m_rows->rowCount() > 0) m_rows->selectRow(0);
    }
    rowChanged();
}

void InvoiceCreationDialog::rowChanged()
{
    const int row = m_rows->currentRow();
    const QString kind = row >= 0 ? m_rows->raw(row, QStringLiteral("u3")).toString() : QString();
    const QString unit = row >= 0 ? m_rows->raw(row, QStringLiteral("unite_vente")).toString() : QString();
    if (row < 0) {
        m_lines->setTable(DataTable());
        return;
    }
    // errors leave the lines as they were
    if (auto lines = pricedLines(m_context.db, kind, m_rows->raw(row, QStringLiteral("inc")).toInt(), unit))
        m_lines->setTable(*lines);
    const bool byMwh = kind == QLatin1String("PLAQUETTE") && unit == QLatin1String("MWH");
    for (const char *column : {"humidite", "total_mwh"}) {
        const int c = m_lines->model()->column(QLatin1String(column));
        if (c >= 0) m_ui->Grille_detail->setColumnHidden(c, !byMwh);
    }
}

void InvoiceCreationDialog::toggleCurrent()
{
    const int row = m_rows->currentRow();
    if (row < 0) return;
    const int inc = m_rows->raw(row, QStringLiteral("inc")).toInt();
    auto total = toggleRow(m_context.db, inc);
    if (!total) {
        m_context.dialogs->error(total.error());
        return;
    }
    m_selected = *total;
    // the grid shows the work table's tick as written
    const int sel = m_rowTable.columnIndex(QStringLiteral("sel"));
    const int incColumn = m_rowTable.columnIndex(QStringLiteral("inc"));
    for (int r = 0; r < m_rowTable.rowCount(); ++r)
        if (m_rowTable.value(r, incColumn).toInt() == inc)
            m_rowTable.setValue(r, sel,
                                m_rowTable.value(r, sel).toString() == QLatin1String("NON") ? QStringLiteral("OUI")
                                                                                            : QStringLiteral("NON"));
    {
        // the same row stays current: its lines are shown already
        const QSignalBlocker quiet(m_rows);
        m_rows->setTable(m_rowTable);
        m_rows->selectKey(inc);
    }
    showSelected();
}

void InvoiceCreationDialog::showSelected()
{
    m_ui->Label_total_sel->setText(QStringLiteral("Total sélectionné : ") +
                                   formatNumber(fromCents(m_selected), QStringLiteral("# ###.##")) +
                                   QStringLiteral(" €"));
}

void InvoiceCreationDialog::confirm()
{
    if (m_selected <= 0) {
        m_context.dialogs->message(nothingSelectedMessage());
        return;
    }
    if (m_context.dialogs->yesNo(invoiceConfirmation(m_selected, client()), QStringLiteral("Confirmation"))) accept();
}

} // namespace ravelin
