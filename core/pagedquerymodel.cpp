#include "pagedquerymodel.h"

#include "databaseworker.h"
#include "sql.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QTimer>

namespace ravelin {

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void PagedQueryModel::RowStore::reset(int width)
{
    m_width = width;
    m_values.clear();
    m_texts = QList<QHash<QString, QString>>(width);
    m_varied = QList<bool>(width, false);
}

void PagedQueryModel::RowStore::append(const QList<QVector<QVariant>> &rows)
{
    // beyond this many different texts a column is taken for one of names or numbers
    constexpr qsizetype kSharedTexts = 2000;
    for (const QVector<QVariant> &row : rows) {
        for (int c = 0; c < m_width; ++c) {
            const QVariant &v = row.at(c);
            if (m_varied.at(c) || v.typeId() != QMetaType::QString || v.isNull()) {
                m_values << v;
                continue;
            }
            QHash<QString, QString> &texts = m_texts[c];
            const QString text = v.toString();
            auto found = texts.constFind(text);
            if (found == texts.cend()) {
                if (texts.size() >= kSharedTexts) {
                    texts.clear();
                    m_varied[c] = true;
                    m_values << v;
                    continue;
                }
                found = texts.insert(text, text);
            }
            m_values << QVariant(*found);
        }
    }
}

namespace {

QString bareName(const QString &column)
{
    return column.contains(QLatin1Char('.')) ? column.section(QLatin1Char('.'), -1) : column;
}

// The rows after `last` in the list's order, the last column unique. For (a, b desc, key):
// "(a > ? or (a = ? and (b < ? or b is null or (b = ? and key > ?))))". The server sorts nulls first
// in an ascending column and last in a descending one, and a null never equals a null.
QString afterCondition(const QList<PagedQueryModel::OrderColumn> &order, const QVariantList &last, int from,
                       QVariantList &values)
{
    const QString &c = order.at(from).column;
    const bool descending = order.at(from).descending;
    const QVariant &value = last.at(from);
    if (from == order.size() - 1) {
        values << value;
        return c + (descending ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
    }
    // this column's marks come before those of the columns after it
    if (!value.isNull()) values << value << value;
    const QString rest = afterCondition(order, last, from + 1, values);
    if (value.isNull()) {
        if (descending) return QStringLiteral("(") + c + QStringLiteral(" is null and ") + rest + QStringLiteral(")");
        return QStringLiteral("(") + c + QStringLiteral(" is not null or (") + c + QStringLiteral(" is null and ") +
               rest + QStringLiteral("))");
    }
    if (descending)
        return QStringLiteral("(") + c + QStringLiteral(" < ? or ") + c + QStringLiteral(" is null or (") + c +
               QStringLiteral(" = ? and ") + rest + QStringLiteral("))");
    return QStringLiteral("(") + c + QStringLiteral(" > ? or (") + c + QStringLiteral(" = ? and ") + rest +
           QStringLiteral("))");
}

QList<PagedQueryModel::OrderColumn> orderOf(const PagedQuery &query)
{
    QList<PagedQueryModel::OrderColumn> columns;
    for (const QString &entry : query.orderBy) {
        const QString t = entry.trimmed();
        if (t.endsWith(QStringLiteral(" desc"), Qt::CaseInsensitive))
            columns << PagedQueryModel::OrderColumn{t.chopped(5).trimmed(), true};
        else if (t.endsWith(QStringLiteral(" asc"), Qt::CaseInsensitive))
            columns << PagedQueryModel::OrderColumn{t.chopped(4).trimmed(), false};
        else columns << PagedQueryModel::OrderColumn{t, false};
    }
    columns << PagedQueryModel::OrderColumn{query.key, query.descending};
    return columns;
}

QStringList orderColumnsOf(const PagedQuery &query)
{
    QStringList names;
    for (const PagedQueryModel::OrderColumn &c : orderOf(query)) names << c.column;
    return names;
}

QString orderClauseOf(const PagedQuery &query)
{
    QStringList parts;
    for (const PagedQueryModel::OrderColumn &c : orderOf(query))
        parts << c.column + (c.descending ? QStringLiteral(" desc") : QString());
    return QStringLiteral("order by ") + parts.join(QLatin1Char(','));
}

// The list's filter and, when `after` holds the order values of a row, "after that row" (in the
// reverse order when `before`: the rows before it).
QString whereOf(const PagedQuery &query, const QVariantList &after, QVariantList &values, bool before = false)
{
    QStringList conditions;
    if (!query.where.trimmed().isEmpty()) {
        conditions << QLatin1Char('(') + query.where + QLatin1Char(')');
        values += query.values;
    }
    if (!after.isEmpty()) {
        QList<PagedQueryModel::OrderColumn> order = orderOf(query);
        if (before)
            for (PagedQueryModel::OrderColumn &c : order) c.descending = !c.descending;
        conditions << afterCondition(order, after, 0, values);
    }
    return conditions.isEmpty() ? QString() : QStringLiteral("where ") + conditions.join(QStringLiteral(" and "));
}

BoundQuery pageStatementOf(const PagedQuery &query, const QVariantList &after, int pageSize, bool indexMissing)
{
    QVariantList values;
    const QString where = whereOf(query, after, values);
    // one row beyond the page tells whether another page follows
    const QString limit = QStringLiteral(" limit ") + QString::number(pageSize + 1);
    BoundQuery q;
    if (!query.keyIndex.isEmpty()) {
        // the page's keys from the index alone, then their rows: the server never reads the rows
        // it skips on the way to a page deep down the list
        q.add(QStringLiteral("select ") + query.columns + QStringLiteral(" from ") + query.from);
        q.add(QStringLiteral("join (select ") + query.key + QStringLiteral(" as page_key from ") + query.from +
              (indexMissing ? QString() : QStringLiteral(" force index (") + query.keyIndex + QLatin1Char(')')));
        if (!where.isEmpty()) q.add(where, values);
        q.add(orderClauseOf(query) + limit + QStringLiteral(") page on ") + query.key +
              QStringLiteral(" = page.page_key"));
        q.add(orderClauseOf(query));
        return q;
    }
    q.add(QStringLiteral("select ") + query.columns + QStringLiteral(" from ") + query.from);
    if (!where.isEmpty()) q.add(where, values);
    q.add(orderClauseOf(query) + limit);
    return q;
}

// Reads the page after `after` (the order values of the last row read; empty: the first page).
Status readPageOf(QSqlDatabase db, const PagedQuery &pagedQuery, const QVariantList &after, int pageSize,
                  bool &indexMissing, QList<QVector<QVariant>> &rows, QSqlRecord *fields, bool &more)
{
    const BoundQuery statement = pageStatementOf(pagedQuery, after, pageSize, indexMissing);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(statement.sql)) {
        const Error e = databaseError(query.lastError(), statement.sql);
        // ER_KEY_DOES_NOT_EXITS: a database made before the index; read it without the hint
        if (e.nativeCode == 1176 && !pagedQuery.keyIndex.isEmpty() && !indexMissing) {
            indexMissing = true;
            return readPageOf(db, pagedQuery, after, pageSize, indexMissing, rows, fields, more);
        }
        return e;
    }
    for (const QVariant &v : statement.values) query.addBindValue(v);
    if (!query.exec()) return databaseError(query.lastError(), statement.sql);
    const QSqlRecord record = query.record();
    if (fields) *fields = record;
    const int columns = record.count();
    int read = 0;
    more = false;
    while (query.next()) {
        if (read == pageSize) {
            more = true;
            break;
        }
        QVector<QVariant> row(columns);
        for (int c = 0; c < columns; ++c) row[c] = query.value(c);
        rows << row;
        ++read;
    }
    return {};
}

// "select count(*), sum(a), sum(b) from ... where ...": the count and the sums in one statement.
BoundQuery countStatementOf(const PagedQuery &query, const QStringList &sums)
{
    QString select = QStringLiteral("select count(*)");
    for (const QString &column : sums) select += QStringLiteral(", sum(") + column + QLatin1Char(')');
    QVariantList values;
    BoundQuery q;
    q.add(select + QStringLiteral(" from ") + query.from);
    q.add(whereOf(query, {}, values), values);
    return q;
}

// The count then the sums.
Result<QVariantList> runCount(QSqlDatabase db, const BoundQuery &statement, int sums)
{
    auto query = runBoundQuery(db, statement);
    if (!query) return query.error();
    QVariantList values;
    const bool found = query->next();
    values << (found ? query->value(0).toLongLong() : 0);
    for (int c = 0; c < sums; ++c) values << (found ? query->value(c + 1) : QVariant());
    return values;
}

} // namespace

PagedQueryModel::~PagedQueryModel()
{
    stopCounting();
    stopLocating();
}

void PagedQueryModel::setWorker(DatabaseWorker *worker)
{
    stopCounting();
    stopLocating();
    m_worker = worker;
}

DatabaseWorker *PagedQueryModel::worker() const
{
    return m_worker;
}

QStringList PagedQueryModel::orderColumns() const
{
    return orderColumnsOf(m_query);
}

Status PagedQueryModel::readPage(QList<QVector<QVariant>> &rows, QSqlRecord *fields, bool &more)
{
    QVariantList after;
    if (!m_rows.isEmpty())
        for (int c : m_orderColumns) after << m_rows.at(m_rows.size() - 1, c);
    return readPageOf(m_db, m_query, after, m_pageSize, m_indexMissing, rows, fields, more);
}

Status PagedQueryModel::setQuery(QSqlDatabase db, const PagedQuery &query, Count count)
{
    // read into a fresh state first: on failure the grid keeps what it shows
    const QSqlDatabase previousDb = m_db;
    const PagedQuery previousQuery = m_query;
    const RowStore previousRows = m_rows;
    const auto restore = [&] {
        m_db = previousDb;
        m_query = previousQuery;
        m_rows = previousRows;
    };
    m_db = db;
    m_query = query;
    m_indexMissing = false;
    m_rows.reset(0);
    QList<QVector<QVariant>> rows;
    QSqlRecord fields;
    bool more = false;
    Status read = readPage(rows, &fields, more);
    if (!read) {
        restore();
        return read;
    }
    QList<int> positions;
    for (const QString &column : orderColumns()) {
        const int c = fields.indexOf(bareName(column));
        if (c < 0) {
            // the next pages could not follow this one: refuse rather than show a cut list
            restore();
            return Error{QStringLiteral("La liste ne peut pas être lue : la colonne %1 manque.").arg(column), QString(),
                         QString(), functionName(SourceLocation::current())};
        }
        positions << c;
    }
    beginResetModel();
    m_fields = fields;
    m_orderColumns = positions;
    m_rows.reset(fields.count());
    m_rows.append(rows);
    m_more = more;
    m_total.reset();
    m_sums.clear();
    m_lastError.reset();
    ++m_generation;
    stopCounting(); // the previous query's count, if still running, is of no use now
    stopLocating();
    if (!m_more) setReadWhole();
    endResetModel();

    if (m_total) {
        emit counted(*m_total);
    } else if (count == Count::Now) {
        return countRows();
    } else if (count == Count::Deferred) {
        countLater();
    }
    return {};
}

void PagedQueryModel::countLater()
{
    if (m_total || m_countTicket) return;
    if (m_worker) {
        countOnWorker();
        return;
    }
    const quint64 generation = m_generation;
    QTimer::singleShot(0, this, [this, generation] {
        // a failed count is reported through failed(), which the screen follows
        if (generation == m_generation && !m_total) (void)countRows();
    });
}

void PagedQueryModel::setReadWhole()
{
    m_total = m_rows.size();
    m_sums.clear();
    for (const QString &column : m_sumColumns) {
        const int c = m_fields.indexOf(bareName(column));
        double sum = 0;
        bool any = false;
        for (int row = 0; c >= 0 && row < m_rows.size(); ++row) {
            const QVariant &v = m_rows.at(row, c);
            if (v.isNull()) continue;
            sum += v.toDouble();
            any = true;
        }
        m_sums << (any ? QVariant(sum) : QVariant());
    }
}

Status PagedQueryModel::countRows()
{
    if (m_total) return {};
    auto counted = runCount(m_db, countStatementOf(m_query, m_sumColumns), int(m_sumColumns.size()));
    if (!counted) {
        m_lastError = counted.error();
        emit failed(counted.error());
        return counted.error();
    }
    stopCounting();
    m_total = counted->at(0).toLongLong();
    m_sums = counted->mid(1);
    emit this->counted(*m_total);
    return {};
}

void PagedQueryModel::countOnWorker()
{
    const BoundQuery statement = countStatementOf(m_query, m_sumColumns);
    const int sums = int(m_sumColumns.size());
    const quint64 generation = m_generation;
    m_countTicket = m_worker->run([statement, sums](QSqlDatabase db) { return runCount(db, statement, sums); },
                                  [this, generation](Result<QVariantList> counted) {
                                      if (generation != m_generation) return;
                                      m_countTicket = 0;
                                      if (m_total) return; // read to its end meanwhile
                                      if (!counted) {
                                          m_lastError = counted.error();
                                          emit failed(counted.error());
                                          return;
                                      }
                                      m_total = counted->at(0).toLongLong();
                                      m_sums = counted->mid(1);
                                      emit this->counted(*m_total);
                                  });
}

void PagedQueryModel::stopCounting()
{
    if (m_countTicket && m_worker) m_worker->cancel(m_countTicket);
    m_countTicket = 0;
}

bool PagedQueryModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void PagedQueryModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more) return;
    QList<QVector<QVariant>> rows;
    bool more = false;
    if (Status read = readPage(rows, nullptr, more); !read) {
        // stop asking: a grid scrolling on a lost connection would ask again at every pixel
        m_more = false;
        m_lastError = read.error();
        emit failed(read.error());
        return;
    }
    if (!rows.isEmpty()) {
        beginInsertRows({}, m_rows.size(), m_rows.size() + rows.size() - 1);
        m_rows.append(rows);
        m_more = more;
        endInsertRows();
    } else {
        m_more = false;
    }
    if (!m_more && !m_total) {
        stopCounting();
        setReadWhole();
        emit counted(*m_total);
    }
}

