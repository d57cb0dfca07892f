#include "lotlisttab.h"
#include "progresschart.h"
#include "ui_lotlisttab.h"

#include "appcontext.h"
#include "databaseworker.h"
#include "lotsmap.h"
#include "mapserver.h"
#include "counters.h"
#include "loteditor.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "masterdetail.h"
#include "modal.h"
#include "newlotdialog.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>

namespace ravelin {

namespace {

// The small pictures of the three purchase types, drawn once.
QPixmap purchaseTypeIcon(const QString &type)
{
    static QHash<QString, QPixmap> icons;
    QString key = type == QLatin1String("SUR PIED") ? QStringLiteral("SUR PIEDS") : type;
    if (key != QLatin1String("SUR PIEDS") && key != QLatin1String("ABATTUE") && key != QLatin1String("BORD DE ROUTE"))
        return QPixmap();
    auto it = icons.find(key);
    if (it != icons.end()) return *it;

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor trunk(0x8B, 0x5A, 0x2B);
    const QColor leaves(0x2E, 0x8B, 0x57);
    if (key == QLatin1String("SUR PIEDS")) {
        // a standing tree
        p.fillRect(QRectF(7, 10, 2, 6), trunk);
        QPainterPath crown;
        crown.moveTo(8, 0);
        crown.lineTo(14, 11);
        crown.lineTo(2, 11);
        crown.closeSubpath();
        p.fillPath(crown, leaves);
    } else if (key == QLatin1String("ABATTUE")) {
        // a felled trunk lying on the ground
        p.setPen(QPen(trunk.darker(), 1));
        p.setBrush(trunk);
        p.drawRoundedRect(QRectF(1, 8, 14, 5), 2, 2);
        p.setBrush(QColor(0xE8, 0xC8, 0x90));
        p.drawEllipse(QRectF(12, 8, 3, 5));
    } else {
        // logs stacked at the roadside
        p.setPen(QPen(trunk.darker(), 1));
        p.setBrush(QColor(0xE8, 0xC8, 0x90));
        for (const QPointF &c :
             {QPointF(4, 12), QPointF(8, 12), QPointF(12, 12), QPointF(6, 8), QPointF(10, 8), QPointF(8, 4)})
            p.drawEllipse(c, 2.2, 2.2);
    }
    p.end();
    icons.insert(key, pixmap);
    return pixmap;
}

// Draws the purchase-type icon of the row in the first column, centred and 30 pixels to the left.
class PurchaseTypeDelegate : public QStyledItemDelegate
{
public:
    PurchaseTypeDelegate(const GridModel *grid, QObject *parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QPixmap icon = purchaseTypeIcon(m_grid->raw(index.row(), QStringLiteral("type_achat")).toString());
        if (icon.isNull()) return;
        const QRect cell = option.rect;
        const QPoint at(cell.center().x() - icon.width() / 2 - 30, cell.center().y() - icon.height() / 2);
        painter->drawPixmap(at, icon);
    }

private:
    const GridModel *m_grid;
};

QColor colourOf(LotRowColour colour)
{
    switch (colour) {
    case LotRowColour::Alert: return rgb(QStringLiteral("FF8040"));
    case LotRowColour::Ended: return rgb(QStringLiteral("FF5E5E"));
    case LotRowColour::Finished: return rgb(QStringLiteral("00FF00"));
    case LotRowColour::None: break;
    }
    return QColor();
}

} // namespace

LotListTab::LotListTab(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::lot_list_tab>()), m_context(context)
{
    m_ui->setupUi(this);
    m_busy = new BusyBar(m_ui->ProgressBar_coupe, 10, 10, this);

    // twenty years of lots come a page at a time as the grid scrolls; the count follows the first page
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration lots;
    lots.screen = QStringLiteral("Grille_dossier1");
    lots.columns = {
        {QStringLiteral("n_lot"), QStringLiteral("N°coupe"), QString(), 100, Qt::AlignRight},
        {QStringLiteral("date_achat"), QString(), QString(), 100, Qt::AlignHCenter},
        {QStringLiteral("type_achat"), QStringLiteral("Type d'achat"), QString(), 120},
        {QStringLiteral("lieu"), QStringLiteral("Commune"), QString(), 250},
        {QStringLiteral("estimation"), QStringLiteral("estimation (m3)"), amounts, 90, Qt::AlignHCenter},
        {QStringLiteral("nom"), QString(), QString(), 200},
        {QStringLiteral("cp"), QString(), QString(), 54, Qt::AlignHCenter},
        {QStringLiteral("N_parcelle"), QString(), QString(), 150, Qt::AlignHCenter},
        {QStringLiteral("acheteur"), QStringLiteral("Acheteur"), QString(), 75},
        {QStringLiteral("abattage_cout"), QStringLiteral("acompte(€)"), amounts, 75},
    };
    lots.key = QStringLiteral("n_lot");
    lots.rowColour = [this](const ListGrid &, int row) { return colourOf(rowColour(row)); };
    lots.counter = m_ui->Label_nb;
    lots.counterFormat = QStringLiteral("( nb : %1 )");
    lots.wheelSteps = true;
    m_list = new ListGrid(context, m_ui->Grille_dossier1, lots);
    m_typeIcons = new PurchaseTypeDelegate(m_list->model(), this);
    QTableView *view = m_ui->Grille_dossier1;
    m_ui->Separateur->setStretchFactor(0, 3);
    m_ui->Separateur->setStretchFactor(1, 2);
    m_ui->Separateur->setSizes({900, 460});

    QPalette chartPalette = m_ui->Image_coupe->palette();
    chartPalette.setColor(QPalette::Window, rgb(QStringLiteral("0080C0")));
    m_ui->Image_coupe->setPalette(chartPalette);

    connect(m_list, &ListGrid::currentRowChanged, this, &LotListTab::selectionChanged);
    connect(m_ui->recherche1, &QPushButton::clicked, this, &LotListTab::search);
    connect(m_ui->radio_histo1, &QCheckBox::toggled, this, &LotListTab::search);
    for (QRadioButton *sort : {m_ui->tri_date, m_ui->tri_n_lot, m_ui->tri_lieu, m_ui->tri_type_achat})
        connect(sort, &QRadioButton::toggled, this, [this](bool on) {
            if (on) search();
        });
    connect(m_ui->BtnCreer, &QToolButton::clicked, this, &LotListTab::createLot);
    connect(m_ui->BtnModifier, &QToolButton::clicked, this, &LotListTab::openLot);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &LotListTab::openLot);
    connect(view, &QTableView::doubleClicked, this, &LotListTab::openLot);
    connect(m_ui->BtnSupprimer, &QToolButton::clicked, this, &LotListTab::deleteLot);
    connect(m_ui->BtnCarte, &QPushButton::clicked, this, &LotListTab::showMap);
    // The progress chart brings its own scroll bar in place of the form's placeholders.
    m_ui->Image_coupe->hide();
    m_ui->ScrollBar_coupe->hide();
    m_chart = new ProgressChart(context, m_ui->Zone_graphique);
    m_ui->layout_graphique->insertWidget(0, m_chart, 1);
}

