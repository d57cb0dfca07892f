#pragma once

#include "boundquery.h"
#include "result.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

namespace ravelin {

class DatabaseWorker;

// What a paged list reads: "select <columns> from <from> where <where> order by <orderBy>, <key>",
// the rows taken a page at a time after the last row read. `key` must be unique (the table's inc);
// it and the `orderBy` columns must be among the columns, under the same names.
struct PagedQuery
{
    QString columns;
    QString from;
    QString where;       // with its "?" marks; empty for every row
    QVariantList values; // in the order of the marks
    QString key = QStringLiteral("inc");
    bool descending = false; // of the key
    QStringList orderBy;     // columns ordered before the key, each "lieu" or "date_achat desc"
    // One table whose filter and order an index covers (with the key), named here: a page's keys
    // are read from that index alone, then only their rows. The index is named to the server (the
    // optimizer may otherwise walk the index from its start to the page); a database without it is
    // read without the hint.
    QString keyIndex;
};

// A list over a big table that holds only what the user has scrolled to. The driver copies a
// whole result set to the workstation when it runs a statement, so a list of every free log of
// twenty years cannot be read in one go: the model reads its first page (one statement), the
// grid asks for the next ones as it scrolls (one statement each, after the last key read), and
// the count of the whole list is read separately (one statement), by default right after the
// first page has been handed to the grid, so that the first screenful does not wait for it.
class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class Count { Deferred, Now, Never };
    struct OrderColumn
    {
        QString column;
        bool descending = false;
    };

    explicit PagedQueryModel(QObject *parent = nullptr);
    ~PagedQueryModel() override;

    // Runs the first page. On failure the model keeps its previous rows.
    Status setQuery(QSqlDatabase db, const PagedQuery &query, Count count = Count::Deferred);
    // Rows read at a time (200 by default).
    void setPageSize(int rows) { m_pageSize = qMax(1, rows); }
    int pageSize() const { return m_pageSize; }

    // Deferred counts (and sums) run on the worker's own connection instead of this thread's: the
    // screen stays free while the server counts, and a count made stale by a new query is stopped
    // and dropped. The first page and the pages that follow are still read on the model's
    // connection. Nothing (the default) counts on the model's connection after the first page.
    void setWorker(DatabaseWorker *worker);
    DatabaseWorker *worker() const;
    // Columns summed over the whole list with its count (in the same statement). Each is a
    // column of the list's table under the name the list gives it ("m3", "prix_total").
    void setSums(const QStringList &columns) { m_sumColumns = columns; }
    const QStringList &sumColumns() const { return m_sumColumns; }
    // The sums, in the order of sumColumns(), once counted (null for a list without rows).
    const QVariantList &sums() const { return m_sums; }

    // Rows of the whole list, once counted.
    std::optional<qint64> totalCount() const { return m_total; }
    // True while a count runs on the worker.
    bool isCounting() const { return m_countTicket != 0; }
    // True while the rows up to a row are read on the worker (locateLater).
    bool isLocating() const { return m_locateTicket != 0; }
    // Counts the rows of the whole list now (when not counted yet); emits counted().
    Status countRows();
    // Counts them later, as setQuery(..., Count::Deferred) does: on the worker when there is one,
    // else after this turn of the event loop. Nothing when they are counted already.
    void countLater();
    // Reads the rows up to `row` (one statement); false when the list has fewer rows.
    bool fetchUpTo(int row);
    // The row of the list whose `column` holds `value` (the first in the list's order), its rows
    // read up to it: at most four statements whatever its place. Nothing when it is not listed.
    Result<std::optional<int>> locate(const QString &column, const QVariant &value);
    // The same, without holding the screen: when the row is not among those read, its place and
    // the rows up to it are read on the worker and added to the list when they arrive, then
    // `found` is called with it (nothing when it is not listed). `found` is not called when the
    // list is read again meanwhile. Without a worker, locate() here and now.
    void locateLater(const QString &column, const QVariant &value, std::function<void(std::optional<int>)> found);
    // The row read that holds `value` in `column` (`likely` tried first), without a statement.
    std::optional<int> rowHolding(const QString &column, const QVariant &value, int likely = -1) const;
    // Reads every row (for a printout or a total over the whole list).
    Status fetchAll();
    // The last error met while reading a page on the grid's request.
    const std::optional<Error> &lastError() const { return m_lastError; }

    QSqlRecord record(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent = {}) const override;
    void fetchMore(const QModelIndex &parent = {}) override;

signals:
    void counted(qint64 total);
    // A page or the count could not be read (the grid's scrolling has no caller to report to).
    void failed(const ravelin::Error &error);

private:
    // Reads the page after the last key held into `rows`; `more` tells whether rows are left.
    Status readPage(QList<QVector<QVariant>> &rows, QSqlRecord *fields, bool &more);
    QStringList orderColumns() const;
    void countOnWorker();
    void stopCounting();
    void stopLocating();
    // The row found at `row` by its place in the list, checked against what was read.
    std::optional<int> checkedRow(const QString &column, const QVariant &value, int row) const;
    // The count is known without a statement: the list is read whole.
    void setReadWhole();

    QSqlDatabase m_db;
    PagedQuery m_query;
    int m_pageSize = 200;
    QSqlRecord m_fields;
    QList<int> m_orderColumns; // the orderBy columns then the key, in the result
    // The rows read: one flat list of values, a row every `width` values, and the texts that repeat
    // down a column (species, quality, place...) held once, so that a list scrolled to its end
    // over hundreds of thousands of rows stays small.
    class RowStore
    {
    public:
        void reset(int width);
        int size() const { return m_width > 0 ? int(m_values.size() / m_width) : 0; }
        bool isEmpty() const { return m_values.isEmpty(); }
        const QVariant &at(int row, int column) const { return m_values.at(qsizetype(row) * m_width + column); }
        void append(const QList<QVector<QVariant>> &rows);

    private:
        int m_width = 0;
        QList<QVariant> m_values;
        QList<QHash<QString, QString>> m_texts; // per column; emptied and left off when too varied
        QList<bool> m_varied;
    };
    RowStore m_rows;
    bool m_more = false;
    std::optional<qint64> m_total;
    std::optional<Error> m_lastError;
    bool m_indexMissing = false; // the server lacks the query's keyIndex
    quint64 m_generation = 0;    // a deferred count belongs to the query it was asked for
    QPointer<DatabaseWorker> m_worker;
    quint64 m_countTicket = 0;  // the worker's count running, 0 when none
    quint64 m_locateTicket = 0; // the worker's reading up to a row, 0 when none
    QStringList m_sumColumns;
    QVariantList m_sums;
};

// Reads a paged list from its start to its end a page at a time, as PagedQueryModel pages it (after
// the last row read, on the order columns and the key), holding one page only: what an export or a
// computation over every row of a long list uses.
class PagedReader
{
public:
    PagedReader(QSqlDatabase db, const PagedQuery &query, int pageSize = 5000);

    // The next page; empty once the list has been read to its end.
    Result<QList<QVector<QVariant>>> next();
    bool atEnd() const { return m_ended; }
    // The list's columns, once the first page has been read.
    const QSqlRecord &fields() const { return m_fields; }

private:
    QSqlDatabase m_db;
    PagedQuery m_query;
    int m_pageSize;
    QSqlRecord m_fields;
    QList<int> m_orderColumns;
    QVariantList m_after;
    bool m_ended = false;
    bool m_indexMissing = false;
};

} // namespace ravelin
