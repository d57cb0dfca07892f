#pragma once

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

namespace ravelin::test {

// The captions of the columns a grid shows, in their order on screen.
inline QStringList headerTexts(const QTableView &view)
{
    QStringList shown;
    const QHeaderView *header = view.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            shown << view.model()->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    return shown;
}

} // namespace ravelin::test
