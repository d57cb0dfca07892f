#pragma once

#include "boundquery.h"
#include "result.h"

#include <QString>

namespace ravelin {

// Products available on the lots (liste_bois_dispo): the volume lines not fully delivered, summed
// by species and/or by lot in the default unit: m3 (quantity, each line rounded to whole units),
// a0 (delivered), a1 (available), and the standing, felled and skidded shares (a line of
// quantity 0 adds nothing to those).
struct ProductsSearch
{
    QString species; // "Essence", contains
    QString lots;    // "N° Coupe ": "11" or "11+10+20"
    bool bySpecies = true;
    bool byLot = false;
};

// The grouping columns in use, for "Désignation sur Camembert": "essence" and/or "n_lot".
QStringList productGroupings(const ProductsSearch &search);

// A lot list that is not of whole numbers gives "Saisie incorrecte".
Result<BoundQuery> productsAvailableQuery(const ProductsSearch &search);

} // namespace ravelin
