#pragma once

#include "modal.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTest>

#include <functional>

namespace ravelin::test {

// The screens a flow opens, played in turn: each handler fills its screen in and presses a
// button; the names of the screens shown are kept in order.
class ModalScript
{
public:
    using Screen = std::function<int(QDialog &)>;

    ModalScript()
    {
        m_previous = setModalRunner([this](QDialog &dialog) -> int {
            m_shown << dialog.objectName();
            if (m_screens.isEmpty()) {
                QTest::qFail(qPrintable(QStringLiteral("unexpected screen: ") + dialog.objectName()), __FILE__,
                             __LINE__);
                return QDialog::Rejected;
            }
            return m_screens.takeFirst()(dialog);
        });
    }
    ~ModalScript() { setModalRunner(m_previous); }

    void then(Screen screen) { m_screens.append(std::move(screen)); }
    const QStringList &shown() const { return m_shown; }
    int pending() const { return int(m_screens.size()); }
    void clear()
    {
        m_screens.clear();
        m_shown.clear();
    }

private:
    QList<Screen> m_screens;
    QStringList m_shown;
    ModalRunner m_previous;
};

} // namespace ravelin::test
