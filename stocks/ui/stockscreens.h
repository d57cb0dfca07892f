#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace ravelin {

struct AppContext;

// The menu entries and main-window buttons of the stocks, each with what it opens (the main window
// checks each entry's page): "Stockages Bûches", "Stock Grumes" and "Produits disponibles sur
// STOCKS (Grumes/Bûches)" the stock list; the two zone lists; "Transfert Vers Stocks Bûches" the
// transfers, after which `lotsChanged` runs (the lot list is searched again); "Stockages
// Plaquettes" and "Stock Plaqu." the chip stock; "Produits disponibles sur Coupe de Bois".
struct StockOpener
{
    QString caption;
    std::function<void()> open;
};
QList<StockOpener> stockOpeners(AppContext &context, QWidget *parent, std::function<void()> lotsChanged);

// Installs the stock list as the order lines' stock picker (every zone).
void installOrderStockPicker();

} // namespace ravelin