LotListTab::~LotListTab() = default;

LotSearch LotListTab::filters() const
{
    LotSearch s;
    s.number = m_ui->dossier1->text();
    s.town = m_ui->commune1->text();
    s.name = m_ui->nom1->text();
    s.buyer = m_ui->acheteur1->text();
    s.showFinished = m_ui->radio_histo1->isChecked();
    if (m_ui->tri_date->isChecked()) s.sort = LotSort::Date;
    else if (m_ui->tri_lieu->isChecked()) s.sort = LotSort::Place;
    else if (m_ui->tri_type_achat->isChecked()) s.sort = LotSort::PurchaseType;
    else s.sort = LotSort::Number;
    return s;
}

GridModel *LotListTab::grid() const
{
    return m_list->model();
}

std::optional<int> LotListTab::currentInc() const
{
    if (m_list->currentRow() < 0) return std::nullopt;
    return m_list->currentValue(QStringLiteral("inc")).toInt();
}

std::optional<int> LotListTab::currentLot() const
{
    if (m_list->currentRow() < 0) return std::nullopt;
    return m_list->currentValue(QStringLiteral("n_lot")).toInt();
}

bool LotListTab::selectLot(int nLot)
{
    return m_list->selectKey(nLot);
}

LotRowColour LotListTab::rowColour(int row) const
{
    return lotRowColour(m_list->raw(row, QStringLiteral("date_alerte")), m_list->raw(row, QStringLiteral("date_fin")),
                        m_list->raw(row, QStringLiteral("coupe_fini")), QDate::currentDate());
}

Status LotListTab::runSearch(const LotSearch &search, std::optional<int> keepLot)
{
    auto statement = lotSearchQuery(search);
    if (!statement) return statement.error();
    // the grid keeps the selected lot when the new list holds it
    const Status loaded = m_list->setQuery(*statement);
    m_lastSearch = search;
    m_searched = true;
    // The purchase-type icons go in the lot number's column.
    if (const int numberColumn = grid()->column(QStringLiteral("n_lot")); numberColumn >= 0)
        m_ui->Grille_dossier1->setItemDelegateForColumn(numberColumn, m_typeIcons);
    if (loaded && keepLot && currentLot() != keepLot) selectLot(*keepLot);
    return loaded;
}

void LotListTab::search()
{
    const LotSearch wanted = filters();
    if (wanted.number.contains(QLatin1Char('\''))) {
        m_context.dialogs->message(lotNumberFilterRefusal());
        return;
    }
    if (Status s = runSearch(wanted); !s) m_context.dialogs->error(s.error());
}

