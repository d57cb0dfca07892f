#pragma once

#include "result.h"
#include "statements.h"

#include <QDate>
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

// A contractor's action as the action tables of orders, deliveries and transfers hold it
// (liste_action_cde, liste_action_liv and liste_action_transfert share these columns).
struct ContractorAction
{
    QString iNom;
    QString type1;
    QDate iDate;
    QVariant qteAction;
    QString uniteAction;
    QVariant prixUnitAction;
    QVariant iCout;
    QString nLot;
};

// The action's columns as written: I_nom, type1, i_date, qte_action, unite_action,
// prix_unit_action, i_cout, n_lot (an empty text or date written null).
QList<ColumnValue> actionColumnValues(const ContractorAction &action);
// The columns the user changed between the action as read and as edited, named by the entry
// screen's captions; the lot counts only where the screen lets it be typed.
QList<ColumnChange> actionChanges(const ContractorAction &asRead, const ContractorAction &edited, bool lotTyped);

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
