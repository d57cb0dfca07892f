// The rows of the program's start-up: Serveur_config.INI and the connection, the sign-in, the
// settings and counters (core/), and the whole opening up to the lot list painted (app/).
#include "actionhelpers.h"
#include "benchaction.h"

#include "counters.h"
#include "gridmodel.h"
#include "lotlisttab.h"
#include "mainwindow.h"
#include "modal.h"
#include "settings.h"
#include "signindialog.h"
#include "startup.h"
#include "ui_signindialog.h"
#include "users.h"

#include <QTimer>

namespace ravelin::bench {

namespace {

// The program as a user opens it: Serveur_config.INI, the connection and settings, the main
// window with every tab, the sign-in (admin), the lot tab's first search, the window painted.
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
    auto *tab = opened->window->findChild<LotListTab *>();
    // the lot list painted; the progress chart of the selected lot follows on the window's timer
    MainWindow *window = opened->window.get();
    ActionResult r = shownList(window, tab ? tab->grid()->rowCount() : -1, opened,
                               [window] { return window->chartTimer()->isActive(); });
    if (opened->window->ended()) r.error = QStringLiteral("the program ended at sign-in");
    r.connection = started->db.connectionName();
    return r;
}

ActionResult writeApplicationFolder(BenchContext &ctx)
{
    ctx.parameters.insert(QStringLiteral("application_folder"), applicationFolder(ctx));
    return ActionResult{};
}

} // namespace

BenchSection startupSection()
{
    BenchSection s;
    // the lot the lot tab selects first: the highest number of the lots not finished
    s.parameters = {{QStringLiteral("newest_lot"),
                     QStringLiteral("SELECT n_lot FROM coupe WHERE coupe_fini<>'OUI' OR coupe_fini IS NULL ORDER BY "
                                    "n_lot DESC, inc DESC LIMIT 1")}};
    s.actions = {
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
         writeApplicationFolder},
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
        {QStringLiteral("Ouverture du programme jusqu'à la liste des coupes affichée"), openProgram,
         sessionSetup() + QStringLiteral("select * from perso; select version_UPDATE from perso; ") +
             QStringLiteral("select Utilisateur, Page, Autorisation from detail_mot_passe; "
                            "select Utilisateur from mot_passe where Mot_passe = 'admin' COLLATE utf8mb4_bin order by "
                            "inc limit 1; ") +
             lotPageSql() +
             // the progress chart of the lot selected first, drawn 50 ms after the list shows
             QStringLiteral("; select *, round(ifnull((qte_livree),0),3)as a0, round((qte-ifnull((qte_livree),0)),3)as "
                            "a1 from grume where N_lot={newest_lot} and descriptif='VOLUME' order by inc"),
         QString(), writeApplicationFolder},
    };
    return s;
}

} // namespace ravelin::bench
