#include "listexport.h"

#include "formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <memory>

namespace ravelin {

namespace {

bool isDatePattern(const QString &pattern)
{
    if (pattern.contains(QLatin1Char('0')) || pattern.contains(QLatin1Char('#'))) return false;
    for (const QChar c : pattern)
        if (QStringLiteral("dmyhns").contains(c.toLower())) return true;
    return false;
}

bool isWhole(const QVariant &v)
{
    return holdsNumber(v) && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float;
}

// What a cell holds once typed: a number (also a text in a column formatted as numbers), a date,
// a text, or nothing.
struct Cell
{
    enum Kind { Empty, Number, Date, Text } kind = Empty;
    double number = 0;
    bool whole = false;
    QDateTime when;
    QString text;
};

bool isNumberPattern(const QString &pattern)
{
    return !pattern.isEmpty() && !isDatePattern(pattern);
}

// `numberFormat`: the column is formatted as numbers, so a text that reads as one is one.
Cell cellOf(const QVariant &v, bool numberFormat)
{
    Cell cell;
    if (v.isNull() || !v.isValid()) return cell;
    if (v.typeId() == QMetaType::QDate) {
        cell.kind = Cell::Date;
        cell.when = QDateTime(v.toDate(), QTime(0, 0));
        return cell;
    }
    if (v.typeId() == QMetaType::QDateTime) {
        cell.kind = Cell::Date;
        cell.when = v.toDateTime();
        return cell;
    }
    if (holdsNumber(v)) {
        cell.kind = Cell::Number;
        cell.number = v.toDouble();
        cell.whole = isWhole(v);
        return cell;
    }
    const QString text = v.toString();
    if (numberFormat) {
        if (text.trimmed().isEmpty()) return cell;
        bool ok = false;
        const double d = parseDecimal(text, &ok);
        if (ok) {
            cell.kind = Cell::Number;
            cell.number = d;
            return cell;
        }
    }
    cell.kind = Cell::Text;
    cell.text = text;
    return cell;
}

// Writes rows of cells into a file; the file is left for the caller to rename or remove.
class SheetWriter
{
public:
    virtual ~SheetWriter() = default;
    virtual Status begin(const QString &path, const QList<ExportColumn> &columns) = 0;
    virtual Status row(const QList<Cell> &cells) = 0;
    virtual Status finish() = 0;
};

Error writeError(const QString &path, const QString &detail)
{
    return Error{QStringLiteral("Le fichier \"%1\" n'a pas pu être écrit.").arg(QDir::toNativeSeparators(path)), detail,
                 QString(), QStringLiteral("exportList")};
}

class CsvWriter : public SheetWriter
{
public:
    Status begin(const QString &path, const QList<ExportColumn> &columns) override
    {
        // each column's patterns, worked out once rather than for every cell
        for (const ExportColumn &c : columns) {
            m_datePatterns << (isDatePattern(c.format) ? c.format : QStringLiteral("dd/mm/yyyy"));
            // the list's decimals, without the thousands spaces a spreadsheet would take for text
            m_numberPatterns << (isNumberPattern(c.format)
                                     ? QString(c.format).remove(QLatin1Char(',')).remove(QLatin1Char(' '))
                                     : QString());
        }
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return writeError(path, m_file.errorString());
        m_buffer = QByteArrayLiteral("\xEF\xBB\xBF"); // so that a spreadsheet reads the accents as UTF-8
        QStringList header;
        for (const ExportColumn &c : columns) header << quoted(c.caption.isEmpty() ? c.name : c.caption);
        m_buffer += header.join(QLatin1Char(';')).toUtf8() + "\r\n";
        return {};
    }

    Status row(const QList<Cell> &cells) override
    {
        QStringList values;
        for (int c = 0; c < cells.size(); ++c)
            values << text(cells.at(c), m_datePatterns.at(c), m_numberPatterns.at(c));
        m_buffer += values.join(QLatin1Char(';')).toUtf8() + "\r\n";
        if (m_buffer.size() > 1 << 20) return flush();
        return {};
    }

