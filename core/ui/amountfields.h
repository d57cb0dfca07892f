#pragma once

#include "formats.h"

#include <QLineEdit>
#include <QString>
#include <QVariant>

namespace ravelin {

// Amount and quantity fields of the owner and work screens: an empty field is a null amount, a
// stored null shows as an empty field.

inline QString fieldAmountText(const QVariant &value, const QString &pattern = QStringLiteral("0.00"))
{
    if (!value.isValid() || value.isNull() || value.toString().trimmed().isEmpty()) return QString();
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok ? formatNumber(v, pattern) : QString();
}

// The number typed (comma or point); null when empty or not a number.
inline QVariant fieldAmount(const QLineEdit *field)
{
    bool ok = false;
    const double v = parseDecimal(field->text(), &ok);
    return ok ? QVariant(v) : QVariant(QMetaType::fromType<double>());
}

} // namespace ravelin
