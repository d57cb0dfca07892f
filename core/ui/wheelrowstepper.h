#pragma once

#include <QObject>

class QAbstractItemView;

namespace ravelin {

// The mouse wheel over a main list moves the current row by one per notch instead of scrolling:
// away from the user goes to the previous row, towards the user to the next one.
class WheelRowStepper : public QObject
{
    Q_OBJECT
public:
    static void install(QAbstractItemView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WheelRowStepper(QAbstractItemView *view);
    QAbstractItemView *m_view;
};

} // namespace ravelin