    Status finish() override
    {
        if (Status written = flush(); !written) return written;
        m_file.close();
        if (m_file.error() != QFileDevice::NoError) return writeError(m_file.fileName(), m_file.errorString());
        return {};
    }

private:
    Status flush()
    {
        if (m_file.write(m_buffer) != m_buffer.size()) return writeError(m_file.fileName(), m_file.errorString());
        m_buffer.clear();
        return {};
    }

    static QString quoted(const QString &text)
    {
        if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
            !text.contains(QLatin1Char('\r')) && text.trimmed() == text)
            return text;
        QString escaped = text;
        escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + escaped + QLatin1Char('"');
    }

    static QString text(const Cell &cell, const QString &datePattern, const QString &numberPattern)
    {
        switch (cell.kind) {
        case Cell::Empty: return QString();
        case Cell::Date:
            return datePattern.contains(QLatin1Char('h')) ? formatDateTime(cell.when, datePattern)
                                                          : formatDate(cell.when.date(), datePattern);
        case Cell::Number: {
            if (!numberPattern.isEmpty()) return formatNumber(cell.number, numberPattern);
            if (cell.whole) return QString::number(qint64(cell.number));
            return QString::number(cell.number, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
        }
        case Cell::Text: return quoted(cell.text);
        }
        return QString();
    }

    QFile m_file;
    QByteArray m_buffer;
    QStringList m_datePatterns;
    QStringList m_numberPatterns;
};

class XlsxWriter : public SheetWriter
{
public:
    ~XlsxWriter() override
    {
        // an export stopped half way: the workbook is closed (and its file removed by the caller)
        if (m_workbook) workbook_close(m_workbook);
    }

    Status begin(const QString &path, const QList<ExportColumn> &columns) override
    {
        m_path = path;
        m_columns = columns;
        lxw_workbook_options options{};
        // rows are written in order and not kept: memory stays flat on a long list
        options.constant_memory = LXW_TRUE;
        m_workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!m_workbook) return writeError(path, QStringLiteral("workbook_new"));
        m_sheet = workbook_add_worksheet(m_workbook, "Liste");
        lxw_format *bold = workbook_add_format(m_workbook);
        format_set_bold(bold);
        for (int c = 0; c < columns.size(); ++c) {
            const ExportColumn &column = columns.at(c);
            // the screen's pixels in Excel's characters (about seven pixels each)
            const double width = column.width > 0 ? qMax(4.0, column.width / 7.0) : 12.0;
            worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr);
            m_formats << formatFor(column.format);
            const QByteArray caption = (column.caption.isEmpty() ? column.name : column.caption).toUtf8();
            if (const lxw_error e = worksheet_write_string(m_sheet, 0, lxw_col_t(c), caption.constData(), bold))
                return writeError(path, QString::fromUtf8(lxw_strerror(e)));
        }
        worksheet_freeze_panes(m_sheet, 1, 0);
        return {};
    }

