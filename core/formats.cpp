#include "formats.h"

#include <cmath>

namespace ravelin {

QLocale frenchLocale()
{
    return QLocale(QLocale::French, QLocale::France);
}

namespace {

struct NumberPattern
{
    QString prefix;
    QString suffix;
    int minInt = 1;
    int minDec = 0;
    int maxDec = 0;
    bool group = false;
};

NumberPattern parsePattern(const QString &pattern)
{
    NumberPattern p;
    int first = -1, last = -1;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = pattern;
        return p;
    }
    p.prefix = pattern.left(first);
    p.suffix = pattern.mid(last + 1);
    const QString body = pattern.mid(first, last - first + 1);
    const int dot = body.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? body : body.left(dot);
    const QString decPart = dot < 0 ? QString() : body.mid(dot + 1);
    p.minInt = std::max<int>(1, int(intPart.count(QLatin1Char('0'))));
    p.group = intPart.contains(QLatin1Char(',')) || intPart.contains(QLatin1Char(' '));
    p.minDec = int(decPart.count(QLatin1Char('0')));
    p.maxDec = p.minDec + int(decPart.count(QLatin1Char('#')));
    return p;
}

} // namespace

QString formatNumber(double value, const QString &pattern)
{
    const NumberPattern p = parsePattern(pattern);
    value = finiteOrZero(value);
    const double scale = std::pow(10.0, p.maxDec);
    double rounded = std::round(std::fabs(value) * scale) / scale;
    const bool negative = value < 0 && rounded != 0.0;
    QString digits = QString::number(rounded, 'f', p.maxDec);
    QString intDigits = digits, decDigits;
    if (const int dot = digits.indexOf(QLatin1Char('.')); dot >= 0) {
        intDigits = digits.left(dot);
        decDigits = digits.mid(dot + 1);
    }
    while (decDigits.size() > p.minDec && decDigits.endsWith(QLatin1Char('0'))) decDigits.chop(1);
    while (intDigits.size() < p.minInt) intDigits.prepend(QLatin1Char('0'));
    if (p.group) {
        for (int i = int(intDigits.size()) - 3; i > 0; i -= 3) intDigits.insert(i, QLatin1Char(' '));
    }
    QString out = p.prefix;
    if (negative) out += QLatin1Char('-');
    out += intDigits;
    if (!decDigits.isEmpty()) out += QLatin1Char(',') + decDigits;
    return out + p.suffix;
}

QString formatValue(const QVariant &value, const QString &pattern)
{
    if (value.isNull()) return QString();
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty()) return QString();
    bool ok = false;
    double d = value.toDouble(&ok);
    if (!ok) d = parseDecimal(value.toString(), &ok);
    if (!ok) return value.toString();
    return formatNumber(d, pattern);
}

static QString qtDatePattern(const QString &pattern)
{
    // Delphi-style to Qt: months are m..mmmm, minutes are nn.
    QString out;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        int run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c == QLatin1Char('m')) out += QString(run, QLatin1Char('M'));
        else if (c == QLatin1Char('n')) out += QString(run, QLatin1Char('m'));
        else out += pattern.mid(i, run);
        i += run;
    }
    return out;
}

QString formatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid()) return QString();
    return frenchLocale().toString(date, qtDatePattern(pattern));
}

QString formatDateTime(const QDateTime &when, const QString &pattern)
{
    if (!when.isValid()) return QString();
    return frenchLocale().toString(when, qtDatePattern(pattern));
}

double parseDecimal(const QString &text, bool *ok)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool good = false;
    double v = t.isEmpty() ? 0.0 : t.toDouble(&good);
    if (!std::isfinite(v)) {
        good = false;
        v = 0.0;
    }
    if (ok) *ok = good;
    return good ? v : 0.0;
}

double round2(double value)
{
    return finiteOrZero(std::round(value * 100.0) / 100.0);
}

double round3(double value)
{
    return finiteOrZero(std::round(value * 1000.0) / 1000.0);
}

double safeDivide(double a, double b)
{
    if (b == 0.0) return 0.0;
    return finiteOrZero(a / b);
}

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

bool holdsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return true;
    default: return false;
    }
}

} // namespace ravelin
