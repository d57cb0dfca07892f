#pragma once

#include "firewoodstock.h"
#include "firewoodstocklist.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class liste_stock_buche_detail;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// liste_stock_buche_detail ("Liste des STOCKS"): the firewood stock rows with the filters
// "Essence", "Qualite", "Destination", the count, "Stockage Total :" (the sum of qte_defaut) and
// what stands in the open lots. The hidden zone filter ("TOUS" or one zone) is set by the caller;
// until then nothing is listed. As a picker, "OK" closes it accepted and the caller reads
// selectedStock().
class StockListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit StockListDialog(AppContext &context, QWidget *parent = nullptr);
    ~StockListDialog() override;

    Ui::liste_stock_buche_detail *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }

    // Sets the hidden zone filter and searches.
    void setZoneFilter(const QString &zone);
    // "Mettre à jour ( Inventaire ) le stock sélectionné": shown only from "Stockages Bûches".
    void setInventoryShown(bool shown);

    std::optional<FirewoodStockChoice> selectedStock() const;

public slots:
    void search();
    void takeInventory();
    void removeEmptyStock();
    void print();
    void openTransfers();
    void validate();

private:
    StockListFilter filter() const;
    void showTotal();
    void showStandingTimber();

    std::unique_ptr<Ui::liste_stock_buche_detail> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
    QString m_zone;
    StandingTimber m_standing;
};

// "Stockages Bûches" and "Produits disponibles sur STOCKS (Grumes/Bûches)": every zone, the
// inventory shown.
void openFirewoodStocks(AppContext &context, QWidget *parent = nullptr);

// The stock list as a picker on one zone, or on every zone with allZones(); the chosen row, or
// nothing when the user cancels or the list is empty.
std::optional<FirewoodStockChoice> pickFirewoodStock(AppContext &context, QWidget *parent, const QString &zone);

} // namespace ravelin
