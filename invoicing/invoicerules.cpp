#include "invoicerules.h"

#include "formats.h"

#include <cmath>
#include <cstdlib>

namespace ravelin {

std::optional<QDate> dueDate(const QDate &invoiceDate, const PaymentTerms &terms)
{
    if (!invoiceDate.isValid()) return std::nullopt;
    const QDate e = invoiceDate.addDays(terms.days);
    if (!e.isValid()) return std::nullopt;
    if (terms.endOfMonth.trimmed().compare(QLatin1String("FIN de MOIS"), Qt::CaseInsensitive) != 0) return e;
    const QDate firstOfNext = QDate(e.year(), e.month(), 1).addMonths(1);
    const QDate due = firstOfNext.addDays(qint64(terms.dayAfter) - 1);
    if (!due.isValid()) return std::nullopt;
    return due;
}

qint64 toCents(double euros)
{
    if (!std::isfinite(euros)) return 0;
    // the stored amounts are computed values such as 150000.07 held as 150000.06999...: rounding the
    // product keeps their cent
    return std::llround(euros * 100.0);
}

double fromCents(qint64 cents)
{
    return double(cents) / 100.0;
}

InvoiceAmounts invoiceAmounts(qint64 htCents, double ratePercent)
{
    InvoiceAmounts a;
    a.ht = htCents;
    // the rate in ten-thousandths of a percent: 5.5 % is 55000, exactly
    const qint64 rate = std::isfinite(ratePercent) ? std::llround(ratePercent * 10000.0) : 0;
    const qint64 numerator = htCents * rate;
    constexpr qint64 denominator = 1000000; // percent x ten-thousandths
    const qint64 magnitude = (std::llabs(numerator) + denominator / 2) / denominator;
    a.tva = numerator < 0 ? -magnitude : magnitude;
    a.ttc = a.ht + a.tva;
    return a;
}

InvoiceAmounts negated(const InvoiceAmounts &amounts)
{
    return {-amounts.ht, -amounts.tva, -amounts.ttc};
}

std::optional<QString> invoiceDateRefusal(const QDate &chosen, const QDate &latest)
{
    if (!latest.isValid() || !chosen.isValid() || chosen >= latest) return std::nullopt;
    return QStringLiteral("Date de facture IMPOSSIBLE car infèrieure à la dernière date de facture du ") +
           formatDate(latest, QStringLiteral("dd/mm/yyyy"));
}

QString invoiceConfirmation(qint64 totalCents, const QString &client)
{
    return QStringLiteral("Confirmez vous la création d'une facture de ") +
           formatNumber(fromCents(totalCents), QStringLiteral("# ###.00")) + QStringLiteral(" € pour le client ") +
           client + QStringLiteral(" ?");
}

} // namespace ravelin