void LotListTab::refresh()
{
    // Errors are left aside here: the tab is only being shown again.
    (void)runSearch(m_lastSearch);
    drawProgressChart();
}

void LotListTab::selectionChanged()
{
    m_busy->restart();
    emit chartRedrawRequested();
}

void LotListTab::drawProgressChart()
{
    m_chart->showLot(currentLot().value_or(0));
}

Status LotListTab::writeEditedLot(LotEditor &editor)
{
    QList<ColumnChange> changes = editor.columnChanges();
    auto firstDate = firstOwnerPurchaseDate(m_context.db, editor.lotNumber());
    if (!firstDate) return firstDate.error();
    const QVariant readDate = editor.record().value(QStringLiteral("date_achat"));
    if (firstDate->isValid() && firstDate->toDate() != readDate.toDate())
        changes.append({QStringLiteral("date_achat"), readDate, *firstDate, QStringLiteral("Date achat")});
    return saveLot(m_context.db, editor.lotInc(), changes);
}

void LotListTab::createLot()
{
    if (!m_context.require(QStringLiteral("Creer coupe"))) return;
    auto proposal = proposeNextCounter(m_context.db, Counter::NLot);
    if (!proposal) {
        m_context.dialogs->error(proposal.error());
        return;
    }
    NewLotDialog dialog(m_context, newLotDefaults(m_context.settings), *proposal, this);
    if (runModal(dialog) != QDialog::Accepted) return;

    auto created = ravelin::createLot(m_context.db, dialog.lot(), dialog.typedNumber());
    if (!created) {
        m_context.dialogs->error(created.error());
        return;
    }
    // The lot exists from here on, whatever the editor's outcome.
    auto lot = loadLot(m_context.db, created->inc);
    if (lot) {
        LotEditor editor(m_context, *lot, true, this);
        editor.setSave([&] { return writeEditedLot(editor); });
        runModal(editor);
    } else {
        m_context.dialogs->error(lot.error());
    }

    if (Status s = runSearch(m_lastSearch, created->nLot); !s) m_context.dialogs->error(s.error());
    m_ui->dossier1->clear();
    m_ui->commune1->clear();
    emit lotCreated(created->nLot);
    m_ui->Grille_dossier1->setFocus();
    drawProgressChart();
}

void LotListTab::openLot()
{
    if (!m_context.require(QStringLiteral("Creer coupe"))) return;
    const auto inc = currentInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    QElapsedTimer clock;
    clock.start();
    auto lot = loadLot(m_context.db, *inc);
    if (!lot) {
        m_context.dialogs->error(lot.error());
        return;
    }
    LotEditor editor(m_context, *lot, false, this);
    emit loadTimeMeasured(loadTimeText(clock.elapsed()));
    bool gone = false;
    editor.setSave([&]() -> Status {
        Status saved = writeEditedLot(editor);
        if (!saved && saved.error().is(ErrorKind::NotFound)) gone = true;
        return saved;
    });
    // Saved, or deleted meanwhile on another workstation: the list is read again.
    if (runModal(editor) == QDialog::Accepted || gone)
        if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
    m_ui->Grille_dossier1->setFocus();
    drawProgressChart();
}

void LotListTab::deleteLot()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) return;
    const auto inc = currentInc();
    const auto nLot = currentLot();
    if (!inc || !nLot) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette coupe ?"))) return;
    if (Status s = ravelin::deleteLot(m_context.db, *inc, *nLot); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    if (Status s = runSearch(m_lastSearch); !s) m_context.dialogs->error(s.error());
    m_context.dialogs->message(lotCounterWarning(), QStringLiteral("Sécurité"));
}

void LotListTab::showMap()
{
    if (m_mapRunning) return;
    // the list as it was last searched, every page of it
    auto lots = lotSearchQuery(m_lastSearch);
    if (!lots) {
        m_context.dialogs->error(lots.error());
        return;
    }
    m_mapRunning = true;
    m_ui->BtnCarte->setText(QStringLiteral("en cours..."));
    const QString folder = m_context.applicationFolder;
    m_list->worker()->run(
        [query = *lots, unit = m_context.defaultUnit()](QSqlDatabase db) { return readLotsMap(db, query, unit); },
        [this, folder](Result<LotsMap> map) {
            m_mapRunning = false;
            m_ui->BtnCarte->setText(QStringLiteral("CARTE"));
            Status shown = [&]() -> Status {
                if (!map) return map.error();
                auto page = writeLotsMap(*map, folder);
                if (!page) return page.error();
                return showMapPage(folder, *page);
            }();
            if (!shown) m_context.dialogs->error(shown.error());
        });
}

} // namespace ravelin
