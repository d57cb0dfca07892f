#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>

namespace ravelin {

// The firewood stock update: every order line and transfer line that takes wood out of a firewood
// stock (table `stock_buche`) or puts wood into one calls it with the change it brings.

// What one line changed: its key and the changes of its quantities, where the wood left from and
// went to, and which table the line is in.
struct FirewoodStockMove
{
    QVariant lineInc;       // liste_grume_cde.inc or liste_grume_transfert.inc; null: nothing to do
    double deltaLiv = 0;    // change of qte_liv
    double deltaDefaut = 0; // change of qte_defaut
    double deltaConso = 0;  // change of qte_conso (the stock's own unit)
    QString from;           // "STOCK": taken out of a firewood stock; anything else: not
    QString to;             // "STOCK": put into a firewood stock (transfer lines); "LIVRAISON" for an order line
    QString lineKind;       // "LIVRAISON" (liste_grume_cde) or "TRANSFERT" (liste_grume_transfert)
};

inline QString stockLineOrder()
{
    return QStringLiteral("LIVRAISON");
}
inline QString stockOrigin()
{
    return QStringLiteral("STOCK");
}

// One row of the firewood stock as its list gives it to a picking caller.
struct FirewoodStockChoice
{
    QVariant inc;
    QString destination;
    QString essence;
    QString qualite;
    QString nLot;
    QVariant id;
    QString uniteStock;
};

// "Mise à jour STOCK ( 12 ) en cours ..."
QString stockUpdateText(const QVariant &lineInc);
// "Stock n° 12 ( Dépôt ) introuvable : quantité non reprise" when the stock row a line names is gone.
QString missingStockMessage(const QVariant &stockInc, const QString &place);

// Runs in the caller's transaction (the line's write, the stock move and the totals stand or fall
// together). Taking out: the stock row named by the line's inc_stock_buche is locked and moved by
// one relative update: qte_theorique_restante − Δconso, qte_defaut − corres(stock species, stock
// default unit, line's unite_conso, Δconso). A stock row that is not there any more gives
// NotFound with missingStockMessage(); the caller decides whether that stops it. Putting in (a
// transfer line): the row of the line's zone, species, destination quality, lot, volume line and
// unit is locked and moved by Δliv and Δdefaut, or created with them (inventory 0, dated a day
// back) when the zone and the species have at least 2 characters. The zone's `destination` row is
// locked before the row is looked for, so a first deposit made at once by two workstations gives
// one row; empty texts and nulls are one key.
Status moveFirewoodStock(QSqlDatabase db, const FirewoodStockMove &move);

// The main window's status label: the handler receives stockUpdateText() when an update starts
// and an empty text when it ends. Gives the previous handler.
using StockStatusHandler = std::function<void(const QString &text)>;
StockStatusHandler setStockStatusHandler(StockStatusHandler handler);

} // namespace ravelin
