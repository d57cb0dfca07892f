#include "textimport.h"

#include "formats.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <cmath>

namespace ravelin {

namespace {

// The characters Windows-1252 puts where Latin-1 has its control codes 0x80 to 0x9F; the five
// unused positions keep their Latin-1 code, as Windows itself decodes them.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(windows1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return utf16(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16BE);
        return utf16(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

std::optional<double> readDecimalField(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^\\s*-?([0-9]+([.,][0-9]*)?|[.,][0-9]+)\\s*$"));
    if (text.size() > 64 || !decimal.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = parseDecimal(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<qint64> readWholeField(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*-?[0-9]{1,18}\\s*$"));
    if (text.size() > 64 || !whole.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString importLineMessage(int line, const QString &what, const QString &consequence)
{
    return QStringLiteral("Ligne %1 : %2. %3").arg(line).arg(what, consequence);
}

QString shownFieldText(const QString &text)
{
    if (text.size() <= 30) return text;
    return text.left(29) + QChar(0x2026);
}

} // namespace ravelin
