#pragma once

#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace ravelin {

// A contractor of the directory (`intervenant_possible`) with its rates by unit, null where none
// was entered. Every screen that records a contractor's work (on a lot, an order, a delivery, a
// transfer) offers a list of these and takes the unit price from them.
struct ContractorRates
{
    QString societe;
    QString famille;
    QVariant coutTonne;
    QVariant coutHeure;
    QVariant coutSurface;
    QVariant coutVolume;
    QVariant coutStere;
};

// The contractors of one family, by company name.
Result<QList<ContractorRates>> contractorsOfFamily(QSqlDatabase db, const QString &family);
// Every contractor but those of one family ("RIEN"), by company name; every contractor when the
// family is empty.
Result<QList<ContractorRates>> contractorsExceptFamily(QSqlDatabase db, const QString &family);

// The unit price a contractor's rates give for a unit: "Heure" cout_heure, "Tonne" cout_tonne,
// "Are" cout_surface, "m3" cout_volume, "Stere" cout_stere (possibly empty). Nothing for
// "Forfait", an empty or an unknown unit: the price the user typed stays.
std::optional<QVariant> unitPriceFromRates(const ContractorRates &rates, const QString &unit);

// "m3", "Tonne", "Heure", "Are", "Stere", "Forfait": the units work is priced in, never converted.
QStringList actionUnits();

// quantity × unit price, not rounded (an action's `i_cout`); nothing when either is empty or not
// a number.
std::optional<double> actionCost(const QVariant &quantity, const QVariant &unitPrice);

} // namespace ravelin
