#include "masterdetail.h"

#include <QProgressBar>

namespace ravelin {

DetailReload::DetailReload(int interval, std::function<void()> reload, QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, [reload = std::move(reload)] { reload(); });
}

BusyBar::BusyBar(QProgressBar *bar, int step, int interval, QObject *parent) : QObject(parent), m_bar(bar), m_step(step)
{
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_bar->setValue(std::min(m_bar->maximum(), m_bar->value() + m_step));
        if (m_bar->value() >= 30) m_timer.stop();
    });
}

void BusyBar::restart()
{
    m_bar->setValue(0);
    m_timer.start();
}

} // namespace ravelin
