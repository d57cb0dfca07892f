// The rows of the orders (orders/): the orders tab's searches and sorts, the editor of the biggest
// order with its logs, the free-log picker, and the writes of an order: creation, a product line
// added, changed and removed, logs attached and released, an action, a deletion.
#include "actionhelpers.h"
#include "benchaction.h"

#include "listgrid.h"
#include "masterdetail.h"
#include "logpickerdialog.h"
#include "orderactions.h"
#include "ordereditor.h"
#include "orderlines.h"
#include "orderlogs.h"
#include "orderlogsdialog.h"
#include "orderstore.h"
#include "ordertab.h"
#include "pagedquerymodel.h"
#include "sql.h"
#include "statements.h"
#include "ui_logpickerdialog.h"
#include "ui_ordertab.h"

#include <QDateTime>

namespace ravelin::bench {

namespace {

// The orders tab, created once per company and shown; each search sets its filters first.
OrderTab *orderTab(BenchContext &ctx)
{
    return ctx.object<OrderTab>(QStringLiteral("order tab"), [&ctx] {
        auto *tab = new OrderTab(ctx.app);
        tab->resize(1280, 800);
        tab->show();
        return tab;
    });
}

struct OrderFilters
{
    QString client, type;
    bool invoiced = false;
    OrderSort sort = OrderSort::Number;
};

// Untimed: the filters and the sort as the user sets them (without the search they start).
ActionFunction setOrderFilters(OrderFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        OrderTab *tab = orderTab(ctx);
        const OrderFilters f = filters(ctx);
        // a list without the order selected before: a new sort would otherwise read its rows down to it
        tab->ui()->client->setText(QStringLiteral("~"));
        tab->search();
        const QSignalBlocker a(tab->ui()->radio_histo), b(tab->ui()->tri_date), c(tab->ui()->tri_client),
            d(tab->ui()->tri_type), e(tab->ui()->tri_n_cde);
        tab->ui()->client->setText(f.client);
        tab->ui()->type_cde->setText(f.type);
        tab->ui()->radio_histo->setChecked(f.invoiced);
        tab->ui()->tri_date->setChecked(f.sort == OrderSort::Date);
        tab->ui()->tri_client->setChecked(f.sort == OrderSort::Client);
        tab->ui()->tri_type->setChecked(f.sort == OrderSort::Type);
        tab->ui()->tri_n_cde->setChecked(f.sort == OrderSort::Number);
        ActionResult r;
        r.pending = deferredWork(tab, [tab] { return tab->linesReload()->pending(); });
        return r;
    };
}

ActionResult searchOrders(BenchContext &ctx)
{
    OrderTab *tab = orderTab(ctx);
    tab->search();
    return shownList(
        tab, tab->list()->rowCount(), {}, [tab] { return tab->linesReload()->pending(); }, tab->list()->view());
}

ActionResult searchOrdersCounted(BenchContext &ctx)
{
    OrderTab *tab = orderTab(ctx);
    tab->search();
    paintScreen(tab, tab->list()->view());
    ActionResult r;
    r.error = waitForCount(tab->list()->pagedModel(), tab, tab->ui()->Label_nb);
    r.rows = tab->list()->totalCount().value_or(-1);
    r.pending = deferredWork(tab, [tab] { return tab->linesReload()->pending(); });
    return r;
}

const QString kOrderColumns = QStringLiteral(
    "inc,'' as a1,'' as jour,type_cde,client,date_cde,qte_liv_totale,unite_liv,prix_vente,livree,destination,cp_liv,"
    "pays_liv,date_souhaitee,facturee,num_facture,ville_liv,n_cde_client,grume_livree,lot_livre,total_cout_action,"
    "qte_defaut_totale");
QString orderPage(const QString &filter, bool invoiced, const QString &order)
{
    return QStringLiteral("select ") + kOrderColumns + QStringLiteral(" from cde where (") +
           (invoiced ? QStringLiteral("( facturee is null or facturee<>'RIEN' )")
                     : QStringLiteral("( facturee is null or facturee<>'OUI' )")) +
           filter + QStringLiteral(") order by ") + order + QStringLiteral(" limit 201");
}
QString orderCount(bool invoiced)
{
    return QStringLiteral("select count(*), sum(prix_vente), sum(qte_defaut_totale) from cde where ") +
           (invoiced ? QStringLiteral("( facturee is null or facturee<>'RIEN' )")
                     : QStringLiteral("( facturee is null or facturee<>'OUI' )"));
}

const QString kFreeLogsWhere =
    QStringLiteral("(livree<>'OUI' or livree is null) and descriptif='GRUME' and inc_cde is null");
QString freeLogPage(const QString &filter, const QString &index = QStringLiteral("idx_grume_free_number"))
{
    // the page's keys from the free logs' index by number, then their rows, as the picker reads it
    return QStringLiteral("select inc,N_grume,m3,essence,qualite,classe,diametre,longueur,lieu,date_creation,"
                          "date_lieu,N_lot,indice_lot,stock,livree from grume join (select inc as page_key from grume "
                          "force index (") +
           index + QStringLiteral(") where (") + kFreeLogsWhere + filter +
           QStringLiteral(") order by N_grume,inc limit 201) page on inc = page.page_key order by N_grume,inc");
}

// An order of the benchmark's own, created once per company: the writes land on it.
int benchOrder(BenchContext &ctx)
{
    auto *inc = ctx.object<int>(QStringLiteral("bench order"), [&ctx] {
        auto created = createOrder(ctx.db, {QStringLiteral("SCIERIE"), QStringLiteral("m3")}, ctx.app.defaultUnit(),
                                   QDateTime::currentDateTime());
        return new int(created ? *created : 0);
    });
    return *inc;
}

LineContext lineContext(BenchContext &ctx)
{
    return LineContext{QDateTime::currentDateTime(), QStringLiteral("Banc d'essai"), ctx.app.defaultUnit()};
}

// A line of the biggest lot's first volume line.
ProductLine lotLine(BenchContext &ctx, double qte)
{
    ProductLine line;
    line.origin = originLot();
    line.essence = QStringLiteral("Chêne");
    line.qteLiv = qte;
    line.prixUnit = 80;
    line.uniteConso = ctx.app.defaultUnit();
    line.nLot = ctx.parameter(QStringLiteral("biggest_lot"));
    line.id = ctx.intParameter(QStringLiteral("biggest_lot_line"));
    return line;
}

// The line the writes work on, kept between runs (0: none).
int &keptLine(BenchContext &ctx)
{
    return *ctx.object<int>(QStringLiteral("bench line"), [] { return new int(0); });
}

ActionResult done(const Status &s, qint64 rows = -1)
{
    if (!s) return failed(s.error());
    ActionResult r;
    r.rows = rows;
    return r;
}

// Untimed: the line of the bench order exists (kept) or not (removed).
ActionResult ensureLine(BenchContext &ctx, bool present)
{
    int &line = keptLine(ctx);
    if (present && line == 0) {
        auto added = addProductLine(ctx.db, benchOrder(ctx), lotLine(ctx, 10), lineContext(ctx));
        if (!added) return failed(added.error());
        line = *added;
    } else if (!present && line != 0) {
        auto removed = removeProductLine(ctx.db, line);
        if (!removed) return failed(removed.error());
        line = 0;
    }
    return ActionResult{};
}

// The free logs of the lot with the most of them that an attachment takes (100 at most).
QList<int> freeLogsOfBiggestLot(BenchContext &ctx)
{
    QList<int> logs;
    auto rows = select(ctx.db,
                       QStringLiteral("select inc from grume where N_lot=? and descriptif='GRUME' and inc_cde is null "
                                      "and (livree<>'OUI' or livree is null) order by inc limit 100"),
                       {ctx.intParameter(QStringLiteral("free_log_lot"))});
    if (rows)
        for (const QSqlRecord &r : *rows) logs << r.value(0).toInt();
    return logs;
}

} // namespace

