#pragma once

#include "datatable.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace ravelin {

// The chip stock of each chip storage zone (destination.stockage "OUI") at a chosen date: its last
// inventory, plus the chips delivered into it and the wood transferred into it, less the chips
// delivered out of it, counted from the inventory date (every movement when it has none) up to the
// chosen date, that whole day included. Computed in the temporary work table
// workTableName("A") on the caller's connection; nothing permanent is written.

inline QString workTableFailedMessage()
{
    return QStringLiteral("Impossible de créer une table temporaire !");
}

// The zones with total_entree, total_sortie, total_stock, by name (columns destination,
// date_inventaire, tonnage_inventaire, total_entree, total_sortie, total_stock, tonnage_maxi).
struct ChipStock
{
    DataTable zones;
    double total = 0;    // sum of total_stock
    double capacity = 0; // sum of tonnage_maxi
};

// `progress(done, total)` is called after each zone. The statements sent do not depend on the
// number of zones or movements (grouped sums, one write of the work table).
Result<ChipStock> computeChipStock(QSqlDatabase db, const QDate &date,
                                   const std::function<void(int done, int total)> &progress = {});

// "Stockage utilisé / Maxi  :" as a whole percentage; nothing when the capacities add up to 0.
std::optional<QString> usedShareText(double total, double capacity);

// "temps restant": from the time elapsed and the share done, the time left as "mm:ss".
QString remainingTimeText(qint64 elapsedMs, int done, int total);

} // namespace ravelin
