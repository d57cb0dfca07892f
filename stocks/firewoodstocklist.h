#pragma once

#include "datatable.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace ravelin {

// The firewood stock list (liste_stock_buche_detail): the rows of `stock_buche`, corrected by
// inventory, emptied rows removed, printed as the sheet "STOCKS".

// The zone filter a caller sets before the first search: every zone, or one zone by name.
inline QString allZones()
{
    return QStringLiteral("TOUS");
}

struct StockListFilter
{
    QString zone; // allZones(), a zone name; empty: nothing is listed
    QString essence;
    QString qualite;
    QString destination;
};

// The rows by zone, species, quality, lot and unit, read a page at a time; qte_defaut is summed
// with the count ("Stockage Total :").
PagedQuery stockListQuery(const StockListFilter &filter);
// The same rows, all of them, for the printed sheet.
Result<DataTable> readStockList(QSqlDatabase db, const StockListFilter &filter);

// What still stands in the lots not finished, in the default unit ("Arbre sur PIED :", "Arbre
// ABATTU :", "Arbre DEBARDE :"), rounded to whole units.
struct StandingTimber
{
    double standing = 0;
    double felled = 0;
    double skidded = 0;
};
Result<StandingTimber> readStandingTimber(QSqlDatabase db);

inline QString incorrectQuantityMessage()
{
    return QStringLiteral("Quantité incorrecte !");
}
inline QString stockAboveZeroMessage()
{
    return QStringLiteral("Stock supérieur à zéro, impossible de le supprimer");
}

// Inventory: the counted quantity (French or dotted decimals) becomes the row's quantity in its
// unit, and, converted with the row's species, its quantity in the default unit; dated `when`.
// Not a number: incorrectQuantityMessage(); a row deleted meanwhile: NotFound.
Status inventoryStock(QSqlDatabase db, int inc, const QString &counted,
                      const QDateTime &when = QDateTime::currentDateTime());

// Deletes the row only while its quantity is zero or below (or empty): a deposit made meanwhile
// keeps it (stockAboveZeroMessage()).
Status deleteEmptyStock(QSqlDatabase db, int inc);

} // namespace ravelin
