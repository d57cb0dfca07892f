// The rows of the contractors and customer places (reference/): the contractors tab's three
// grids, the customer list and the place picker.
#include "actionhelpers.h"
#include "benchaction.h"

#include "contractordirectorytab.h"
#include "listgrid.h"
#include "pagedquerymodel.h"
#include "placelistdialog.h"
#include "places.h"
#include "placesearchdialog.h"
#include "ui_placelistdialog.h"
#include "ui_placesearchdialog.h"

#include <QDateEdit>
#include <QLabel>
#include <QTableView>

namespace ravelin::bench {

namespace {

// The contractors tab, created once per company, shown and searched, on the contractor with the
// most actions over the last year of the company's history.
ContractorDirectoryTab *contractorsTab(BenchContext &ctx)
{
    return ctx.object<ContractorDirectoryTab>(QStringLiteral("contractors tab"), [&ctx] {
        auto *tab = new ContractorDirectoryTab(ctx.app);
        tab->resize(1280, 800);
        tab->show();
        tab->search();
        tab->locateContractor(ctx.intParameter(QStringLiteral("busiest_contractor_number")));
        return tab;
    });
}

// Untimed: the contractor and the year whose actions are listed.
ActionResult setActionYear(BenchContext &ctx)
{
    ContractorDirectoryTab *tab = contractorsTab(ctx);
    tab->locateContractor(ctx.intParameter(QStringLiteral("busiest_contractor_number")));
    const QDate start = QDate::fromString(ctx.parameter(QStringLiteral("year_start")), Qt::ISODate);
    const QDate end = QDate::fromString(ctx.parameter(QStringLiteral("year_end")), Qt::ISODate);
    if (auto *d = tab->findChild<QDateEdit *>(QStringLiteral("Date_debut"))) d->setDate(start);
    if (auto *d = tab->findChild<QDateEdit *>(QStringLiteral("Date_fin"))) d->setDate(end);
    ActionResult r;
    r.pending = deferredWork(tab);
    return r;
}

// The contractor's actions of the year as the grid reads them (each select filtering on its own):
// their source and, for the first page, the order and the limit.
QString contractorActionsFrom()
{
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
    return QStringLiteral("(") + selects.join(QStringLiteral(" union all ")) +
           QStringLiteral(") as actions where (b = {busiest_contractor})");
}
QString contractorActionsSql()
{
    return QStringLiteral("select fac_fournisseur,a,b,c,d,e,f,g,h,i,j,inc from ") + contractorActionsFrom() +
           QStringLiteral(" order by e desc,a,inc limit 201");
}

const QString kCustomerCards =
    QStringLiteral("Select ") + placeListColumns().join(QLatin1Char(',')) +
    QStringLiteral(" from destination where (stockage='NON') order by client,destination,inc "
                   "limit 201");
const QString kCustomerCount = QStringLiteral("select count(*) from destination where (stockage='NON')");
const QString kPickerPlaces = QStringLiteral("Select ") + placeListColumns().join(QLatin1Char(',')) +
                              QStringLiteral(" from destination where (stockage<>'BUCHE') order by "
                                             "client,destination,inc limit 201");
const QString kPickerCount = QStringLiteral("select count(*) from destination where (stockage<>'BUCHE')");

// The count of a screen's one paged list, once it has reached its counter.
ActionResult countShown(QWidget *screen, QWidget *counter, std::shared_ptr<void> keep)
{
    paintScreen(screen);
    auto *list = screen->findChild<PagedQueryModel *>();
    ActionResult r;
    r.error = waitForCount(list, screen, counter);
    r.rows = list ? list->totalCount().value_or(-1) : -1;
    r.keep = std::move(keep);
    r.pending = deferredWork(screen);
    return r;
}

} // namespace

BenchSection referenceSection()
{
    BenchSection s;
    s.parameters = {
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
    s.actions = {
        {QStringLiteral("Intervenants : recherche de l'onglet"),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->search();
             ActionResult r = shownList(tab, tab->contractorCount(), {}, {}, tab->contractorList()->view());
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
             return shownList(tab, tab->contactCount(), {}, {}, tab->contactList()->view());
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
             return shownList(tab, tab->actionCount(), {}, {}, tab->actionList()->view());
         },
         contractorActionsSql(), QString(), setActionYear},
        {QStringLiteral("Intervenants : actions sur un an, compte affiché"),
         [](BenchContext &ctx) {
             ContractorDirectoryTab *tab = contractorsTab(ctx);
             tab->showActions();
             paintScreen(tab, tab->actionList()->view());
             ActionResult r;
             r.error = waitForCount(tab->actionList()->pagedModel(), tab, tab->actionList()->declaration().counter);
             r.rows = tab->actionList()->totalCount().value_or(-1);
             r.pending = deferredWork(tab);
             return r;
         },
         contractorActionsSql() + QStringLiteral("; select count(*) from ") + contractorActionsFrom(), QString(),
         setActionYear},
        {QStringLiteral("Liste des clients : ouverture, premières cartes"),
         [](BenchContext &ctx) {
             auto dialog = std::make_shared<PlaceListDialog>(ctx.app);
             return shownList(dialog.get(), dialog->rowCount(), dialog);
         },
         kCustomerCards},
        {QStringLiteral("Liste des clients : ouverture, compte affiché"),
         [](BenchContext &ctx) {
             auto dialog = std::make_shared<PlaceListDialog>(ctx.app);
             return countShown(dialog.get(), dialog->ui()->nb, dialog);
         },
         kCustomerCards + QStringLiteral("; ") + kCustomerCount},
        {QStringLiteral("Sélecteur de lieux chercher_destination : clients et zones"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<PlaceSearchDialog>(ctx.app);
             picker->search(); // its callers search as they open it
             return shownList(picker.get(), picker->rowCount(), picker);
         },
         kPickerPlaces},
        {QStringLiteral("Sélecteur de lieux chercher_destination : clients et zones, compte affiché"),
         [](BenchContext &ctx) {
             auto picker = std::make_shared<PlaceSearchDialog>(ctx.app);
             picker->search();
             return countShown(picker.get(), picker->ui()->nb, picker);
         },
         kPickerPlaces + QStringLiteral("; ") + kPickerCount},
    };
    return s;
}

} // namespace ravelin::bench
