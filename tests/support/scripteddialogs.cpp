#include "scripteddialogs.h"

#include <QTest>

namespace ravelin::test {

QVariant ScriptedDialogs::next(const QString &what)
{
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + what), __FILE__, __LINE__);
        return QVariant();
    }
    return m_answers.takeFirst();
}

void ScriptedDialogs::message(const QString &text, const QString &caption)
{
    m_shown.append({QStringLiteral("message"), caption, text});
}

bool ScriptedDialogs::okCancel(const QString &text, const QString &caption)
{
    m_shown.append({QStringLiteral("okCancel"), caption, text});
    return next(text).toBool();
}

bool ScriptedDialogs::yesNo(const QString &text, const QString &caption)
{
    m_shown.append({QStringLiteral("yesNo"), caption, text});
    return next(text).toBool();
}

std::optional<QString> ScriptedDialogs::input(const QString &caption, const QString &prompt, const QString &)
{
    m_shown.append({QStringLiteral("input"), caption, prompt});
    const QVariant v = next(prompt);
    if (!v.isValid()) return std::nullopt;
    return v.toString();
}

QString ScriptedDialogs::openFile(const QString &caption, const QString &, const QString &folder)
{
    m_shown.append({QStringLiteral("openFile"), caption, folder});
    return next(caption).toString();
}

QString ScriptedDialogs::saveFile(const QString &caption, const QString &, const QString &proposed)
{
    m_shown.append({QStringLiteral("saveFile"), caption, proposed});
    return next(caption).toString();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown) out << s.text;
    return out;
}

} // namespace ravelin::test
