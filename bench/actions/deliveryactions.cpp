// The rows of the chip deliveries (deliveries/): the deliveries tab's searches, sorts, states and
// types, a delivery found far down the list, the cost panel, and the delivery's creation, opening,
// save with its lot's recomputation, deletion, a new action and the route page.
#include "actionhelpers.h"
#include "benchaction.h"

#include "deliveryactions.h"
#include "deliverycoststab.h"
#include "deliveryeditor.h"
#include "deliverylisttab.h"
#include "deliverystore.h"
#include "listgrid.h"
#include "lotrecompute.h"
#include "masterdetail.h"
#include "pagedquerymodel.h"
#include "routepage.h"
#include "ui_deliverylisttab.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

namespace ravelin::bench {

namespace {

// The deliveries tab, created once per company and shown; each row sets its filters first.
DeliveryListTab *deliveryTab(BenchContext &ctx)
{
    return ctx.object<DeliveryListTab>(QStringLiteral("deliveries tab"), [&ctx] {
        auto *tab = new DeliveryListTab(ctx.app);
        tab->resize(1280, 800);
        tab->show();
        return tab;
    });
}

struct DeliveryFilters
{
    QString destination, ticket, depart;
    const char *sort = "tri_date";
    const char *state = "etat_toutes";
    const char *type = "type_vente_achat";
    bool history = false;
};

// Untimed: the tab's filters and choices as the user leaves them (without searching).
ActionFunction setDeliveryFilters(DeliveryFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        DeliveryListTab *tab = deliveryTab(ctx);
        const DeliveryFilters f = filters(ctx);
        // a list without the delivery selected before: a new sort would otherwise read its rows down to it
        tab->ui()->destination->setText(QStringLiteral("~"));
        tab->search();
        tab->ui()->destination->setText(f.destination);
        tab->ui()->ticket->setText(f.ticket);
        tab->ui()->depart->setText(f.depart);
        tab->ui()->radio_histo->setChecked(f.history);
        for (const char *choice : {f.sort, f.state, f.type})
            if (auto *radio = tab->findChild<QRadioButton *>(QLatin1String(choice))) radio->setChecked(true);
        ActionResult r;
        r.pending = deferredWork(tab);
        return r;
    };
}

std::function<bool()> deliveryWork(DeliveryListTab *tab)
{
    QPointer<DeliveryListTab> watched(tab);
    return deferredWork(tab, [watched] { return watched && watched->costReload()->pending(); });
}

// "rech." (or a click on a choice), up to the first screenful painted.
ActionResult searchDeliveries(BenchContext &ctx)
{
    DeliveryListTab *tab = deliveryTab(ctx);
    tab->search();
    ActionResult r = shownList(tab, tab->list()->rowCount(), {}, {}, tab->list()->view());
    r.pending = deliveryWork(tab);
    return r;
}

// The same, up to the count and the totals painted.
ActionResult searchDeliveriesCounted(BenchContext &ctx)
{
    DeliveryListTab *tab = deliveryTab(ctx);
    tab->search();
    paintScreen(tab, tab->list()->view());
    ActionResult r;
    r.error = waitForCount(tab->list()->pagedModel(), tab, tab->ui()->Label_nb);
    r.rows = tab->list()->totalCount().value_or(-1);
    r.pending = deliveryWork(tab);
    return r;
}

const QString kColumns = QStringLiteral("inc,'' as a1,operation,date_livraison as jour,date_livraison,depart,"
                                        "destination,tonnage,ticket,verifie,unite,facturee,n_lot,prix_total,"
                                        "commentaire,num_facture");
const QString kNotInvoiced = QStringLiteral("(facturee is null or facturee<>'OUI')");

// The first page of the tab's list as the paged list reads it.
QString deliveryPageSql(const QString &where = kNotInvoiced,
                        const QString &order = QStringLiteral("date_livraison desc,inc desc"))
{
    return QStringLiteral("select ") + kColumns + QStringLiteral(" from livraison where (") + where +
           QStringLiteral(") order by ") + order + QStringLiteral(" limit 201");
}

// The same, filtered on a text found anywhere in a column: the page's keys read in one pass over
// the table, then their rows.
QString deliveryKeyedPageSql(const QString &where)
{
    const QString order = QStringLiteral(" order by date_livraison desc,inc desc");
    return QStringLiteral("select ") + kColumns +
           QStringLiteral(" from livraison join (select inc as page_key from livraison force index (PRIMARY) where (") +
           where + QStringLiteral(")") + order + QStringLiteral(" limit 201) page on inc = page.page_key") + order;
}

QString deliveryCountSql(const QString &where = kNotInvoiced)
{
    return QStringLiteral("select count(*), sum(tonnage), sum(prix_total) from livraison where (") + where +
           QLatin1Char(')');
}

// A delivery created untimed for the row that deletes one.
ActionResult prepareDeletion(BenchContext &ctx)
{
    NewDelivery d = newDeliveryDefaults(ctx.app.settings, QDateTime::currentDateTime());
    d.nLot = ctx.intParameter(QStringLiteral("delivery_lot"));
    d.id = ctx.intParameter(QStringLiteral("delivery_lot_line"));
    auto created = createDelivery(ctx.db, d);
    if (!created) return failed(created.error());
    ctx.parameters.insert(QStringLiteral("delivery_to_delete"), QString::number(*created));
    return ActionResult{};
}

// The default list searched, the oldest delivery not invoiced selected (read down to it).
ActionResult selectFarDelivery(BenchContext &ctx)
{
    ActionResult r = setDeliveryFilters([](BenchContext &) { return DeliveryFilters{}; })(ctx);
    DeliveryListTab *tab = deliveryTab(ctx);
    tab->search();
    if (!tab->selectDelivery(ctx.intParameter(QStringLiteral("far_delivery"))))
        r.error = QStringLiteral("livraison introuvable");
    r.pending = deliveryWork(tab);
    return r;
}

} // namespace

