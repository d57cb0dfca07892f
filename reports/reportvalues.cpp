#include "reportvalues.h"

#include "formats.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

namespace ravelin {

bool isNumericValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return !value.isNull();
    default: return false;
    }
}

static bool isDateValue(const QVariant &value)
{
    const int t = value.typeId();
    return t == QMetaType::QDate || t == QMetaType::QDateTime || t == QMetaType::QTime;
}

double reportNumber(const QVariant &value, bool *ok)
{
    if (isNumericValue(value)) {
        if (ok) *ok = true;
        return finiteOrZero(value.toDouble());
    }
    if (value.typeId() == QMetaType::Bool) {
        if (ok) *ok = true;
        return value.toBool() ? 1.0 : 0.0;
    }
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        return parseDecimal(value.toString(), ok);
    if (ok) *ok = false;
    return 0.0;
}

static QString numberText(double v)
{
    if (!std::isfinite(v)) return QStringLiteral("0");
    if (v == std::trunc(v) && std::fabs(v) < 1e15) return QString::number(qint64(v));
    QString t = QString::number(v, 'g', 15);
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    return t;
}

QString reportText(const QVariant &value)
{
    if (value.isNull()) return QString();
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("OUI") : QStringLiteral("NON");
    case QMetaType::Double:
    case QMetaType::Float: return numberText(value.toDouble());
    case QMetaType::QDate: return formatDate(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (when.time() == QTime(0, 0)) return formatDate(when.date());
        return formatDateTime(when, QStringLiteral("dd/mm/yyyy hh:nn:ss"));
    }
    case QMetaType::QTime: return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    default: return value.toString();
    }
}

static bool isDatePattern(const QString &pattern)
{
    if (pattern.contains(QLatin1Char('#')) || pattern.contains(QLatin1Char('0'))) return false;
    for (const QChar c : pattern) {
        switch (c.toLower().unicode()) {
        case 'd':
        case 'm':
        case 'y':
        case 'h':
        case 'n':
        case 's': return true;
        default: break;
        }
    }
    return false;
}

static QDateTime dateFromText(const QString &text)
{
    const QString t = text.trimmed();
    QDateTime when = QDateTime::fromString(t, Qt::ISODate);
    if (when.isValid()) return when;
    const QDate day = QDate::fromString(t.left(10), Qt::ISODate);
    if (day.isValid()) return QDateTime(day, QTime(0, 0));
    const QDate french = QDate::fromString(t.left(10), QStringLiteral("dd/MM/yyyy"));
    if (french.isValid()) return QDateTime(french, QTime(0, 0));
    return {};
}

QString formatReportValue(const QVariant &value, const QString &pattern)
{
    if (pattern.isEmpty()) return reportText(value);
    if (value.isNull()) return QString();

    // printf style, "%2.2f": that many decimals, no groups.
    static const QRegularExpression printfPattern(QStringLiteral("^%-?\\d*(?:\\.(\\d+))?[fFgn]$"));
    if (const auto m = printfPattern.match(pattern); m.hasMatch()) {
        const int decimals = m.captured(1).isEmpty() ? 2 : m.captured(1).toInt();
        const QString numeric =
            decimals > 0 ? QStringLiteral("0.") + QString(decimals, QLatin1Char('0')) : QStringLiteral("0");
        return formatValue(value, numeric);
    }

    if (isDatePattern(pattern)) {
        QDateTime when;
        if (value.typeId() == QMetaType::QDate) return formatDate(value.toDate(), pattern);
        if (value.typeId() == QMetaType::QDateTime) when = value.toDateTime();
        else if (value.typeId() == QMetaType::QTime) when = QDateTime(QDate(1899, 12, 30), value.toTime());
        else when = dateFromText(value.toString());
        return when.isValid() ? formatDateTime(when, pattern) : reportText(value);
    }
    if (isDateValue(value)) return reportText(value);
    return formatValue(value, pattern);
}

bool reportTruth(const QVariant &value)
{
    if (value.isNull()) return false;
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    if (isNumericValue(value)) return value.toDouble() != 0.0;
    if (isDateValue(value)) return true;
    return !value.toString().isEmpty();
}

int compareReportValues(const QVariant &a, const QVariant &b)
{
    const auto sign = [](double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); };
    if (a.isNull() && b.isNull()) return 0;
    if (isNumericValue(a) || isNumericValue(b) || a.typeId() == QMetaType::Bool || b.typeId() == QMetaType::Bool) {
        bool okA = a.isNull(), okB = b.isNull();
        const double x = a.isNull() ? 0.0 : reportNumber(a, &okA);
        const double y = b.isNull() ? 0.0 : reportNumber(b, &okB);
        if (okA && okB) return sign(x - y);
    }
    if (isDateValue(a) || isDateValue(b)) {
        const QDateTime x = isDateValue(a) ? a.toDateTime() : dateFromText(a.toString());
        const QDateTime y = isDateValue(b) ? b.toDateTime() : dateFromText(b.toString());
        if (x.isValid() && y.isValid()) return x < y ? -1 : (y < x ? 1 : 0);
    }
    const int c = QString::compare(reportText(a), reportText(b), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace ravelin
