#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace ravelin {

// The program shows every number and date the French way, whatever the workstation's locale.
QLocale frenchLocale();

// Formats a number with a display pattern of the older program: "#,##0.00", "# ##0", "# ###.00",
// "# ###.000", "#.00", "0.00", "0.000", "0". '0' is a required digit, '#' an optional one, a ','
// or a space between integer placeholders asks for thousands groups, '.' marks the decimals.
// Output uses the decimal comma and a space between thousands ("1 234,50"). A number below one
// always keeps its "0" before the comma. inf and NaN show as 0.
QString formatNumber(double value, const QString &pattern);

// True when the value is held as a number (a column of a number type), whatever its width.
bool holdsNumber(const QVariant &value);

// The same for a database value: null or empty shows as an empty text.
QString formatValue(const QVariant &value, const QString &pattern);

// Common patterns.
inline QString formatAmount(double v)
{
    return formatNumber(v, QStringLiteral("#,##0.00"));
}
inline QString formatVolume(double v)
{
    return formatNumber(v, QStringLiteral("0.000"));
}

// Dates with patterns of the older program: d dd ddd dddd, m mm mmm mmmm (months), yy yyyy,
// hh, nn (minutes), ss. French day and month names.
QString formatDate(const QDate &date, const QString &pattern = QStringLiteral("dd/mm/yyyy"));
QString formatDateTime(const QDateTime &when, const QString &pattern);

// Dates as written into SQL: "yyyy-mm-dd".
inline QString sqlDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// Reads a number typed with a comma or a point; empty or invalid gives ok = false.
double parseDecimal(const QString &text, bool *ok = nullptr);

// Rounding used before a computed value is stored: two decimals ("0.00"), log volumes three.
double round2(double value);
double round3(double value);

// a / b, or 0 when b is zero or the result is not a finite number.
double safeDivide(double a, double b);

// Replaces inf and NaN by 0.
double finiteOrZero(double value);

} // namespace ravelin
