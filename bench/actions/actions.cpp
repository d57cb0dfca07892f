// The benchmark's table of user actions. Each row names the action as the user knows it, runs it
// through the program's own operations and screens, and gives the SQL the mariadb client runs for
// the same rows. A later piece of work adds its actions here, one row each; a row without `run`
// is listed as still to be wired, and its client time is measured already.
#include "benchaction.h"

#include "contractors.h"
#include "listexport.h"
#include "loginquirydialog.h"
#include "loteditor.h"
#include "lotlisttab.h"
#include "lotstore.h"
#include "measure.h"
#include "volumelines.h"
#include "gridhelpers.h"
#include "mainwindow.h"
#include "modal.h"
#include "pagedquerymodel.h"
#include "signindialog.h"
#include "ui_lotlisttab.h"
#include "ui_loginquirydialog.h"
#include "ui_signindialog.h"
#include "ui_volumelinepicker.h"
#include "volumelinepicker.h"
#include "contractordirectorytab.h"
#include "counters.h"
#include "database.h"
#include "lotrecompute.h"
#include "placelistdialog.h"
#include "placesearchdialog.h"
#include "progresschart.h"
#include "places.h"
#include "serverconfig.h"
#include "settings.h"
#include "startup.h"
#include "users.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace ravelin::bench {

namespace {

ActionResult failed(const Error &e)
{
    ActionResult r;
    r.error = e.message + (e.detail.isEmpty() ? QString() : QStringLiteral(" (") + e.detail + QLatin1Char(')'));
    return r;
}

// A folder with the Serveur_config.INI of the context's server, as installed beside the program.
QString applicationFolder(BenchContext &ctx)
{
    auto *dir = ctx.object<QTemporaryDir>(QStringLiteral("application folder"), [] { return new QTemporaryDir; });
    IniFile ini;
    const QString s = QStringLiteral("SERVEUR");
    ini.setValue(s, QStringLiteral("host"), ctx.config.host.isEmpty() ? QStringLiteral("localhost") : ctx.config.host);
    ini.setValue(s, QStringLiteral("host_distant"),
                 ctx.config.host.isEmpty() ? QStringLiteral("localhost") : ctx.config.host);
    ini.setValue(s, QStringLiteral("database"), ctx.database);
    ini.setValue(s, QStringLiteral("user"), ctx.config.user);
    ini.setValue(s, QStringLiteral("password"), ctx.config.password);
    ini.setValue(s, QStringLiteral("port"), QString::number(ctx.config.port));
    if (!ctx.config.socket.isEmpty()) ini.setValue(s, QStringLiteral("socket"), ctx.config.socket);
    if (Status saved = ini.save(dir->path() + QLatin1Char('/') + configFileName()); !saved)
        qFatal("%s", qPrintable(saved.error().fullText()));
    return dir->path();
}

// The contractors tab, created once per company and searched, on the contractor with the most
// actions over the last year of the company's history.
ContractorDirectoryTab *contractorsTab(BenchContext &ctx)
{
    return ctx.object<ContractorDirectoryTab>(QStringLiteral("contractors tab"), [&ctx] {
        auto *tab = new ContractorDirectoryTab(ctx.app);
        tab->search();
        tab->locateContractor(ctx.intParameter(QStringLiteral("busiest_contractor_number")));
        return tab;
    });
}

// The lot tab, created once per company; each lot action sets its filters before it searches.
LotListTab *lotTab(BenchContext &ctx)
{
    return ctx.object<LotListTab>(QStringLiteral("lot tab"), [&ctx] { return new LotListTab(ctx.app); });
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
        return ActionResult{};
    };
}

