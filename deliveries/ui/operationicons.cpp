#include "operationicons.h"

#include "deliverystore.h"
#include "gridmodel.h"

#include <QHash>
#include <QPainter>

namespace ravelin {

QPixmap operationIconPixmap(const QString &operation)
{
    static QHash<int, QPixmap> icons;
    const int number = operationIcon(operation);
    if (number == 0) return QPixmap();
    if (auto it = icons.constFind(number); it != icons.cend()) return *it;

    // a rounded badge in the operation's colour, with the first letter of its kind
    static const QHash<int, QPair<QString, QString>> looks{
        {2, {QStringLiteral("0000FF"), QStringLiteral("A")}}, {3, {QStringLiteral("008000"), QStringLiteral("S")}},
        {4, {QStringLiteral("2E8B57"), QStringLiteral("V")}}, {5, {QStringLiteral("FF0000"), QStringLiteral("T")}},
        {6, {QStringLiteral("4169E1"), QStringLiteral("V")}}, {7, {QStringLiteral("FF8C00"), QStringLiteral("P")}}};
    const auto look = looks.value(number);
    QPixmap pixmap(25, 25);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(look.first));
    p.drawRoundedRect(QRectF(2, 2, 21, 21), 5, 5);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.drawText(QRectF(2, 2, 21, 21), Qt::AlignCenter, look.second);
    p.end();
    icons.insert(number, pixmap);
    return pixmap;
}

} // namespace ravelin
