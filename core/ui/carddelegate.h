#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

namespace ravelin {

// A list of cards (places, storage zones): each row painted as a few lines of text, the first in
// bold, over the view's usual background and selection.
class CardDelegate : public QStyledItemDelegate
{
public:
    // The lines of the card of `row`; `lineCount` lines give the card its height.
    using Lines = std::function<QStringList(const QAbstractItemModel *model, int row)>;
    CardDelegate(Lines lines, int lineCount, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    Lines m_lines;
    int m_lineCount;
};

} // namespace ravelin
