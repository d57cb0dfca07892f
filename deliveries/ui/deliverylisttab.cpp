#include "deliverylisttab.h"
#include "ui_deliverylisttab.h"

#include "appcontext.h"
#include "deliverycompute.h"
#include "deliveryeditor.h"
#include "dialogs.h"
#include "formats.h"
#include "gridhelpers.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "lotrecompute.h"
#include "masterdetail.h"
#include "modal.h"
#include "newdeliverydialog.h"
#include "operationicons.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ravelin {

namespace {

// The operation's colour in its cell and its icon in the first column.
class OperationDelegate : public QStyledItemDelegate
{
public:
    OperationDelegate(const GridModel *grid, QObject *parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString operation = m_grid->raw(index.row(), QStringLiteral("operation")).toString();
        const int column = index.column();
        if (column == m_grid->column(QStringLiteral("a1"))) {
            QStyledItemDelegate::paint(painter, option, index);
            const QPixmap icon = operationIconPixmap(operation);
            if (icon.isNull()) return;
            painter->drawPixmap(option.rect.center().x() - icon.width() / 2, option.rect.top(), icon);
            return;
        }
        QStyleOptionViewItem coloured(option);
        coloured.palette.setColor(QPalette::Text, rgb(operationTextColour(operation)));
        coloured.palette.setColor(QPalette::HighlightedText, rgb(operationTextColour(operation)));
        QStyledItemDelegate::paint(painter, coloured, index);
    }

private:
    const GridModel *m_grid;
};

} // namespace

QList<int> touchedLots(const QVariant &before, const QVariant &after)
{
    QList<int> lots;
    if (const auto a = lotNumberOf(before)) lots << *a;
    if (const auto b = lotNumberOf(after); b && !lots.contains(*b)) lots << *b;
    return lots;
}

