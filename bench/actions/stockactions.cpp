// The rows of the stocks (stocks/): the transfer list and its lines panel, the biggest transfer's
// editor, transfer lines added, changed and removed from a lot and from a stock, a two-line
// transfer deleted; the firewood stock list, its inventory and sheet; the chip stock and its sheet;
// the products available; the zone lists.
#include "actionhelpers.h"
#include "benchaction.h"

#include "chipstock.h"
#include "chipstockdialog.h"
#include "firewoodstocklist.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "productsdialog.h"
#include "sql.h"
#include "stocklistdialog.h"
#include "stocksheets.h"
#include "transfereditor.h"
#include "transferlistdialog.h"
#include "transfers.h"
#include "ui_chipstockdialog.h"
#include "ui_productsdialog.h"
#include "ui_stocklistdialog.h"
#include "ui_transferlistdialog.h"
#include "ui_zonelistdialog.h"
#include "zonelistdialog.h"

#include <QCoreApplication>
#include <QSignalBlocker>

namespace ravelin::bench {

namespace {

ActionResult done(const Status &s, qint64 rows = -1)
{
    if (!s) return failed(s.error());
    ActionResult r;
    r.rows = rows;
    return r;
}

// The transfer list, created once per company and shown; each search sets its filters first.
TransferListDialog *transferList(BenchContext &ctx)
{
    return ctx.object<TransferListDialog>(QStringLiteral("transfer list"), [&ctx] {
        auto *list = new TransferListDialog(ctx.app);
        list->resize(1280, 800);
        list->show();
        return list;
    });
}

struct TransferFilters
{
    int days = 60;
    QString depart;
    TransferSort sort = TransferSort::Date;
};

// Untimed: the filters as the user sets them, without the search they start.
ActionFunction setTransferFilters(TransferFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        TransferListDialog *list = transferList(ctx);
        const TransferFilters f = filters(ctx);
        // a list without the transfer selected before: a new sort would read its rows down to it
        list->ui()->Depart->setText(QStringLiteral("~"));
        list->search();
        const QSignalBlocker a(list->ui()->date_debut), b(list->ui()->tri_date), c(list->ui()->tri_depart),
            d(list->ui()->tri_destination);
        list->ui()->Depart->setText(f.depart);
        list->ui()->date_debut->setDate(QDate::currentDate().addDays(-f.days));
        list->ui()->tri_date->setChecked(f.sort == TransferSort::Date);
        list->ui()->tri_depart->setChecked(f.sort == TransferSort::Departure);
        list->ui()->tri_destination->setChecked(f.sort == TransferSort::Destination);
        list->reloadLines();
        return ActionResult{};
    };
}

ActionResult searchTransfers(BenchContext &ctx)
{
    TransferListDialog *list = transferList(ctx);
    list->search();
    return shownList(list, list->list()->rowCount(), {}, {}, list->list()->view());
}

QString transferPage(const QString &filter, const QString &order, int days)
{
    return QStringLiteral("select inc,type_transfert,depart,destination,date_transfert,type_destination from "
                          "transfert where date_transfert>=curdate() - interval %1 day and date_transfert<curdate() + "
                          "interval 1 day")
               .arg(days) +
           filter + QStringLiteral(" order by ") + order + QStringLiteral(" limit 201");
}

const int twentyYears = 7400;

// A transfer of the benchmark's own from the biggest lot into the busiest firewood zone, created
// once per company: the line writes land on it.
int benchTransfer(BenchContext &ctx, const QString &type)
{
    auto *inc = ctx.object<int>(QStringLiteral("bench transfer ") + type, [&ctx, type] {
        auto zone = scalar(ctx.db, QStringLiteral("select destination from destination where inc=?"),
                           {ctx.intParameter(QStringLiteral("stock_zone_inc"))});
        const QString depart = type == transferFromLot() ? ctx.parameter(QStringLiteral("biggest_lot"))
                                                         : (zone ? zone->toString() : QString());
        auto created = createTransfer(ctx.db, NewTransfer{type, depart, zone ? zone->toString() : QString(),
                                                          toFirewoodZone(), ctx.app.defaultUnit()});
        return new int(created ? *created : 0);
    });
    return *inc;
}

TransferLine benchLine(BenchContext &ctx, const QString &type)
{
    TransferLine line;
    line.essence = QStringLiteral("Chêne");
    line.qualite = QStringLiteral("Banc d'essai");
    line.qualiteDestination = QStringLiteral("Banc d'essai");
    line.uniteConso = QStringLiteral("m3");
    line.uniteLiv = QStringLiteral("m3");
    line.qteConso = 2;
    line.qteLiv = 2;
    if (type == transferFromLot()) {
        line.nLot = ctx.parameter(QStringLiteral("biggest_lot"));
        line.id = ctx.intParameter(QStringLiteral("biggest_lot_line"));
    } else {
        line.incStockBuche = ctx.intParameter(QStringLiteral("stock_row"));
    }
    return line;
}

int &keptLine(BenchContext &ctx, const QString &type)
{
    return *ctx.object<int>(QStringLiteral("bench transfer line ") + type, [] { return new int(0); });
}

// Untimed: the bench transfer's line exists (kept) or not (removed).
ActionFunction ensureLine(const QString &type, bool present)
{
    return [type, present](BenchContext &ctx) {
        int &line = keptLine(ctx, type);
        if (present && line == 0) {
            auto added = addTransferLine(ctx.db, benchTransfer(ctx, type), benchLine(ctx, type));
            if (!added) return failed(added.error());
            line = added->inc;
        } else if (!present && line != 0) {
            auto removed = removeTransferLine(ctx.db, line);
            if (!removed) return failed(removed.error());
            line = 0;
        }
        return ActionResult{};
    };
}

QList<BenchAction> lineRows(const QString &type, const QString &label)
{
    return {
        {QStringLiteral("detail_volume_transfert : ajouter une ligne ") + label,
         [type](BenchContext &ctx) {
             auto added = addTransferLine(ctx.db, benchTransfer(ctx, type), benchLine(ctx, type));
             if (!added) return failed(added.error());
             keptLine(ctx, type) = added->inc;
             return ActionResult{};
         },
         QStringLiteral("select * from transfert where inc={biggest_transfer} for update"), QString(),
         ensureLine(type, false)},
        {QStringLiteral("detail_volume_transfert : modifier une ligne ") + label,
         [type](BenchContext &ctx) {
             static bool more = false;
             more = !more;
             auto changed = changeTransferLine(ctx.db, keptLine(ctx, type), more ? 3 : 2, more ? 3 : 2, 1, 0);
             if (!changed) return failed(changed.error());
             return ActionResult{};
         },
         QStringLiteral("select * from liste_grume_transfert where inc_transfert={biggest_transfer} for update"),
         QString(), ensureLine(type, true)},
        {QStringLiteral("detail_volume_transfert : supprimer une ligne ") + label,
         [type](BenchContext &ctx) {
             auto removed = removeTransferLine(ctx.db, keptLine(ctx, type));
             if (!removed) return failed(removed.error());
             keptLine(ctx, type) = 0;
             return ActionResult{};
         },
         QStringLiteral("select * from liste_grume_transfert where inc_transfert={biggest_transfer} for update"),
         QString(), ensureLine(type, true)},
    };
}

StockListDialog *stockList(BenchContext &ctx)
{
    return ctx.object<StockListDialog>(QStringLiteral("stock list"), [&ctx] {
        auto *list = new StockListDialog(ctx.app);
        list->setInventoryShown(true);
        list->resize(1280, 800);
        list->show();
        return list;
    });
}

// Untimed: a list without the row selected before, which a new search would otherwise read down to.
ActionResult emptyStockList(BenchContext &ctx)
{
    stockList(ctx)->setZoneFilter(QString());
    return ActionResult{};
}

ActionResult searchStocks(BenchContext &ctx, const QString &zone, const QString &species)
{
    StockListDialog *list = stockList(ctx);
    list->ui()->Essence->setText(species);
    list->setZoneFilter(zone);
    return shownList(list, list->list()->rowCount(), {}, {}, list->list()->view());
}

QString stockPage(const QString &where)
{
    return QStringLiteral("select inc,id,unite_stock,date_inventaire,destination,essence,qualite,"
                          "qte_theorique_restante,n_lot,unite_defaut,qte_defaut from stock_buche where ") +
           where + QStringLiteral(" order by destination,essence,qualite,n_lot,unite_stock,inc limit 201");
}

ProductsDialog *products(BenchContext &ctx)
{
    return ctx.object<ProductsDialog>(QStringLiteral("products"), [&ctx] {
        auto *screen = new ProductsDialog(ctx.app);
        screen->resize(1280, 800);
        screen->show();
        return screen;
    });
}

ActionResult searchProducts(BenchContext &ctx, const QString &lots, bool byLot)
{
    ProductsDialog *screen = products(ctx);
    {
        const QSignalBlocker a(screen->ui()->check_coupe), b(screen->ui()->check_essence);
        screen->ui()->check_essence->setChecked(true);
        screen->ui()->check_coupe->setChecked(byLot);
    }
    screen->ui()->N_coupe->setText(lots);
    screen->search();
    return shownList(screen, screen->grid()->rowCount(), {}, {}, screen->ui()->Grille_produits);
}

QString productsSql(const QString &groups, const QString &filter)
{
    return QStringLiteral("select descriptif,sum(round(qte_defaut,0))as m3,sum(round(ifnull((qte_livree_defaut),0),3))"
                          "as a0, sum(round((qte_defaut-ifnull((qte_livree_defaut),0)),3))as a1,sum(round(sur_pied/"
                          "nullif(qte,0)*qte_defaut,0))as sur_pied,sum(round(abattage/nullif(qte,0)*qte_defaut,0))as "
                          "abattage,sum(round(debardage/nullif(qte,0)*qte_defaut,0))as debardage") +
           groups + QStringLiteral(" from grume where (livree<>'OUI' or livree is null) and descriptif='VOLUME'") +
           filter + QStringLiteral(" group by descriptif") + groups + QStringLiteral(" order by descriptif") + groups;
}

const QString kChipStockSql = QStringLiteral(
    "select straight_join m.destination, round(sum(m.qte_defaut_totale),2) from destination z join livraison m on "
    "z.destination=m.destination where z.stockage='OUI' and (z.date_inventaire is null or "
    "m.date_livraison>=z.date_inventaire) and m.date_livraison<curdate() + interval 1 day group by m.destination; "
    "select straight_join m.destination, round(sum(m.qte_defaut),2) from destination z join liste_grume_transfert m "
    "on z.destination=m.destination where z.stockage='OUI' and (z.date_inventaire is null or "
    "m.date_creation>=z.date_inventaire) and m.date_creation<curdate() + interval 1 day group by m.destination; "
    "select straight_join m.depart, round(sum(m.qte_defaut_totale),2) from destination z join livraison m on "
    "z.destination=m.depart "
    "where z.stockage='OUI' and (z.date_inventaire is null or m.date_livraison>=z.date_inventaire) and "
    "m.date_livraison<curdate() + interval 1 day group by m.depart");

} // namespace

