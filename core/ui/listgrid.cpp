#include "listgrid.h"

#include "appcontext.h"
#include "databaseworker.h"
#include "dialogs.h"
#include "formats.h"
#include "gridmodel.h"
#include "wheelrowstepper.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QSettings>
#include <QTableView>

namespace ravelin {

// Rows an operation computed, shown as a statement's would be.
class ListGrid::TableModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(const DataTable &table)
    {
        beginResetModel();
        m_table = table;
        endResetModel();
    }
    const DataTable &table() const { return m_table; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_table.rowCount(); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.columnCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        return m_table.value(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_table.columnCount())
            return m_table.columns().at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    DataTable m_table;
};

namespace {

// The program's progress: a dialog with "Annuler" that shows after half a second.
class ProgressDialogView : public ExportProgressView
{
public:
    explicit ProgressDialogView(QWidget *parent)
        : m_dialog(QStringLiteral("Export de la liste…"), QStringLiteral("Annuler"), 0, 0, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("Exporter"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool advance(qint64 rows, qint64 total) override
    {
        // the dialog counts in int: a list is shown in thousands of rows when it needs to be
        const qint64 scale = total > 1000000 ? 1000 : 1;
        if (total > 0) m_dialog.setMaximum(int(total / scale));
        m_dialog.setLabelText(
            QStringLiteral("Export de la liste : %1 lignes…").arg(formatNumber(double(rows), QStringLiteral("# ##0"))));
        m_dialog.setValue(int(qMin(rows, qMax<qint64>(total, rows)) / scale));
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

ExportProgressFactory &progressFactory()
{
    static ExportProgressFactory factory = [](QWidget *parent) {
        return std::unique_ptr<ExportProgressView>(new ProgressDialogView(parent));
    };
    return factory;
}

// Where the users' column layouts are kept (the program has no organisation name).
QSettings layoutSettings()
{
    return QSettings(QStringLiteral("Ravelin"));
}

QString bare(const QString &column)
{
    return (column.contains(QLatin1Char('.')) ? column.section(QLatin1Char('.'), -1) : column).toLower();
}

} // namespace

ExportProgressFactory setExportProgressFactory(ExportProgressFactory factory)
{
    ExportProgressFactory previous = progressFactory();
    progressFactory() = std::move(factory);
    return previous;
}

ListGrid::ListGrid(AppContext &context, QTableView *view, ListDeclaration declaration)
    : QObject(view), m_context(context), m_view(view), m_declaration(std::move(declaration)),
      m_grid(new GridModel(this)), m_paged(new PagedQueryModel(this)), m_table(new TableModel(this))
{
    m_paged->setPageSize(m_declaration.pageSize);
    QStringList sums;
    for (const ListColumn &c : m_declaration.columns)
        if (c.sum) sums << c.name;
    m_paged->setSums(sums);
    configureModel();
    m_grid->setSourceModel(m_paged);

    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(20);
    m_view->setModel(m_grid);
    if (m_declaration.wheelSteps) WheelRowStepper::install(m_view);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });

    QHeaderView *header = m_view->horizontalHeader();
    header->setSectionsMovable(true);
    connect(header, &QHeaderView::sectionMoved, this, &ListGrid::columnsChanged);
    connect(header, &QHeaderView::sectionResized, this, [this, header](int logical) {
        // the last column stretched with the window is not the user's choice
        if (header->stretchLastSection() && header->visualIndex(logical) == lastShownColumn()) return;
        columnsChanged();
    });
    // a new statement's columns are laid out again as the user left them
    connect(m_grid, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_applying = true; });
    connect(m_grid, &QAbstractItemModel::modelReset, this, &ListGrid::applyLayout);

    // every list offers the same actions, in its context menu and its header's
    m_exportAction = new QAction(QStringLiteral("Exporter…"), this);
    m_exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_exportAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_exportAction, &QAction::triggered, this, &ListGrid::exportList);
    m_resetAction = new QAction(QStringLiteral("Rétablir les colonnes"), this);
    connect(m_resetAction, &QAction::triggered, this, &ListGrid::resetColumns);
    m_view->addAction(m_exportAction);
    m_view->addAction(m_resetAction);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    header->addAction(m_exportAction);
    header->addAction(m_resetAction);
    header->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_paged, &PagedQueryModel::counted, this, [this](qint64 total) {
        showCount();
        emit counted(total);
    });
    // a page read as the grid scrolls has no caller to report to
    connect(m_paged, &PagedQueryModel::failed, this, [this](const Error &e) { m_context.dialogs->error(e); });
    loadLayout();
}