DeliveryListTab::DeliveryListTab(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Tab_plaquette>()), m_context(context)
{
    m_ui->setupUi(this);

    const auto cellColour = [this](const QString &column) {
        return [this, column](const ListGrid &grid, int row) {
            return rgb(deliveryCellColour(column, grid.raw(row, QStringLiteral("operation")).toString(),
                                          grid.raw(row, QStringLiteral("date_livraison")).toDateTime(),
                                          grid.raw(row, QStringLiteral("verifie")).toString(),
                                          grid.raw(row, QStringLiteral("facturee")).toString(),
                                          m_lastSearch.sort == DeliverySort::Date, QDate::currentDate()));
        };
    };
    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    ListDeclaration deliveries;
    deliveries.screen = QStringLiteral("Grille_livraison");
    deliveries.columns = {
        {QStringLiteral("a1"), QStringLiteral("!"), QString(), 40},
        {QStringLiteral("inc"), QStringLiteral("inc"), QString(), 70},
        {QStringLiteral("operation"), QStringLiteral("Opération"), QString(), 160, centred,
         cellColour(QStringLiteral("operation"))},
        {QStringLiteral("jour"), QStringLiteral("jour"), QStringLiteral("dddd"), 65, centred},
        {QStringLiteral("date_livraison"), QStringLiteral("date_livraison"), QStringLiteral("dd/mm/yyyy"), 100, centred,
         cellColour(QStringLiteral("date_livraison"))},
        {QStringLiteral("depart"), QStringLiteral("depart"), QString(), 200, {}, cellColour(QStringLiteral("depart"))},
        {QStringLiteral("destination"),
         QStringLiteral("destination"),
         QString(),
         200,
         {},
         cellColour(QStringLiteral("destination"))},
        {QStringLiteral("tonnage"), QStringLiteral("tonnage"), QStringLiteral("#,##0.00"), 90, centred, {}, true},
        {QStringLiteral("ticket"), QStringLiteral("ticket"), QString(), 100, centred},
        {QStringLiteral("verifie"), QStringLiteral("verifie"), QString(), 75, centred,
         cellColour(QStringLiteral("verifie"))},
        {QStringLiteral("unite"), QStringLiteral("unite"), QString(), 45, centred},
        {QStringLiteral("facturee"), QStringLiteral("facturé"), QString(), 75, centred},
        {QStringLiteral("n_lot"), QStringLiteral("n_lot"), QString(), 45, centred},
        // the price total is summed with the tonnage, in the count's statement, though not shown
        {QStringLiteral("prix_total"), QString(), QString(), -1, {}, {}, true, false},
    };
    deliveries.key = QStringLiteral("inc");
    deliveries.rowColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("facturee")).toString() == QLatin1String("OUI")
                   ? rgb(QStringLiteral("00FF00"))
                   : QColor();
    };
    deliveries.counter = m_ui->Label_nb;
    deliveries.wheelSteps = true;
    m_list = new ListGrid(context, m_ui->Grille_livraison, deliveries);
    m_delegate = new OperationDelegate(m_list->model(), this);
    m_ui->Separateur->setStretchFactor(0, 4);
    m_ui->Separateur->setStretchFactor(1, 1);

    ListDeclaration costs;
    costs.screen = QStringLiteral("Grille_couts");
    costs.columns = {
        {QStringLiteral("type1"), QString(), QString(), 100},
        {QStringLiteral("i_nom"), QString(), QString(), 115},
        {QStringLiteral("i_cout"), QString(), QStringLiteral("#,##0.00"), 70, Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("n1"), QString(), QString(), 20}};
    costs.key = QStringLiteral("inc");
    m_costs = new ListGrid(context, m_ui->Grille_couts, costs);
    m_ui->Grille_couts->horizontalHeader()->hide();
    m_costReload = new DetailReload(
        50, [this] { loadCosts(); }, this);

    connect(m_list, &ListGrid::currentRowChanged, this, &DeliveryListTab::rowChanged);
    connect(m_list, &ListGrid::counted, this, &DeliveryListTab::showTotals);
    connect(m_ui->recherche, &QPushButton::clicked, this, &DeliveryListTab::search);
    connect(m_ui->radio_histo, &QCheckBox::clicked, this, &DeliveryListTab::search);
    for (QRadioButton *choice : {m_ui->tri_date, m_ui->tri_destination, m_ui->tri_depart, m_ui->tri_operation,
                                 m_ui->tri_inc, m_ui->etat_non_livree, m_ui->etat_non_verifiee, m_ui->etat_verifiee,
                                 m_ui->etat_toutes, m_ui->type_vente, m_ui->type_achat, m_ui->type_vente_achat})
        connect(choice, &QRadioButton::clicked, this, &DeliveryListTab::search);
    connect(m_ui->BtnCreer, &QToolButton::clicked, this, &DeliveryListTab::createDelivery);
    connect(m_ui->BtnModifier, &QToolButton::clicked, this, &DeliveryListTab::openDelivery);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &DeliveryListTab::openDelivery);
    connect(m_ui->Grille_livraison, &QTableView::doubleClicked, this, &DeliveryListTab::openDelivery);
    connect(m_ui->BtnSupprimer, &QToolButton::clicked, this, &DeliveryListTab::deleteDelivery);
    connect(m_ui->BtnBL, &QPushButton::clicked, this, &DeliveryListTab::printNote);
    m_ui->BtnBL->setEnabled(false);
    m_ui->Label_tonnage->hide();
    m_ui->Label_prix->hide();
}

DeliveryListTab::~DeliveryListTab() = default;

void DeliveryListTab::setNotePrinter(NotePrinter printer)
{
    m_printer = std::move(printer);
    m_ui->BtnBL->setEnabled(bool(m_printer));
}

