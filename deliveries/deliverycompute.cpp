#include "deliverycompute.h"

#include "formats.h"

#include <cmath>

namespace ravelin {

namespace {

QString twoDecimals(double value)
{
    return formatNumber(value, QStringLiteral("0.00"));
}

} // namespace

std::optional<double> mwhPerTonne(double humidite)
{
    if (!std::isfinite(humidite) || humidite < 0 || humidite > 100) return std::nullopt;
    const double mwh = ((1 - humidite / 100) * 5100 - humidite * 6.789) / 1000;
    if (!std::isfinite(mwh) || mwh < 0) return std::nullopt;
    return mwh;
}

std::optional<double> fieldNumber(const QString &text)
{
    if (text.trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const double value = parseDecimal(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString pefcShareText(const QString &qtePefc, const QString &tonnage)
{
    const auto pefc = fieldNumber(qtePefc);
    const auto tonnes = fieldNumber(tonnage);
    if (!pefc || !tonnes || *tonnes == 0) return QStringLiteral("??? %");
    const double share = *pefc / *tonnes * 100;
    if (!std::isfinite(share)) return QStringLiteral("??? %");
    return twoDecimals(share) + QLatin1Char('%');
}

bool isPricedOperation(const QString &operation)
{
    return operation == QLatin1String("VENTE") || operation == QLatin1String("VENTE sur ACHAT") ||
           operation == QLatin1String("TRANSPORT") || operation == QLatin1String("TRANSFERT");
}

DeliveryRecalculation recalculateDelivery(const DeliveryPriceFields &in)
{
    DeliveryRecalculation out;
    out.fields = in;
    DeliveryPriceFields &f = out.fields;
    out.pefcLabel = pefcShareText(in.qtePefc, in.tonnage);
    if (!isPricedOperation(in.operation)) return out;
    out.showUnitGroup = true;
    const bool noTonnage = in.tonnage.trimmed().isEmpty();

    if (in.unite == QLatin1String("TONNE")) {
        out.showTonneGroup = true;
        out.prixTonneEnabled = true;
        // A cleared tonnage or price leaves nothing to invoice.
        if (in.prixTonne.trimmed().isEmpty() || noTonnage) {
            f.prixTotal = twoDecimals(0);
        } else {
            const auto tonnes = fieldNumber(in.tonnage);
            const auto price = fieldNumber(in.prixTonne);
            if (tonnes && price) f.prixTotal = twoDecimals(*tonnes * *price);
        }
        return out;
    }
    if (in.unite != QLatin1String("MWH")) return out;

    out.showMwhGroup = true;
    if (noTonnage) {
        f.mwh = twoDecimals(0);
        f.totalMwh = twoDecimals(0);
        f.prixTotal = twoDecimals(0);
        return out;
    }
    const auto tonnes = fieldNumber(in.tonnage);
    if (!tonnes) return out;
    if (!in.humidite.trimmed().isEmpty()) {
        const auto moisture = fieldNumber(in.humidite);
        const auto perTonne = moisture ? mwhPerTonne(*moisture) : std::nullopt;
        if (!perTonne) return out;
        f.mwh = twoDecimals(*perTonne * *tonnes);
    }
    if (!in.prixMwh.trimmed().isEmpty() && !f.mwh.trimmed().isEmpty()) {
        // the energy as shown, two decimals, is what the customer is invoiced for
        const auto energy = fieldNumber(f.mwh);
        const auto price = fieldNumber(in.prixMwh);
        if (!energy || !price) return out;
        f.totalMwh = twoDecimals(*energy * *price);
    }
    f.prixTotal = f.totalMwh;
    out.prixTonneEnabled = false;
    return out;
}

std::optional<QString> tonnageMwhFigure(double tonnageSum, const QString &defaultMoisture)
{
    if (!(tonnageSum > 0)) return QStringLiteral("0");
    const auto moisture = fieldNumber(defaultMoisture);
    const auto perTonne = moisture ? mwhPerTonne(*moisture) : std::nullopt;
    if (!perTonne) return std::nullopt;
    return formatNumber(tonnageSum * *perTonne, QStringLiteral("# ##0"));
}

DeliveryQuantities deliveryQuantities(const SpeciesUnits *species, const QString &uniteDefaut, const QString &uniteLiv,
                                      const QString &uniteConso, double tonnage, double qtePefc)
{
    DeliveryQuantities q;
    q.qteLivTotale = tonnage;
    q.qteDefautTotale = corres(species, uniteDefaut, uniteLiv, tonnage);
    q.qteDefautPefc = corres(species, uniteDefaut, uniteLiv, qtePefc);
    q.qteConso = corres(species, uniteConso, uniteLiv, tonnage);
    return q;
}

} // namespace ravelin
