#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>

namespace ravelin::test {

// The data a map page carries in its JSON element `id`, parsed as the browser's JSON.parse would
// (the page's escapes are JSON's own); an empty object when there is none.
inline QJsonObject mapPageData(const QString &html, const QString &id = QStringLiteral("donnees"))
{
    const QRegularExpression element(QStringLiteral("<script type=\"application/json\" id=\"") + id +
                                         QStringLiteral("\">(.*?)</script>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    const auto m = element.match(html);
    if (!m.hasMatch()) return {};
    return QJsonDocument::fromJson(m.captured(1).toUtf8()).object();
}

inline QString readPage(const QString &path)
{
    QFile page(path);
    if (!page.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(page.readAll());
}

} // namespace ravelin::test
