#include "wheelrowstepper.h"

#include <QAbstractItemView>
#include <QWheelEvent>

namespace ravelin {

WheelRowStepper::WheelRowStepper(QAbstractItemView *view) : QObject(view), m_view(view) {}

void WheelRowStepper::install(QAbstractItemView *view)
{
    view->viewport()->installEventFilter(new WheelRowStepper(view));
}

bool WheelRowStepper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    auto *wheel = static_cast<QWheelEvent *>(event);
    QAbstractItemModel *model = m_view->model();
    if (model && model->rowCount() > 0) {
        const QModelIndex current = m_view->currentIndex();
        int row = current.isValid() ? current.row() : 0;
        const int column = current.isValid() ? current.column() : 0;
        row += wheel->angleDelta().y() > 0 ? -1 : 1;
        row = std::clamp(row, 0, model->rowCount() - 1);
        m_view->setCurrentIndex(model->index(row, column));
    }
    return true;
}

} // namespace ravelin
