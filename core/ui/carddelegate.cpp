#include "carddelegate.h"

#include <QApplication>
#include <QPainter>

namespace ravelin {

CardDelegate::CardDelegate(Lines lines, int lineCount, QObject *parent)
    : QStyledItemDelegate(parent), m_lines(std::move(lines)), m_lineCount(lineCount)
{
}

void CardDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const QStringList lines = m_lines(index.model(), index.row());
    painter->save();
    painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                          : option.palette.text().color());
    QFont bold = option.font;
    bold.setBold(true);
    const int height = option.fontMetrics.height();
    QRect line = option.rect.adjusted(6, 4, -6, 0);
    line.setHeight(height);
    for (int i = 0; i < lines.size(); ++i) {
        painter->setFont(i == 0 ? bold : option.font);
        painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, lines.at(i));
        line.translate(0, height);
    }
    painter->restore();
}

QSize CardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {300, option.fontMetrics.height() * m_lineCount + 10};
}

} // namespace ravelin
