#pragma once

#include "result.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

class QSqlQuery;
class QSqlQueryModel;

namespace ravelin {

// A small in-memory table with named columns: what a report reads. Callers fill it from a query
// or by hand; the report engine itself never sees SQL. Column names are matched without regard to
// case, as the database does.
class DataTable
{
public:
    DataTable() = default;
    explicit DataTable(const QStringList &columns);

    const QStringList &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    // -1 when the table has no such column.
    int columnIndex(const QString &name) const;
    bool hasColumn(const QString &name) const { return columnIndex(name) >= 0; }

    // Appends a row; missing trailing values are null, extra values are dropped.
    void addRow(QVariantList values);
    void reserve(int rows) { m_rows.reserve(rows); }

    QVariant value(int row, int column) const;
    QVariant value(int row, const QString &column) const { return value(row, columnIndex(column)); }
    void setValue(int row, int column, const QVariant &value);

    // Reads every remaining row of an executed query, with the query's column names.
    static Result<DataTable> fromQuery(QSqlQuery &query);
    // Copies the rows a grid shows, with the model's column names (all its rows are fetched).
    static DataTable fromQueryModel(QSqlQueryModel &model);

private:
    QStringList m_columns;
    QHash<QString, int> m_index; // lower-case name -> column
    QList<QVariantList> m_rows;
};

// One row of a table, as handed to the sources of dependent data sets.
class DataRow
{
public:
    DataRow() = default;
    DataRow(const DataTable *table, int row) : m_table(table), m_row(row) {}

    bool isValid() const { return m_table && m_row >= 0 && m_row < m_table->rowCount(); }
    QVariant value(const QString &column) const;
    int index() const { return m_row; }

private:
    const DataTable *m_table = nullptr;
    int m_row = -1;
};

} // namespace ravelin
