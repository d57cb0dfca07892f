// The rows of the cutting lots (lots/): the lot tab's searches, the lot picker, the log inquiry,
// the lot editor, the recomputation and the progress chart of the biggest lot.
#include "actionhelpers.h"
#include "benchaction.h"

#include "gridmodel.h"
#include "listexport.h"
#include "listgrid.h"
#include "loginquirydialog.h"
#include "loteditor.h"
#include "lotlisttab.h"
#include "lotrecompute.h"
#include "lotstore.h"
#include "measure.h"
#include "pagedquerymodel.h"
#include "progresschart.h"
#include "ui_loginquirydialog.h"
#include "ui_lotlisttab.h"
#include "ui_volumelinepicker.h"
#include "volumelinepicker.h"
#include "volumelines.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

namespace ravelin::bench {

namespace {

// The lot tab, created once per company and shown; each lot action sets its filters before it
// searches.
LotListTab *lotTab(BenchContext &ctx)
{
    return ctx.object<LotListTab>(QStringLiteral("lot tab"), [&ctx] {
        auto *tab = new LotListTab(ctx.app);
        tab->resize(1280, 800);
        tab->show();
        return tab;
    });
}

struct LotFilters
{
    QString number, town, name, buyer;
    bool finished = false;
};

// Untimed: the filters of the lot tab as the user types them (ticking the finished lots box
// searches at once, as on screen).
ActionFunction setLotFilters(LotFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        LotListTab *tab = lotTab(ctx);
        const LotFilters f = filters(ctx);
        tab->ui()->dossier1->setText(f.number);
        tab->ui()->commune1->setText(f.town);
        tab->ui()->nom1->setText(f.name);
        tab->ui()->acheteur1->setText(f.buyer);
        tab->ui()->radio_histo1->setChecked(f.finished);
        ActionResult r;
        r.pending = deferredWork(tab);
        return r;
    };
}

// "Rechercher" on the lot tab, up to the first screenful painted.
ActionResult searchLots(BenchContext &ctx)
{
    LotListTab *tab = lotTab(ctx);
    tab->search();
    return shownList(tab, tab->grid()->rowCount(), {}, {}, tab->list()->view());
}

// The same, up to the count "( nb : … )" painted.
ActionResult searchLotsCounted(BenchContext &ctx)
{
    LotListTab *tab = lotTab(ctx);
    tab->search();
    paintScreen(tab, tab->list()->view());
    ActionResult r;
    r.error = waitForCount(tab->list()->pagedModel(), tab, tab->ui()->Label_nb);
    r.rows = tab->list()->totalCount().value_or(-1);
    r.pending = deferredWork(tab);
    return r;
}

// The log inquiry kept for the actions that search in it, shown once.
LogInquiryDialog *logInquiry(BenchContext &ctx)
{
    return ctx.object<LogInquiryDialog>(QStringLiteral("log inquiry"), [&ctx] {
        auto *inquiry = new LogInquiryDialog(ctx.app);
        inquiry->show();
        return inquiry;
    });
}

// The inquiry's work after a search: its count on the grid's worker, then the lot and order
// panels of the selected log, loaded 200 ms after the selection settles.
std::function<bool()> inquiryWork(LogInquiryDialog *inquiry)
{
    QPointer<LogInquiryDialog> watched(inquiry);
    return deferredWork(inquiry, [watched] { return watched && watched->panelTimer().isActive(); });
}

struct InquiryFilters
{
    QString logNumber, lotNumber;
    bool available = true;
};

// Untimed: the inquiry's fields as the user types them ("DISPONIBLE" searches as it is ticked).
ActionFunction setInquiry(InquiryFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        LogInquiryDialog *inquiry = logInquiry(ctx);
        const InquiryFilters f = filters(ctx);
        inquiry->ui()->N_grume->setText(f.logNumber);
        inquiry->ui()->N_lot->setText(f.lotNumber);
        inquiry->ui()->Disponible->setChecked(f.available);
        ActionResult r;
        r.pending = inquiryWork(inquiry);
        return r;
    };
}

// What the user does in the kept inquiry: "Chercher" (or unticking "DISPONIBLE").
using InquiryStep = void (*)(LogInquiryDialog *);
void clickSearch(LogInquiryDialog *inquiry)
{
    inquiry->ui()->BtnChercher->click();
}
void untickAvailable(LogInquiryDialog *inquiry)
{
    inquiry->ui()->Disponible->setChecked(false);
}

