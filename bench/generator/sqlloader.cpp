#include "sqlloader.h"

#include <QSqlError>
#include <QSqlQuery>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace ravelin::bench {

Loader::Loader(QSqlDatabase db) : m_db(db)
{
    QSqlQuery q(m_db);
    // A server in NO_BACKSLASH_ESCAPES mode would read the escapes below literally.
    if (!q.exec(QStringLiteral("SELECT @@SESSION.sql_mode")) || !q.next())
        throw LoadError("cannot read the session's sql_mode: " + q.lastError().text().toStdString());
    if (q.value(0).toString().contains(QLatin1String("NO_BACKSLASH_ESCAPES")))
        throw LoadError("the session runs with NO_BACKSLASH_ESCAPES; the generator escapes with backslashes");
    exec("SET SESSION autocommit = 0");
}

void Loader::exec(const std::string &sql)
{
    QSqlQuery q(m_db);
    if (!q.exec(QString::fromUtf8(sql.data(), static_cast<qsizetype>(sql.size())))) {
        throw LoadError(q.lastError().text().toStdString() + "\nin: " + sql.substr(0, 300));
    }
    ++m_statements;
    m_bytes += static_cast<std::int64_t>(sql.size());
}

void Loader::commit()
{
    exec("COMMIT");
}

namespace sqltext {

void appendString(std::string &out, std::string_view value)
{
    out += '\'';
    for (char c : value) {
        switch (c) {
        case '\'': out += "''"; break;
        case '\\': out += "\\\\"; break;
        case '\0': out += "\\0"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\x1a': out += "\\Z"; break;
        default: out += c;
        }
    }
    out += '\'';
}

void appendInteger(std::string &out, std::int64_t value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

static void requireFinite(double value)
{
    if (!std::isfinite(value)) throw LoadError("a computed value is not a finite number");
}

void appendFixed(std::string &out, double value, int decimals)
{
    requireFinite(value);
    const double scale = decimals == 3 ? 1000.0 : decimals == 2 ? 100.0 : std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0; // no "-0.00"
    char buf[48];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
    out.append(buf, static_cast<std::size_t>(n));
}

void appendExact(std::string &out, double value)
{
    requireFinite(value);
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

} // namespace sqltext

TableInsert::TableInsert(Loader &loader, const TableLayout &layout, int rowsPerBatch)
    : m_loader(loader), m_layout(layout), m_rowsPerBatch(rowsPerBatch)
{
    if (!layout.oneRowUpdate) {
        m_head = "INSERT INTO `";
        m_head += layout.table;
        m_head += "` (";
        for (std::size_t c = 0; c < layout.columns.size(); ++c) {
            if (c) m_head += ',';
            m_head += '`';
            m_head += layout.columns[c];
            m_head += '`';
        }
        m_head += ") VALUES ";
    }
}

std::string &TableInsert::next(const char *column)
{
    if (m_column >= m_layout.columns.size() || std::strcmp(column, m_layout.columns[m_column]) != 0) {
        const char *expected = m_column < m_layout.columns.size() ? m_layout.columns[m_column] : "(end of row)";
        throw std::logic_error(std::string(m_layout.table) + ": value for " + column + " given where " + expected +
                               " is expected");
    }
    if (m_layout.oneRowUpdate) {
        m_buffer += m_column == 0 ? "UPDATE `" + std::string(m_layout.table) + "` SET " : std::string(",");
        m_buffer += '`';
        m_buffer += column;
        m_buffer += "`=";
    } else if (m_column == 0) {
        m_buffer += m_rowsInBatch ? ",(" : "(";
    } else {
        m_buffer += ',';
    }
    ++m_column;
    return m_buffer;
}

TableInsert &TableInsert::null(const char *column)
{
    next(column) += "NULL";
    return *this;
}
TableInsert &TableInsert::i(const char *column, std::int64_t value)
{
    sqltext::appendInteger(next(column), value);
    return *this;
}
TableInsert &TableInsert::d2(const char *column, double value)
{
    sqltext::appendFixed(next(column), value, 2);
    return *this;
}
TableInsert &TableInsert::d3(const char *column, double value)
{
    sqltext::appendFixed(next(column), value, 3);
    return *this;
}
TableInsert &TableInsert::d(const char *column, double value)
{
    sqltext::appendExact(next(column), value);
    return *this;
}
TableInsert &TableInsert::s(const char *column, std::string_view value)
{
    sqltext::appendString(next(column), value);
    return *this;
}
TableInsert &TableInsert::date(const char *column, Day day)
{
    sqltext::appendString(next(column), day.iso());
    return *this;
}
TableInsert &TableInsert::moment(const char *column, const Moment &moment)
{
    sqltext::appendString(next(column), moment.iso());
    return *this;
}
TableInsert &TableInsert::time(const char *column, int seconds)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    sqltext::appendString(next(column), buf);
    return *this;
}

void TableInsert::endRow()
{
    if (m_column != m_layout.columns.size())
        throw std::logic_error(std::string(m_layout.table) + ": row ended before " + m_layout.columns[m_column]);
    m_column = 0;
    ++m_rows;
    if (m_layout.oneRowUpdate) return;
    m_buffer += ')';
    ++m_rowsInBatch;
    if (m_rowsInBatch >= m_rowsPerBatch || m_buffer.size() > (4u << 20)) flush();
}

void TableInsert::flush()
{
    if (m_rowsInBatch == 0) return;
    m_loader.exec(m_head + m_buffer);
    m_loader.commit();
    m_buffer.clear();
    m_rowsInBatch = 0;
}

void TableInsert::finish()
{
    if (m_column != 0) throw std::logic_error(std::string(m_layout.table) + ": unfinished row");
    if (m_layout.oneRowUpdate) {
        if (!m_buffer.empty()) {
            m_loader.exec(m_buffer);
            m_loader.commit();
            m_buffer.clear();
        }
        return;
    }
    flush();
}

} // namespace ravelin::bench