bool PagedQueryModel::fetchUpTo(int row)
{
    if (row >= m_rows.size() && m_more) {
        const int pageSize = m_pageSize;
        m_pageSize = qMax(pageSize, row + 1 - int(m_rows.size()));
        fetchMore();
        m_pageSize = pageSize;
    }
    return row < m_rows.size();
}

namespace {

// The place of the row whose `column` holds `value` in the list's order (the first such row): the
// rows before it are counted (the whole count is not needed, and may be running on the worker).
// Nothing when it is not listed. Two statements.
Result<std::optional<int>> placeOf(QSqlDatabase db, const PagedQuery &query, const QString &column,
                                   const QVariant &value)
{
    const QStringList order = orderColumnsOf(query);
    QVariantList values;
    BoundQuery find;
    find.add(QStringLiteral("select ") + order.join(QLatin1Char(',')) + QStringLiteral(" from ") + query.from);
    const QString filter = whereOf(query, {}, values);
    find.add((filter.isEmpty() ? QStringLiteral("where ") : filter + QStringLiteral(" and ")) + column +
                 QStringLiteral(" = ?"),
             values + QVariantList{value});
    find.add(orderClauseOf(query) + QStringLiteral(" limit 1"));
    auto found = runBoundQuery(db, find);
    if (!found) return found.error();
    if (!found->next()) return std::optional<int>();
    QVariantList target;
    for (int c = 0; c < order.size(); ++c) target << found->value(c);

    QVariantList beforeValues;
    BoundQuery before;
    before.add(QStringLiteral("select count(*) from ") + query.from);
    before.add(whereOf(query, target, beforeValues, true), beforeValues);
    auto preceding = runBoundQuery(db, before);
    if (!preceding) return preceding.error();
    return std::optional<int>(int(preceding->next() ? preceding->value(0).toLongLong() : 0));
}

} // namespace

