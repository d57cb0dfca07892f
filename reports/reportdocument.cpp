#include "reportdocument.h"

#include <algorithm>
#include <cmath>

namespace ravelin {

QSizeF ReportDocument::paperSize() const
{
    const QSizeF portrait = pageSize.size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape) return portrait.transposed();
    return portrait;
}

namespace {

// Text items of a page sorted by row, then by column; items whose tops are within half a
// millimetre share a row.
QList<QList<const ReportItem *>> textRows(const ReportPage &page)
{
    QList<const ReportItem *> items;
    for (const ReportItem &item : page.items) {
        if (item.kind == ReportItem::Kind::Text && !item.text.trimmed().isEmpty()) items.append(&item);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const ReportItem *a, const ReportItem *b) { return a->rect.top() < b->rect.top(); });
    QList<QList<const ReportItem *>> rows;
    double rowTop = -1e9;
    for (const ReportItem *item : items) {
        if (rows.isEmpty() || item->rect.top() - rowTop > 0.5) {
            rows.append(QList<const ReportItem *>());
            rowTop = item->rect.top();
        }
        rows.last().append(item);
    }
    for (auto &row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const ReportItem *a, const ReportItem *b) { return a->rect.left() < b->rect.left(); });
    }
    return rows;
}

} // namespace

QStringList ReportDocument::texts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pages.size()) return out;
    for (const auto &row : textRows(pages[page])) {
        for (const ReportItem *item : row) out.append(item->text);
    }
    return out;
}

QStringList ReportDocument::textsNamed(const QString &name) const
{
    QStringList out;
    for (const ReportPage &page : pages) {
        for (const ReportItem &item : page.items) {
            if (item.kind == ReportItem::Kind::Text && item.name == name) out.append(item.text);
        }
    }
    return out;
}

QString ReportDocument::toPlainText() const
{
    QString out;
    for (int p = 0; p < pages.size(); ++p) {
        out += QStringLiteral("== page %1 ==\n").arg(p + 1);
        for (const auto &row : textRows(pages[p])) {
            QStringList texts;
            for (const ReportItem *item : row) texts.append(item->text);
            out += texts.join(QStringLiteral(" | ")) + QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace ravelin