ListGrid::~ListGrid() = default;

void ListGrid::configureModel()
{
    for (const ListColumn &c : m_declaration.columns) {
        if (!c.format.isEmpty()) m_grid->setFormat(bare(c.name), c.format);
        if (!c.caption.isEmpty()) m_grid->setCaption(bare(c.name), c.caption);
        if (c.alignment) m_grid->setAlignment(bare(c.name), c.alignment);
    }
    if (m_declaration.rowColour)
        m_grid->setRowColour(
            [this](const QAbstractItemModel *, int row) { return m_declaration.rowColour(*this, row); });
    if (m_declaration.textColour)
        m_grid->setTextColour(
            [this](const QAbstractItemModel *, int row) { return m_declaration.textColour(*this, row); });
    bool cellColours = false;
    for (const ListColumn &c : m_declaration.columns) cellColours = cellColours || bool(c.colour);
    if (cellColours)
        m_grid->setCellColour([this](const QAbstractItemModel *source, int row, int column) {
            const QString name = source->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toLower();
            for (const ListColumn &c : m_declaration.columns)
                if (c.colour && bare(c.name) == name) return c.colour(*this, row);
            return QColor();
        });
}

DatabaseWorker *ListGrid::workerFor(QSqlDatabase db)
{
    if (m_worker) return m_worker;
    // the grid's own, opened like the screen's connection when a list first needs it (most lists
    // hold in their first page), and kept while the screen lives
    if (m_ownWorker && m_db.connectionName() != db.connectionName()) {
        delete m_ownWorker;
        m_ownWorker = nullptr;
    }
    if (!m_ownWorker) m_ownWorker = new DatabaseWorker(db, this);
    return m_ownWorker;
}

void ListGrid::setWorker(DatabaseWorker *worker)
{
    m_worker = worker;
    m_paged->setWorker(worker ? worker : m_ownWorker);
}

Status ListGrid::setQuery(const PagedQuery &query)
{
    return setQuery(m_context.db, query);
}

Status ListGrid::setQuery(QSqlDatabase db, const PagedQuery &query)
{
    const QVariant kept = currentKey();
    m_db = db;
    m_query = query;
    if (m_showingTable) {
        m_showingTable = false;
        m_grid->setSourceModel(m_paged);
    }
    if (m_declaration.counter) m_declaration.counter->setText(m_declaration.counterFormat.arg(QStringLiteral("…")));
    const Status read = m_paged->setQuery(db, query, PagedQueryModel::Count::Never);
    if (read && !m_paged->totalCount()) {
        // a list longer than its first page is counted on the worker, opened for the first one
        m_paged->setWorker(workerFor(db));
        m_paged->countLater();
    }
    showCount();
    if (!read) return read;
    afterLoad(kept);
    return {};
}

Status ListGrid::reload()
{
    if (m_showingTable) return {};
    if (!m_db.isValid()) return {};
    return setQuery(m_db, m_query);
}

void ListGrid::setTable(const DataTable &table)
{
    const QVariant kept = currentKey();
    m_table->setTable(table);
    if (!m_showingTable) {
        m_showingTable = true;
        m_grid->setSourceModel(m_table);
    }
    showCount();
    afterLoad(kept);
    emit counted(table.rowCount());
}

void ListGrid::afterLoad(const QVariant &kept)
{
    if (!kept.isNull() && !m_showingTable && !m_declaration.key.isEmpty() && m_paged->worker() &&
        !m_paged->rowHolding(m_declaration.key, kept)) {
        // Not on the pages read: the first screenful now, with its first row, and the row kept
        // once the worker has read the list down to it.
        if (rowCount() > 0) selectRow(0);
        else emit currentRowChanged(-1);
        selectKeyLater(kept);
        return;
    }
    ++m_reselection; // a row still looked for belongs to the previous list
    if (!kept.isNull() && selectKey(kept)) return;
    if (rowCount() > 0) selectRow(0);
    else emit currentRowChanged(-1);
}

void ListGrid::selectKeyLater(const QVariant &key)
{
    const quint64 request = ++m_reselection;
    if (m_declaration.key.isEmpty() || key.isNull()) return;
    if (m_showingTable || !m_paged->worker() || m_paged->rowHolding(m_declaration.key, key)) {
        selectKey(key);
        return;
    }
    const int from = currentRow();
    m_paged->locateLater(m_declaration.key, key, [this, request, from](std::optional<int> row) {
        // the user has moved meanwhile, or another row was asked for: theirs stays
        if (request != m_reselection || !row || currentRow() != from) return;
        selectRow(*row);
    });
}

