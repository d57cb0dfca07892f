#include "pagedquerymodel.h"

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

} // namespace

QList<PagedQueryModel::OrderColumn> PagedQueryModel::order() const
{
    QList<OrderColumn> columns;
    for (const QString &entry : m_query.orderBy) {
        const QString t = entry.trimmed();
        if (t.endsWith(QStringLiteral(" desc"), Qt::CaseInsensitive))
            columns << OrderColumn{t.chopped(5).trimmed(), true};
        else if (t.endsWith(QStringLiteral(" asc"), Qt::CaseInsensitive))
            columns << OrderColumn{t.chopped(4).trimmed(), false};
        else columns << OrderColumn{t, false};
    }
    columns << OrderColumn{m_query.key, m_query.descending};
    return columns;
}

QStringList PagedQueryModel::orderColumns() const
{
    QStringList names;
    for (const OrderColumn &c : order()) names << c.column;
    return names;
}

QString PagedQueryModel::orderClause() const
{
    QStringList parts;
    for (const OrderColumn &c : order()) parts << c.column + (c.descending ? QStringLiteral(" desc") : QString());
    return QStringLiteral("order by ") + parts.join(QLatin1Char(','));
}

QString PagedQueryModel::whereClause(const QVariantList &after, QVariantList &values) const
{
    QStringList conditions;
    if (!m_query.where.trimmed().isEmpty()) {
        conditions << QLatin1Char('(') + m_query.where + QLatin1Char(')');
        values += m_query.values;
    }
    if (!after.isEmpty()) conditions << afterCondition(order(), after, 0, values);
    return conditions.isEmpty() ? QString() : QStringLiteral("where ") + conditions.join(QStringLiteral(" and "));
}

BoundQuery PagedQueryModel::pageStatement() const
{
    QVariantList after;
    if (!m_rows.isEmpty())
        for (int c : m_orderColumns) after << m_rows.at(m_rows.size() - 1, c);
    QVariantList values;
    const QString where = whereClause(after, values);
    // one row beyond the page tells whether another page follows
    const QString limit = QStringLiteral(" limit ") + QString::number(m_pageSize + 1);
    BoundQuery q;
    if (!m_query.keyIndex.isEmpty()) {
        // the page's keys from the index alone, then their rows: the server never reads the rows
        // it skips on the way to a page deep down the list
        q.add(QStringLiteral("select ") + m_query.columns + QStringLiteral(" from ") + m_query.from);
        q.add(QStringLiteral("join (select ") + m_query.key + QStringLiteral(" as page_key from ") + m_query.from +
              (m_indexMissing ? QString() : QStringLiteral(" force index (") + m_query.keyIndex + QLatin1Char(')')));
        if (!where.isEmpty()) q.add(where, values);
        q.add(orderClause() + limit + QStringLiteral(") page on ") + m_query.key + QStringLiteral(" = page.page_key"));
        q.add(orderClause());
        return q;
    }
    q.add(QStringLiteral("select ") + m_query.columns + QStringLiteral(" from ") + m_query.from);
    if (!where.isEmpty()) q.add(where, values);
    q.add(orderClause() + limit);
    return q;
}

Status PagedQueryModel::readPage(QList<QVector<QVariant>> &rows, QSqlRecord *fields, bool &more)
{
    const BoundQuery statement = pageStatement();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(statement.sql)) {
        const Error e = databaseError(query.lastError(), statement.sql, QStringLiteral("PagedQueryModel"));
        // ER_KEY_DOES_NOT_EXITS: a database made before the index; read it without the hint
        if (e.nativeCode == 1176 && !m_query.keyIndex.isEmpty() && !m_indexMissing) {
            m_indexMissing = true;
            return readPage(rows, fields, more);
        }
        return e;
    }
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
                         QString(), QStringLiteral("PagedQueryModel::setQuery")};
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
    QVariantList values;
    BoundQuery q;
    q.add(QStringLiteral("select count(*) from ") + m_query.from);
    q.add(whereClause({}, values), values);
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
        m_rows.append(rows);
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
    if (row >= m_rows.size() && m_more) {
        const int pageSize = m_pageSize;
        m_pageSize = qMax(pageSize, row + 1 - int(m_rows.size()));
        fetchMore();
        m_pageSize = pageSize;
    }
    return row < m_rows.size();
}

Result<std::optional<int>> PagedQueryModel::locate(const QString &column, const QVariant &value)
{
    // already read: no statement
    if (const int c = m_fields.indexOf(bareName(column)); c >= 0)
        for (int row = 0; row < m_rows.size(); ++row)
            if (m_rows.at(row, c) == value) return std::optional<int>(row);
    if (!m_more) return std::optional<int>();

    // the row's place in the list's order: the rows after it, from the whole count
    QVariantList values;
    BoundQuery find;
    find.add(QStringLiteral("select ") + orderColumns().join(QLatin1Char(',')) + QStringLiteral(" from ") +
             m_query.from);
    const QString filter = whereClause({}, values);
    find.add((filter.isEmpty() ? QStringLiteral("where ") : filter + QStringLiteral(" and ")) + column +
                 QStringLiteral(" = ?"),
             values + QVariantList{value});
    find.add(orderClause() + QStringLiteral(" limit 1"));
    auto found = runBoundQuery(m_db, find, "PagedQueryModel::locate");
    if (!found) return found.error();
    if (!found->next()) return std::optional<int>();
    QVariantList target;
    for (int c = 0; c < orderColumns().size(); ++c) target << found->value(c);

    if (Status counted = countRows(); !counted) return counted.error();
    QVariantList afterValues;
    BoundQuery after;
    after.add(QStringLiteral("select count(*) from ") + m_query.from);
    after.add(whereClause(target, afterValues), afterValues);
    auto rest = runBoundQuery(m_db, after, "PagedQueryModel::locate");
    if (!rest) return rest.error();
    const qint64 following = rest->next() ? rest->value(0).toLongLong() : 0;
    const int row = int(*m_total - following - 1);
    if (row < 0) return std::optional<int>();
    if (!fetchUpTo(row)) {
        if (m_lastError) return *m_lastError;
        return std::optional<int>();
    }
    // another workstation may have changed the list meanwhile: trust only what was read
    if (const int c = m_fields.indexOf(bareName(column)); c >= 0 && m_rows.at(row, c) != value) {
        for (int r = 0; r < m_rows.size(); ++r)
            if (m_rows.at(r, c) == value) return std::optional<int>(r);
        return std::optional<int>();
    }
    return std::optional<int>(row);
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
