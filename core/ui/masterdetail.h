#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class QProgressBar;

namespace ravelin {

// The one-shot reload of a detail grid under a master list: every change of the master row
// restarts the timer, so a burst of changes (arrow keys held down) reloads the detail once,
// `interval` ms after the last one.
class DetailReload : public QObject
{
    Q_OBJECT
public:
    DetailReload(int interval, std::function<void()> reload, QObject *parent = nullptr);

    // Call on every change of the master row.
    void restart() { m_timer.start(); }
    bool pending() const { return m_timer.isActive(); }
    QTimer &timer() { return m_timer; }

private:
    QTimer m_timer;
};

// The small busy bar of a tab: on a selection change it restarts from 0 and grows by `step`
// every `interval` ms until it has reached at least 30.
class BusyBar : public QObject
{
    Q_OBJECT
public:
    BusyBar(QProgressBar *bar, int step, int interval, QObject *parent = nullptr);

    void restart();
    QTimer &timer() { return m_timer; }

private:
    QProgressBar *m_bar;
    int m_step;
    QTimer m_timer;
};

} // namespace ravelin
