#pragma once

#include "dialogs.h"

class QWidget;

namespace ravelin {

// The Dialogs of the running program: message boxes and input boxes with French buttons.
class MessageBoxDialogs : public Dialogs
{
public:
    explicit MessageBoxDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    void message(const QString &text, const QString &caption) override;
    bool okCancel(const QString &text, const QString &caption) override;
    bool yesNo(const QString &text, const QString &caption) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &initial) override;
    QString openFile(const QString &caption, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &proposed) override;

private:
    QWidget *parentWidget() const;
    QWidget *m_parent;
};

} // namespace ravelin