    Status row(const QList<Cell> &cells) override
    {
        ++m_row;
        if (m_row >= LXW_ROW_MAX)
            return Error{QStringLiteral("La liste a trop de lignes pour un classeur Excel (%1 au plus) : exportez-la "
                                        "en CSV.")
                             .arg(LXW_ROW_MAX - 1),
                         QString(), QString(), QStringLiteral("exportList")};
        for (int c = 0; c < cells.size(); ++c) {
            const Cell &cell = cells.at(c);
            const lxw_col_t col = lxw_col_t(c);
            lxw_error e = LXW_NO_ERROR;
            switch (cell.kind) {
            case Cell::Empty: break;
            case Cell::Number: e = worksheet_write_number(m_sheet, m_row, col, cell.number, m_formats.at(c)); break;
            case Cell::Date: {
                const QDate d = cell.when.date();
                const QTime t = cell.when.time();
                lxw_datetime when{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
                e = worksheet_write_datetime(m_sheet, m_row, col, &when, dateFormat(c));
                break;
            }
            case Cell::Text: {
                // a cell holds at most 32,767 characters
                const QByteArray text = cell.text.left(32767).toUtf8();
                e = worksheet_write_string(m_sheet, m_row, col, text.constData(), nullptr);
                break;
            }
            }
            if (e != LXW_NO_ERROR) return writeError(m_path, QString::fromUtf8(lxw_strerror(e)));
        }
        return {};
    }

    Status finish() override
    {
        const lxw_error e = workbook_close(m_workbook);
        m_workbook = nullptr;
        if (e != LXW_NO_ERROR) return writeError(m_path, QString::fromUtf8(lxw_strerror(e)));
        return {};
    }

private:
    lxw_format *formatFor(const QString &pattern)
    {
        if (pattern.isEmpty()) return nullptr;
        lxw_format *f = workbook_add_format(m_workbook);
        format_set_num_format(f, excelFormat(pattern).toUtf8().constData());
        return f;
    }

    lxw_format *dateFormat(int column)
    {
        if (isDatePattern(m_columns.at(column).format)) return m_formats.at(column);
        if (!m_date) {
            m_date = workbook_add_format(m_workbook);
            format_set_num_format(m_date, "dd/mm/yyyy");
        }
        return m_date;
    }

    QString m_path;
    QList<ExportColumn> m_columns;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    QList<lxw_format *> m_formats;
    lxw_format *m_date = nullptr;
    lxw_row_t m_row = 0;
};

std::unique_ptr<SheetWriter> writerFor(ExportFormat format)
{
    if (format == ExportFormat::Csv) return std::make_unique<CsvWriter>();
    return std::make_unique<XlsxWriter>();
}

// The export's file under a temporary name beside the target, renamed over it once complete.
class PartialFile
{
public:
    explicit PartialFile(const QString &target) : m_target(target)
    {
        const QFileInfo info(target);
        m_file.setFileTemplate(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                               QStringLiteral(".XXXXXX"));
    }
    ~PartialFile()
    {
        if (!m_kept) QFile::remove(m_file.fileName());
    }

    Status create()
    {
        m_file.setAutoRemove(false); // the writer reopens it by name; removed here unless kept
        if (!m_file.open()) return writeError(m_target, m_file.errorString());
        m_file.close();
        return {};
    }
    QString path() const { return m_file.fileName(); }

    Status keep()
    {
        QFile::remove(m_target);
        if (!QFile::rename(m_file.fileName(), m_target)) return writeError(m_target, QStringLiteral("rename"));
        m_kept = true;
        return {};
    }

private:
    QString m_target;
    QTemporaryFile m_file;
    bool m_kept = false;
};

// The positions of the columns in a row, by name (-1: the list has no such column, left empty).
template <typename IndexOf> QList<int> positions(const QList<ExportColumn> &columns, IndexOf indexOf)
{
    QList<int> at;
    for (const ExportColumn &c : columns) {
        const QString name = c.name.contains(QLatin1Char('.')) ? c.name.section(QLatin1Char('.'), -1) : c.name;
        at << indexOf(name);
    }
    return at;
}

// Which columns are formatted as numbers.
QList<bool> numberFormats(const QList<ExportColumn> &columns)
{
    QList<bool> numeric;
    for (const ExportColumn &c : columns) numeric << isNumberPattern(c.format);
    return numeric;
}

template <typename Value> QList<Cell> cellsOf(const QList<bool> &numeric, const QList<int> &at, Value value)
{
    QList<Cell> cells;
    cells.reserve(at.size());
    for (int c = 0; c < at.size(); ++c) cells << (at.at(c) < 0 ? Cell() : cellOf(value(at.at(c)), numeric.at(c)));
    return cells;
}

} // namespace

ExportFormat exportFormatFor(const QString &path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? ExportFormat::Csv : ExportFormat::Xlsx;
}