// Up to the first screenful painted.
ActionFunction inquiryFirstScreen(InquiryStep step)
{
    return [step](BenchContext &ctx) {
        LogInquiryDialog *inquiry = logInquiry(ctx);
        step(inquiry);
        ActionResult r = shownList(inquiry, inquiry->logs()->rowCount(), {}, {}, inquiry->list()->view());
        r.pending = inquiryWork(inquiry);
        return r;
    };
}

// Up to the count "( nb … )" painted.
ActionFunction inquiryCounted(InquiryStep step)
{
    return [step](BenchContext &ctx) {
        LogInquiryDialog *inquiry = logInquiry(ctx);
        step(inquiry);
        paintScreen(inquiry, inquiry->list()->view());
        ActionResult r;
        r.error = waitForCount(inquiry->logSource(), inquiry, inquiry->ui()->Label_nb);
        r.rows = inquiry->list()->totalCount().value_or(-1);
        r.pending = inquiryWork(inquiry);
        return r;
    };
}

// "Exporter…" on the log inquiry showing every free log: its columns and formats as on screen,
// the whole list streamed to the file a page of 5,000 logs at a time, the events processed after
// each page as the export's progress does. The memory is sampled after each page: it must stay
// flat however long the list.
ActionFunction exportFreeLogs(ExportFormat format)
{
    return [format](BenchContext &ctx) {
        auto statement = logInquiryQuery(LogInquiry{});
        if (!statement) return failed(statement.error());
        const QString amounts = QStringLiteral("#,##0.00");
        const QList<ExportColumn> columns{{QStringLiteral("n_grume"), QStringLiteral("n_grume"), QString(), 80},
                                          {QStringLiteral("essence"), QStringLiteral("essence"), QString(), 110},
                                          {QStringLiteral("qualite"), QStringLiteral("qualite"), QString(), 90},
                                          {QStringLiteral("classe"), QStringLiteral("classe"), QString(), 50},
                                          {QStringLiteral("diametre"), QStringLiteral("diametre"), amounts, 60},
                                          {QStringLiteral("longueur"), QStringLiteral("longueur"), amounts, 60},
                                          {QStringLiteral("m3"), QStringLiteral("m3"), amounts, 70},
                                          {QStringLiteral("N_lot"), QStringLiteral("N°coupe"), QString(), 70},
                                          {QStringLiteral("livree"), QStringLiteral("livree"), QString(), 50},
                                          {QStringLiteral("lieu"), QStringLiteral("lieu"), QString(), 140},
                                          {QStringLiteral("stock"), QStringLiteral("stock"), QString(), 110},
                                          {QStringLiteral("inc_cde"), QStringLiteral("inc_cde"), QString(), 70}};
        auto *folder = ctx.object<QTemporaryDir>(QStringLiteral("export folder"), [] { return new QTemporaryDir; });
        const QString file = folder->filePath(format == ExportFormat::Csv ? QStringLiteral("grumes.csv")
                                                                          : QStringLiteral("grumes.xlsx"));
        double peak = residentMegabytes();
        auto done = exportList(ctx.db, *statement, columns, file, format, [&peak](qint64) {
            peak = std::max(peak, residentMegabytes());
            QCoreApplication::processEvents();
            return true;
        });
        if (!done) return failed(done.error());
        ActionResult r;
        r.rows = done->rows;
        r.peakResidentMb = peak;
        QFile::remove(file);
        return r;
    };
}

// the first page of the lot tab's list, as the paged list reads it, and its count
const QString kLotWhere = QStringLiteral("( coupe_fini<>'%1' or coupe_fini is null ) %2");
QString lotWhere(const QString &filter, bool finished)
{
    return kLotWhere.arg(finished ? QStringLiteral("rien") : QStringLiteral("OUI"), filter);
}
QString lotCountSql(const QString &filter = QString(), bool finished = false)
{
    return QStringLiteral("select count(*) from coupe where (") + lotWhere(filter, finished) + QLatin1Char(')');
}

const QString kLotPicker = QStringLiteral(
    "select A.unite,A.unite_defaut,A.inc,B.lieu,B.adresse,B.cp,A.descriptif,sum(round(A.qte,0))as m3,"
    "sum(round(ifnull((A.qte_livree),0),3))as a0, sum(round((A.qte-ifnull((A.qte_livree),0)),3))as a1,"
    "sum(round(ifnull((A.qte_defaut),0),3))as d3, sum(round((A.qte_defaut-ifnull((A.qte_livree_defaut),0)),3))as d11,"
    "A.essence,A.qualite,A.n_lot from grume A join coupe B on B.n_lot=A.n_lot "
    "Where (A.descriptif='VOLUME')and(A.livree<>'OUI' or A.livree is null) %1 "
    "group by A.descriptif,A.essence,A.qualite,A.n_lot order by A.essence,A.qualite");
