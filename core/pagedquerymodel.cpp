#include "pagedquerymodel.h"

#include "sql.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QTimer>

namespace ravelin {

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

BoundQuery PagedQueryModel::pageStatement() const
{
    BoundQuery q;
    q.add(QStringLiteral("select ") + m_query.columns + QStringLiteral(" from ") + m_query.from);
    QStringList conditions;
    QVariantList values;
    if (!m_query.where.trimmed().isEmpty()) {
        conditions << QLatin1Char('(') + m_query.where + QLatin1Char(')');
        values = m_query.values;
    }
    if (!m_rows.isEmpty() && m_keyColumn >= 0) {
        conditions << m_query.key + (m_query.descending ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
        values << m_rows.last().at(m_keyColumn);
    }
    if (!conditions.isEmpty()) q.add(QStringLiteral("where ") + conditions.join(QStringLiteral(" and ")), values);
    // one row beyond the page tells whether another page follows
    q.add(QStringLiteral("order by ") + m_query.key + (m_query.descending ? QStringLiteral(" desc") : QString()) +
          QStringLiteral(" limit ") + QString::number(m_pageSize + 1));
    return q;
}

Status PagedQueryModel::readPage(QList<QVector<QVariant>> &rows, QSqlRecord *fields, bool &more) const
{
    const BoundQuery statement = pageStatement();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(statement.sql)) return databaseError(query.lastError(), statement.sql, QStringLiteral("PagedQueryModel"));
    for (const QVariant &v : statement.values) query.addBindValue(v);
    if (!query.exec()) return databaseError(query.lastError(), statement.sql, QStringLiteral("PagedQueryModel"));
    const QSqlRecord record = query.record();
    if (fields) *fields = record;
    const int columns = record.count();
    int read = 0;
    more = false;
    while (query.next()) {
        if (read == m_pageSize) {
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

Status PagedQueryModel::setQuery(QSqlDatabase db, const PagedQuery &query, Count count)
{
    // read into a fresh state first: on failure the grid keeps what it shows
    const QSqlDatabase previousDb = m_db;
    const PagedQuery previousQuery = m_query;
    const QList<QVector<QVariant>> previousRows = m_rows;
    m_db = db;
    m_query = query;
    m_rows.clear();
    QList<QVector<QVariant>> rows;
    QSqlRecord fields;
    bool more = false;
    Status read = readPage(rows, &fields, more);
    if (!read) {
        m_db = previousDb;
        m_query = previousQuery;
        m_rows = previousRows;
        return read;
    }
    beginResetModel();
    m_fields = fields;
    m_keyColumn = fields.indexOf(query.key.contains(QLatin1Char('.')) ? query.key.section(QLatin1Char('.'), -1) : query.key);
    m_rows = std::move(rows);
    m_more = more && m_keyColumn >= 0;
    m_total.reset();
    m_lastError.reset();
    ++m_generation;
    if (!m_more) m_total = m_rows.size();
    endResetModel();

    if (m_total) {
        emit counted(*m_total);
    } else if (count == Count::Now) {
        return countRows();
    } else if (count == Count::Deferred) {
        const quint64 generation = m_generation;
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == m_generation && !m_total) countRows();
        });
    }
    return {};
}

Status PagedQueryModel::countRows()
{
    if (m_total) return {};
    BoundQuery q;
    q.add(QStringLiteral("select count(*) from ") + m_query.from);
    if (!m_query.where.trimmed().isEmpty()) q.add(QStringLiteral("where ") + m_query.where, m_query.values);
    auto query = runBoundQuery(m_db, q, "PagedQueryModel::countRows");
    if (!query) {
        m_lastError = query.error();
        emit failed(query.error());
        return query.error();
    }
    m_total = query->next() ? query->value(0).toLongLong() : 0;
    emit counted(*m_total);
    return {};
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
        m_rows += rows;
        m_more = more;
        endInsertRows();
    } else {
        m_more = false;
    }
    if (!m_more && !m_total) {
        m_total = m_rows.size();
        emit counted(*m_total);
    }
}

bool PagedQueryModel::fetchUpTo(int row)
{
    while (row >= m_rows.size() && m_more) {
        const int before = m_rows.size();
        fetchMore();
        if (m_rows.size() == before) break;
    }
    return row < m_rows.size();
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
    const QVector<QVariant> &values = m_rows.at(row);
    for (int c = 0; c < r.count() && c < values.size(); ++c) r.setValue(c, values.at(c));
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
    return m_rows.at(index.row()).at(index.column());
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_fields.count())
        return m_fields.fieldName(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace ravelin
