#pragma once

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ravelin::test {

// A Dialogs double for headless screen tests. Answers are queued in the order the screen will
// ask; every message and question is recorded as "caption|text" so that a test asserts exactly
// what the user would have seen. A question without a queued answer fails the test.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "okCancel", "yesNo", "input", "openFile", "saveFile"
        QString caption;
        QString text;
    };

    void answer(const QVariant &value) { m_answers.append(value); } // bool, QString or invalid (cancel)
    void answers(const QVariantList &values) { m_answers.append(values); }

    void message(const QString &text, const QString &caption) override;
    bool okCancel(const QString &text, const QString &caption) override;
    bool yesNo(const QString &text, const QString &caption) override;
    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &initial) override;
    QString openFile(const QString &caption, const QString &filter, const QString &folder) override; // text: the folder
    QString saveFile(const QString &caption, const QString &filter,
                     const QString &proposed) override; // text: the file proposed; a queued QString

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const; // every text shown, in order
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    QString lastCaption() const { return m_shown.isEmpty() ? QString() : m_shown.last().caption; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
    }

private:
    QVariant next(const QString &what);
    QList<Shown> m_shown;
    QVariantList m_answers;
};

} // namespace ravelin::test