// what the lot editor reads as it opens on a lot (its first volume line and first owner selected)
const QString kLotEditorSql = QStringLiteral(
    "select * from coupe where inc={biggest_lot_inc}; "
    "select inc,essence,qualite,qte,unite,unite_defaut,qte_defaut,round(ifnull((qte_livree),0),3)as a0, "
    "round((qte-ifnull((qte_livree),0)),3)as a1, "
    "round((qte_defaut-ifnull((qte_livree_defaut),0)),3)as a3,round((ifnull((qte_livree_defaut),0)),3)as "
    "a4,sur_pied,abattage,debardage,"
    "broyage_reel,volume_livre,volume_transfert,volume_livre_stock,fin_pied,fin_abattage,abattage_cout,debardage_cout,"
    "remise_etat_cout,"
    "unite as unite_livre,unite as unite_dispo from grume where N_lot={biggest_lot} and descriptif='VOLUME' order by "
    "inc; "
    "SELECT inc_cde,'LIVRAISON'as "
    "type_cde,date_creation,descriptif,essence,qualite,m3,n_lot,lieu,qte_liv,qte_defaut,unite_liv,unite_defaut,"
    "prix_unit,prix_total,stock,(' ') as ticket,(' ') as lettre_voiture FROM liste_grume_cde where n_lot={biggest_lot} "
    "and "
    "(descriptif='GRUME1' or descriptif='VOLUME') union all SELECT (inc)as inc_cde,'PLAQUETTE'as "
    "type_cde,(date_livraison)as date_creation,"
    "'RIEN' as descriptif,essence,qualite,(qte_defaut_totale)as m3,n_lot,(destination) as "
    "lieu,qte_liv_totale,qte_defaut_totale,unite_liv,"
    "unite_defaut,'0' as prix_unit,prix_total,'PLA' as stock,ticket,lettre_voiture FROM livraison where "
    "n_lot={biggest_lot} union all "
    "SELECT inc_transfert,'TRANSFERT'as type_cde,date_creation,descriptif,essence,qualite,m3,n_lot,destination as "
    "lieu,qte_liv,qte_defaut,"
    "unite_liv,unite_defaut,prix_unit,prix_total,stock,(' ') as ticket,(' ') as lettre_voiture FROM "
    "liste_grume_transfert "
    "where depart={biggest_lot} and type_transfert='COUPE' order by date_creation; "
    "select inc, type_proprietaire, nom, N_parcelle, estimation, cout_total, pro_adresse, pro_ville, pro_cp from "
    "proprietaire where N_lot={biggest_lot} order by nom, inc; "
    "select essence, qualite, qte, unite, qte_reel, unite as unite_reel, `long`, prix_unit, prix_total, unite_defaut, "
    "qte_defaut, nom, N_lot, indice_lot "
    "from proprietaire_essence where N_lot={biggest_lot} and ifnull(nom, '')={biggest_lot_owner}; "
    "select sum(qte_defaut), sum(round(ifnull(qte_defaut, 0) - ifnull(qte_livree_defaut, 0), 3)), "
    "sum(round(ifnull(qte_livree_defaut, 0), 3)) "
    "from grume where N_lot={biggest_lot} and descriptif='VOLUME'; "
    "select inc, essence, qualite, qte, unite, fin_pied, fin_abattage, abattage_cout, debardage_cout, remise_etat_cout "
    "from grume "
    "where N_lot={biggest_lot} and descriptif='VOLUME' order by inc; "
    "select inc, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, i_cout from intervention where "
    "type1='ABATTAGE' "
    "and N_lot={biggest_lot} and id={biggest_lot_line} order by I_nom, inc; "
    "select inc, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, i_cout from intervention where "
    "type1='DEBARDAGE' "
    "and N_lot={biggest_lot} and id={biggest_lot_line} order by I_nom, inc; "
    "select inc, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, i_cout from intervention where "
    "type1<>'DEBARDAGE' "
    "and type1<>'ABATTAGE' and N_lot={biggest_lot} and id={biggest_lot_line} order by I_nom, inc");