std::optional<int> PagedQueryModel::rowHolding(const QString &column, const QVariant &value, int likely) const
{
    const int c = m_fields.indexOf(bareName(column));
    if (c < 0) return std::nullopt;
    if (likely >= 0 && likely < m_rows.size() && m_rows.at(likely, c) == value) return likely;
    for (int row = 0; row < m_rows.size(); ++row)
        if (m_rows.at(row, c) == value) return row;
    return std::nullopt;
}

std::optional<int> PagedQueryModel::checkedRow(const QString &column, const QVariant &value, int row) const
{
    // a column the list does not show (searched under another name) cannot be checked
    if (m_fields.indexOf(bareName(column)) < 0) return row < m_rows.size() ? std::optional<int>(row) : std::nullopt;
    return rowHolding(column, value, row);
}

Result<std::optional<int>> PagedQueryModel::locate(const QString &column, const QVariant &value)
{
    // already read: no statement
    if (const auto row = rowHolding(column, value)) return row;
    if (!m_more) return std::optional<int>();

    auto place = placeOf(m_db, m_query, column, value);
    if (!place) return place.error();
    if (!*place) return std::optional<int>();
    const int row = **place;
    if (!fetchUpTo(row)) {
        if (m_lastError) return *m_lastError;
        return std::optional<int>();
    }
    // another workstation may have changed the list meanwhile: trust only what was read
    return checkedRow(column, value, row);
}

