#include "result.h"

namespace ravelin {

QString functionName(const SourceLocation &location)
{
    QString name = QString::fromUtf8(location.function_name());
    // A lambda is named after the function it was written in: "f(int)::<lambda()>" -> "f(int)".
    if (const qsizetype lambda = name.indexOf(QLatin1String(")::<lambda")); lambda >= 0) name.truncate(lambda + 1);
    // The parameter list is the last parenthesised group; what follows it is "const" and the like.
    const qsizetype close = name.lastIndexOf(QLatin1Char(')'));
    if (close >= 0) {
        qsizetype open = close;
        for (int depth = 0; open >= 0; --open) {
            if (name.at(open) == QLatin1Char(')')) ++depth;
            else if (name.at(open) == QLatin1Char('(') && --depth == 0) break;
        }
        if (open > 0) {
            // Back to the space that ends the return type, outside template arguments.
            qsizetype start = open;
            for (int depth = 0; start > 0; --start) {
                const QChar c = name.at(start - 1);
                if (c == QLatin1Char('>')) ++depth;
                else if (c == QLatin1Char('<') && depth > 0) --depth;
                else if (c == QLatin1Char(' ') && depth == 0) break;
            }
            name = name.mid(start, open - start);
        }
    }
    name.remove(QLatin1String("{anonymous}::"));
    name.remove(QLatin1String("(anonymous namespace)::"));
    name.remove(QLatin1String("ravelin::"));
    return name;
}

QString Error::fullText() const
{
    QString text = message;
    if (!detail.isEmpty() && detail != message) text += QStringLiteral("\n\n") + detail;
    return text;
}

static Error madeError(ErrorKind kind, const QString &message, const SourceLocation &location)
{
    Error e;
    e.message = message;
    e.where = functionName(location);
    e.kind = kind;
    return e;
}

Error Error::refusal(const QString &message, SourceLocation location)
{
    return madeError(ErrorKind::Refusal, message, location);
}

Error Error::notFound(const QString &message, SourceLocation location)
{
    return madeError(ErrorKind::NotFound, message, location);
}

Error Error::changedElsewhere(const QString &message, SourceLocation location)
{
    return madeError(ErrorKind::ChangedElsewhere, message, location);
}

Error Error::failure(const QString &message, const QString &detail, SourceLocation location)
{
    Error e = madeError(ErrorKind::DatabaseFailure, message, location);
    e.detail = detail;
    return e;
}

} // namespace ravelin
