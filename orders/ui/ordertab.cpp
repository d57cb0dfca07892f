#include "ordertab.h"
#include "ui_ordertab.h"

#include "appcontext.h"
#include "dialogs.h"
#include "formats.h"
#include "gridhelpers.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "masterdetail.h"
#include "modal.h"
#include "neworderdialog.h"
#include "ordereditor.h"
#include "orderhooks.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ravelin {

namespace {

// The six pictures of the customer types: a coloured disc with the type's initial.
QPixmap typeIcon(int index)
{
    static QHash<int, QPixmap> icons;
    if (index < 0) return QPixmap();
    if (auto it = icons.find(index); it != icons.end()) return *it;
    static const char *colours[] = {"008000", "0000FF", "FF8000", "800080", "FF0000", "00A0A0"};
    static const char *letters[] = {"X", "S", "C", "E", "P", "T"};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(rgb(QString::fromLatin1(colours[index])));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromLatin1(letters[index]));
    p.end();
    icons.insert(index, pixmap);
    return pixmap;
}

// Paints what the statement does not hold: the type's text colour, the weekday in "jour" and the
// type's picture in "a1".
class OrderCellPainter : public QStyledItemDelegate
{
public:
    OrderCellPainter(const GridModel *grid, QObject *parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString name = sourceName(index.column());
        QStyleOptionViewItem cell(option);
        if (name == QLatin1String("qte_liv_totale")) cell.font.setBold(true);
        const QString type = m_grid->raw(index.row(), QStringLiteral("type_cde")).toString();
        QColor text(Qt::black);
        if (name == QLatin1String("type_cde"))
            if (const QString colour = orderTypeTextColour(type); !colour.isEmpty()) text = rgb(colour);
        cell.palette.setColor(QPalette::Text, text);
        cell.palette.setColor(QPalette::HighlightedText, text);
        QStyledItemDelegate::paint(painter, cell, index);
        if (name == QLatin1String("jour")) {
            const QVariant date = m_grid->raw(index.row(), QStringLiteral("date_cde"));
            const QDate day = date.toDateTime().date();
            if (day.isValid()) {
                painter->save();
                painter->setPen(text);
                painter->drawText(option.rect.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                                  frenchLocale().dayName(day.dayOfWeek(), QLocale::LongFormat));
                painter->restore();
            }
        } else if (name == QLatin1String("a1")) {
            const QPixmap icon = typeIcon(orderTypeIconIndex(type));
            if (!icon.isNull())
                painter->drawPixmap(option.rect.center().x() - icon.width() / 2, option.rect.top() + 1, icon);
        }
    }

private:
    QString sourceName(int column) const
    {
        return m_grid->sourceModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toLower();
    }
    const GridModel *m_grid;
};

} // namespace

OrderTab::OrderTab(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Tab_dossier>()), m_context(context)
{
    m_ui->setupUi(this);

    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration orders;
    orders.screen = QStringLiteral("Grille_dossier");
    orders.columns = {
        {QStringLiteral("a1"), QStringLiteral("!"), QString(), 24},
        {QStringLiteral("inc"), QString(), QString(), 60, Qt::AlignRight},
        {QStringLiteral("type_cde"), QStringLiteral("Type Cde"), QString(), 90},
        {QStringLiteral("client"), QString(), QString(), 180},
        {QStringLiteral("jour"), QString(), QString(), 70},
        {QStringLiteral("date_cde"), QString(), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("qte_liv_totale"), QStringLiteral("Quantite"), amounts, 80},
        {QStringLiteral("unite_liv"), QStringLiteral("unite"), QString(), 45},
        {QStringLiteral("prix_vente"), QStringLiteral("Prix vente"), amounts, 90, {}, {}, true},
        {QStringLiteral("livree"), QString(), QString(), 45},
        {QStringLiteral("destination"), QString(), QString(), 150},
        {QStringLiteral("cp_liv"), QString(), QString(), 60},
        {QStringLiteral("pays_liv"), QString(), QString(), 80},
        {QStringLiteral("date_souhaitee"), QString(), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("qte_defaut_totale"), QString(), QString(), -1, {}, {}, true, false},
    };
    // Sunday, in the type's cell, only when sorted by date; an invoiced order stays lime.
    orders.columns[2].colour = [this](const ListGrid &, int row) {
        return cellBackground(row, QStringLiteral("type_cde"));
    };
    orders.columns[9].colour = [this](const ListGrid &, int row) {
        return cellBackground(row, QStringLiteral("livree"));
    };
    orders.key = QStringLiteral("inc");
    orders.rowColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("facturee")).toString() == QLatin1String("OUI")
                   ? rgb(QStringLiteral("00FF00"))
                   : QColor();
    };
    orders.counter = m_ui->Label_nb;
    orders.wheelSteps = true;
    m_list = new ListGrid(context, m_ui->Grille_dossier, orders);
    m_painter = new OrderCellPainter(m_list->model(), this);
    m_ui->Grille_dossier->setItemDelegate(m_painter);

    ListDeclaration lines;
    lines.screen = QStringLiteral("Grille_lien");
    lines.columns = {
        {QStringLiteral("date_creation"), QStringLiteral("Date Liv."), QStringLiteral("dd/mm/yyyy"), 75},
        {QStringLiteral("essence"), QString(), QString(), 90},
        {QStringLiteral("qualite"), QString(), QString(), 80},
        {QStringLiteral("qte_liv"), QStringLiteral("Qte"), amounts, 70},
        {QStringLiteral("unite_liv"), QString(), QString(), 45},
        {QStringLiteral("n_lot"), QStringLiteral("N° coupe de bois"), QString(), 90},
    };
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_lien, lines);
    m_linesReload = new DetailReload(
        50, [this] { reloadLines(); }, this);

    m_ui->Separateur->setStretchFactor(0, 3);
    m_ui->Separateur->setStretchFactor(1, 1);

    connect(m_list, &ListGrid::currentRowChanged, this, [this] {
        showDetail();
        m_linesReload->restart();
    });
    connect(m_list, &ListGrid::counted, this, &OrderTab::showTotals);
    connect(m_ui->recherche, &QPushButton::clicked, this, &OrderTab::search);
    connect(m_ui->radio_histo, &QCheckBox::toggled, this, &OrderTab::search);
    for (QRadioButton *sort : {m_ui->tri_date, m_ui->tri_client, m_ui->tri_type, m_ui->tri_n_cde})
        connect(sort, &QRadioButton::toggled, this, [this](bool on) {
            if (on) search();
        });
    connect(m_ui->BtnCreer, &QToolButton::clicked, this, &OrderTab::createOrder);
    connect(m_ui->BtnModifier, &QToolButton::clicked, this, &OrderTab::openOrder);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &OrderTab::openOrder);
    connect(m_ui->Grille_dossier, &QTableView::doubleClicked, this, &OrderTab::openOrder);
    connect(m_ui->BtnSupprimer, &QToolButton::clicked, this, &OrderTab::deleteOrder);
    connect(m_ui->BtnBL, &QPushButton::clicked, this, &OrderTab::printDeliveryNote);
    m_ui->BtnBL->setEnabled(bool(orderHooks().deliveryNote));
}