// The log inquiry's statements as its paged list builds them, for a filter `where`: the first page
// (every free log: its keys read from the free logs' index, then their rows) and the count, which
// the grid runs on its worker's connection.
const QString kLogColumns =
    QStringLiteral("inc,n_grume,essence,qualite,classe,diametre,longueur,m3,N_lot,livree,lieu,stock,inc_cde");
QString logPage(const QString &where, bool freeLogsIndex = false)
{
    if (freeLogsIndex)
        return QStringLiteral("select ") + kLogColumns +
               QStringLiteral(" from grume join (select inc as page_key from grume force index (idx_grume_free) "
                              "where (") +
               where + QStringLiteral(") order by inc desc limit 201) page on inc = page.page_key order by inc desc");
    return QStringLiteral("select ") + kLogColumns + QStringLiteral(" from grume where (") + where +
           QStringLiteral(") order by inc desc limit 201");
}
QString logCount(const QString &where)
{
    return QStringLiteral("select count(*) from grume where (") + where + QLatin1Char(')');
}
const QString kFreeLogsWhere = QStringLiteral("N_grume is not null and descriptif='GRUME' and inc_cde is null");
const QString kLotLogsWhere =
    QStringLiteral("N_grume is not null and descriptif='GRUME' and N_lot={biggest_lot} and inc_cde is null");
const QString kLogNumberWhere =
    QStringLiteral("N_grume is not null and descriptif='GRUME' and N_grume={log_number} and inc_cde is null");
const QString kAllLogsWhere = QStringLiteral("N_grume is not null and descriptif='GRUME'");
// every free log, in the log inquiry's order: what scrolling it to its end or exporting it reads
const QString kFreeLogs = QStringLiteral("select ") + kLogColumns + QStringLiteral(" from grume where ") +
                          kFreeLogsWhere + QStringLiteral(" order by inc desc");

} // namespace

QString lotPageSql(const QString &filter, bool finished)
{
    return QStringLiteral("select inc,n_lot,date_achat,type_achat,lieu,estimation,nom,cp,N_parcelle,acheteur,"
                          "abattage_cout,date_alerte,date_fin,coupe_fini from coupe where (") +
           lotWhere(filter, finished) + QStringLiteral(") order by n_lot desc,inc desc limit 201");
}

