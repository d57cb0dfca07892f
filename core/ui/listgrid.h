#pragma once

#include "datatable.h"
#include "listexport.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTableView;
class QWidget;

namespace ravelin {

struct AppContext;
class DatabaseWorker;
class GridModel;
class ListGrid;

// A colour for a row of a list (an invalid colour: none).
using ListColour = std::function<QColor(const ListGrid &grid, int row)>;

// One column of a declared list.
struct ListColumn
{
    QString name;                 // as the statement (or table) names it
    QString caption;              // the header; empty: the name
    QString format;               // "#,##0.00", "0.000", "dd/mm/yyyy"...; empty: numbers and dates the French way
    int width = -1;               // pixels; -1: as the view sizes it
    Qt::Alignment alignment = {}; // empty: numbers right, the rest left
    ListColour colour;            // the cell's background, over the row's
    bool sum = false;             // summed over the whole list with its count (a column of the list's table)
    bool shown = true;            // false: read and summed, never shown (a total the list's labels give)
};

// What a screen says about one of its lists, once: its columns in their order (the statement's
// other columns are read but hidden), the column that tells its rows apart, its colours, its
// counter, and whether the mouse wheel steps through its rows.
struct ListDeclaration
{
    QString screen; // names the user's remembered column layout ("info_grume")
    QList<ListColumn> columns;
    QString key; // kept selected across searches and reloads
    ListColour rowColour;
    ListColour textColour;                                 // a row's text (rows the program protects)
    QLabel *counter = nullptr;                             // shows the count once known
    QString counterFormat = QStringLiteral("( nb : %1 )"); // "%1" is "…" while counting
    bool wheelSteps = false;                               // the wheel moves the current row (main lists)
    int pageSize = 200;                                    // rows read at a time as the grid scrolls
};

// The progress of an export as the user sees it: the rows written, and a way to stop.
class ExportProgressView
{
public:
    virtual ~ExportProgressView() = default;
    // After each page: the rows written so far, of `total` (-1 when not known yet); false when
    // the user asked to stop.
    virtual bool advance(qint64 rows, qint64 total) = 0;
};
using ExportProgressFactory = std::function<std::unique_ptr<ExportProgressView>(QWidget *parent)>;
// The progress every grid shows (a progress dialog with "Annuler"); tests install a scripted one.
// Returns the previous one.
ExportProgressFactory setExportProgressFactory(ExportProgressFactory factory);

// The one list grid of the program, attached to a Designer form's QTableView. It reads a
// statement a page at a time (PagedQueryModel) or shows rows an operation computed (DataTable),
// formats and colours the declared columns (GridModel), keeps the selected row across searches,
// counts (and sums) the whole list on a worker's connection so that the first page shows at
// once, exports the whole list (context menu and Ctrl+E "Exporter…") and remembers the user's
// column widths and order ("Rétablir les colonnes" goes back to the declaration).
class ListGrid : public QObject
{
    Q_OBJECT
public:
    ListGrid(AppContext &context, QTableView *view, ListDeclaration declaration);
    ~ListGrid() override;

    // Shows the statement's rows, its first page at once; the count follows. The row selected
    // stays selected when the new list still holds it, otherwise the first row is. On failure the
    // grid keeps what it shows.
    Status setQuery(QSqlDatabase db, const PagedQuery &query);
    Status setQuery(const PagedQuery &query);
    // Shows rows an operation computed (a work table's result).
    void setTable(const DataTable &table);
    // Reads the list again (after an edit), keeping the selected row.
    Status reload();

    QTableView *view() const { return m_view; }
    GridModel *model() const { return m_grid; }
    // The statement's model while the grid shows one, else null.
    PagedQueryModel *pagedModel() const;
    const ListDeclaration &declaration() const { return m_declaration; }

    int rowCount() const;
    // The current row, -1 when none.
    int currentRow() const;
    // The key column's value of the current row (null when none).
    QVariant currentKey() const;
    QVariant currentValue(const QString &column) const;
    // Makes the row whose key is `key` current, reading the list up to it; false when it is not
    // listed (the current row is left as it is).
    bool selectKey(const QVariant &key);
    // The same without holding the screen: a row beyond the pages read is selected once the
    // worker has read the list down to it, unless the user has moved meanwhile.
    void selectKeyLater(const QVariant &key);
    void selectRow(int row);
    // The value of a cell as read, by column name.
    QVariant raw(int row, const QString &column) const;

    // Rows of the whole list and its sums (declared `sum` columns), once counted.
    std::optional<qint64> totalCount() const;
    QVariant sum(const QString &column) const;

    // Counts run on this worker (shared with other lists of the screen) instead of the grid's own.
    void setWorker(DatabaseWorker *worker);
    // The worker the grid counts on (opened on first use): the screen's other long reads queue
    // there too, after the count, instead of holding the screen.
    DatabaseWorker *worker() { return workerFor(m_db); }
    // Rows read per statement by an export (5000 by default).
    void setExportPageSize(int rows) { m_exportPageSize = qMax(1, rows); }

    QAction *exportAction() const { return m_exportAction; }
    QAction *resetColumnsAction() const { return m_resetAction; }

public slots:
    // "Exporter…": asks for the file, then writes the whole list as filtered.
    void exportList();
    // "Rétablir les colonnes": forgets the user's layout and shows the declared one.
    void resetColumns();

signals:
    // The current row changed (-1: none, for an empty list).
    void currentRowChanged(int row);
    // The whole list has been counted (and summed).
    void counted(qint64 total);

private:
    struct Layout
    {
        QStringList order;         // declared column names, in the order shown
        QHash<QString, int> width; // by lower-case name
    };
    Layout declaredLayout() const;
    QString settingsGroup() const;
    void loadLayout();
    void saveLayout();
    void applyLayout();
    void columnsChanged();
    void configureModel();
    void showCount();
    void afterLoad(const QVariant &kept);
    int keyColumn() const;
    int currentColumn() const;
    int lastShownColumn() const; // visual index
    QList<ExportColumn> exportColumns() const;
    DatabaseWorker *workerFor(QSqlDatabase db);

    AppContext &m_context;
    QTableView *m_view;
    ListDeclaration m_declaration;
    GridModel *m_grid;
    PagedQueryModel *m_paged;
    class TableModel;
    TableModel *m_table;
    bool m_showingTable = false;
    QSqlDatabase m_db;
    PagedQuery m_query;
    DatabaseWorker *m_ownWorker = nullptr;
    QPointer<DatabaseWorker> m_worker;
    quint64 m_reselection = 0; // the search whose kept row is being looked for on the worker
    Layout m_layout;
    bool m_applying = false;
    int m_exportPageSize = 5000;
    QAction *m_exportAction;
    QAction *m_resetAction;
};

} // namespace ravelin