QString excelFormat(const QString &pattern)
{
    if (isDatePattern(pattern)) return QString(pattern).replace(QStringLiteral("nn"), QStringLiteral("mm"));
    int first = -1, last = -1;
    for (int i = 0; i < pattern.size(); ++i)
        if (pattern[i] == QLatin1Char('0') || pattern[i] == QLatin1Char('#')) {
            if (first < 0) first = i;
            last = i;
        }
    if (first < 0) return QStringLiteral("General");
    const auto literal = [](const QString &text) {
        return text.isEmpty() ? QString()
                              : QLatin1Char('"') + QString(text).remove(QLatin1Char('"')) + QLatin1Char('"');
    };
    const QString body = pattern.mid(first, last - first + 1);
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? body : body.left(dot);
    const QString decPart = dot < 0 ? QString() : body.mid(dot + 1);
    const int zeros = qMax(1, int(intPart.count(QLatin1Char('0'))));
    const bool group = intPart.contains(QLatin1Char(',')) || intPart.contains(QLatin1Char(' '));
    QString out = group ? QStringLiteral("#,##0") : QString(zeros, QLatin1Char('0'));
    const int minDec = int(decPart.count(QLatin1Char('0')));
    const int maxDec = minDec + int(decPart.count(QLatin1Char('#')));
    if (maxDec > 0)
        out += QLatin1Char('.') + QString(minDec, QLatin1Char('0')) + QString(maxDec - minDec, QLatin1Char('#'));
    return literal(pattern.left(first)) + out + literal(pattern.mid(last + 1));
}

Result<ExportOutcome> exportList(QSqlDatabase db, const PagedQuery &query, const QList<ExportColumn> &columns,
                                 const QString &path, ExportFormat format, const ExportProgress &progress, int pageSize)
{
    PartialFile file(path);
    if (Status created = file.create(); !created) return created.error();
    ExportOutcome outcome;
    {
        std::unique_ptr<SheetWriter> writer = writerFor(format);
        if (Status begun = writer->begin(file.path(), columns); !begun) return begun.error();
        PagedReader reader(db, query, pageSize);
        const QList<bool> numeric = numberFormats(columns);
        QList<int> at;
        while (!reader.atEnd()) {
            auto page = reader.next();
            if (!page) return page.error();
            if (at.isEmpty())
                at = positions(columns, [&](const QString &name) { return reader.fields().indexOf(name); });
            for (const QVector<QVariant> &row : *page)
                if (Status written = writer->row(cellsOf(numeric, at, [&](int c) { return row.at(c); })); !written)
                    return written.error();
            outcome.rows += page->size();
            if (progress && !progress(outcome.rows)) {
                outcome.cancelled = true;
                return outcome;
            }
        }
        if (Status finished = writer->finish(); !finished) return finished.error();
    }
    if (Status kept = file.keep(); !kept) return kept.error();
    return outcome;
}

Result<ExportOutcome> exportTable(const DataTable &table, const QList<ExportColumn> &columns, const QString &path,
                                  ExportFormat format, const ExportProgress &progress)
{
    PartialFile file(path);
    if (Status created = file.create(); !created) return created.error();
    ExportOutcome outcome;
    {
        std::unique_ptr<SheetWriter> writer = writerFor(format);
        if (Status begun = writer->begin(file.path(), columns); !begun) return begun.error();
        const QList<int> at = positions(columns, [&](const QString &name) { return table.columnIndex(name); });
        const QList<bool> numeric = numberFormats(columns);
        for (int row = 0; row < table.rowCount(); ++row) {
            if (Status written = writer->row(cellsOf(numeric, at, [&](int c) { return table.value(row, c); }));
                !written)
                return written.error();
            ++outcome.rows;
            if (progress && (outcome.rows % 5000 == 0 || row + 1 == table.rowCount()) && !progress(outcome.rows)) {
                outcome.cancelled = true;
                return outcome;
            }
        }
        if (Status finished = writer->finish(); !finished) return finished.error();
    }
    if (Status kept = file.keep(); !kept) return kept.error();
    return outcome;
}

} // namespace ravelin