BenchSection lotSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("biggest_lot"),
         QStringLiteral(
             "SELECT N_lot FROM grume WHERE descriptif='GRUME' GROUP BY N_lot ORDER BY COUNT(*) DESC, N_lot LIMIT 1")},
        {QStringLiteral("biggest_lot_inc"), QStringLiteral("SELECT inc FROM coupe WHERE n_lot = {biggest_lot}")},
        {QStringLiteral("biggest_lot_line"),
         QStringLiteral("SELECT MIN(inc) FROM grume WHERE N_lot = {biggest_lot} AND descriptif='VOLUME'")},
        {QStringLiteral("biggest_lot_owner"),
         QStringLiteral(
             "SELECT ifnull(nom, '') FROM proprietaire WHERE N_lot = {biggest_lot} ORDER BY nom, inc LIMIT 1")},
        // the number of the last free log entered, as the user reads it on its label
        {QStringLiteral("log_number"),
         QStringLiteral("SELECT n_grume FROM grume WHERE descriptif='GRUME' AND inc_cde IS NULL AND n_grume IS NOT "
                        "NULL ORDER BY inc DESC LIMIT 1")},
        {QStringLiteral("lot_filter"), QStringLiteral("SELECT LEFT(MAX(n_lot), 2) FROM coupe")},
        {QStringLiteral("commune"), QStringLiteral("SELECT lieu FROM coupe WHERE coupe_fini<>'OUI' OR coupe_fini IS "
                                                   "NULL GROUP BY lieu ORDER BY COUNT(*) DESC, lieu LIMIT 1")},
        {QStringLiteral("owner"), QStringLiteral("SELECT 'Commune'")},
        {QStringLiteral("buyer"),
         QStringLiteral(
             "SELECT SUBSTRING_INDEX(acheteur, '+', 1) FROM coupe WHERE coupe_fini<>'OUI' OR coupe_fini IS NULL "
             "GROUP BY SUBSTRING_INDEX(acheteur, '+', 1) ORDER BY COUNT(*) DESC LIMIT 1")},
        {QStringLiteral("species"), QStringLiteral("SELECT 'Chêne'")},
    };
    const auto noFilter = [](BenchContext &) { return LotFilters{}; };
    const auto everyFreeLog = [](BenchContext &) { return InquiryFilters{}; };
    const auto oneLot = [](BenchContext &ctx) {
        return InquiryFilters{QString(), ctx.parameter(QStringLiteral("biggest_lot"))};
    };
    const auto oneNumber = [](BenchContext &ctx) {
        return InquiryFilters{ctx.parameter(QStringLiteral("log_number"))};
    };
    s.actions = {
        {QStringLiteral("Coupes : recherche sans filtre"), searchLots, lotPageSql(), QString(),
         setLotFilters(noFilter)},
        {QStringLiteral("Coupes : recherche sans filtre, compte affiché"), searchLotsCounted,
         lotPageSql() + QStringLiteral("; ") + lotCountSql(), QString(), setLotFilters(noFilter)},
        {QStringLiteral("Coupes : filtre N° Coupe"), searchLots,
         lotPageSql(QStringLiteral("and n_lot like concat('%', {lot_filter}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) { return LotFilters{ctx.parameter(QStringLiteral("lot_filter"))}; })},
        {QStringLiteral("Coupes : filtre Commune"), searchLots,
         lotPageSql(QStringLiteral("and lieu like concat('%', {commune}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), ctx.parameter(QStringLiteral("commune"))};
         })},
        {QStringLiteral("Coupes : filtre Nom"), searchLots,
         lotPageSql(QStringLiteral("and nom like concat('%', {owner}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), QString(), ctx.parameter(QStringLiteral("owner"))};
         })},
        {QStringLiteral("Coupes : filtre Acheteur"), searchLots,
         lotPageSql(QStringLiteral("and acheteur like concat('%', {buyer}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), QString(), QString(), ctx.parameter(QStringLiteral("buyer"))};
         })},
        {QStringLiteral("Coupes : terminées comprises"), searchLots, lotPageSql(QString(), true), QString(),
         setLotFilters([](BenchContext &) {
             return LotFilters{QString(), QString(), QString(), QString(), true};
         })},
        {QStringLiteral("Sélecteur liste_n_lot sans filtre"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<VolumeLinePicker>(ctx.app); // searches as it opens
             return shownList(picker.get(), picker->lines()->rowCount(), picker);
         },
         kLotPicker.arg(QString())},
        {QStringLiteral("Sélecteur liste_n_lot, une essence"),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<VolumeLinePicker>(QStringLiteral("lot picker"),
                                                         [&ctx] { return new VolumeLinePicker(ctx.app); });
             picker->search();
             return shownList(picker, picker->lines()->rowCount(), {}, {}, picker->ui()->Grille_produits);
         },
         kLotPicker.arg(QStringLiteral("and A.essence like concat('%', {species}, '%')")), QString(),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<VolumeLinePicker>(QStringLiteral("lot picker"),
                                                         [&ctx] { return new VolumeLinePicker(ctx.app); });
             picker->ui()->Essence->setText(ctx.parameter(QStringLiteral("species")));
             return ActionResult{};
         }},
        {QStringLiteral("info_grume : ouverture sur toutes les grumes disponibles, premier écran"),
         [](BenchContext &ctx) {
             // searches as it opens, "DISPONIBLE" ticked; shown as the menu shows it
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app);
             ActionResult r = shownList(inquiry.get(), inquiry->logs()->rowCount(), inquiry);
             r.pending = inquiryWork(inquiry.get());
             return r;
         },
         logPage(kFreeLogsWhere, true)},
        {QStringLiteral("info_grume : ouverture sur toutes les grumes disponibles, compte affiché"),
         [](BenchContext &ctx) {
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app);
             paintScreen(inquiry.get());
             ActionResult r;
             r.error = waitForCount(inquiry->logSource(), inquiry.get(), inquiry->ui()->Label_nb);
             r.rows = inquiry->list()->totalCount().value_or(-1);
             r.keep = inquiry;
             r.pending = inquiryWork(inquiry.get());
             return r;
         },
         logPage(kFreeLogsWhere, true) + QStringLiteral("; ") + logCount(kFreeLogsWhere)},
        {QStringLiteral("info_grume : recherche par n° de grume, premier écran"), inquiryFirstScreen(clickSearch),
         logPage(kLogNumberWhere), QString(), setInquiry(oneNumber)},
        {QStringLiteral("info_grume : recherche par n° de grume, compte affiché"), inquiryCounted(clickSearch),
         logPage(kLogNumberWhere) + QStringLiteral("; ") + logCount(kLogNumberWhere), QString(), setInquiry(oneNumber)},
        {QStringLiteral("info_grume : « DISPONIBLE » décoché (toutes les grumes), premier écran"),
         inquiryFirstScreen(untickAvailable), logPage(kAllLogsWhere), QString(), setInquiry(everyFreeLog)},
        {QStringLiteral("info_grume : « DISPONIBLE » décoché (toutes les grumes), compte affiché"),
         inquiryCounted(untickAvailable), logPage(kAllLogsWhere) + QStringLiteral("; ") + logCount(kAllLogsWhere),
         QString(), setInquiry(everyFreeLog)},
        {QStringLiteral("info_grume : une coupe, premier écran"), inquiryFirstScreen(clickSearch),
         logPage(kLotLogsWhere), QString(), setInquiry(oneLot)},
        {QStringLiteral("info_grume : une coupe, compte affiché"), inquiryCounted(clickSearch),
         logPage(kLotLogsWhere) + QStringLiteral("; ") + logCount(kLotLogsWhere), QString(), setInquiry(oneLot)},
        {QStringLiteral("info_grume : toutes les grumes disponibles, défilées jusqu'à la dernière"),
         [](BenchContext &ctx) {
             // the worst a user can do: scroll the whole list down, a page at a time, the screen
             // answering between two pages
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app);
             PagedQueryModel *logs = inquiry->logSource();
             while (logs->canFetchMore()) {
                 logs->fetchMore();
                 QCoreApplication::processEvents();
             }
             ActionResult r;
             r.rows = logs->rowCount();
             if (logs->lastError()) r.error = logs->lastError()->message;
             r.keep = inquiry;
             r.pending = inquiryWork(inquiry.get());
             return r;
         },
         kFreeLogs},
        {QStringLiteral("info_grume : exporter toutes les grumes disponibles en CSV"),
         exportFreeLogs(ExportFormat::Csv), kFreeLogs},
        {QStringLiteral("info_grume : exporter toutes les grumes disponibles en XLSX"),
         exportFreeLogs(ExportFormat::Xlsx), kFreeLogs},
        {QStringLiteral("Éditeur de lot : la plus grosse coupe"),
         [](BenchContext &ctx) {
             auto lot = loadLot(ctx.db, ctx.intParameter(QStringLiteral("biggest_lot_inc")));
             if (!lot) return failed(lot.error());
             auto editor = std::make_shared<LotEditor>(ctx.app, *lot, false);
             ActionResult r = shownList(editor.get(), editor->volumeLines()->rowCount(), editor);
             return r;
         },
         kLotEditorSql},
        {QStringLiteral("Recalcul de la plus grosse coupe"),
         [](BenchContext &ctx) {
             const Status done = recomputeLot(ctx.db, ctx.intParameter("biggest_lot"));
             return done ? ActionResult{} : failed(done.error());
         },
         QStringLiteral("select * from grume where (n_lot={biggest_lot} and descriptif='VOLUME'); "
                        "select id, sum(qte_defaut) from liste_grume_cde where n_lot={biggest_lot} and "
                        "descriptif='VOLUME' and choix_depart='COUPE' group by id; "
                        "select id, sum(qte_defaut_totale) from livraison where n_lot={biggest_lot} group by id; "
                        "select id, sum(qte_defaut) from liste_grume_transfert where type_transfert='COUPE' and "
                        "depart={biggest_lot} group by id; "
                        "select id, sum(qte_defaut) from liste_grume_cde where n_lot={biggest_lot} and "
                        "descriptif='VOLUME' and choix_depart='STOCK' group by id")},
        {QStringLiteral("Graphique d'avancement de la plus grosse coupe"),
         [](BenchContext &ctx) {
             // the lot tab's chart area, read and painted as the chart timer does
             auto *chart = ctx.object<ProgressChart>(QStringLiteral("progress chart"), [&ctx] {
                 auto *c = new ProgressChart(ctx.app);
                 c->resize(460, 420);
                 return c;
             });
             chart->clear();
             chart->showLot(ctx.intParameter(QStringLiteral("biggest_lot")));
             const QPixmap painted = chart->grab();
             ActionResult r;
             r.rows = painted.isNull() ? -1 : chart->picture().scrollMaximum / 100; // the volume lines drawn
             return r;
         },
         QStringLiteral("select *, round(ifnull((qte_livree),0),3)as a0, round((qte-ifnull((qte_livree),0)),3)as a1 "
                        "from grume where N_lot={biggest_lot} and descriptif='VOLUME' order by inc")},
    };
    return s;
}

} // namespace ravelin::bench