void ListGrid::showCount()
{
    if (!m_declaration.counter) return;
    const std::optional<qint64> total = totalCount();
    m_declaration.counter->setText(
        m_declaration.counterFormat.arg(total ? QString::number(*total) : QStringLiteral("…")));
}

PagedQueryModel *ListGrid::pagedModel() const
{
    return m_showingTable ? nullptr : m_paged;
}

int ListGrid::rowCount() const
{
    return m_grid->rowCount();
}

int ListGrid::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() && rowCount() > 0 ? current.row() : -1;
}

QVariant ListGrid::raw(int row, const QString &column) const
{
    return m_grid->raw(row, bare(column));
}

QVariant ListGrid::currentValue(const QString &column) const
{
    const int row = currentRow();
    return row < 0 ? QVariant() : raw(row, column);
}

QVariant ListGrid::currentKey() const
{
    return m_declaration.key.isEmpty() ? QVariant() : currentValue(m_declaration.key);
}

int ListGrid::keyColumn() const
{
    return m_grid->column(bare(m_declaration.key));
}

int ListGrid::currentColumn() const
{
    // the first column shown
    QHeaderView *header = m_view->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical)) return logical;
    }
    return 0;
}

int ListGrid::lastShownColumn() const
{
    QHeaderView *header = m_view->horizontalHeader();
    for (int visual = header->count() - 1; visual >= 0; --visual)
        if (!header->isSectionHidden(header->logicalIndex(visual))) return visual;
    return -1;
}

void ListGrid::selectRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    m_view->setCurrentIndex(m_grid->index(row, currentColumn()));
}

bool ListGrid::selectKey(const QVariant &key)
{
    if (m_declaration.key.isEmpty() || key.isNull()) return false;
    std::optional<int> row;
    if (m_showingTable) {
        const int c = m_table->table().columnIndex(bare(m_declaration.key));
        for (int r = 0; c >= 0 && r < m_table->table().rowCount(); ++r)
            if (m_table->table().value(r, c) == key) {
                row = r;
                break;
            }
    } else {
        auto found = m_paged->locate(m_declaration.key, key);
        if (!found) {
            m_context.dialogs->error(found.error());
            return false;
        }
        row = *found;
    }
    if (!row) return false;
    selectRow(*row);
    return true;
}

std::optional<qint64> ListGrid::totalCount() const
{
    if (m_showingTable) return m_table->table().rowCount();
    return m_paged->totalCount();
}

QVariant ListGrid::sum(const QString &column) const
{
    if (m_showingTable) {
        const DataTable &t = m_table->table();
        const int c = t.columnIndex(bare(column));
        if (c < 0) return {};
        double total = 0;
        bool any = false;
        for (int r = 0; r < t.rowCount(); ++r) {
            const QVariant v = t.value(r, c);
            if (v.isNull()) continue;
            total += v.toDouble();
            any = true;
        }
        return any ? QVariant(total) : QVariant();
    }
    const qsizetype at = m_paged->sumColumns().indexOf(column);
    return at < 0 ? QVariant() : m_paged->sums().value(at);
}

// --- column layout

ListGrid::Layout ListGrid::declaredLayout() const
{
    Layout layout;
    for (const ListColumn &c : m_declaration.columns) {
        if (!c.shown) continue;
        layout.order << bare(c.name);
        if (c.width >= 0) layout.width.insert(bare(c.name), c.width);
    }
    return layout;
}

QString ListGrid::settingsGroup() const
{
    const QString user = m_context.user().isEmpty() ? QStringLiteral("-") : m_context.user();
    return QStringLiteral("listes/") + m_declaration.screen + QLatin1Char('/') + user;
}

void ListGrid::loadLayout()
{
    m_layout = declaredLayout();
    if (m_declaration.screen.isEmpty()) return;
    QSettings settings = layoutSettings();
    settings.beginGroup(settingsGroup());
    const QStringList order = settings.value(QStringLiteral("colonnes")).toStringList();
    const QStringList widths = settings.value(QStringLiteral("largeurs")).toStringList();
    if (order.isEmpty()) return;
    // the declaration decides which columns there are; the user only their order and widths
    QStringList shown;
    for (int i = 0; i < order.size(); ++i) {
        const QString name = order.at(i).toLower();
        if (!m_layout.order.contains(name) || shown.contains(name)) continue;
        shown << name;
        bool ok = false;
        const int width = widths.value(i).toInt(&ok);
        if (ok && width > 0) m_layout.width.insert(name, width);
    }
    for (const QString &name : std::as_const(m_layout.order))
        if (!shown.contains(name)) shown << name;
    m_layout.order = shown;
}