DeliverySearch DeliveryListTab::filters() const
{
    DeliverySearch s;
    s.destination = m_ui->destination->text();
    s.ticket = m_ui->ticket->text();
    s.depart = m_ui->depart->text();
    s.history = m_ui->radio_histo->isChecked();
    if (m_ui->tri_destination->isChecked()) s.sort = DeliverySort::Destination;
    else if (m_ui->tri_depart->isChecked()) s.sort = DeliverySort::Departure;
    else if (m_ui->tri_operation->isChecked()) s.sort = DeliverySort::Operation;
    else if (m_ui->tri_inc->isChecked()) s.sort = DeliverySort::Number;
    else s.sort = DeliverySort::Date;
    if (m_ui->etat_non_livree->isChecked()) s.state = DeliveryState::NotDelivered;
    else if (m_ui->etat_non_verifiee->isChecked()) s.state = DeliveryState::NotVerified;
    else if (m_ui->etat_verifiee->isChecked()) s.state = DeliveryState::Verified;
    else s.state = DeliveryState::All;
    if (m_ui->type_vente->isChecked()) s.type = DeliveryType::Sales;
    else if (m_ui->type_achat->isChecked()) s.type = DeliveryType::Purchases;
    else s.type = DeliveryType::Both;
    return s;
}

std::optional<int> DeliveryListTab::currentInc() const
{
    if (m_list->currentRow() < 0) return std::nullopt;
    return m_list->currentValue(QStringLiteral("inc")).toInt();
}

bool DeliveryListTab::selectDelivery(int inc)
{
    return m_list->selectKey(inc);
}

Status DeliveryListTab::runSearch(const DeliverySearch &search)
{
    auto statement = deliverySearchQuery(search);
    if (!statement) return statement.error();
    m_lastSearch = search;
    const Status loaded = m_list->setQuery(*statement);
    m_searched = true;
    for (const char *column : {"a1", "operation"})
        if (const int c = m_list->model()->column(QLatin1String(column)); c >= 0)
            m_ui->Grille_livraison->setItemDelegateForColumn(c, m_delegate);
    const bool withTotals = search.type != DeliveryType::Both;
    m_ui->Label_tonnage->setVisible(withTotals);
    m_ui->Label_prix->setVisible(withTotals);
    if (m_list->totalCount()) showTotals();
    if (loaded && m_list->rowCount() == 0) rowChanged();
    return loaded;
}

void DeliveryListTab::search()
{
    const DeliverySearch wanted = filters();
    if (wanted.destination.contains(QLatin1Char('\''))) {
        m_context.dialogs->message(destinationFilterRefusal());
        return;
    }
    if (Status s = runSearch(wanted); !s) m_context.dialogs->error(s.error());
    m_ui->Grille_livraison->setFocus();
}

void DeliveryListTab::refresh()
{
    // Errors are left aside here: the tab is only being shown again.
    (void)runSearch(m_lastSearch);
    loadCosts();
}

void DeliveryListTab::showTotals()
{
    const double tonnage = m_list->sum(QStringLiteral("tonnage")).toDouble();
    const double price = m_list->sum(QStringLiteral("prix_total")).toDouble();
    if (const auto figure = tonnageMwhFigure(tonnage, m_context.defaultMoisture())) m_mwhFigure = *figure;
    m_ui->Label_tonnage->setText(QStringLiteral("( Total TONNAGE : ") + formatNumber(tonnage, QStringLiteral("# ##0")) +
                                 QStringLiteral(" T )  soit ( ") + m_mwhFigure + QStringLiteral(" MWH )"));
    m_ui->Label_prix->setText(QStringLiteral("( Total PRIX : ") + formatNumber(price, QStringLiteral("# ##0")) +
                              QStringLiteral(" € )"));
}

void DeliveryListTab::rowChanged()
{
    const int row = m_list->currentRow();
    const auto text = [&](const char *column) {
        return row < 0 ? QString() : m_list->raw(row, QLatin1String(column)).toString();
    };
    m_ui->Info_date->setText(
        row < 0 ? QString() : formatDate(m_list->raw(row, QStringLiteral("date_livraison")).toDateTime().date()));
    m_ui->Info_n_lot->setText(text("n_lot"));
    m_ui->Info_tonnage->setText(
        row < 0 ? QString() : formatValue(m_list->raw(row, QStringLiteral("tonnage")), QStringLiteral("#,##0.00")));
    m_ui->Info_commentaire->setPlainText(text("commentaire"));
    m_ui->Info_facturation->setText(
        row < 0 ? QString() : formatValue(m_list->raw(row, QStringLiteral("prix_total")), QStringLiteral("# ###.00")));
    m_ui->Info_num_facture->setText(text("num_facture"));
    m_costReload->restart();
}

