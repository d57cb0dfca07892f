#pragma once

#include "units.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ravelin {

// The computations made on one chip delivery, without the database: energy from tonnage and
// moisture, prices, PEFC share, and the quantities written at each save.

// Energy of one tonne of wood chips at moisture `humidite` percent, in MWh: 5100 kWh per dry
// tonne less 6.789 kWh per percent of moisture. A moisture outside 0 to 100, or one so high that
// the energy would be negative, gives nothing: such a figure is no measure.
std::optional<double> mwhPerTonne(double humidite);

// A number as a field shows it (comma or point); nothing for an empty or non-numeric text.
std::optional<double> fieldNumber(const QString &text);

// "25,00%": the PEFC part of the delivered tonnage; "??? %" when either is empty, not a number,
// or the tonnage is 0.
QString pefcShareText(const QString &qtePefc, const QString &tonnage);

// Operations whose price the editor computes (the others show no price group).
bool isPricedOperation(const QString &operation);

// The fields the recalculation reads and writes, as their texts stand on screen.
struct DeliveryPriceFields
{
    QString operation;
    QString unite; // "TONNE" or "MWH"
    QString tonnage;
    QString qtePefc;
    QString humidite;
    QString prixTonne;
    QString prixMwh;
    QString mwh;
    QString totalMwh;
    QString prixTotal;
};

// What the recalculation gives: the new texts and what the editor shows. `prixTonneEnabled` is
// nothing when the step that decides it was not reached.
struct DeliveryRecalculation
{
    DeliveryPriceFields fields;
    QString pefcLabel;
    bool showUnitGroup = false;
    bool showTonneGroup = false;
    bool showMwhGroup = false;
    std::optional<bool> prixTonneEnabled;
};

// The editor's recalculation over the shown texts. Results are written as "0.00" texts (decimal
// comma), and each formula reads the texts already written: the total by MWh is the shown energy
// times the price. A text that is not a number abandons its step and leaves the values as they
// were.
DeliveryRecalculation recalculateDelivery(const DeliveryPriceFields &in);

// The list's MWh equivalent of a tonnage total at the default moisture (held as text): "0" for
// a total of 0 or less, "# ##0" otherwise; nothing when the moisture is empty or not a measure
// (the figure is then not recomputed).
std::optional<QString> tonnageMwhFigure(double tonnageSum, const QString &defaultMoisture);

// The quantities a save writes beside the tonnage, each through corres (0 when the species has no
// row or the conversion fails).
struct DeliveryQuantities
{
    double qteLivTotale = 0;
    double qteDefautTotale = 0;
    double qteDefautPefc = 0;
    double qteConso = 0;
};
DeliveryQuantities deliveryQuantities(const SpeciesUnits *species, const QString &uniteDefaut, const QString &uniteLiv,
                                      const QString &uniteConso, double tonnage, double qtePefc);

} // namespace ravelin
