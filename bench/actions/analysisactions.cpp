// The rows of the analyses (analyses/): each analysis over the last year of the company and over
// all of it, computed on the screen's own worker connection (its runner), where its statements are
// counted; the screen is waited for until its result is painted, the user-interface thread watched
// by the harness meanwhile. Then the detail, printout and settling of the busiest customer and
// contractor over twenty years, the CVO printout and the busiest weighing place.
#include "actionhelpers.h"
#include "benchaction.h"
#include "measure.h"

#include "analysisrunner.h"
#include "contractorcosts.h"
#include "contractorcostsdialog.h"
#include "customerdeliveries.h"
#include "databaseworker.h"
#include "listgrid.h"
#include "modal.h"
#include "otheranalysisdialogs.h"
#include "reportpreview.h"
#include "salesdialog.h"
#include "sql.h"
#include "ui_contractorcostsdialog.h"
#include "ui_cvodialog.h"
#include "ui_salesdialog.h"
#include "ui_weighingplacesdialog.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <map>

namespace ravelin::bench {

namespace {

// The period of a row: the company's last year, or its twenty years.
struct Period
{
    QDate start;
    QDate end;
};
Period periodOf(BenchContext &ctx, bool allYears)
{
    const QDate end = QDate::fromString(ctx.parameter(QStringLiteral("analysis_last_day")), Qt::ISODate);
    const QDate first = QDate::fromString(ctx.parameter(QStringLiteral("analysis_first_day")), Qt::ISODate);
    return {allYears ? first : end.addYears(-1).addDays(1), end};
}

// Runs the events until `done` (or a minute has gone); gives the error to note, empty when done.
QString waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    // asleep between events, as the program's loop is: a busy loop would take a core from the server
    // (the timer wakes it to look at the clock)
    QTimer tick;
    tick.start(20);
    while (!done() && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return done() ? QString() : QStringLiteral("toujours en cours après une minute");
}

QString waitFor(AnalysisRunner &runner)
{
    return waitUntil([&runner] { return !runner.isBusy(); });
}

// The session counters of a runner's connection, read on its worker.
SessionCounters workerCounters(AnalysisRunner &runner)
{
    return runner.runAndWait([](QSqlDatabase db) { return sessionCounters(db); });
}

// What a runner's connection has sent once it is open and its counters read once, and what one
// more read costs: measured once per company on a worker of its own.
struct FreshWorker
{
    SessionCounters first;
    qint64 readQuestions = 1;
    qint64 readBytes = 0;
};
const FreshWorker &freshWorker(BenchContext &ctx)
{
    static std::map<QString, FreshWorker> measured;
    auto found = measured.find(ctx.label);
    if (found != measured.end()) return found->second;
    DatabaseWorker worker(ctx.db);
    FreshWorker f;
    f.first = worker.runAndWait([](QSqlDatabase db) { return sessionCounters(db); });
    const SessionCounters second = worker.runAndWait([](QSqlDatabase db) { return sessionCounters(db); });
    f.readQuestions = second.questions - f.first.questions;
    f.readBytes = second.bytesSent - f.first.bytesSent;
    return measured.emplace(ctx.label, f).first->second;
}

// The statements of a runner opened by the run: everything its connection sent, less its opening.
template <typename Screen>
std::function<WorkerStatements()> countFresh(BenchContext &ctx, std::shared_ptr<Screen> screen)
{
    const FreshWorker f = freshWorker(ctx);
    return [f, screen] {
        const SessionCounters now = workerCounters(screen->runner());
        return WorkerStatements{now.questions - f.first.questions, now.bytesSent - f.first.bytesSent - f.readBytes,
                                now.questions};
    };
}

// The statements of a runner kept between runs, from `before` (read before the run).
std::function<WorkerStatements()> countKept(BenchContext &ctx, AnalysisRunner &runner, SessionCounters before)
{
    const FreshWorker f = freshWorker(ctx);
    return [f, &runner, before] {
        const SessionCounters now = workerCounters(runner);
        return WorkerStatements{now.questions - before.questions - f.readQuestions,
                                now.bytesSent - before.bytesSent - f.readBytes, now.questions - before.questions};
    };
}

template <typename Screen, typename... Args> std::shared_ptr<Screen> openScreen(BenchContext &ctx, Args &&...args)
{
    auto screen = std::make_shared<Screen>(ctx.app, std::forward<Args>(args)...);
    screen->resize(1280, 800);
    screen->show();
    return screen;
}

// A screen computed once over twenty years, kept for the rows that start from it, with the
// counters of its runner read before each run.
template <typename Screen> struct Kept
{
    std::shared_ptr<Screen> screen;
    SessionCounters before;
};

template <typename Screen>
Kept<Screen> *keptScreen(BenchContext &ctx, const QString &name, std::function<void(Screen &)> prepare = {})
{
    auto *kept = ctx.object<Kept<Screen>>(name, [&ctx, prepare] {
        auto *k = new Kept<Screen>;
        k->screen = openScreen<Screen>(ctx);
        const Period p = periodOf(ctx, true);
        k->screen->ui()->Date_debut->setDate(p.start);
        k->screen->ui()->Date_fin->setDate(p.end);
        if (prepare) prepare(*k->screen);
        k->screen->compute();
        (void)waitFor(k->screen->runner());
        return k;
    });
    return kept;
}

template <typename Screen> void readCounters(BenchContext &ctx, Kept<Screen> &kept)
{
    (void)freshWorker(ctx);
    kept.before = workerCounters(kept.screen->runner());
}

// A computation's row: the screen opened on the row's period before the run (its connection open,
// as when the user clicks), `options` chosen, kept for the row's runs; each run computes it and
// waits until its result is painted (grid and charts). The rows are those of `shown`.
struct Computed
{
    ActionFunction run;
    ActionFunction prepare;
};

template <typename Screen>
Computed computed(const QString &key, bool allYears, std::function<void(Screen &)> options,
                  std::function<int(Screen &)> shown)
{
    auto screenOf = [key, allYears, options](BenchContext &ctx) {
        return ctx.object<Kept<Screen>>(key, [&ctx, allYears, options] {
            auto *k = new Kept<Screen>;
            k->screen = openScreen<Screen>(ctx);
            const Period p = periodOf(ctx, allYears);
            k->screen->ui()->Date_debut->setDate(p.start);
            k->screen->ui()->Date_fin->setDate(p.end);
            if (options) options(*k->screen);
            return k;
        });
    };
    Computed c;
    c.prepare = [screenOf](BenchContext &ctx) {
        readCounters(ctx, *screenOf(ctx));
        return ActionResult{};
    };
    c.run = [screenOf, shown](BenchContext &ctx) {
        auto *kept = screenOf(ctx);
        kept->screen->compute();
        const QString waited = waitFor(kept->screen->runner());
        ActionResult r = shownList(kept->screen.get(), shown(*kept->screen));
        if (!waited.isEmpty()) r.error = waited;
        r.worker = countKept(ctx, kept->screen->runner(), kept->before);
        return r;
    };
    return c;
}

// The modal screens a row opens: each painted, then closed; the last one shown is kept.
class ModalCatcher
{
public:
    explicit ModalCatcher(std::function<void(QDialog &)> before = {})
    {
        m_previous = setModalRunner([this, before](QDialog &dialog) {
            dialog.resize(1280, 800);
            if (before) before(dialog);
            paintScreen(&dialog);
            m_shown << dialog.objectName();
            return int(QDialog::Rejected);
        });
    }
    ~ModalCatcher() { setModalRunner(m_previous); }
    const QStringList &shown() const { return m_shown; }

private:
    ModalRunner m_previous;
    QStringList m_shown;
};

// A document's preview: its pages counted as the row's rows.
int pagesOf(QDialog &dialog)
{
    auto *preview = qobject_cast<ReportPreview *>(&dialog);
    return preview ? preview->document().pageCount() : -1;
}

Computed sales(bool allYears, bool perKind, bool invoiced)
{
    return computed<SalesDialog>(
        QStringLiteral("analyse_ventes_%1_%2_%3").arg(allYears).arg(perKind).arg(invoiced), allYears,
        [=](SalesDialog &screen) {
            screen.ui()->Inclure_facturees->setChecked(invoiced);
            (perKind ? screen.ui()->Par_type : screen.ui()->Par_client)->setChecked(true);
        },
        [](SalesDialog &screen) { return screen.list()->rowCount(); });
}

Kept<SalesDialog> *salesTwentyYears(BenchContext &ctx)
{
    // the invoiced sales too: twenty years of the customer
    auto *kept = keptScreen<SalesDialog>(ctx, QStringLiteral("analyse_ventes_20"),
                                         [](SalesDialog &screen) { screen.ui()->Inclure_facturees->setChecked(true); });
    kept->screen->list()->selectKey(ctx.parameter(QStringLiteral("analysis_busiest_customer")));
    return kept;
}

// "Détail des Livraisons du client" of the busiest customer: the screen painted with the priced
// lines of its first row.
ActionResult salesDetail(BenchContext &ctx)
{
    auto *kept = salesTwentyYears(ctx);
    int rows = -1;
    ModalCatcher catcher([&rows](QDialog &dialog) {
        auto &detail = static_cast<SalesDetailDialog &>(dialog);
        (void)waitUntil([&detail] { return !detail.linesPending(); });
        rows = detail.list()->rowCount();
    });
    kept->screen->showDetail();
    ActionResult r;
    r.error = waitUntil([&catcher] { return !catcher.shown().isEmpty(); });
    r.rows = rows;
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return r;
}

// Its printout: read and laid out on the worker, then shown in the preview.
struct KeptSalesDetail
{
    std::unique_ptr<SalesDetailDialog> detail;
};
SalesDetailDialog &salesDetailScreen(BenchContext &ctx, Kept<SalesDialog> *kept)
{
    auto *detail = ctx.object<KeptSalesDetail>(QStringLiteral("analyse_ventes_20_detail"), [&ctx, kept] {
        auto *k = new KeptSalesDetail;
        SalesDialog &screen = *kept->screen;
        const QVariant nom = screen.list()->currentValue(QStringLiteral("nom"));
        const SalesFilter filter{periodOf(ctx, true).start, periodOf(ctx, true).end, SalesGrouping::Customer, true};
        const QString unit = ctx.app.defaultUnit();
        auto rows = screen.runner().runAndWait(
            [filter, nom, unit](QSqlDatabase db) { return readSalesDetail(db, filter, nom, unit); });
        k->detail = std::make_unique<SalesDetailDialog>(
            ctx.app, screen.runner(), filter, nom, screen.list()->currentValue(QStringLiteral("t1")).toDouble(),
            screen.list()->currentValue(QStringLiteral("t2")).toDouble(), rows ? *rows : DataTable());
        (void)waitUntil([&k] { return !k->detail->linesPending(); });
        return k;
    });
    return *detail->detail;
}

ActionResult salesDetailPrinted(BenchContext &ctx)
{
    auto *kept = salesTwentyYears(ctx);
    SalesDetailDialog &detail = salesDetailScreen(ctx, kept);
    int pages = -1;
    ModalCatcher catcher([&pages](QDialog &dialog) { pages = pagesOf(dialog); });
    detail.print();
    ActionResult r;
    r.error = waitUntil([&catcher] { return !catcher.shown().isEmpty(); });
    r.rows = pages;
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return r;
}

Computed contractorCosts(bool allYears)
{
    return computed<ContractorCostsDialog>(QStringLiteral("analyse_intervenants_%1").arg(allYears), allYears, {},
                                           [](ContractorCostsDialog &screen) { return screen.list()->rowCount(); });
}

Kept<ContractorCostsDialog> *contractorsTwentyYears(BenchContext &ctx)
{
    auto *kept = keptScreen<ContractorCostsDialog>(ctx, QStringLiteral("analyse_intervenants_20"));
    kept->screen->list()->selectKey(ctx.parameter(QStringLiteral("analysis_busiest_contractor")));
    return kept;
}

// "Détail des interventions" of the busiest contractor, read from the work table.
ActionResult contractorDetail(BenchContext &ctx)
{
    auto *kept = contractorsTwentyYears(ctx);
    int rows = -1;
    ModalCatcher catcher(
        [&rows](QDialog &dialog) { rows = static_cast<ContractorDetailDialog &>(dialog).list()->rowCount(); });
    kept->screen->showDetail();
    ActionResult r;
    r.error = waitUntil([&catcher] { return !catcher.shown().isEmpty(); });
    r.rows = rows;
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return r;
}

// The detail screen of the busiest contractor, kept open (not shown modally) for its printout
// and its settling.
struct KeptContractorDetail
{
    std::unique_ptr<ContractorDetailDialog> detail;
};
ContractorDetailDialog &contractorDetailScreen(BenchContext &ctx, Kept<ContractorCostsDialog> *kept)
{
    auto *k = ctx.object<KeptContractorDetail>(QStringLiteral("analyse_intervenants_20_detail"), [&ctx, kept] {
        auto *made = new KeptContractorDetail;
        const QString societe = ctx.parameter(QStringLiteral("analysis_busiest_contractor"));
        auto detail =
            kept->screen->runner().runAndWait([societe](QSqlDatabase db) { return readContractorDetail(db, societe); });
        ContractorCostFilter filter;
        filter.start = periodOf(ctx, true).start;
        filter.end = periodOf(ctx, true).end;
        made->detail = std::make_unique<ContractorDetailDialog>(ctx.app, kept->screen->runner(), societe, filter,
                                                                detail ? *detail : ContractorDetail());
        made->detail->resize(1280, 800);
        return made;
    });
    return *k->detail;
}

ActionResult contractorPrinted(BenchContext &ctx)
{
    auto *kept = contractorsTwentyYears(ctx);
    ContractorDetailDialog &detail = contractorDetailScreen(ctx, kept);
    int pages = -1;
    ModalCatcher catcher([&pages](QDialog &dialog) { pages = pagesOf(dialog); });
    detail.print();
    ActionResult r;
    r.error = waitUntil([&catcher] { return !catcher.shown().isEmpty(); });
    r.rows = pages;
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return r;
}

// Answers yes: the settling's confirmation.
class YesDialogs : public BenchDialogs
{
public:
    bool yesNo(const QString &, const QString &) override { return true; }
};

// The flags of the busiest contractor's actions as they were, in a table of the program's
// connection, put back once the row has been measured (in the action tables and in the work table).
const QList<QPair<QString, QString>> &actionTables()
{
    static const QList<QPair<QString, QString>> tables{{QStringLiteral("intervention"), lotWorkKind()},
                                                       {QStringLiteral("liste_action_cde"), orderActionKind()},
                                                       {QStringLiteral("liste_action_transfert"), transferActionKind()},
                                                       {QStringLiteral("liste_action_liv"), deliveryActionKind()}};
    return tables;
}

ActionResult contractorSettled(BenchContext &ctx)
{
    auto *kept = contractorsTwentyYears(ctx);
    ContractorDetailDialog &detail = contractorDetailScreen(ctx, kept);
    YesDialogs yes;
    Dialogs *previous = ctx.app.dialogs;
    ctx.app.dialogs = &yes;
    detail.settleAll();
    ActionResult r;
    r.error = waitUntil([&detail] { return !detail.busy(); });
    paintScreen(&detail);
    ctx.app.dialogs = previous;
    r.rows = detail.list()->rowCount();
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    // undone once measured: the flags put back, in the action tables and the work table
    AnalysisRunner *runner = &kept->screen->runner();
    QSqlDatabase db = ctx.db;
    r.keep = std::shared_ptr<void>(nullptr, [db, runner](void *) {
        for (const auto &[table, kind] : actionTables())
            (void)execute(db,
                          QStringLiteral("update ") + table +
                              QStringLiteral(" A join bench_settled U on U.t=? and U.inc=A.inc "
                                             "set A.fac_fournisseur=U.fac_fournisseur"),
                          {kind});
        (void)runner->runAndWait([](QSqlDatabase worker) {
            for (const auto &[table, kind] : actionTables())
                (void)execute(worker,
                              QStringLiteral("update ") + contractorWorkTable() + QStringLiteral(" T join ") + table +
                                  QStringLiteral(" A on A.inc=T.inc and T.type=? "
                                                 "set T.fac_fournisseur=A.fac_fournisseur"),
                              {kind});
            return 0;
        });
    });
    return r;
}

// Before each settling: the flags as they are.
ActionResult rememberFlags(BenchContext &ctx)
{
    auto *kept = contractorsTwentyYears(ctx);
    (void)contractorDetailScreen(ctx, kept);
    readCounters(ctx, *kept);
    QStringList parts;
    QVariantList values;
    for (const auto &[table, kind] : actionTables()) {
        parts << QStringLiteral("select ? as t, inc, fac_fournisseur from ") + table + QStringLiteral(" where I_nom=?");
        values << kind << ctx.parameter(QStringLiteral("analysis_busiest_contractor"));
    }
    (void)execute(ctx.db, QStringLiteral("drop temporary table if exists bench_settled"));
    if (auto made = execute(ctx.db,
                            QStringLiteral("create temporary table bench_settled as ") +
                                parts.join(QStringLiteral(" union all ")),
                            values);
        !made)
        return failed(made.error());
    return {};
}

ActionFunction cvo(bool allYears)
{
    return [=](BenchContext &ctx) {
        (void)freshWorker(ctx);
        auto screen = openScreen<CvoDialog>(ctx);
        const Period p = periodOf(ctx, allYears);
        screen->ui()->Date_debut->setDate(p.start);
        screen->ui()->Date_fin->setDate(p.end);
        screen->compute();
        ActionResult r = shownList(screen.get(), screen->list()->rowCount(), screen, {}, screen->list()->view());
        // its runner, opened with the screen, is only for the printout
        r.worker = countFresh(ctx, screen);
        return r;
    };
}

// The CVO printout of twenty years: every lot read and laid out on the screen's worker.
Kept<CvoDialog> *cvoTwentyYears(BenchContext &ctx)
{
    return ctx.object<Kept<CvoDialog>>(QStringLiteral("analyse_cvo_20"), [&ctx] {
        auto *k = new Kept<CvoDialog>;
        k->screen = openScreen<CvoDialog>(ctx);
        const Period p = periodOf(ctx, true);
        k->screen->ui()->Date_debut->setDate(p.start);
        k->screen->ui()->Date_fin->setDate(p.end);
        k->screen->compute();
        return k;
    });
}

ActionResult cvoPrinted(BenchContext &ctx)
{
    auto *kept = cvoTwentyYears(ctx);
    int pages = -1;
    ModalCatcher catcher([&pages](QDialog &dialog) { pages = pagesOf(dialog); });
    kept->screen->print();
    ActionResult r;
    r.error = waitUntil([&catcher] { return !catcher.shown().isEmpty(); });
    r.rows = pages;
    r.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return r;
}

// The PEFC share on the generator's last day, computed as the screen opens.
ActionResult pefc(BenchContext &ctx)
{
    (void)freshWorker(ctx);
    auto screen = openScreen<PefcDialog>(
        ctx, nullptr, QDate::fromString(ctx.parameter(QStringLiteral("analysis_last_day")), Qt::ISODate));
    const QString waited = waitFor(screen->runner());
    ActionResult r = shownList(screen.get(), screen->list()->rowCount(), screen);
    if (!waited.isEmpty()) r.error = waited;
    r.worker = countFresh(ctx, screen);
    return r;
}

Computed weighingPlaces(bool allYears)
{
    return computed<WeighingPlacesDialog>(QStringLiteral("analyse_pesage_%1").arg(allYears), allYears, {},
                                          [](WeighingPlacesDialog &screen) { return screen.places()->rowCount(); });
}

// The busiest weighing place of twenty years selected: its first page of deliveries.
Kept<WeighingPlacesDialog> *placesTwentyYears(BenchContext &ctx)
{
    return keptScreen<WeighingPlacesDialog>(ctx, QStringLiteral("analyse_pesage_20"));
}

ActionResult busiestPlace(BenchContext &ctx)
{
    auto *kept = placesTwentyYears(ctx);
    ActionResult r;
    if (!kept->screen->places()->selectKey(ctx.parameter(QStringLiteral("analysis_busiest_place"))))
        r.error = QStringLiteral("lieu de pesage introuvable");
    ActionResult shown = shownList(kept->screen.get(), kept->screen->deliveries()->rowCount(), {}, {},
                                   kept->screen->deliveries()->view());
    shown.error = r.error;
    shown.worker = countKept(ctx, kept->screen->runner(), kept->before);
    return shown;
}

// The untimed preparations of the rows that start from a kept screen: the screen made (and, for
// a detail row, its detail screen), then its runner's counters read.
template <auto keptScreen> ActionResult screenReady(BenchContext &ctx)
{
    readCounters(ctx, *keptScreen(ctx));
    return {};
}

template <auto keptScreen, auto detailScreen> ActionResult detailReady(BenchContext &ctx)
{
    auto *kept = keptScreen(ctx);
    (void)detailScreen(ctx, kept);
    readCounters(ctx, *kept);
    return {};
}

// Another place selected first, so that the row's selection reads the busiest one's page.
ActionResult placesReady(BenchContext &ctx)
{
    auto *kept = placesTwentyYears(ctx);
    ListGrid *places = kept->screen->places();
    const QString busiest = ctx.parameter(QStringLiteral("analysis_busiest_place"));
    for (int r = 0; r < places->rowCount(); ++r) {
        const QVariant key = places->raw(r, QStringLiteral("lieu_pesage"));
        if (key.toString() != busiest) {
            places->selectKey(key);
            break;
        }
    }
    readCounters(ctx, *kept);
    ActionResult r;
    r.pending = deferredWork(kept->screen.get());
    return r;
}

// The client's statements for the same rows, the work tables named for the client's session.
QString salesSql(const QString &from, bool perKind, bool invoiced)
{
    const QString open = invoiced ? QString() : QStringLiteral(" and A.facturee='NON'");
    return QStringLiteral(
               "drop temporary table if exists TAMPONBENCHD; create temporary table TAMPONBENCHD (t1 DOUBLE, "
               "nom VARCHAR(100), t2 DOUBLE, h1 DOUBLE); insert into TAMPONBENCHD select round(A.prix_vente,2), ") +
           (perKind ? QStringLiteral("A.type_cde") : QStringLiteral("A.client")) +
           QStringLiteral(", round(A.qte_defaut_totale,2), 0 from cde A where A.prix_vente>0 and A.date_cde>=") + from +
           QStringLiteral(" and A.date_cde<{analysis_day_after}") +
           (perKind ? QString() : QStringLiteral(" and A.client is not null")) + open +
           QStringLiteral("; insert into TAMPONBENCHD select round(A.prix_total,2), ") +
           (perKind ? QStringLiteral("A.operation") : QStringLiteral("A.destination")) +
           QStringLiteral(", round(A.qte_defaut_totale,2), A.humidite from livraison A where A.qte_defaut_totale>0 and "
                          "A.date_livraison>=") +
           from +
           QStringLiteral(
               " and A.date_livraison<{analysis_day_after} and (A.operation='VENTE' or A.operation='VENTE sur "
               "ACHAT' or A.operation='TRANSPORT')") +
           (perKind ? QString() : QStringLiteral(" and A.destination<>''")) + open +
           QStringLiteral("; select nom, round(sum(t1),2), round(sum(t2),2), round(avg(t2),2), round(avg(h1),2), "
                          "count(*), round(sum(t2)/count(*),2) from TAMPONBENCHD group by nom order by nom");
}

// The detail of the busiest customer: its orders and deliveries (one statement), and the priced
// lines of the first (printout: of them all, in one statement).
QString salesDetailSql(bool printed)
{
    const QString orders =
        QStringLiteral("A.prix_vente>0 and A.date_cde>={analysis_all_start} and A.date_cde<{analysis_day_after} and "
                       "A.client is not null and A.client <=> {analysis_busiest_customer}");
    const QString deliveries = QStringLiteral(
        "A.qte_defaut_totale>0 and A.date_livraison>={analysis_all_start} and A.date_livraison<{analysis_day_after} "
        "and (A.operation='VENTE' or A.operation='VENTE sur ACHAT' or A.operation='TRANSPORT') and "
        "A.destination<>'' and A.destination <=> {analysis_busiest_customer}");
    QString sql = QStringLiteral(
                      "select A.inc, A.client, '€' as u2, 'GRUME' as u3, A.date_cde, A.type_cde, A.ville_liv, "
                      "A.pays_liv, A.qte_defaut_totale, A.n_cde_client, A.prix_vente, A.livree, A.unite_liv, "
                      "A.qte_liv_totale, A.unite_liv as unite_vente, 0 as mwh, 0 as prix_mwh, 0 as prix_tonne from cde "
                      "A where ") +
                  orders +
                  QStringLiteral(" union all select A.inc, A.destination, '€', 'PLAQUETTE', A.date_livraison, "
                                 "A.operation, '.', '.', A.qte_defaut_totale, '.', A.prix_total, 'LIVREE', "
                                 "A.unite_liv, A.qte_liv_totale, A.unite, A.mwh, A.prix_mwh, A.prix_tonne from "
                                 "livraison A where ") +
                  deliveries + QStringLiteral(" order by date_cde, inc; ");
    const QString deliveryLines = QStringLiteral(
        "select A.inc as inc_parent, 'PLAQUETTE' as u3, A.inc, 'PLAQUETTE' as source, A.essence, A.qualite, "
        "if(A.unite='MWH', A.mwh, A.qte_liv_totale) as qte_liv, A.unite as unite_liv, "
        "if(A.unite='MWH', A.prix_mwh, A.prix_tonne) as prix_unit, A.prix_total, cast(A.n_lot as char) as n_lot, "
        "if(A.unite='MWH', A.humidite, 0) as humidite, if(A.unite='MWH', A.total_mwh, 0) as total_MWH from "
        "livraison A where ");
    if (!printed) return sql + deliveryLines + QStringLiteral("A.inc={analysis_customer_first}");
    return sql +
           QStringLiteral("select L.inc_cde as inc_parent, 'GRUME' as u3, L.inc, 'GRUME/STERE' as source, L.essence, "
                          "L.qualite, L.qte_liv, L.unite_liv, L.prix_unit, L.prix_total, L.n_lot, 0 as humidite, 0 as "
                          "total_MWH from liste_grume_cde L join cde A on A.inc=L.inc_cde where (L.descriptif='VOLUME' "
                          "or L.descriptif='GRUME1') and ") +
           orders + QStringLiteral(" union all ") + deliveryLines + deliveries +
           QStringLiteral(" order by inc_parent, inc");
}

QString contractorSql(const QString &from)
{
    const QString directory = QStringLiteral(
        " join (select societe, min(famille_intervenant) as famille_intervenant from intervenant_possible group by "
        "societe) B on B.societe=A.I_nom");
    const QString head =
        QStringLiteral("insert into TAMPONBENCHC select straight_join A.inc, A.fac_fournisseur, B.societe, "
                       "B.famille_intervenant, '%1' as type, A.I_nom as b, %2 as n_lot, A.Indice_lot, "
                       "A.i_date, A.qte_action, A.i_cout, A.i_nb_heure, A.type1, %3, A.unite_action, "
                       "A.prix_unit_action, A.km_route, cast(A.temps_route as char) from ");
    const QString period =
        directory + QStringLiteral(" where A.i_date>=") + from + QStringLiteral(" and A.i_date<{analysis_day_after}; ");
    return QStringLiteral(
               "drop temporary table if exists TAMPONBENCHC; create temporary table TAMPONBENCHC (inc INT, "
               "fac_fournisseur VARCHAR(10), societe VARCHAR(100), famille_intervenant VARCHAR(100), type VARCHAR(30), "
               "b VARCHAR(100), n_lot VARCHAR(20), indice_lot INT, date1 DATETIME, tonnage DOUBLE, cout_total DOUBLE, "
               "heure DOUBLE, operation VARCHAR(50), destination VARCHAR(100), depart VARCHAR(100), unite_liv "
               "VARCHAR(20), prix_unit DOUBLE, km_route DOUBLE, temps_route VARCHAR(20), KEY idx_societe_date "
               "(societe, date1)); ") +
           head.arg(lotWorkKind(), QStringLiteral("cast(A.N_lot as char)"),
                    QStringLiteral("' ' as destination, C.lieu as depart")) +
           QStringLiteral("intervention A ") + QStringLiteral("join coupe C on C.n_lot=A.N_lot") + period +
           head.arg(orderActionKind(), QStringLiteral("A.n_lot"),
                    QStringLiteral("C.destination as destination, ' ' as depart")) +
           QStringLiteral("liste_action_cde A ") + QStringLiteral("join cde C on C.inc=A.inc_cde") + period +
           head.arg(transferActionKind(), QStringLiteral("A.n_lot"),
                    QStringLiteral("C.destination as destination, C.depart as depart")) +
           QStringLiteral("liste_action_transfert A ") + QStringLiteral("join transfert C on C.inc=A.inc_transfert") +
           period +
           head.arg(deliveryActionKind(), QStringLiteral("cast(C.n_lot as char)"),
                    QStringLiteral("C.destination as destination, C.depart as depart")) +
           QStringLiteral("liste_action_liv A ") + QStringLiteral("join livraison C on C.inc=A.inc_cde") + period +
           QStringLiteral("select societe, min(famille_intervenant) as famille_intervenant, round(sum(cout_total),2) "
                          "as total from TAMPONBENCHC where cout_total>0 group by societe order by societe; select "
                          "famille_intervenant, round(sum(cout_total),2) as total from TAMPONBENCHC group by "
                          "famille_intervenant order by famille_intervenant");
}

QString cvoSql(const QString &from, bool printed)
{
    return QStringLiteral("select inc, nom as Nom, lieu as Lieu, cvo as CVO, date_achat as Date_achat, n_lot as N_lot, "
                          "indice_lot as Indice_lot, cp as CP, adresse, N_parcelle from coupe where (cvo>0 and "
                          "date_achat>=") +
           from + QStringLiteral(" and date_achat<{analysis_day_after}) order by date_achat,nom,inc") +
           (printed ? QString() : QStringLiteral(" limit 201"));
}

QString pefcSql()
{
    return QStringLiteral(
        "select round(sum(A.m3_reel),2) as total_m3, round(sum(A.m3_reel*if(B.pefc='' or B.pefc is null, 0, 1)),2) "
        "as total_m3_pefc, round(sum(A.m3_reel*if(B.pefc='' or B.pefc is null, 0, 1))/sum(A.m3_reel)*100,2) as "
        "pourcent_pefc, year(B.date_achat) as y1, month(B.date_achat) as m1 from proprietaire_essence A join "
        "proprietaire B on B.nom=A.nom and B.n_lot=A.n_lot join coupe C on C.n_lot=A.n_lot where "
        "B.date_achat>={analysis_pefc_start} and B.date_achat<{analysis_day_after} group by y1, m1 order by y1, m1; "
        "select round(sum(A.qte_defaut_totale),2) as total_m3, round(sum(ifnull(A.qte_defaut_pefc,0)),2) as "
        "total_m3_pefc, round(sum(ifnull(A.qte_defaut_pefc,0))/sum(A.qte_defaut_totale)*100,2) as pourcent_pefc, "
        "year(A.date_livraison) as y1, month(A.date_livraison) as m1 from livraison A where "
        "A.date_livraison>={analysis_pefc_start} and A.date_livraison<{analysis_day_after} group by y1, m1 order by "
        "y1, m1");
}

QString weighingSql(const QString &from)
{
    return QStringLiteral("select count(*) as nb, lieu_pesage from livraison where lieu_pesage is not null and "
                          "date_livraison>=") +
           from + QStringLiteral(" and date_livraison<{analysis_day_after} group by lieu_pesage order by lieu_pesage");
}

QString busiestPlaceSql()
{
    return QStringLiteral(
        "select inc, lieu_pesage, operation, date_livraison, tonnage, depart, destination from livraison join (select "
        "inc as page_key from livraison force index (idx_livraison_lieu_pesage) where (lieu_pesage="
        "{analysis_busiest_place} and date_livraison>={analysis_all_start} and date_livraison<{analysis_day_after}) "
        "order by date_livraison,inc limit 201) page on inc = page.page_key order by date_livraison,inc");
}

} // namespace

BenchSection analysisSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("analysis_last_day"), QStringLiteral("SELECT DATE(MAX(date_livraison)) FROM livraison")},
        {QStringLiteral("analysis_first_day"), QStringLiteral("SELECT DATE(MIN(date_cde)) FROM cde")},
        // each written into the SQL as a quoted literal
        {QStringLiteral("analysis_day_after"), QStringLiteral("SELECT DATE_ADD({analysis_last_day}, INTERVAL 1 DAY)")},
        {QStringLiteral("analysis_year_start"),
         QStringLiteral("SELECT DATE_ADD(DATE_ADD({analysis_last_day}, INTERVAL -1 YEAR), INTERVAL 1 DAY)")},
        {QStringLiteral("analysis_all_start"), QStringLiteral("SELECT DATE({analysis_first_day})")},
        {QStringLiteral("analysis_pefc_start"),
         QStringLiteral("SELECT DATE_FORMAT(DATE_ADD({analysis_last_day}, INTERVAL -11 MONTH), '%Y-%m-01')")},
        // the customer place with the most chip sales, and its first one
        {QStringLiteral("analysis_busiest_customer"),
         QStringLiteral("SELECT destination FROM livraison WHERE qte_defaut_totale>0 AND destination<>'' AND "
                        "operation IN ('VENTE','VENTE sur ACHAT','TRANSPORT') GROUP BY "
                        "destination ORDER BY COUNT(*) DESC, destination LIMIT 1")},
        {QStringLiteral("analysis_customer_first"),
         QStringLiteral("SELECT inc FROM livraison WHERE qte_defaut_totale>0 AND operation IN "
                        "('VENTE','VENTE sur ACHAT','TRANSPORT') AND destination={analysis_busiest_customer} "
                        "ORDER BY date_livraison, inc LIMIT 1")},
        // the contractor of the directory with the most actions that cost something
        {QStringLiteral("analysis_busiest_contractor"),
         QStringLiteral("SELECT A.I_nom FROM liste_action_liv A JOIN intervenant_possible B ON B.societe=A.I_nom "
                        "WHERE A.i_cout>0 GROUP BY A.I_nom ORDER BY COUNT(*) DESC, A.I_nom LIMIT 1")},
        {QStringLiteral("analysis_busiest_place"),
         QStringLiteral("SELECT lieu_pesage FROM livraison WHERE lieu_pesage IS NOT NULL GROUP BY lieu_pesage "
                        "ORDER BY COUNT(*) DESC, lieu_pesage LIMIT 1")},
    };
    const QString year = QStringLiteral("{analysis_year_start}");
    const QString all = QStringLiteral("{analysis_all_start}");
    // the client's session set as the program's (its names, for the '€' of a union)
    const auto row = [](const QString &name, ActionFunction run, const QString &sql, ActionFunction prepare = {}) {
        return BenchAction{name, std::move(run), sql.isEmpty() ? sql : sessionSetup() + sql, QString(),
                           std::move(prepare)};
    };
    const auto computedRow = [&row](const QString &name, const Computed &c, const QString &sql) {
        return row(name, c.run, sql, c.prepare);
    };
    s.actions = {
        computedRow(QStringLiteral("Analyses : livraisons clients, un an"), sales(false, false, false),
                    salesSql(year, false, false)),
        computedRow(QStringLiteral("Analyses : livraisons clients, vingt ans"), sales(true, false, false),
                    salesSql(all, false, false)),
        computedRow(QStringLiteral("Analyses : livraisons par type de vente, un an"), sales(false, true, false),
                    salesSql(year, true, false)),
        computedRow(QStringLiteral("Analyses : livraisons par type de vente, vingt ans, facturées comprises"),
                    sales(true, true, true), salesSql(all, true, true)),
        row(QStringLiteral("Analyses : détail des livraisons du plus gros client, vingt ans"), salesDetail,
            salesDetailSql(false), screenReady<salesTwentyYears>),
        row(QStringLiteral("Analyses : détail des livraisons du plus gros client imprimé, vingt ans"),
            salesDetailPrinted, salesDetailSql(true), detailReady<salesTwentyYears, salesDetailScreen>),
        computedRow(QStringLiteral("Analyses : coûts intervenants, un an"), contractorCosts(false),
                    contractorSql(year)),
        computedRow(QStringLiteral("Analyses : coûts intervenants, vingt ans"), contractorCosts(true),
                    contractorSql(all)),
        row(QStringLiteral("Analyses : détail des interventions du plus gros intervenant, vingt ans"), contractorDetail,
            QString(), screenReady<contractorsTwentyYears>),
        row(QStringLiteral("Analyses : interventions du plus gros intervenant imprimées, vingt ans"), contractorPrinted,
            QString(), detailReady<contractorsTwentyYears, contractorDetailScreen>),
        row(QStringLiteral("Analyses : solder toutes les interventions du plus gros intervenant (défait après)"),
            contractorSettled, QString(), rememberFlags),
        row(QStringLiteral("Analyses : CVO, un an"), cvo(false), cvoSql(year, false)),
        row(QStringLiteral("Analyses : CVO, vingt ans"), cvo(true), cvoSql(all, false)),
        row(QStringLiteral("Analyses : CVO imprimée, vingt ans"), cvoPrinted, cvoSql(all, true),
            screenReady<cvoTwentyYears>),
        row(QStringLiteral("Analyses : % PEFC au dernier jour"), pefc, pefcSql()),
        computedRow(QStringLiteral("Analyses : lieux de pesage, un an"), weighingPlaces(false), weighingSql(year)),
        computedRow(QStringLiteral("Analyses : lieux de pesage, vingt ans"), weighingPlaces(true), weighingSql(all)),
        row(QStringLiteral("Analyses : livraisons du lieu de pesage le plus chargé, vingt ans"), busiestPlace,
            busiestPlaceSql(), placesReady),
    };
    return s;
}

} // namespace ravelin::bench