BenchSection orderSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("biggest_order"),
         QStringLiteral(
             "SELECT inc_cde FROM liste_grume_cde GROUP BY inc_cde ORDER BY COUNT(*) DESC, inc_cde LIMIT 1")},
        // the order holding the most logs of the lots
        {QStringLiteral("logs_order"),
         QStringLiteral("SELECT inc_cde FROM grume WHERE inc_cde IS NOT NULL GROUP BY inc_cde ORDER BY COUNT(*) DESC, "
                        "inc_cde LIMIT 1")},
        // the lot with the most free logs
        {QStringLiteral("free_log_lot"),
         QStringLiteral("SELECT N_lot FROM grume WHERE descriptif='GRUME' AND inc_cde IS NULL AND (livree<>'OUI' OR "
                        "livree IS NULL) GROUP BY N_lot ORDER BY COUNT(*) DESC, N_lot LIMIT 1")},
        {QStringLiteral("order_client"),
         QStringLiteral("SELECT LEFT(client, 4) FROM cde WHERE facturee IS NULL OR facturee<>'OUI' GROUP BY client "
                        "ORDER BY COUNT(*) DESC, client LIMIT 1")},
    };
    s.actions = {
        {QStringLiteral("Livraisons : ouverture de l'onglet"), searchOrders,
         orderPage(QString(), false, QStringLiteral("inc desc")), QString(),
         setOrderFilters([](BenchContext &) { return OrderFilters{}; })},
        {QStringLiteral("Livraisons : compte et totaux affichés"), searchOrdersCounted,
         orderPage(QString(), false, QStringLiteral("inc desc")) + QStringLiteral("; ") + orderCount(false), QString(),
         setOrderFilters([](BenchContext &) { return OrderFilters{}; })},
        {QStringLiteral("Livraisons : facturées comprises, tri par date"), searchOrders,
         orderPage(QString(), true, QStringLiteral("date_cde desc,inc")), QString(),
         setOrderFilters([](BenchContext &) {
             return OrderFilters{QString(), QString(), true, OrderSort::Date};
         })},
        {QStringLiteral("Livraisons : facturées comprises, tri par client"), searchOrders,
         orderPage(QString(), true, QStringLiteral("client,date_cde desc,inc")), QString(),
         setOrderFilters([](BenchContext &) {
             return OrderFilters{QString(), QString(), true, OrderSort::Client};
         })},
        {QStringLiteral("Livraisons : facturées comprises, tri par type"), searchOrders,
         orderPage(QString(), true, QStringLiteral("type_cde,date_cde desc,inc")), QString(),
         setOrderFilters([](BenchContext &) {
             return OrderFilters{QString(), QString(), true, OrderSort::Type};
         })},
        {QStringLiteral("Livraisons : facturées comprises, tri par N° cde"), searchOrders,
         orderPage(QString(), true, QStringLiteral("inc desc")), QString(), setOrderFilters([](BenchContext &) {
             return OrderFilters{QString(), QString(), true, OrderSort::Number};
         })},
        {QStringLiteral("Livraisons : filtre client"), searchOrders,
         orderPage(QStringLiteral(" and client like concat('%', {order_client}, '%')"), false,
                   QStringLiteral("inc desc")),
         QString(), setOrderFilters([](BenchContext &ctx) {
             return OrderFilters{ctx.parameter(QStringLiteral("order_client"))};
         })},
        {QStringLiteral("Livraisons : filtre type de cde"), searchOrders,
         orderPage(QStringLiteral(" and type_cde like '%SCIE%'"), false, QStringLiteral("inc desc")), QString(),
         setOrderFilters([](BenchContext &) {
             return OrderFilters{QString(), QStringLiteral("SCIE")};
         })},
        {QStringLiteral("Livraisons : Grille_lien de la plus grosse commande"),
         [](BenchContext &ctx) {
             OrderTab *tab = orderTab(ctx);
             tab->reloadLines();
             return shownList(tab, tab->lines()->rowCount(), {}, {}, tab->lines()->view());
         },
         QStringLiteral("select inc,inc_cde,date_creation,descriptif,essence,qualite,m3,n_lot,qte_liv,unite_liv,"
                        "choix_depart,stock_buche from liste_grume_cde where (inc_cde={biggest_order} and "
                        "(descriptif='GRUME1' or descriptif='VOLUME' )) order by inc limit 201"),
         QString(),
         [](BenchContext &ctx) {
             // the list as it opens, every order listed
             ActionResult r = setOrderFilters([](BenchContext &) {
                 return OrderFilters{QString(), QString(), true};
             })(ctx);
             // untimed: finding the order reads the list down to it
             OrderTab *tab = orderTab(ctx);
             tab->search();
             tab->selectOrder(ctx.intParameter(QStringLiteral("biggest_order")));
             return r;
         }},
        {QStringLiteral("detail_cde : la plus grosse commande"),
         [](BenchContext &ctx) {
             auto order = loadOrder(ctx.db, ctx.intParameter(QStringLiteral("biggest_order")));
             if (!order) return failed(order.error());
             auto editor = std::make_shared<OrderEditor>(ctx.app, *order, false);
             return shownList(editor.get(), editor->lines()->rowCount(), editor);
         },
         QStringLiteral(
             "select * from cde where inc={biggest_order}; "
             "select inc,inc_cde,descriptif,essence,qualite,qte_liv,unite_liv,prix_unit,prix_total,n_lot,"
             "stock_buche,choix_depart,id,qte_defaut,qte_conso,date_creation from liste_grume_cde where "
             "(inc_cde={biggest_order} and (descriptif='GRUME1' or descriptif='VOLUME' )) order by inc "
             "limit 201; "
             "select round(sum(m3),2), count(inc) from grume where inc_cde={biggest_order} and "
             "descriptif='GRUME'; "
             "select inc,inc_cde,I_nom,type1,i_date,qte_action,unite_action,prix_unit_action,i_cout,N_lot,id "
             "from liste_action_cde where (inc_cde={biggest_order}) order by i_date,inc limit 201")},
        {QStringLiteral("grume_cde : la commande la plus chargée en grumes"),
         [](BenchContext &ctx) {
             auto logs =
                 std::make_shared<OrderLogsDialog>(ctx.app, ctx.intParameter(QStringLiteral("logs_order")), false);
             return shownList(logs.get(), logs->list()->rowCount(), logs);
         },
         QStringLiteral("select inc,n_grume,essence,qualite,classe,m3,diametre,longueur,n_lot,stock,livree from grume "
                        "where (inc_cde={logs_order} and descriptif='GRUME') order by n_grume,inc limit 201; "
                        "select round(sum(m3),2), count(inc) from grume where inc_cde={logs_order} and "
                        "descriptif='GRUME'; "
                        "select sum(m3), classe from liste_grume_cde where inc_cde={logs_order} and "
                        "descriptif='GRUME' group by classe")},
        {QStringLiteral("liste_grume_cde : première page"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<LogPickerDialog>(ctx.app); // searches as it opens
             return shownList(picker.get(), picker->list()->rowCount(), picker);
         },
         freeLogPage(QString())},
        {QStringLiteral("liste_grume_cde : compte affiché"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<LogPickerDialog>(ctx.app);
             paintScreen(picker.get());
             ActionResult r;
             r.error = waitForCount(picker->list()->pagedModel(), picker.get(), picker->ui()->Label_nb);
             r.rows = picker->list()->totalCount().value_or(-1);
             r.keep = picker;
             return r;
         },
         freeLogPage(QString()) + QStringLiteral("; select count(*) from grume where ") + kFreeLogsWhere},
        {QStringLiteral("liste_grume_cde : une coupe"),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<LogPickerDialog>(QStringLiteral("log picker"),
                                                        [&ctx] { return new LogPickerDialog(ctx.app); });
             picker->ui()->n_lot->setText(ctx.parameter(QStringLiteral("free_log_lot")));
             picker->search();
             return shownList(picker, picker->list()->rowCount(), {}, {}, picker->list()->view());
         },
         freeLogPage(QStringLiteral(" and n_lot={free_log_lot}"), QStringLiteral("idx_grume_lot_number"))},
        {QStringLiteral("liste_grume_cde : Chercher N° GRUME"),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<LogPickerDialog>(QStringLiteral("log picker"),
                                                        [&ctx] { return new LogPickerDialog(ctx.app); });
             picker->ui()->n_lot->clear();
             picker->ui()->chercher_n_grume->setText(ctx.parameter(QStringLiteral("log_number")));
             picker->findLog();
             return shownList(picker, picker->list()->rowCount(), {}, {}, picker->list()->view());
         },
         QStringLiteral("select count(*) from grume where (") + kFreeLogsWhere +
             QStringLiteral(") and N_grume<{log_number}; ") + freeLogPage(QStringLiteral(" and N_grume>={log_number}")),
         QString(),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<LogPickerDialog>(QStringLiteral("log picker"),
                                                        [&ctx] { return new LogPickerDialog(ctx.app); });
             picker->ui()->n_lot->clear();
             picker->search();
             return ActionResult{};
         }},
        {QStringLiteral("Livraisons : créer une commande"),
         [](BenchContext &ctx) {
             auto created = createOrder(ctx.db, {QStringLiteral("PARTICULIER"), QStringLiteral("m3")},
                                        ctx.app.defaultUnit(), QDateTime::currentDateTime());
             if (!created) return failed(created.error());
             return ActionResult{};
         },
         QStringLiteral("UPDATE increment SET num_bl = LAST_INSERT_ID(COALESCE(num_bl, 0) + 1); "
                        "select last_insert_id()")},
        {QStringLiteral("detail_cde : ajouter une ligne COUPE (plus grosse coupe)"),
         [](BenchContext &ctx) {
             auto added = addProductLine(ctx.db, benchOrder(ctx), lotLine(ctx, 10), lineContext(ctx));
             if (!added) return failed(added.error());
             keptLine(ctx) = *added;
             return ActionResult{};
         },
         QStringLiteral("select * from cde where inc={biggest_order} for update"), QString(),
         [](BenchContext &ctx) { return ensureLine(ctx, false); }},
        {QStringLiteral("detail_cde : modifier une ligne COUPE (plus grosse coupe)"),
         [](BenchContext &ctx) {
             static bool more = false;
             more = !more;
             return done(changeProductLine(ctx.db, keptLine(ctx), more ? 12 : 10, 80));
         },
         QStringLiteral("select * from liste_grume_cde where inc_cde={biggest_order} for update"), QString(),
         [](BenchContext &ctx) { return ensureLine(ctx, true); }},
        {QStringLiteral("detail_cde : supprimer une ligne COUPE (plus grosse coupe)"),
         [](BenchContext &ctx) {
             auto removed = removeProductLine(ctx.db, keptLine(ctx));
             if (!removed) return failed(removed.error());
             keptLine(ctx) = 0;
             return ActionResult{};
         },
         QStringLiteral("select * from liste_grume_cde where inc_cde={biggest_order} for update"), QString(),
         [](BenchContext &ctx) { return ensureLine(ctx, true); }},
        {QStringLiteral("detail_cde : ajouter une action"),
         [](BenchContext &ctx) {
             OrderAction action;
             action.iNom = QStringLiteral("Banc d'essai");
             action.type1 = QStringLiteral("TRANSPORT");
             action.iDate = QDate::currentDate();
             action.qteAction = 10;
             action.uniteAction = QStringLiteral("m3");
             action.prixUnitAction = 4;
             action.iCout = 40;
             auto added = addOrderAction(ctx.db, benchOrder(ctx), action);
             if (!added) return failed(added.error());
             return ActionResult{};
         },
         QStringLiteral("select sum(i_cout) from liste_action_cde where inc_cde={biggest_order}"), QString(),
         [](BenchContext &ctx) { return ensureLine(ctx, true); }},
        {QStringLiteral("grume_cde : attacher 100 grumes"),
         [](BenchContext &ctx) {
             const QList<int> logs =
                 *ctx.object<QList<int>>(QStringLiteral("logs to attach"), [] { return new QList<int>(); });
             auto attached = attachLogs(ctx.db, benchOrder(ctx), logs);
             if (!attached) return failed(attached.error());
             ActionResult r;
             r.rows = *attached;
             return r;
         },
         QStringLiteral("select inc from grume where N_lot={free_log_lot} and descriptif='GRUME' and inc_cde is null "
                        "limit 100"),
         QString(),
         [](BenchContext &ctx) {
             // untimed: the bench order's logs freed, and the free logs it takes chosen
             if (Status s = releaseLogs(ctx.db, benchOrder(ctx), std::nullopt); !s) return failed(s.error());
             *ctx.object<QList<int>>(QStringLiteral("logs to attach"), [] { return new QList<int>(); }) =
                 freeLogsOfBiggestLot(ctx);
             return ActionResult{};
         }},
        {QStringLiteral("grume_cde : libérer « Tous »"),
         [](BenchContext &ctx) { return done(releaseLogs(ctx.db, benchOrder(ctx), std::nullopt)); },
         QStringLiteral("select distinct N_lot, indice_lot from grume where inc_cde={biggest_order}"), QString(),
         [](BenchContext &ctx) {
             auto attached = attachLogs(ctx.db, benchOrder(ctx), freeLogsOfBiggestLot(ctx));
             if (!attached) return failed(attached.error());
             return ActionResult{};
         }},
        {QStringLiteral("Livraisons : supprimer une commande"),
         [](BenchContext &ctx) {
             const int inc = *ctx.object<int>(QStringLiteral("order to delete"), [] { return new int(0); });
             return done(deleteOrder(ctx.db, inc));
         },
         QStringLiteral("select * from cde where inc={biggest_order}"), QString(),
         [](BenchContext &ctx) {
             auto created = createOrder(ctx.db, {QStringLiteral("PARTICULIER"), QStringLiteral("m3")},
                                        ctx.app.defaultUnit(), QDateTime::currentDateTime());
             if (!created) return failed(created.error());
             *ctx.object<int>(QStringLiteral("order to delete"), [] { return new int(0); }) = *created;
             return ActionResult{};
         }},
    };
    return s;
}

} // namespace ravelin::bench
