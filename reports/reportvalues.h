#pragma once

#include <QString>
#include <QVariant>

namespace ravelin {

// How report expressions see values: the text a value prints as, its truth in a condition, its
// number in arithmetic and aggregates, and the comparison used by = < > and the like.

// The text of a value with no format: numbers with the decimal comma and no groups, dates
// "dd/mm/yyyy" (with the time when there is one), null as an empty text.
QString reportText(const QVariant &value);

// A value formatted with a display pattern: numbers ("#,##0.00", "# ###.00", "0.000", "0", an
// optional prefix or suffix such as " €", or a printf-style "%2.2f") or dates ("dd/mm/yyyy",
// "dddd dd mmmm yyyy" with French names, "hh:nn"). An empty pattern gives reportText().
QString formatReportValue(const QVariant &value, const QString &pattern);

bool isNumericValue(const QVariant &value);
// Numbers as such, texts read with a comma or a point; anything else is 0.
double reportNumber(const QVariant &value, bool *ok = nullptr);
// Null, false, 0 and the empty text are false.
bool reportTruth(const QVariant &value);
// -1, 0 or 1. Two numbers (or a number and a text holding one) compare as numbers, two dates as
// dates, anything else as texts.
int compareReportValues(const QVariant &a, const QVariant &b);

} // namespace ravelin