void PagedQueryModel::locateLater(const QString &column, const QVariant &value,
                                  std::function<void(std::optional<int>)> found)
{
    if (const auto row = rowHolding(column, value)) {
        found(row);
        return;
    }
    if (!m_more) {
        found(std::nullopt);
        return;
    }
    if (!m_worker) {
        auto row = locate(column, value);
        if (!row) emit failed(row.error());
        found(row ? *row : std::nullopt);
        return;
    }
    stopLocating();
    // the rows after the last one read, up to the row: read on the worker, added when they arrive
    QVariantList after;
    for (int c : m_orderColumns) after << m_rows.at(m_rows.size() - 1, c);
    const int readBefore = m_rows.size();
    const PagedQuery query = m_query;
    const bool indexMissing = m_indexMissing;
    struct Read
    {
        std::optional<int> row;
        QList<QVector<QVariant>> rows;
        bool more = false;
    };
    const auto job = [query, after, readBefore, indexMissing, column, value](QSqlDatabase db) -> Result<Read> {
        auto place = placeOf(db, query, column, value);
        if (!place) return place.error();
        Read read;
        read.row = *place;
        if (!read.row || *read.row < readBefore) return read;
        bool missing = indexMissing;
        if (Status s = readPageOf(db, query, after, *read.row - readBefore + 1, missing, read.rows, nullptr, read.more);
            !s)
            return s.error();
        return read;
    };
    const quint64 generation = m_generation;
    m_locateTicket = m_worker->run(job, [this, generation, readBefore, column, value, found](Result<Read> read) {
        if (generation != m_generation) return;
        m_locateTicket = 0;
        if (!read) {
            m_lastError = read.error();
            emit failed(read.error());
            found(std::nullopt);
            return;
        }
        // the grid may have read some of these rows meanwhile, as the user scrolled
        const int known = m_rows.size() - readBefore;
        if (known < read->rows.size()) {
            const QList<QVector<QVariant>> rows = read->rows.mid(known);
            beginInsertRows({}, m_rows.size(), m_rows.size() + int(rows.size()) - 1);
            m_rows.append(rows);
            m_more = read->more;
            endInsertRows();
            if (!m_more && !m_total) {
                stopCounting();
                setReadWhole();
                emit counted(*m_total);
            }
        }
        found(read->row ? checkedRow(column, value, *read->row) : std::nullopt);
    });
}

