#pragma once

#include <QString>

namespace ravelin {

// The pattern bound to "column like ?" for a search on what the user typed, anywhere in the
// column: "%" + typed + "%". A backslash is the server's escape character inside a pattern, so it
// is doubled to be searched for as itself; "%" and "_" keep their meaning, as users rely on them
// ("DUP_ND", "50%").
inline QString containsPattern(const QString &typed)
{
    QString escaped = typed;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The same for a search on the start of the column: typed + "%".
inline QString startsWithPattern(const QString &typed)
{
    QString escaped = typed;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return escaped + QLatin1Char('%');
}

} // namespace ravelin
