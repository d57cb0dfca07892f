#include "datatable.h"

#include "sql.h"

#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace ravelin {

DataTable::DataTable(const QStringList &columns) : m_columns(columns)
{
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns[i].toLower();
        // The first of two columns of the same name wins, as a query's field lookup does.
        if (!m_index.contains(key)) m_index.insert(key, i);
    }
}

int DataTable::columnIndex(const QString &name) const
{
    return m_index.value(name.toLower(), -1);
}

void DataTable::addRow(QVariantList values)
{
    values.resize(m_columns.size());
    m_rows.append(std::move(values));
}

QVariant DataTable::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size()) return {};
    return m_rows[row][column];
}

void DataTable::setValue(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size()) return;
    m_rows[row][column] = value;
}

Result<DataTable> DataTable::fromQuery(QSqlQuery &query)
{
    if (!query.isActive()) {
        if (query.lastError().isValid()) return databaseError(query.lastError(), query.lastQuery());
        Error e;
        e.message = QStringLiteral("La requête n'a pas été exécutée.");
        e.statement = query.lastQuery();
        e.where = functionName(SourceLocation::current());
        return e;
    }
    const QSqlRecord record = query.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) names.append(record.fieldName(i));
    DataTable table(names);
    if (query.size() > 0) table.reserve(query.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i) row.append(query.value(i));
        table.m_rows.append(std::move(row));
    }
    if (query.lastError().isValid()) return databaseError(query.lastError(), query.lastQuery());
    return table;
}

DataTable DataTable::fromQueryModel(QSqlQueryModel &model)
{
    while (model.canFetchMore()) model.fetchMore();
    const QSqlRecord columns = model.record();
    QStringList names;
    names.reserve(columns.count());
    for (int c = 0; c < columns.count(); ++c) names.append(columns.fieldName(c));
    DataTable table(names);
    table.reserve(model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row) {
        const QSqlRecord record = model.record(row);
        QVariantList values;
        values.reserve(record.count());
        for (int c = 0; c < record.count(); ++c) values.append(record.value(c));
        table.m_rows.append(std::move(values));
    }
    return table;
}

QVariant DataRow::value(const QString &column) const
{
    return isValid() ? m_table->value(m_row, column) : QVariant();
}

} // namespace ravelin