void PagedQueryModel::stopLocating()
{
    if (m_locateTicket && m_worker) m_worker->cancel(m_locateTicket);
    m_locateTicket = 0;
}

Status PagedQueryModel::fetchAll()
{
    const int pageSize = m_pageSize;
    // bigger pages: fewer statements for a list read to the end
    m_pageSize = qMax(pageSize, 5000);
    m_lastError.reset();
    while (m_more) fetchMore();
    m_pageSize = pageSize;
    if (m_lastError) return *m_lastError;
    return {};
}

QSqlRecord PagedQueryModel::record(int row) const
{
    QSqlRecord r = m_fields;
    if (row < 0 || row >= m_rows.size()) return r;
    for (int c = 0; c < r.count(); ++c) r.setValue(c, m_rows.at(row, c));
    return r;
}

int PagedQueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PagedQueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_fields.count();
}

QVariant PagedQueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_fields.count()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return m_rows.at(index.row(), index.column());
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_fields.count())
        return m_fields.fieldName(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace ravelin

namespace ravelin {

PagedReader::PagedReader(QSqlDatabase db, const PagedQuery &query, int pageSize)
    : m_db(db), m_query(query), m_pageSize(qMax(1, pageSize))
{
}

Result<QList<QVector<QVariant>>> PagedReader::next()
{
    QList<QVector<QVariant>> rows;
    if (m_ended) return rows;
    const bool first = m_fields.isEmpty();
    bool more = false;
    QSqlRecord fields;
    if (Status read =
            readPageOf(m_db, m_query, m_after, m_pageSize, m_indexMissing, rows, first ? &fields : nullptr, more);
        !read)
        return read.error();
    if (first) {
        m_fields = fields;
        for (const QString &column : orderColumnsOf(m_query)) {
            const int c = m_fields.indexOf(bareName(column));
            if (c < 0)
                return Error{QStringLiteral("La liste ne peut pas être lue : la colonne %1 manque.").arg(column),
                             QString(), QString(), functionName(SourceLocation::current())};
            m_orderColumns << c;
        }
    }
    m_ended = !more;
    m_after.clear();
    if (!rows.isEmpty())
        for (int c : m_orderColumns) m_after << rows.last().at(c);
    return rows;
}

} // namespace ravelin