void ListGrid::saveLayout()
{
    if (m_declaration.screen.isEmpty()) return;
    QStringList widths;
    for (const QString &name : std::as_const(m_layout.order)) widths << QString::number(m_layout.width.value(name, -1));
    QSettings settings = layoutSettings();
    settings.beginGroup(settingsGroup());
    settings.setValue(QStringLiteral("colonnes"), m_layout.order);
    settings.setValue(QStringLiteral("largeurs"), widths);
}

void ListGrid::applyLayout()
{
    m_applying = true;
    QHeaderView *header = m_view->horizontalHeader();
    const int count = m_grid->columnCount();
    for (int c = 0; c < count; ++c) m_view->setColumnHidden(c, true);
    int visual = 0;
    for (const QString &name : std::as_const(m_layout.order)) {
        const int logical = m_grid->column(name);
        if (logical < 0) continue;
        m_view->setColumnHidden(logical, false);
        header->moveSection(header->visualIndex(logical), visual++);
        const auto width = m_layout.width.constFind(name);
        if (width != m_layout.width.cend() && *width > 0) m_view->setColumnWidth(logical, *width);
    }
    m_applying = false;
}

void ListGrid::columnsChanged()
{
    if (m_applying) return;
    // the user moved or widened a column: read the layout back from the header
    QHeaderView *header = m_view->horizontalHeader();
    QList<QPair<int, QString>> shown;
    for (const QString &name : std::as_const(m_layout.order)) {
        const int logical = m_grid->column(name);
        if (logical < 0 || header->isSectionHidden(logical)) continue;
        shown << qMakePair(header->visualIndex(logical), name);
        m_layout.width.insert(name, header->sectionSize(logical));
    }
    std::sort(shown.begin(), shown.end());
    QStringList order;
    for (const auto &entry : shown) order << entry.second;
    // columns the statement does not give keep their place at the end
    for (const QString &name : std::as_const(m_layout.order))
        if (!order.contains(name)) order << name;
    m_layout.order = order;
    saveLayout();
}

void ListGrid::resetColumns()
{
    if (!m_declaration.screen.isEmpty()) {
        QSettings settings = layoutSettings();
        settings.remove(settingsGroup());
    }
    m_layout = declaredLayout();
    applyLayout();
}

// --- export

QList<ExportColumn> ListGrid::exportColumns() const
{
    QList<ExportColumn> columns;
    for (const QString &name : m_layout.order) {
        const int logical = m_grid->column(name);
        if (logical < 0) continue;
        for (const ListColumn &c : m_declaration.columns) {
            if (bare(c.name) != name) continue;
            columns << ExportColumn{c.name, c.caption.isEmpty() ? c.name : c.caption, c.format,
                                    m_view->columnWidth(logical)};
            break;
        }
    }
    return columns;
}

void ListGrid::exportList()
{
    if (!m_showingTable && !m_db.isValid()) return;
    const QString file =
        m_context.dialogs->saveFile(QStringLiteral("Exporter la liste"),
                                    QStringLiteral("Classeur Excel (*.xlsx);;CSV (séparateur point-virgule) (*.csv)"));
    if (file.isEmpty()) return;
    const ExportFormat format = exportFormatFor(file);
    std::unique_ptr<ExportProgressView> progress = progressFactory()(m_view->window());
    const qint64 total = totalCount().value_or(-1);
    const ExportProgress advance = [&](qint64 rows) { return !progress || progress->advance(rows, total); };
    // page by page on the screen's connection: each page is a short statement, and the progress
    // lets the user stop between two
    auto done = m_showingTable
                    ? exportTable(m_table->table(), exportColumns(), file, format, advance)
                    : ravelin::exportList(m_db, m_query, exportColumns(), file, format, advance, m_exportPageSize);
    progress.reset();
    if (!done) {
        m_context.dialogs->error(done.error());
        return;
    }
    if (done->cancelled) return;
    m_context.dialogs->message(
        QStringLiteral("%1 lignes exportées dans %2.")
            .arg(formatNumber(double(done->rows), QStringLiteral("# ##0")), QDir::toNativeSeparators(file)),
        QStringLiteral("Exporter"));
}

} // namespace ravelin
