#include "stocklistdialog.h"
#include "ui_stocklistdialog.h"

#include "appcontext.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "stocksheets.h"
#include "transferlistdialog.h"

#include "reportpreview.h"

namespace ravelin {

StockListDialog::StockListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_stock_buche_detail>()), m_context(context)
{
    m_ui->setupUi(this);
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration stocks;
    stocks.screen = QStringLiteral("liste_stock_buche_detail");
    stocks.columns = {
        {QStringLiteral("destination"), QStringLiteral("destination"), QString(), 180},
        {QStringLiteral("essence"), QStringLiteral("Essence"), QString(), 120},
        {QStringLiteral("qualite"), QStringLiteral("qualite"), QString(), 110},
        {QStringLiteral("qte_theorique_restante"), QStringLiteral("qte_theorique_restante"), amounts, 110},
        {QStringLiteral("unite_stock"), QStringLiteral("Unité"), QString(), 60},
        {QStringLiteral("date_inventaire"), QStringLiteral("date_inventaire"), QString(), 130},
        {QStringLiteral("n_lot"), QStringLiteral("n_lot"), QString(), 70},
        {QStringLiteral("qte_defaut"), QString(), amounts, -1, {}, {}, true, false}};
    stocks.key = QStringLiteral("inc");
    stocks.counter = m_ui->Label_nb;
    stocks.counterFormat = QStringLiteral("(nb : %1)");
    m_list = new ListGrid(context, m_ui->Grille_stock, stocks);
    connect(m_list, &ListGrid::counted, this, &StockListDialog::showTotal);

    m_ui->BtnInventaire->hide();
    m_ui->BtnOK->hide();
    for (QLineEdit *field : {m_ui->Essence, m_ui->Qualite, m_ui->Destination})
        connect(field, &QLineEdit::returnPressed, this, &StockListDialog::search);
    connect(m_ui->rechercher, &QPushButton::clicked, this, &StockListDialog::search);
    connect(m_ui->BtnInventaire, &QPushButton::clicked, this, &StockListDialog::takeInventory);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &StockListDialog::removeEmptyStock);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &StockListDialog::print);
    connect(m_ui->BtnTransfert, &QPushButton::clicked, this, &StockListDialog::openTransfers);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &StockListDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &StockListDialog::reject);
    connect(m_ui->Grille_stock, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_ui->BtnOK->isVisible()) validate();
    });
    showStandingTimber();
    search();
}

StockListDialog::~StockListDialog() = default;

void StockListDialog::setZoneFilter(const QString &zone)
{
    m_zone = zone;
    search();
}

void StockListDialog::setInventoryShown(bool shown)
{
    m_ui->BtnInventaire->setVisible(shown);
}

StockListFilter StockListDialog::filter() const
{
    return StockListFilter{m_zone, m_ui->Essence->text(), m_ui->Qualite->text(), m_ui->Destination->text()};
}

void StockListDialog::search()
{
    m_ui->total->setText(QStringLiteral("…"));
    if (Status s = m_list->setQuery(m_context.db, stockListQuery(filter())); !s) m_context.dialogs->error(s.error());
}

void StockListDialog::showTotal()
{
    m_ui->total->setText(
        formatNumber(m_list->sum(QStringLiteral("qte_defaut")).toDouble(), QStringLiteral("# ###.00")) +
        QLatin1Char(' ') + m_context.defaultUnit());
}

void StockListDialog::showStandingTimber()
{
    auto standing = readStandingTimber(m_context.db);
    if (!standing) return; // the totals keep their empty text
    m_standing = *standing;
    const QString unit = QLatin1Char(' ') + m_context.defaultUnit();
    m_ui->n1->setText(formatNumber(standing->standing, QStringLiteral("0")) + unit);
    m_ui->n2->setText(formatNumber(standing->felled, QStringLiteral("0")) + unit);
    m_ui->n3->setText(formatNumber(standing->skidded, QStringLiteral("0")) + unit);
}

std::optional<FirewoodStockChoice> StockListDialog::selectedStock() const
{
    const int row = m_list->currentRow();
    if (row < 0) return std::nullopt;
    const auto raw = [&](const char *column) { return m_list->raw(row, QLatin1String(column)); };
    return FirewoodStockChoice{raw("inc"),
                               raw("destination").toString(),
                               raw("essence").toString(),
                               raw("qualite").toString(),
                               raw("n_lot").toString(),
                               raw("id"),
                               raw("unite_stock").toString()};
}

void StockListDialog::takeInventory()
{
    const auto stock = selectedStock();
    if (!stock) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!m_context.dialogs->yesNo(QStringLiteral("Voulez vous faire un inventaire sur ce stock ?"),
                                  QStringLiteral("Inventaire")))
        return;
    const auto counted = m_context.dialogs->input(QStringLiteral("Quantité en stock : ") + stock->destination,
                                                  QStringLiteral("Quantité en stock"));
    if (!counted || counted->trimmed().isEmpty()) return;
    if (Status s = inventoryStock(m_context.db, stock->inc.toInt(), *counted); !s) m_context.dialogs->error(s.error());
    if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
}

void StockListDialog::removeEmptyStock()
{
    const auto stock = selectedStock();
    if (!stock) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (m_list->raw(m_list->currentRow(), QStringLiteral("qte_theorique_restante")).toDouble() > 0) {
        m_context.dialogs->message(stockAboveZeroMessage());
        return;
    }
    const auto typed = m_context.dialogs->input(QStringLiteral("Supprimer une saisie"),
                                                QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    if (!typed || *typed != QLatin1String("SUPPRIMER")) return;
    if (Status s = deleteEmptyStock(m_context.db, stock->inc.toInt()); !s) m_context.dialogs->error(s.error());
    if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
}

void StockListDialog::print()
{
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    auto rows = readStockList(m_context.db, filter());
    if (!rows) {
        m_context.dialogs->error(rows.error());
        return;
    }
    double total = 0;
    for (int row = 0; row < rows->rowCount(); ++row) total += rows->value(row, QStringLiteral("qte_defaut")).toDouble();
    auto document = layoutFirewoodStockSheet(firewoodStockSheetData(
        *rows, total, m_standing, m_context.defaultUnit(), m_context.settings.value(QStringLiteral("nom")).toString()));
    showReport(document, *m_context.dialogs, QStringLiteral("imp_stock_plaquette"), this);
}

void StockListDialog::openTransfers()
{
    if (!m_context.require(QStringLiteral("Creer transfert"))) return;
    if (!openTransferList(m_context, this)) m_context.dialogs->message(QStringLiteral("erreur 3"));
    search();
}

void StockListDialog::validate()
{
    if (!selectedStock()) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    accept();
}

void openFirewoodStocks(AppContext &context, QWidget *parent)
{
    StockListDialog list(context, parent);
    list.setInventoryShown(true);
    list.setZoneFilter(allZones());
    runModal(list);
}

std::optional<FirewoodStockChoice> pickFirewoodStock(AppContext &context, QWidget *parent, const QString &zone)
{
    StockListDialog list(context, parent);
    list.ui()->BtnOK->show();
    list.setZoneFilter(zone);
    if (runModal(list) != QDialog::Accepted) return std::nullopt;
    return list.selectedStock();
}

} // namespace ravelin
