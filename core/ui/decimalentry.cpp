#include "decimalentry.h"

#include "formats.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ravelin {

bool DecimalKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if ((text == QLatin1String(",") || text == QLatin1String(".")) && text != QString(m_separator)) {
            QKeyEvent replaced(QEvent::KeyPress, m_separator == QLatin1Char(',') ? Qt::Key_Comma : Qt::Key_Period,
                               key->modifiers(), QString(m_separator), key->isAutoRepeat(), ushort(key->count()));
            QCoreApplication::sendEvent(watched, &replaced);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void installDecimalEntry(QWidget *field, QChar separator)
{
    if (separator.isNull()) separator = frenchLocale().decimalPoint().at(0);
    field->installEventFilter(new DecimalKeyFilter(separator, field));
}

} // namespace ravelin