OrderTab::~OrderTab() = default;

GridModel *OrderTab::grid() const
{
    return m_list->model();
}

OrderSearch OrderTab::filters() const
{
    OrderSearch s;
    s.client = m_ui->client->text();
    s.type = m_ui->type_cde->text();
    s.showInvoiced = m_ui->radio_histo->isChecked();
    if (m_ui->tri_date->isChecked()) s.sort = OrderSort::Date;
    else if (m_ui->tri_client->isChecked()) s.sort = OrderSort::Client;
    else if (m_ui->tri_type->isChecked()) s.sort = OrderSort::Type;
    else s.sort = OrderSort::Number;
    return s;
}

std::optional<int> OrderTab::currentInc() const
{
    if (m_list->currentRow() < 0) return std::nullopt;
    return m_list->currentValue(QStringLiteral("inc")).toInt();
}

bool OrderTab::selectOrder(int inc)
{
    return m_list->selectKey(inc);
}

QColor OrderTab::cellBackground(int row, const QString &column) const
{
    QColor colour;
    if (column == QLatin1String("type_cde") && m_lastSearch.sort == OrderSort::Date &&
        isSunday(m_list->raw(row, QStringLiteral("date_cde"))))
        colour = rgb(QStringLiteral("FFA4A4"));
    if (column == QLatin1String("livree") &&
        m_list->raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI"))
        colour = rgb(QStringLiteral("00FF00"));
    if (m_list->raw(row, QStringLiteral("facturee")).toString() == QLatin1String("OUI"))
        colour = rgb(QStringLiteral("00FF00"));
    return colour;
}

Status OrderTab::runSearch(const OrderSearch &search, std::optional<int> keep)
{
    auto statement = orderSearchQuery(search);
    if (!statement) return statement.error();
    m_lastSearch = search;
    // the computed columns the grid paints over
    statement->columns.replace(QStringLiteral("inc,"), QStringLiteral("inc,'' as a1,'' as jour,"));
    m_ui->Label_total_volume->setText(QStringLiteral("( Total VOLUME : … )"));
    m_ui->Label_total_prix->setText(QStringLiteral("( Total PRIX : … )"));
    const Status loaded = m_list->setQuery(m_context.db, *statement);
    m_searched = true;
    // a list read whole at once is counted and summed already
    if (m_list->totalCount()) showTotals();
    if (loaded && keep && currentInc() != keep) m_list->selectKeyLater(*keep);
    showDetail();
    m_linesReload->restart();
    m_ui->Grille_dossier->setFocus();
    return loaded;
}

void OrderTab::showTotals()
{
    m_ui->Label_total_volume->setText(
        QStringLiteral("( Total VOLUME : ") +
        formatNumber(m_list->sum(QStringLiteral("qte_defaut_totale")).toDouble(), QStringLiteral("# ##0")) +
        QLatin1Char(' ') + m_context.defaultUnit() + QStringLiteral(" )"));
    m_ui->Label_total_prix->setText(
        QStringLiteral("( Total PRIX : ") +
        formatNumber(m_list->sum(QStringLiteral("prix_vente")).toDouble(), QStringLiteral("# ##0")) +
        QStringLiteral(" € )"));
}

void OrderTab::showDetail()
{
    const int row = m_list->currentRow();
    const auto text = [&](const char *column) {
        return row < 0 ? QString() : m_list->raw(row, QLatin1String(column)).toString();
    };
    const auto amount = [&](const char *column) {
        return row < 0 ? QString() : formatValue(m_list->raw(row, QLatin1String(column)), QStringLiteral("# ##0.00"));
    };
    m_ui->date_cde->setText(row < 0 ? QString()
                                    : formatDate(m_list->raw(row, QStringLiteral("date_cde")).toDateTime().date()));
    m_ui->num_facture->setText(text("num_facture"));
    m_ui->ville_liv->setText(text("ville_liv"));
    m_ui->pays_liv->setText(text("pays_liv"));
    m_ui->n_cde_client->setText(text("n_cde_client"));
    m_ui->client_detail->setText(text("client"));
    m_ui->type_detail->setText(text("type_cde"));
    m_ui->grume_livree->setText(amount("grume_livree"));
    m_ui->lot_livre->setText(amount("lot_livre"));
    m_ui->total_cout_action->setText(amount("total_cout_action"));
    m_ui->prix_vente->setText(amount("prix_vente"));
}

void OrderTab::reloadLines()
{
    const auto inc = currentInc();
    // nothing is read for an empty list
    if (Status s = m_lines->setQuery(m_context.db, orderPanelLinesQuery(inc.value_or(0))); !s)
        m_context.dialogs->error(s.error());
}

void OrderTab::search()
{
    const OrderSearch wanted = filters();
    if (wanted.client.contains(QLatin1Char('\''))) {
        m_context.dialogs->message(clientFilterRefusal());
        return;
    }
    if (Status s = runSearch(wanted, currentInc()); !s) m_context.dialogs->error(s.error());
}

void OrderTab::refresh()
{
    // Errors are left aside here: the tab is only being shown again.
    (void)runSearch(m_lastSearch, currentInc());
}

void OrderTab::clearClientFilter()
{
    m_ui->client->clear();
}

void OrderTab::editOrder(int inc, bool newOrder)
{
    QElapsedTimer clock;
    clock.start();
    auto order = loadOrder(m_context.db, inc);
    if (!order) {
        // deleted on another workstation: said, and the list read again
        m_context.dialogs->error(order.error());
        (void)runSearch(m_lastSearch);
        return;
    }
    OrderEditor editor(m_context, *order, newOrder, this);
    if (!newOrder) emit loadTimeMeasured(loadTimeText(clock.elapsed()));
    editor.setSave([&] { return saveOrderHeader(m_context.db, inc, editor.columnChanges()); });
    runModal(editor);
    // the lines, actions and totals were written as they changed, whatever the outcome
    if (Status s = runSearch(m_lastSearch, inc); !s) m_context.dialogs->error(s.error());
}

void OrderTab::createOrder()
{
    if (!m_context.require(QStringLiteral("Creer livraison"))) {
        m_linesReload->restart();
        return;
    }
    NewOrderDialog dialog(m_context, m_context.defaultUnit(), this);
    if (runModal(dialog) != QDialog::Accepted) return;
    auto created =
        ravelin::createOrder(m_context.db, dialog.order(), m_context.defaultUnit(), QDateTime::currentDateTime());
    if (!created) {
        m_context.dialogs->error(created.error());
        return;
    }
    if (Status s = runSearch(m_lastSearch, *created); !s) m_context.dialogs->error(s.error());
    editOrder(*created, true);
}

void OrderTab::openOrder()
{
    if (!m_context.require(QStringLiteral("Creer livraison"))) {
        m_linesReload->restart();
        return;
    }
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    editOrder(*inc, false);
}

void OrderTab::deleteOrder()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) {
        m_linesReload->restart();
        return;
    }
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (m_list->currentValue(QStringLiteral("facturee")).toString() == QLatin1String("OUI")) {
        m_context.dialogs->message(invoicedOrderDeletionRefusal());
        return;
    }
    if (!m_context.dialogs->yesNo(QStringLiteral("Voulez vous supprimer cette commande ?"),
                                  QStringLiteral("Attention")))
        return;
    auto hasLines = orderHasLines(m_context.db, *inc);
    if (!hasLines) {
        m_context.dialogs->error(hasLines.error());
        return;
    }
    if (*hasLines) {
        m_context.dialogs->message(orderWithLinesDeletionRefusal());
        return;
    }
    const auto typed = m_context.dialogs->input(QStringLiteral("Supprimer une saisie"),
                                                QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    if (!typed || *typed != QLatin1String("SUPPRIMER")) return;
    if (Status s = ravelin::deleteOrder(m_context.db, *inc); !s) m_context.dialogs->error(s.error());
    if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
}

void OrderTab::printDeliveryNote()
{
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(QStringLiteral("Il n'y a pas de produit livré !"));
        return;
    }
    if (orderHooks().deliveryNote) orderHooks().deliveryNote(m_context, *inc, this);
}

} // namespace ravelin
