#include "geocodepage.h"

#include "mappages.h"

namespace ravelin {

QString javaScriptString(const QString &text, QChar quote)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    out.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    out.replace(QLatin1Char('<'), QStringLiteral("\\u003c"));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return quote + out + quote;
}

Result<QString> writeGeocodingPage(const QString &folder, const QString &address, const QString &field)
{
    return writeMapPage(folder, addressPageFileName(), addressPageHtml(address, readMapSettings(folder), field));
}

} // namespace ravelin