void DeliveryListTab::loadCosts()
{
    const auto inc = currentInc();
    if (!inc) {
        m_costs->setTable(DataTable());
        return;
    }
    ++m_costLoads;
    auto costs = deliveryCosts(m_context.db, *inc);
    // the panel keeps what it showed when its costs cannot be read
    if (costs) m_costs->setTable(*costs);
}

void DeliveryListTab::editDelivery(const QSqlRecord &row)
{
    const int inc = row.value(QStringLiteral("inc")).toInt();
    const QVariant lotBefore = row.value(QStringLiteral("n_lot"));
    DeliveryEditor editor(m_context, row, this);
    QVariant lotAfter = lotBefore;
    editor.setSave([&]() -> Status {
        const QVariantMap values = editor.values();
        Status saved = saveDelivery(m_context.db, inc, row, values);
        if (saved && values.contains(QStringLiteral("n_lot"))) lotAfter = values.value(QStringLiteral("n_lot"));
        return saved;
    });
    const bool saved = runModal(editor) == QDialog::Accepted;
    if (saved) {
        // the lot the chips came from, and the one they now come from, follow the delivery
        if (Status s = recomputeLots(m_context.db, touchedLots(lotBefore, lotAfter)); !s)
            m_context.dialogs->error(s.error());
    }
}

void DeliveryListTab::createDelivery()
{
    if (!m_context.require(QStringLiteral("Creer livraison"))) return;
    NewDeliveryDialog opening(m_context, newDeliveryDefaults(m_context.settings, QDateTime::currentDateTime()), this);
    if (runModal(opening) != QDialog::Accepted) return;
    auto created = ravelin::createDelivery(m_context.db, opening.delivery());
    if (!created) {
        m_context.dialogs->error(created.error());
        return;
    }
    // The delivery exists from here on, whatever the editor's outcome.
    if (auto row = loadDelivery(m_context.db, *created)) {
        editDelivery(*row);
    } else {
        m_context.dialogs->error(row.error());
    }
    if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
    m_list->selectKeyLater(*created);
    m_ui->Grille_livraison->setFocus();
}

void DeliveryListTab::openDelivery()
{
    if (!m_context.require(QStringLiteral("Creer livraison"))) return;
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    QElapsedTimer clock;
    clock.start();
    auto row = loadDelivery(m_context.db, *inc);
    if (!row) {
        m_context.dialogs->error(row.error());
        if (row.error().is(ErrorKind::NotFound)) (void)runSearch(m_lastSearch);
        return;
    }
    emit loadTimeMeasured(loadTimeText(clock.elapsed()));
    editDelivery(*row);
    if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
    m_ui->Grille_livraison->setFocus();
}

void DeliveryListTab::deleteDelivery()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) return;
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (m_list->currentValue(QStringLiteral("facturee")).toString() == QLatin1String("OUI")) {
        m_context.dialogs->message(invoicedDeleteRefusal());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette livraison ?"))) return;
    auto deleted = ravelin::deleteDelivery(m_context.db, *inc);
    if (!deleted) {
        m_context.dialogs->error(deleted.error());
        return;
    }
    if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
    if (Status s = recomputeLot(m_context.db, *deleted); !s) m_context.dialogs->error(s.error());
}

void DeliveryListTab::printNote()
{
    if (m_list->rowCount() == 0 || !currentInc()) {
        m_context.dialogs->message(QStringLiteral("Il n'y a pas de produit livré !"));
        return;
    }
    if (m_printer) m_printer(*currentInc(), QStringLiteral("PLAQUETTE"));
}

} // namespace ravelin