BenchSection stockSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("biggest_transfer"),
         QStringLiteral("SELECT inc_transfert FROM liste_grume_transfert GROUP BY "
                        "inc_transfert ORDER BY count(*) DESC, inc_transfert LIMIT 1")},
        {QStringLiteral("transfer_depart"),
         QStringLiteral("SELECT LEFT(depart, 3) FROM transfert WHERE inc={biggest_transfer}")},
        {QStringLiteral("stock_zone_inc"),
         QStringLiteral("SELECT d.inc FROM destination d JOIN stock_buche s ON s.destination=d.destination GROUP BY "
                        "d.inc ORDER BY count(*) DESC, d.inc LIMIT 1")},
        {QStringLiteral("stock_row"), QStringLiteral("SELECT min(s.inc) FROM stock_buche s JOIN destination d ON "
                                                     "d.destination=s.destination WHERE d.inc={stock_zone_inc}")},
        {QStringLiteral("three_lots"),
         QStringLiteral("SELECT concat_ws('+', min(n_lot), max(n_lot), {biggest_lot}) FROM grume WHERE "
                        "descriptif='VOLUME' AND (livree<>'OUI' OR livree IS NULL)")},
    };
    const auto filters = [](int days, TransferSort sort) {
        return [days, sort](BenchContext &) {
            TransferFilters f;
            f.days = days;
            f.sort = sort;
            return f;
        };
    };
    s.actions = {
        {QStringLiteral("liste_transfert : 60 jours"), searchTransfers,
         transferPage(QString(), QStringLiteral("date_transfert desc, inc desc"), 60), QString(),
         setTransferFilters(+[](BenchContext &) { return TransferFilters{}; })},
        {QStringLiteral("liste_transfert : vingt ans"), searchTransfers,
         transferPage(QString(), QStringLiteral("date_transfert desc, inc desc"), twentyYears), QString(),
         setTransferFilters(+[](BenchContext &) {
             return TransferFilters{twentyYears, {}, TransferSort::Date};
         })},
        {QStringLiteral("liste_transfert : vingt ans, trié par départ"), searchTransfers,
         transferPage(QString(), QStringLiteral("depart, date_transfert desc, inc desc"), twentyYears), QString(),
         setTransferFilters(+[](BenchContext &) {
             return TransferFilters{twentyYears, {}, TransferSort::Departure};
         })},
        {QStringLiteral("liste_transfert : vingt ans, trié par destination"), searchTransfers,
         transferPage(QString(), QStringLiteral("destination, date_transfert desc, inc desc"), twentyYears), QString(),
         setTransferFilters(+[](BenchContext &) {
             return TransferFilters{twentyYears, {}, TransferSort::Destination};
         })},
        {QStringLiteral("liste_transfert : vingt ans, filtre Départ"), searchTransfers,
         transferPage(QStringLiteral(" and depart like concat('%',{transfer_depart},'%')"),
                      QStringLiteral("date_transfert desc, inc desc"), twentyYears),
         QString(), setTransferFilters(+[](BenchContext &ctx) {
             return TransferFilters{twentyYears, ctx.parameter(QStringLiteral("transfer_depart")), TransferSort::Date};
         })},
        {QStringLiteral("liste_transfert : produits transférés"),
         [](BenchContext &ctx) {
             TransferListDialog *list = transferList(ctx);
             list->reloadLines();
             return shownList(list, list->lines()->rowCount(), {}, {}, list->lines()->view());
         },
         QStringLiteral("select * from liste_grume_transfert where inc_transfert={biggest_transfer}"), QString(),
         [](BenchContext &ctx) {
             TransferListDialog *list = transferList(ctx);
             list->ui()->date_debut->setDate(QDate::currentDate().addDays(-twentyYears));
             list->list()->selectKey(ctx.intParameter(QStringLiteral("biggest_transfer")));
             return ActionResult{};
         }},
        {QStringLiteral("detail_transfert : plus gros transfert"),
         [](BenchContext &ctx) {
             auto editor =
                 std::make_shared<TransferEditor>(ctx.app, ctx.intParameter(QStringLiteral("biggest_transfer")));
             if (!editor->loaded()) return ActionResult{-1, {}, {}, QStringLiteral("not loaded")};
             return shownList(editor.get(), editor->lines()->rowCount(), editor);
         },
         QStringLiteral("select * from transfert where inc={biggest_transfer}; select * from liste_grume_transfert "
                        "where inc_transfert={biggest_transfer} and descriptif='GRUME' order by N_grume; select * from "
                        "liste_action_transfert where inc_transfert={biggest_transfer} order by i_date")},
    };
    s.actions += lineRows(transferFromLot(), QStringLiteral("COUPE (plus grosse coupe)"));
    s.actions += lineRows(transferFromStock(), QStringLiteral("STOCK (zone la plus remplie)"));
    s.actions += QList<BenchAction>{
        {QStringLiteral("liste_transfert : supprimer un transfert de deux lignes"),
         [](BenchContext &ctx) {
             const int inc = *ctx.object<int>(QStringLiteral("transfer to delete"), [] { return new int(0); });
             auto deleted = deleteTransfer(ctx.db, inc);
             if (!deleted) return failed(deleted.error());
             return ActionResult{};
         },
         QStringLiteral("select * from liste_grume_transfert where inc_transfert={biggest_transfer} for update"),
         QString(),
         [](BenchContext &ctx) {
             auto zone = scalar(ctx.db, QStringLiteral("select destination from destination where inc=?"),
                                {ctx.intParameter(QStringLiteral("stock_zone_inc"))});
             auto created = createTransfer(
                 ctx.db, NewTransfer{transferFromLot(), ctx.parameter(QStringLiteral("biggest_lot")),
                                     zone ? zone->toString() : QString(), toFirewoodZone(), ctx.app.defaultUnit()});
             if (!created) return failed(created.error());
             for (int i = 0; i < 2; ++i)
                 if (auto added = addTransferLine(ctx.db, *created, benchLine(ctx, transferFromLot())); !added)
                     return failed(added.error());
             *ctx.object<int>(QStringLiteral("transfer to delete"), [] { return new int(0); }) = *created;
             return ActionResult{};
         }},
        {QStringLiteral("liste_stock_buche_detail : toutes les zones"),
         [](BenchContext &ctx) { return searchStocks(ctx, allZones(), QString()); },
         stockPage(QStringLiteral("destination<>'TOUS'")), QString(), emptyStockList},
        {QStringLiteral("liste_stock_buche_detail : une essence"),
         [](BenchContext &ctx) { return searchStocks(ctx, allZones(), QStringLiteral("Chêne")); },
         stockPage(QStringLiteral("destination<>'TOUS' and essence like '%Chêne%'")), QString(), emptyStockList},
        {QStringLiteral("liste_stock_buche_detail : une zone (choix d'un stock)"),
         [](BenchContext &ctx) {
             auto zone = scalar(ctx.db, QStringLiteral("select destination from destination where inc=?"),
                                {ctx.intParameter(QStringLiteral("stock_zone_inc"))});
             return searchStocks(ctx, zone ? zone->toString() : QString(), QString());
         },
         stockPage(QStringLiteral("destination=(select destination from destination where inc={stock_zone_inc})")),
         QString(), emptyStockList},
        {QStringLiteral("liste_stock_buche_detail : inventaire"),
         [](BenchContext &ctx) {
             return done(inventoryStock(ctx.db, ctx.intParameter(QStringLiteral("stock_row")), QStringLiteral("12,5")));
         },
         QStringLiteral("select * from stock_buche where inc={stock_row}")},
        {QStringLiteral("liste_stock_buche_detail : feuille STOCKS"),
         [](BenchContext &ctx) {
             auto rows = readStockList(ctx.db, StockListFilter{allZones(), {}, {}, {}});
             if (!rows) return failed(rows.error());
             auto standing = readStandingTimber(ctx.db);
             if (!standing) return failed(standing.error());
             auto document = layoutFirewoodStockSheet(
                 firewoodStockSheetData(*rows, 0, *standing, ctx.app.defaultUnit(), QStringLiteral("Banc d'essai")));
             if (!document) return failed(document.error());
             ActionResult r;
             r.rows = rows->rowCount();
             return r;
         },
         stockPage(QStringLiteral("destination<>'TOUS'")).remove(QStringLiteral(" limit 201"))},
        {QStringLiteral("stockage : Calcul valeur du stock"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<ChipStockDialog>(ctx.app);
             screen->resize(1280, 800);
             screen->compute();
             // the sums run on the screen's worker: the row lasts until they are shown
             while (screen->computing()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
             return shownList(screen.get(), screen->list()->rowCount(), screen);
         },
         kChipStockSql},
        {QStringLiteral("stockage : Imprimer (mise en page)"),
         [](BenchContext &ctx) {
             // the zones as the screen computed them: "Imprimer" lays them out
             const auto &stock = *ctx.object<ChipStock>(QStringLiteral("chip stock"), [] { return new ChipStock; });
             auto document = layoutChipStockSheet(chipStockSheetData(stock.zones, QDate::currentDate(), stock.total,
                                                                     StandingTimber{}, ctx.app.defaultUnit(),
                                                                     QStringLiteral("Banc d'essai")));
             if (!document) return failed(document.error());
             ActionResult r;
             r.rows = stock.zones.rowCount();
             return r;
         },
         QString(), QString(),
         [](BenchContext &ctx) {
             auto stock = computeChipStock(ctx.db, QDate::currentDate());
             if (!stock) return failed(stock.error());
             *ctx.object<ChipStock>(QStringLiteral("chip stock"), [] { return new ChipStock; }) = *stock;
             return ActionResult{};
         }},
        {QStringLiteral("liste_bois_dispo : par essence"),
         [](BenchContext &ctx) { return searchProducts(ctx, QString(), false); },
         productsSql(QStringLiteral(",essence"), QString())},
        {QStringLiteral("liste_bois_dispo : par essence et coupe"),
         [](BenchContext &ctx) { return searchProducts(ctx, QString(), true); },
         productsSql(QStringLiteral(",essence,n_lot"), QString())},
        {QStringLiteral("liste_bois_dispo : trois coupes"),
         [](BenchContext &ctx) { return searchProducts(ctx, ctx.parameter(QStringLiteral("three_lots")), true); },
         productsSql(QStringLiteral(",essence,n_lot"), QStringLiteral(" and n_lot in ({biggest_lot})"))},
        {QStringLiteral("Liste_stockage_buche : zones bûches"),
         [](BenchContext &ctx) {
             auto list = std::make_shared<ZoneListDialog>(ctx.app, ZoneKind::Firewood);
             return shownList(list.get(), list->rowCount(), list);
         },
         QStringLiteral("select * from destination where stockage='BUCHE' order by destination limit 201")},
        {QStringLiteral("Liste_stockage : zones plaquettes"),
         [](BenchContext &ctx) {
             auto list = std::make_shared<ZoneListDialog>(ctx.app, ZoneKind::Chips);
             return shownList(list.get(), list->rowCount(), list);
         },
         QStringLiteral("select * from destination where stockage='OUI' order by destination limit 201")},
    };
    return s;
}

} // namespace ravelin::bench
