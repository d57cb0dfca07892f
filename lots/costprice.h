#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace ravelin {

// Three computed views of a cutting lot: its totals in the default unit, the state of its wood
// per volume line, and its cost price. The first two write their results into the volume lines
// and into the lot at once (they follow sources that are already written); the third only reads.

// The lot's totals in the default unit: what its volume lines hold, what is still available and
// what has left it (empty quantities count as 0; available and delivered rounded per line to 3
// decimals).
struct LotTotals
{
    double total = 0;
    double available = 0;
    double delivered = 0;
};

Result<LotTotals> readLotTotals(QSqlDatabase db, int nLot);

// Reads the totals and writes the lot's `estimation` (the total) and `cout_total` (purchase cost +
// deposit + lot-level skidding and other costs) at once.
Result<LotTotals> updateLotTotals(QSqlDatabase db, int nLot);

// The wood of one volume line: standing, felled and not skidded (never below 0), skidded and still
// on site (may go below 0), each to 2 decimals. Empty percentages count as 0.
struct WoodState
{
    double surPied = 0;
    double abattage = 0;
    double debardage = 0;
};
WoodState woodState(double qte, std::optional<double> finPied, std::optional<double> finAbattage, double qteLivree);

// "Calcul ETAT du bois": the wood state of every volume line of the lot (empty percentages written
// as 0), then the lot's estimation and cost total, in one transaction of three statements whatever
// the number of lines. Gives the lot totals as they stand afterwards.
Result<LotTotals> computeWoodState(QSqlDatabase db, int nLot);

// The amounts the tab "Prix de revient" starts from, each a sum over the lot (0 when nothing).
struct CostPriceSums
{
    double achat = 0;              // the lot's prix_achat
    double abattage = 0;           // felling work, quantity x unit price
    double debardage = 0;          // skidding work
    double autre = 0;              // other work
    double ventePlaquette = 0;     // chip deliveries: sales
    double qtePlaquette = 0;       //                  quantity, default unit
    double livraisonPlaquette = 0; // contractor actions on those deliveries
    double livraisonGrume = 0;     // contractor actions on orders of the lot
    double venteGrume = 0;         // order lines of the lot: sales
    double qteGrume = 0;           //                         quantity, default unit
    double transfert = 0;          // contractor actions on transfers of the lot
};

// The seventeen figures of the tab. The divisions have no value when their divisor is 0 (nothing
// sold): the screen then leaves their boxes as they were.
struct CostPrice
{
    CostPriceSums sums;
    double totalCoupe = 0;               // 5: purchase + felling + skidding + other
    double totalCouts = 0;               // 11: 5 + chip delivery + log delivery + transfer costs
    double totalVentes = 0;              // 12
    double totalQte = 0;                 // 13
    double marge = 0;                    // 14: 12 - 11
    std::optional<double> margePourcent; // 15: 14 / 12 x 100
    std::optional<double> prixRevient;   // 16: 11 / 13
    std::optional<double> margeParUnite; // 17: 14 / 13
};
CostPrice costPrice(const CostPriceSums &sums);

// Reads the sums in one statement and computes the figures.
Result<CostPrice> readCostPrice(QSqlDatabase db, int nLot);

} // namespace ravelin
