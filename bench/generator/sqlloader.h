#pragma once

#include "day.h"
#include "tablelayout.h"

#include <QSqlDatabase>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ravelin::bench {

// A failed statement while loading: the server's text and the head of the statement.
class LoadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The one connection the generator loads through. Autocommit is off: each batch is committed
// as soon as it is sent, so the server never holds a huge transaction.
class Loader
{
public:
    explicit Loader(QSqlDatabase db);
    void exec(const std::string &sql);
    void commit();
    std::int64_t statements() const { return m_statements; }
    std::int64_t bytes() const { return m_bytes; }
    QSqlDatabase db() const { return m_db; }

private:
    QSqlDatabase m_db;
    std::int64_t m_statements = 0;
    std::int64_t m_bytes = 0;
};

// Writes SQL literals. The generator's values are its own, not typed by a user, but strings are
// still escaped (quote doubled, backslash and control characters escaped) so that no value can
// end a literal; numbers are written with a point whatever the locale, and a value that is not
// finite is refused rather than written.
namespace sqltext {
void appendString(std::string &out, std::string_view value);
void appendInteger(std::string &out, std::int64_t value);
void appendFixed(std::string &out, double value, int decimals); // rounded, e.g. "12.50"
void appendExact(std::string &out, double value);               // shortest text giving the same double
} // namespace sqltext

// Builds multi-row INSERT statements for one table layout, about `rowsPerBatch` rows (and at most
// a few megabytes) each. Values are given by column name, in the layout's order: a value given
// under another name than the layout expects is a programming error and stops the load.
class TableInsert
{
public:
    TableInsert(Loader &loader, const TableLayout &layout, int rowsPerBatch = 1000);
    TableInsert(const TableInsert &) = delete;
    TableInsert &operator=(const TableInsert &) = delete;

    TableInsert &null(const char *column);
    TableInsert &i(const char *column, std::int64_t value);
    TableInsert &iOrNull(const char *column, std::int64_t value, bool present)
    {
        return present ? i(column, value) : null(column);
    }
    TableInsert &d2(const char *column, double value); // two decimals
    TableInsert &d3(const char *column, double value); // three decimals
    TableInsert &d(const char *column, double value);  // as computed, unrounded
    TableInsert &d2OrNull(const char *column, double value, bool present)
    {
        return present ? d2(column, value) : null(column);
    }
    TableInsert &s(const char *column, std::string_view value);
    TableInsert &sOrNull(const char *column, std::string_view value)
    {
        return value.empty() ? null(column) : s(column, value);
    }
    TableInsert &date(const char *column, Day day);
    TableInsert &dateOrNull(const char *column, Day day, bool present)
    {
        return present ? date(column, day) : null(column);
    }
    TableInsert &moment(const char *column, const Moment &moment);
    TableInsert &time(const char *column, int seconds);

    // Ends the row; sends the batch when it is full.
    void endRow();
    // Sends what is left. For a one-row table, sends the UPDATE of its row.
    void finish();

    std::int64_t rows() const { return m_rows; }
    const TableLayout &layout() const { return m_layout; }

private:
    std::string &next(const char *column);
    void flush();

    Loader &m_loader;
    const TableLayout &m_layout;
    int m_rowsPerBatch;
    std::string m_head;
    std::string m_buffer;
    int m_rowsInBatch = 0;
    std::size_t m_column = 0;
    std::int64_t m_rows = 0;
};

} // namespace ravelin::bench