// Waits for the count of a list, which its grid runs on a connection of its own after the first
// page: the time until the counter shows it. Gives the error met, empty when counted.
QString waitForCount(PagedQueryModel *list)
{
    if (!list) return QStringLiteral("no list shown");
    if (list->totalCount()) return QString();
    QEventLoop loop;
    QString error;
    QObject::connect(list, &PagedQueryModel::counted, &loop, &QEventLoop::quit);
    QObject::connect(list, &PagedQueryModel::failed, &loop, [&](const Error &e) {
        error = e.message;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    if (error.isEmpty() && !list->totalCount()) error = QStringLiteral("the count did not arrive");
    return error;
}

ActionResult searchLots(BenchContext &ctx)
{
    LotListTab *tab = lotTab(ctx);
    tab->search();
    ActionResult r;
    r.rows = tab->grid()->rowCount();
    return r;
}

// The program as a user opens it: Serveur_config.INI, the connection and settings, the main
// window with every tab, the sign-in (admin) and the lot tab's first search.
struct OpenedProgram
{
    StartupState state;
    AppContext context;
    std::unique_ptr<MainWindow> window;
    ~OpenedProgram() { window.reset(); }
};

ActionResult openProgram(BenchContext &ctx)
{
    auto started = startProgram(ctx.parameter(QStringLiteral("application_folder")), MainWindow::versionText());
    if (!started) return failed(started.error());
    auto opened = std::make_shared<OpenedProgram>();
    opened->state = *started;
    opened->context.db = started->db;
    opened->context.dialogs = &ctx.dialogs;
    opened->context.settings = started->settings;
    opened->context.applicationFolder = started->applicationFolder;
    opened->window = std::make_unique<MainWindow>(opened->context);
    const ModalRunner previous = setModalRunner([](QDialog &d) {
        auto *signIn = qobject_cast<SignInDialog *>(&d);
        if (!signIn) return int(QDialog::Rejected);
        signIn->ui()->Edit_mot_passe->setText(QStringLiteral("admin"));
        signIn->ui()->BtnOK->click();
        return signIn->result();
    });
    opened->window->firstActivation();
    setModalRunner(previous);
    ActionResult r;
    if (opened->window->ended()) r.error = QStringLiteral("the program ended at sign-in");
    auto *tab = opened->window->findChild<LotListTab *>();
    r.rows = tab ? tab->grid()->rowCount() : -1;
    r.connection = started->db.connectionName();
    r.keep = opened;
    return r;
}

// "Exporter…" on the log inquiry showing every free log: its columns and formats as on screen,
// the whole list streamed to the file a page of 5,000 logs at a time. The memory is sampled after
// each page: it must stay flat however long the list.
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

QString sessionSetup()
{
    return QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci; SET SESSION sql_mode='") + sessionSqlMode() +
           QStringLiteral("'; SET SESSION innodb_lock_wait_timeout=15; ");
}

QString contractorActionsSql()
{
    // the first page of contractorActions(), with the parameters written in
    QStringList selects;
    const QList<QPair<QString, QString>> sources = {
        {QStringLiteral("LIV. GRUME"), QStringLiteral("liste_action_cde")},
        {QStringLiteral("LIV. PLAQUETTE"), QStringLiteral("liste_action_liv")},
        {QStringLiteral("TRANSFERT"), QStringLiteral("liste_action_transfert")},
        {QStringLiteral("COUPE"), QStringLiteral("intervention")}};
    for (const auto &[kind, table] : sources)
        selects
            << QStringLiteral(
                   "SELECT fac_fournisseur,('%1') as a, i_nom as b, N_lot as c, Indice_lot as d, i_date as e, "
                   "CONVERT(qte_action, SIGNED INTEGER) as f, i_cout as g, (0) as h, type1 as i, unite_action as j, "
                   "inc FROM %2 where i_nom = {busiest_contractor} and qte_action is not null and "
                   "i_date>={year_start} and i_date<={year_end}")
                   .arg(kind, table);
    return QStringLiteral("select fac_fournisseur,a,b,c,d,e,f,g,h,i,j,inc from (") +
           selects.join(QStringLiteral(" union all ")) +
           QStringLiteral(") as actions where (b = {busiest_contractor}) order by e desc,a,inc limit 201");
}

// the first page of the lot tab's list, as the paged list reads it
const QString kLotPage = QStringLiteral(
    "select "
    "inc,n_lot,date_achat,type_achat,lieu,estimation,nom,cp,N_parcelle,acheteur,abattage_cout,date_alerte,date_fin,"
    "coupe_fini "
    "from coupe where (( coupe_fini<>'%1' or coupe_fini is null ) %2) order by n_lot desc,inc desc limit 201");
QString lotPage(const QString &filter = QString(), bool finished = false)
{
    return kLotPage.arg(finished ? QStringLiteral("rien") : QStringLiteral("OUI"), filter);
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

// the first page of the log inquiry and its count, as the paged list reads them
// every free log, in the log inquiry's order: what scrolling it to its end or exporting it reads
const QString kFreeLogs = QStringLiteral(
    "select inc,n_grume,essence,qualite,classe,diametre,longueur,m3,N_lot,livree,lieu,stock,inc_cde from grume "
    "where N_grume is not null and descriptif='GRUME' and inc_cde is null order by inc desc");
const QString kLogInquiryPage = QStringLiteral(
    "select inc,n_grume,essence,qualite,classe,diametre,longueur,m3,N_lot,livree,lieu,stock,inc_cde from grume "
    "where (N_grume is not null and descriptif='GRUME' %1 and inc_cde is null) order by inc desc limit 201");
const QString kLogInquiryCount = QStringLiteral(
    "select count(*) from grume where N_grume is not null and descriptif='GRUME' %1 and inc_cde is null");

} // namespace

const QList<BenchParameter> &benchParameters()
{
    static const QList<BenchParameter> parameters{
        {QStringLiteral("biggest_lot"),
         QStringLiteral(
             "SELECT N_lot FROM grume WHERE descriptif='GRUME' GROUP BY N_lot ORDER BY COUNT(*) DESC, N_lot LIMIT 1")},
        {QStringLiteral("biggest_lot_inc"),
         QStringLiteral("SELECT inc FROM coupe WHERE n_lot = (SELECT N_lot FROM grume WHERE descriptif='GRUME' "
                        "GROUP BY N_lot ORDER BY COUNT(*) DESC, N_lot LIMIT 1)")},
        {QStringLiteral("biggest_lot_line"),
         QStringLiteral("SELECT MIN(inc) FROM grume WHERE N_lot = {biggest_lot} AND descriptif='VOLUME'")},
        {QStringLiteral("biggest_lot_owner"),
         QStringLiteral(
             "SELECT ifnull(nom, '') FROM proprietaire WHERE N_lot = {biggest_lot} ORDER BY nom, inc LIMIT 1")},
        {QStringLiteral("lot_filter"), QStringLiteral("SELECT LEFT(MAX(n_lot), 2) FROM coupe")},
        {QStringLiteral("commune"), QStringLiteral("SELECT lieu FROM coupe WHERE coupe_fini<>'OUI' OR coupe_fini IS "
                                                   "NULL GROUP BY lieu ORDER BY COUNT(*) DESC, lieu LIMIT 1")},
        {QStringLiteral("owner"), QStringLiteral("SELECT 'Commune'")},
        {QStringLiteral("buyer"),
         QStringLiteral(
             "SELECT SUBSTRING_INDEX(acheteur, '+', 1) FROM coupe WHERE coupe_fini<>'OUI' OR coupe_fini IS NULL "
             "GROUP BY SUBSTRING_INDEX(acheteur, '+', 1) ORDER BY COUNT(*) DESC LIMIT 1")},
        {QStringLiteral("species"), QStringLiteral("SELECT 'Chêne'")},
        {QStringLiteral("year_end"), QStringLiteral("SELECT MAX(i_date) FROM liste_action_liv")},
        {QStringLiteral("year_start"),
         QStringLiteral("SELECT DATE_SUB(MAX(i_date), INTERVAL 1 YEAR) FROM liste_action_liv")},
        {QStringLiteral("busiest_contractor"),
         QStringLiteral(
             "SELECT i_nom FROM (SELECT i_nom FROM liste_action_liv WHERE i_date >= (SELECT DATE_SUB(MAX(i_date), "
             "INTERVAL 1 YEAR) "
             "FROM liste_action_liv) UNION ALL SELECT i_nom FROM liste_action_cde WHERE i_date >= (SELECT "
             "DATE_SUB(MAX(i_date), "
             "INTERVAL 1 YEAR) FROM liste_action_liv)) a GROUP BY i_nom ORDER BY COUNT(*) DESC, i_nom LIMIT 1")},
        {QStringLiteral("busiest_contractor_number"),
         QStringLiteral(
             "SELECT num_intervenant_possible FROM intervenant_possible WHERE societe = {busiest_contractor}")},
    };
    return parameters;
}

const QList<BenchAction> &benchActions()
{
    static const QList<BenchAction> actions{
        // --- start-up, sign-in, settings and counters (core/, app/)
        {QStringLiteral("Démarrage : Serveur_config.INI, connexion, paramètres"),
         [](BenchContext &ctx) {
             auto started = startProgram(ctx.parameter(QStringLiteral("application_folder")), QStringLiteral("bench"));
             if (!started) return failed(started.error());
             ActionResult r;
             r.keep = std::make_shared<StartupState>(*started);
             r.connection = started->db.connectionName();
             return r;
         },
         sessionSetup() + QStringLiteral("select * from perso; select version_UPDATE from perso"), QString(),
         [](BenchContext &ctx) {
             ctx.parameters.insert(QStringLiteral("application_folder"), applicationFolder(ctx));
             return ActionResult{};
         }},
        {QStringLiteral("Connexion de l'utilisateur : mot de passe et droits"),
         [](BenchContext &ctx) {
             auto user = signIn(ctx.db, QStringLiteral("admin"));
             if (!user) return failed(user.error());
             auto rights = Rights::load(ctx.db, *user);
             if (!rights) return failed(rights.error());
             return ActionResult{};
         },
         QStringLiteral(
             "select Utilisateur from mot_passe where Mot_passe = 'admin' COLLATE utf8mb4_bin order by inc limit 1; "
             "select Utilisateur, Page, Autorisation from detail_mot_passe")},
        {QStringLiteral("Paramètres : lecture de perso"),
         [](BenchContext &ctx) {
             auto settings = loadSettings(ctx.db);
             return settings ? ActionResult{} : failed(settings.error());
         },
         QStringLiteral("select * from perso")},
        {QStringLiteral("Compteurs : lecture et n° de lot proposé"),
         [](BenchContext &ctx) {
             auto counters = loadCounters(ctx.db);
             if (!counters) return failed(counters.error());
             auto proposed = proposeNextCounter(ctx.db, Counter::NLot);
             return proposed ? ActionResult{} : failed(proposed.error());
         },
         QStringLiteral("select * from increment; select n_lot from increment")},

        // --- cutting lots (lots/)
        {QStringLiteral("Ouverture du programme jusqu'à la liste des coupes"), openProgram,
         sessionSetup() + QStringLiteral("select * from perso; select version_UPDATE from perso; ") +
             QStringLiteral("select Utilisateur, Page, Autorisation from detail_mot_passe; "
                            "select Utilisateur from mot_passe where Mot_passe = 'admin' COLLATE utf8mb4_bin order by "
                            "inc limit 1; ") +
             lotPage(),
         QString(),
         [](BenchContext &ctx) {
             ctx.parameters.insert(QStringLiteral("application_folder"), applicationFolder(ctx));
             return ActionResult{};
         }},
        {QStringLiteral("Coupes : recherche sans filtre"), searchLots, lotPage(), QString(),
         setLotFilters([](BenchContext &) { return LotFilters{}; })},
        {QStringLiteral("Coupes : filtre N° Coupe"), searchLots,
         lotPage(QStringLiteral("and n_lot like concat('%', {lot_filter}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) { return LotFilters{ctx.parameter(QStringLiteral("lot_filter"))}; })},
        {QStringLiteral("Coupes : filtre Commune"), searchLots,
         lotPage(QStringLiteral("and lieu like concat('%', {commune}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), ctx.parameter(QStringLiteral("commune"))};
         })},
        {QStringLiteral("Coupes : filtre Nom"), searchLots,
         lotPage(QStringLiteral("and nom like concat('%', {owner}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), QString(), ctx.parameter(QStringLiteral("owner"))};
         })},
        {QStringLiteral("Coupes : filtre Acheteur"), searchLots,
         lotPage(QStringLiteral("and acheteur like concat('%', {buyer}, '%')")), QString(),
         setLotFilters([](BenchContext &ctx) {
             return LotFilters{QString(), QString(), QString(), ctx.parameter(QStringLiteral("buyer"))};
         })},
        {QStringLiteral("Coupes : terminées comprises"), searchLots, lotPage(QString(), true), QString(),
         setLotFilters([](BenchContext &) {
             return LotFilters{QString(), QString(), QString(), QString(), true};
         })},
        {QStringLiteral("Sélecteur liste_n_lot sans filtre"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<VolumeLinePicker>(ctx.app); // searches as it opens
             ActionResult r;
             r.rows = picker->lines()->rowCount();
             r.keep = picker;
             return r;
         },
         kLotPicker.arg(QString())},
        {QStringLiteral("Sélecteur liste_n_lot, une essence"),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<VolumeLinePicker>(QStringLiteral("lot picker"),
                                                         [&ctx] { return new VolumeLinePicker(ctx.app); });
             picker->search();
             ActionResult r;
             r.rows = picker->lines()->rowCount();
             return r;
         },
         kLotPicker.arg(QStringLiteral("and A.essence like concat('%', {species}, '%')")), QString(),
         [](BenchContext &ctx) {
             auto *picker = ctx.object<VolumeLinePicker>(QStringLiteral("lot picker"),
                                                         [&ctx] { return new VolumeLinePicker(ctx.app); });
             picker->ui()->Essence->setText(ctx.parameter(QStringLiteral("species")));
             return ActionResult{};
         }},
        {QStringLiteral("info_grume : toutes les grumes disponibles, premier écran"),
         [](BenchContext &ctx) {
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app); // searches as it opens, the box ticked
             ActionResult r;
             r.rows = inquiry->logs()->rowCount();
             // its count runs meanwhile on the grid's own connection; closing the screen stops it
             r.keep = inquiry;
             return r;
         },
         kLogInquiryPage.arg(QString())},
        {QStringLiteral("info_grume : toutes les grumes disponibles, avec le compte"),
         [](BenchContext &ctx) {
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app);
             ActionResult r;
             r.error = waitForCount(inquiry->logSource()); // counted on the grid's own connection
             r.rows = inquiry->logSource()->totalCount().value_or(-1);
             r.keep = inquiry;
             return r;
         },
         kLogInquiryPage.arg(QString()) + QStringLiteral("; ") + kLogInquiryCount.arg(QString())},
        {QStringLiteral("info_grume : toutes les grumes disponibles, défilées jusqu'à la dernière"),
         [](BenchContext &ctx) {
             // the worst a user can do: scroll the whole list down, a page at a time
             auto inquiry = std::make_shared<LogInquiryDialog>(ctx.app);
             PagedQueryModel *logs = inquiry->logSource();
             while (logs->canFetchMore()) logs->fetchMore();
             ActionResult r;
             r.rows = logs->rowCount();
             if (logs->lastError()) r.error = logs->lastError()->message;
             r.keep = inquiry;
             return r;
         },
         kFreeLogs},
        {QStringLiteral("info_grume : exporter toutes les grumes disponibles en CSV"),
         exportFreeLogs(ExportFormat::Csv), kFreeLogs},
        {QStringLiteral("info_grume : exporter toutes les grumes disponibles en XLSX"),
         exportFreeLogs(ExportFormat::Xlsx), kFreeLogs},
        {QStringLiteral("info_grume : une coupe"),
         [](BenchContext &ctx) {
             auto *inquiry = ctx.object<LogInquiryDialog>(QStringLiteral("log inquiry"),
                                                          [&ctx] { return new LogInquiryDialog(ctx.app); });
             inquiry->search();
             ActionResult r;
             r.error = waitForCount(inquiry->logSource());
             r.rows = inquiry->logSource()->totalCount().value_or(-1);
             return r;
         },
         kLogInquiryPage.arg(QStringLiteral("and N_lot={biggest_lot}")) + QStringLiteral("; ") +
             kLogInquiryCount.arg(QStringLiteral("and N_lot={biggest_lot}")),
         QString(),
         [](BenchContext &ctx) {
             auto *inquiry = ctx.object<LogInquiryDialog>(QStringLiteral("log inquiry"),
                                                          [&ctx] { return new LogInquiryDialog(ctx.app); });
             inquiry->ui()->N_lot->setText(ctx.parameter(QStringLiteral("biggest_lot")));
             return ActionResult{};
         }},
        {QStringLiteral("Éditeur de lot : la plus grosse coupe"),
         [](BenchContext &ctx) {
             auto lot = loadLot(ctx.db, ctx.intParameter(QStringLiteral("biggest_lot_inc")));
             if (!lot) return failed(lot.error());
             auto editor = std::make_shared<LotEditor>(ctx.app, *lot, false);
             ActionResult r;
             r.rows = editor->volumeLines()->rowCount();
             r.keep = editor;
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
                        "descriptif='VOLUME' and choix_depart='STOCK' group by id"),
         QString()},
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
                        "from grume where N_lot={biggest_lot} and descriptif='VOLUME' order by inc"),
         QString()},

        // --- contractors and customer places (reference/)
        {QStringLiteral("Intervenants : recherche de l'onglet"),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->search();
             ActionResult r;
             r.rows = tab->contractorCount();
             tab->locateContractor(ctx.intParameter(QStringLiteral("busiest_contractor_number")));
             return r;
         },
         QStringLiteral(
             "select "
             "num_intervenant_possible,societe,famille_intervenant,cout_tonne,cout_heure,cout_surface,cout_volume,"
             "cout_stere from intervenant_possible where (num_intervenant_possible>0) "
             "order by societe,num_intervenant_possible limit 1001")},
        {QStringLiteral("Intervenants : contacts de l'intervenant"),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->loadContacts();
             ActionResult r;
             r.rows = tab->contactCount();
             return r;
         },
         QStringLiteral(
             "select A.inc,A.num_contact,A.civilite,A.Nom as nom,A.prenom,A.portable,A.tel as "
             "Tel,A.fonction as Fonction,"
             "A.email,A.Divers from contact A where (A.num_intervenant_possible={busiest_contractor_number}) "
             "order by nom,prenom,inc limit 201")},
        {QStringLiteral("Intervenants : actions sur un an"),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->showActions();
             ActionResult r;
             r.rows = tab->actionCount();
             return r;
         },
         contractorActionsSql(), QString(),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->locateContractor(ctx.intParameter(QStringLiteral("busiest_contractor_number")));
             const QDate start = QDate::fromString(ctx.parameter(QStringLiteral("year_start")), Qt::ISODate);
             const QDate end = QDate::fromString(ctx.parameter(QStringLiteral("year_end")), Qt::ISODate);
             if (auto *d = tab->findChild<QDateEdit *>(QStringLiteral("Date_debut"))) d->setDate(start);
             if (auto *d = tab->findChild<QDateEdit *>(QStringLiteral("Date_fin"))) d->setDate(end);
             return ActionResult{};
         }},
        {QStringLiteral("Liste des clients : ouverture, premières cartes"),
         [](BenchContext &ctx) {
             auto dialog = std::make_shared<PlaceListDialog>(ctx.app);
             ActionResult r;
             r.rows = dialog->rowCount();
             r.keep = dialog;
             return r;
         },
         QStringLiteral("Select ") + placeListColumns().join(QLatin1Char(',')) +
             QStringLiteral(" from destination where (stockage='NON') order by client,destination,inc limit 201")},
        {QStringLiteral("Sélecteur de lieux chercher_destination : clients et zones"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<PlaceSearchDialog>(ctx.app);
             picker->search(); // its callers search as they open it
             ActionResult r;
             r.rows = picker->rowCount();
             r.keep = picker;
             return r;
         },
         QStringLiteral("Select ") + placeListColumns().join(QLatin1Char(',')) +
             QStringLiteral(" from destination where (stockage<>'BUCHE') order by client,destination,inc limit 201")},
    };
    return actions;
}

} // namespace ravelin::bench
