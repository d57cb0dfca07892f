#include "stockscreens.h"

#include "appcontext.h"
#include "chipstockdialog.h"
#include "orderhooks.h"
#include "productsdialog.h"
#include "stocklistdialog.h"
#include "transferlistdialog.h"
#include "zonelistdialog.h"

namespace ravelin {

QList<StockOpener> stockOpeners(AppContext &context, QWidget *parent, std::function<void()> lotsChanged)
{
    const auto stocks = [&context, parent] { openFirewoodStocks(context, parent); };
    const auto chips = [&context, parent] { openChipStock(context, parent); };
    return {
        {QStringLiteral("Stockages Bûches"), stocks},
        {QStringLiteral("Stock Grumes"), stocks},
        {QStringLiteral("Produits disponibles sur STOCKS (Grumes/Bûches)"), stocks},
        {QStringLiteral("Produits disponibles sur Coupe de Bois"),
         [&context, parent] { openProductsAvailable(context, parent); }},
        {QStringLiteral("Stockages Plaquettes"), chips},
        {QStringLiteral("Stock Plaqu."), chips},
        {QStringLiteral("Liste zone de stockage Bûches"),
         [&context, parent] { openZoneList(context, ZoneKind::Firewood, parent); }},
        {QStringLiteral("Liste zone de stockage Plaquettes"),
         [&context, parent] { openZoneList(context, ZoneKind::Chips, parent); }},
        {QStringLiteral("Transfert Vers Stocks Bûches"),
         [&context, parent, lotsChanged] {
             if (openTransferList(context, parent) && lotsChanged) lotsChanged();
         }},
    };
}

void installOrderStockPicker()
{
    orderHooks().pickStock = [](AppContext &context, QWidget *parent) {
        return pickFirewoodStock(context, parent, allZones());
    };
}

} // namespace ravelin