BenchSection deliverySection()
{
    BenchSection s;
    s.parameters = {
        // the delivery not invoiced with the most actions: its panel, its editor, a new action
        {QStringLiteral("busiest_delivery"),
         QStringLiteral("SELECT a.inc_cde FROM liste_action_liv a JOIN livraison l ON l.inc=a.inc_cde WHERE "
                        "l.facturee IS NULL OR l.facturee<>'OUI' GROUP BY a.inc_cde ORDER BY COUNT(*) DESC, "
                        "a.inc_cde LIMIT 1")},
        // the oldest delivery not invoiced: the last row of the default list
        {QStringLiteral("far_delivery"),
         QStringLiteral("SELECT inc FROM livraison WHERE facturee IS NULL OR facturee<>'OUI' ORDER BY "
                        "date_livraison, inc LIMIT 1")},
        {QStringLiteral("delivery_destination"),
         QStringLiteral("SELECT destination FROM livraison WHERE destination IS NOT NULL GROUP BY destination "
                        "ORDER BY COUNT(*) DESC, destination LIMIT 1")},
        {QStringLiteral("delivery_depart"),
         QStringLiteral("SELECT depart FROM livraison WHERE depart IS NOT NULL GROUP BY depart ORDER BY COUNT(*) "
                        "DESC, depart LIMIT 1")},
        {QStringLiteral("delivery_ticket"),
         QStringLiteral("SELECT LEFT(MAX(ticket), 3) FROM livraison WHERE ticket IS NOT NULL")},
        // the delivery of a lot with the most actions: opened, saved with its lot recomputed
        {QStringLiteral("lot_delivery"),
         QStringLiteral("SELECT a.inc_cde FROM liste_action_liv a JOIN livraison l ON l.inc=a.inc_cde WHERE "
                        "l.n_lot>0 AND (l.facturee IS NULL OR l.facturee<>'OUI') GROUP BY a.inc_cde ORDER BY "
                        "COUNT(*) DESC, a.inc_cde LIMIT 1")},
        {QStringLiteral("delivery_lot"), QStringLiteral("SELECT n_lot FROM livraison WHERE inc={lot_delivery}")},
        {QStringLiteral("delivery_lot_line"), QStringLiteral("SELECT id FROM livraison WHERE inc={lot_delivery}")},
    };
    const auto byDefault = [](BenchContext &) { return DeliveryFilters{}; };
    const auto like = [](const char *column, const char *parameter) {
        return kNotInvoiced + QStringLiteral(" and ") + QLatin1String(column) + QStringLiteral(" like concat('%', {") +
               QLatin1String(parameter) + QStringLiteral("}, '%')");
    };
    const QString sales = QStringLiteral(" and operation in ('VENTE','VENTE sur ACHAT','TRANSPORT','PREVISION')");
    const QString purchases = QStringLiteral(" and operation in ('ACHAT sur TRANSFERT','TRANSFERT','TRAVAIL','ACHAT')");
    const QString actionsSql = QStringLiteral(
        "select inc,type1,I_nom,i_date,qte_action,unite_action,prix_unit_action,i_cout,km_route,temps_route from "
        "liste_action_liv where inc_cde={%1} and type1='ACHAT' order by inc; select inc,type1,I_nom,i_date,"
        "qte_action,unite_action,prix_unit_action,i_cout,km_route,temps_route from liste_action_liv where "
        "inc_cde={%1} and type1='TRANSPORT' order by inc; select inc,type1,I_nom,i_date,qte_action,unite_action,"
        "prix_unit_action,i_cout,km_route,temps_route from liste_action_liv where inc_cde={%1} and "
        "type1='BROYAGE' order by inc");
    const QString editorSql = QStringLiteral("select * from livraison where inc={%1}; select essence from essence "
                                             "order by essence; select qualite from qualite order by qualite; ") +
                              actionsSql;

    s.actions = {
        {QStringLiteral("Livraisons : recherche par défaut"), searchDeliveries, deliveryPageSql(), QString(),
         setDeliveryFilters(byDefault)},
        {QStringLiteral("Livraisons : recherche par défaut, compte affiché"), searchDeliveriesCounted,
         deliveryPageSql() + QStringLiteral("; ") + deliveryCountSql(), QString(), setDeliveryFilters(byDefault)},
        {QStringLiteral("Livraisons : livraisons facturées comprises"), searchDeliveries,
         deliveryPageSql(QStringLiteral("1=1")), QString(), setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.history = true;
             return f;
         })},
        {QStringLiteral("Livraisons : filtre Destination"), searchDeliveries,
         deliveryKeyedPageSql(like("destination", "delivery_destination")), QString(),
         setDeliveryFilters([](BenchContext &ctx) {
             DeliveryFilters f;
             f.destination = ctx.parameter(QStringLiteral("delivery_destination"));
             return f;
         })},
        {QStringLiteral("Livraisons : filtre N° ticket"), searchDeliveries,
         deliveryKeyedPageSql(like("ticket", "delivery_ticket")), QString(), setDeliveryFilters([](BenchContext &ctx) {
             DeliveryFilters f;
             f.ticket = ctx.parameter(QStringLiteral("delivery_ticket"));
             return f;
         })},
        {QStringLiteral("Livraisons : filtre Départ"), searchDeliveries,
         deliveryKeyedPageSql(like("depart", "delivery_depart")), QString(), setDeliveryFilters([](BenchContext &ctx) {
             DeliveryFilters f;
             f.depart = ctx.parameter(QStringLiteral("delivery_depart"));
             return f;
         })},
        {QStringLiteral("Livraisons : trié par destination"), searchDeliveries,
         deliveryPageSql(kNotInvoiced, QStringLiteral("destination,date_livraison desc,inc")), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.sort = "tri_destination";
             return f;
         })},
        {QStringLiteral("Livraisons : trié par départ"), searchDeliveries,
         deliveryPageSql(kNotInvoiced, QStringLiteral("depart,date_livraison desc,inc")), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.sort = "tri_depart";
             return f;
         })},
        {QStringLiteral("Livraisons : trié par opération"), searchDeliveries,
         deliveryPageSql(kNotInvoiced, QStringLiteral("operation,date_livraison desc,inc")), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.sort = "tri_operation";
             return f;
         })},
        {QStringLiteral("Livraisons : trié par N° liv."), searchDeliveries,
         deliveryPageSql(kNotInvoiced, QStringLiteral("inc desc")), QString(), setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.sort = "tri_inc";
             return f;
         })},
        {QStringLiteral("Livraisons : non livrées"), searchDeliveries,
         deliveryPageSql(QStringLiteral("(tonnage is null or tonnage=0) and ") + kNotInvoiced), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.state = "etat_non_livree";
             return f;
         })},
        {QStringLiteral("Livraisons : non vérifiées"), searchDeliveries,
         deliveryPageSql(QStringLiteral("tonnage>0 and (verifie is null or verifie<>'OUI') and ") + kNotInvoiced),
         QString(), setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.state = "etat_non_verifiee";
             return f;
         })},
        {QStringLiteral("Livraisons : vérifiées"), searchDeliveries,
         deliveryPageSql(QStringLiteral("verifie='OUI' and ") + kNotInvoiced), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.state = "etat_verifiee";
             return f;
         })},
        {QStringLiteral("Livraisons : type VENTE"), searchDeliveries, deliveryPageSql(kNotInvoiced + sales), QString(),
         setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.type = "type_vente";
             return f;
         })},
        {QStringLiteral("Livraisons : type ACHAT"), searchDeliveries, deliveryPageSql(kNotInvoiced + purchases),
         QString(), setDeliveryFilters([](BenchContext &) {
             DeliveryFilters f;
             f.type = "type_achat";
             return f;
         })},
        // The oldest delivery not invoiced selected, then the list searched again: the first
        // screenful at once, then the delivery selected again once the worker has read down to it.
        {QStringLiteral("Livraisons : livraison retrouvée loin dans la liste, premier écran"), searchDeliveries,
         deliveryPageSql(), QString(), selectFarDelivery},
        {QStringLiteral("Livraisons : livraison retrouvée loin dans la liste, sélectionnée"),
         [](BenchContext &ctx) {
             DeliveryListTab *tab = deliveryTab(ctx);
             const int far = ctx.intParameter(QStringLiteral("far_delivery"));
             tab->search();
             ActionResult r;
             QEventLoop loop;
             QObject::connect(tab->list(), &ListGrid::currentRowChanged, &loop, [&] {
                 if (tab->currentInc() == far) loop.quit();
             });
             QTimer::singleShot(120000, &loop, &QEventLoop::quit);
             if (tab->currentInc() != far) loop.exec();
             if (tab->currentInc() != far) r.error = QStringLiteral("livraison non retrouvée");
             r.rows = tab->list()->rowCount();
             paintScreen(tab, tab->list()->view());
             r.pending = deliveryWork(tab);
             return r;
         },
         QStringLiteral("select count(*) from livraison where (") + kNotInvoiced +
             QStringLiteral(") and (date_livraison > (select date_livraison from livraison where inc={far_delivery}) "
                            "or date_livraison = (select date_livraison from livraison where inc={far_delivery}) "
                            "and inc > {far_delivery}); ") +
             deliveryPageSql(kNotInvoiced, QStringLiteral("date_livraison desc,inc desc"))
                 .replace(QStringLiteral("limit 201"), QStringLiteral("limit 100000")),
         QString(), selectFarDelivery},
        {QStringLiteral("Livraisons : panneau des coûts"),
         [](BenchContext &ctx) {
             DeliveryListTab *tab = deliveryTab(ctx);
             tab->loadCosts();
             paintScreen(tab, tab->ui()->Grille_couts);
             ActionResult r;
             r.rows = tab->costs()->rowCount();
             return r;
         },
         QStringLiteral(
             "select '€' as n1,type1,i_nom,i_cout,inc from liste_action_liv where inc_cde={busiest_delivery} "
             "order by type1,inc"),
         QString(),
         [](BenchContext &ctx) {
             ActionResult r = setDeliveryFilters([](BenchContext &) {
                 DeliveryFilters f;
                 f.history = true;
                 f.sort = "tri_inc";
                 return f;
             })(ctx);
             DeliveryListTab *tab = deliveryTab(ctx);
             tab->search();
             tab->selectDelivery(ctx.intParameter(QStringLiteral("busiest_delivery")));
             r.pending = deliveryWork(tab);
             return r;
         }},
        {QStringLiteral("Livraisons : créer une livraison (numéro, écriture, éditeur ouvert)"),
         [](BenchContext &ctx) {
             auto created = createDelivery(ctx.db, newDeliveryDefaults(ctx.app.settings, QDateTime::currentDateTime()));
             if (!created) return failed(created.error());
             auto row = loadDelivery(ctx.db, *created);
             if (!row) return failed(row.error());
             auto editor = std::make_shared<DeliveryEditor>(ctx.app, *row);
             paintScreen(editor.get());
             ActionResult r;
             r.rows = 1;
             r.keep = editor;
             return r;
         },
         QStringLiteral("update increment set num_bl=last_insert_id(num_bl+1); select last_insert_id(); ") +
             editorSql.arg(QStringLiteral("far_delivery"))},
        {QStringLiteral("Livraisons : ouvrir la livraison la plus chargée"),
         [](BenchContext &ctx) {
             auto row = loadDelivery(ctx.db, ctx.intParameter(QStringLiteral("busiest_delivery")));
             if (!row) return failed(row.error());
             auto editor = std::make_shared<DeliveryEditor>(ctx.app, *row);
             paintScreen(editor.get());
             ActionResult r;
             r.rows = 0;
             for (ActionKind kind : {ActionKind::Purchase, ActionKind::Transport, ActionKind::Chipping})
                 r.rows += editor->costsTab()->grid(kind)->rowCount();
             r.keep = editor;
             return r;
         },
         editorSql.arg(QStringLiteral("busiest_delivery"))},
        {QStringLiteral("Livraisons : enregistrer une livraison et recalculer sa coupe"),
         [](BenchContext &ctx) {
             const int inc = ctx.intParameter(QStringLiteral("lot_delivery"));
             auto row = loadDelivery(ctx.db, inc);
             if (!row) return failed(row.error());
             // the comment changes at every run, so that every run writes
             const QString comment = row->value(QStringLiteral("commentaire")).toString() == QLatin1String("banc A")
                                         ? QStringLiteral("banc B")
                                         : QStringLiteral("banc A");
             if (Status s = saveDelivery(ctx.db, inc, *row, {{QStringLiteral("commentaire"), comment}}); !s)
                 return failed(s.error());
             if (Status s = recomputeLots(ctx.db, {ctx.intParameter(QStringLiteral("delivery_lot"))}); !s)
                 return failed(s.error());
             return ActionResult{};
         },
         QStringLiteral("select * from livraison where inc={lot_delivery}; update livraison set commentaire='banc C' "
                        "where inc={lot_delivery}; select * from grume where (n_lot={delivery_lot} and "
                        "descriptif='VOLUME'); select id, sum(qte_defaut_totale) from livraison where "
                        "n_lot={delivery_lot} group by id")},
        {QStringLiteral("Livraisons : supprimer une livraison"),
         [](BenchContext &ctx) {
             auto deleted = deleteDelivery(ctx.db, ctx.intParameter(QStringLiteral("delivery_to_delete")));
             if (!deleted) return failed(deleted.error());
             if (Status s = recomputeLot(ctx.db, *deleted); !s) return failed(s.error());
             return ActionResult{};
         },
         QStringLiteral("select n_lot from livraison where inc={far_delivery}; select * from grume where "
                        "(n_lot={delivery_lot} and descriptif='VOLUME'); select id, sum(qte_defaut_totale) from "
                        "livraison where n_lot={delivery_lot} group by id"),
         QString(), prepareDeletion},
        {QStringLiteral("Livraisons : ajouter une action"),
         [](BenchContext &ctx) {
             const int inc = ctx.intParameter(QStringLiteral("busiest_delivery"));
             DeliveryAction action{QStringLiteral("TRANSPORT"),
                                   QStringLiteral("Banc"),
                                   QDate::currentDate(),
                                   10.0,
                                   QStringLiteral("Tonne"),
                                   8.0,
                                   80.0,
                                   QVariant()};
             if (auto created = createDeliveryAction(ctx.db, inc, action); !created) return failed(created.error());
             auto lines = deliveryActions(ctx.db, inc, ActionKind::Transport);
             if (!lines) return failed(lines.error());
             ActionResult r;
             r.rows = lines->rowCount();
             return r;
         },
         QStringLiteral("select facturee from livraison where inc={busiest_delivery}; ") +
             QStringLiteral("select inc,type1,I_nom,i_date,qte_action,unite_action,prix_unit_action,i_cout,km_route,"
                            "temps_route from liste_action_liv where inc_cde={busiest_delivery} and type1='TRANSPORT' "
                            "order by inc")},
        {QStringLiteral("Livraisons : page de l'itinéraire"),
         [](BenchContext &ctx) {
             auto row = loadDelivery(ctx.db, ctx.intParameter(QStringLiteral("lot_delivery")));
             if (!row) return failed(row.error());
             auto coef = lorryCoefficient(ctx.db);
             auto ends = routeEnds(ctx.db, row->value(QStringLiteral("depart")).toString(),
                                   row->value(QStringLiteral("destination")).toString());
             if (!ends) return failed(ends.error());
             static QTemporaryDir folder;
             auto path = writeRoutePage(folder.path(), *ends, lorryFactor(coef ? *coef : QVariant()));
             if (!path) return failed(path.error());
             return ActionResult{};
         },
         QStringLiteral("select coef_camion from perso limit 1; select lieu,cp from coupe where lieu=(select depart "
                        "from livraison where inc={lot_delivery}) limit 1; select cp,ville from destination where "
                        "destination=(select destination from livraison where inc={lot_delivery}) limit 1")},
    };
    return s;
}

} // namespace ravelin::bench
