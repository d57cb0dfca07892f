// The rows of the analyses (analyses/): each analysis over the last year of the company and over
// all of it, computed on the screen's own worker connection; the screen is waited for until its
// result is shown, the user-interface thread watched by the harness meanwhile.
#include "actionhelpers.h"
#include "benchaction.h"

#include "analysisrunner.h"
#include "contractorcostsdialog.h"
#include "listgrid.h"
#include "otheranalysisdialogs.h"
#include "salesdialog.h"
#include "ui_contractorcostsdialog.h"
#include "ui_cvodialog.h"
#include "ui_salesdialog.h"
#include "ui_weighingplacesdialog.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>

#include <functional>

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

// Waits, events running, until the runner has delivered (or a minute has gone).
QString waitFor(AnalysisRunner &runner)
{
    QElapsedTimer waited;
    waited.start();
    while (runner.isBusy() && waited.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return runner.isBusy() ? QStringLiteral("toujours en cours après une minute") : QString();
}

template <typename Screen> std::shared_ptr<Screen> openScreen(BenchContext &ctx)
{
    auto screen = std::make_shared<Screen>(ctx.app);
    screen->resize(1280, 800);
    screen->show();
    return screen;
}

// A screen opened on the row's period, `prepare` choosing its options, then computed and waited
// for until its result is shown; the rows are those of `shown`.
template <typename Screen>
ActionFunction computed(bool allYears, std::function<void(Screen &)> prepare, std::function<int(Screen &)> shown)
{
    return [=](BenchContext &ctx) {
        auto screen = openScreen<Screen>(ctx);
        const Period p = periodOf(ctx, allYears);
        screen->ui()->Date_debut->setDate(p.start);
        screen->ui()->Date_fin->setDate(p.end);
        if (prepare) prepare(*screen);
        screen->compute();
        ActionResult r = shownList(screen.get(), 0, screen);
        r.error = waitFor(screen->runner());
        r.rows = shown(*screen);
        return r;
    };
}

ActionFunction sales(bool allYears, bool perKind, bool invoiced)
{
    return computed<SalesDialog>(
        allYears,
        [=](SalesDialog &screen) {
            screen.ui()->Inclure_facturees->setChecked(invoiced);
            (perKind ? screen.ui()->Par_type : screen.ui()->Par_client)->setChecked(true);
        },
        [](SalesDialog &screen) { return screen.list()->rowCount(); });
}

ActionFunction contractorCosts(bool allYears)
{
    return computed<ContractorCostsDialog>(allYears, {},
                                           [](ContractorCostsDialog &screen) { return screen.list()->rowCount(); });
}

ActionFunction cvo(bool allYears)
{
    return [=](BenchContext &ctx) {
        auto screen = openScreen<CvoDialog>(ctx);
        const Period p = periodOf(ctx, allYears);
        screen->ui()->Date_debut->setDate(p.start);
        screen->ui()->Date_fin->setDate(p.end);
        screen->compute();
        return shownList(screen.get(), screen->list()->rowCount(), screen, {}, screen->list()->view());
    };
}

ActionResult pefc(BenchContext &ctx)
{
    auto screen = openScreen<PefcDialog>(ctx);
    ActionResult r = shownList(screen.get(), 0, screen);
    r.error = waitFor(screen->runner());
    r.rows = screen->list()->rowCount();
    return r;
}

ActionFunction weighingPlaces(bool allYears)
{
    return computed<WeighingPlacesDialog>(allYears, {},
                                          [](WeighingPlacesDialog &screen) { return screen.places()->rowCount(); });
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

QString weighingSql(const QString &from)
{
    return QStringLiteral("select count(*) as nb, lieu_pesage from livraison where lieu_pesage is not null and "
                          "date_livraison>=") +
           from + QStringLiteral(" and date_livraison<{analysis_day_after} group by lieu_pesage order by lieu_pesage");
}

} // namespace

BenchSection analysisSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("analysis_last_day"), QStringLiteral("SELECT DATE(MAX(date_livraison)) FROM livraison")},
        {QStringLiteral("analysis_first_day"), QStringLiteral("SELECT DATE(MIN(date_cde)) FROM cde")},
        {QStringLiteral("analysis_day_after"),
         QStringLiteral("SELECT concat('''', DATE_ADD('{analysis_last_day}', INTERVAL 1 DAY), '''')")},
        {QStringLiteral("analysis_year_start"),
         QStringLiteral("SELECT concat('''', DATE_ADD('{analysis_last_day}', INTERVAL -1 YEAR), '''')")},
        {QStringLiteral("analysis_all_start"), QStringLiteral("SELECT concat('''', '{analysis_first_day}', '''')")},
    };
    const QString year = QStringLiteral("{analysis_year_start}");
    const QString all = QStringLiteral("{analysis_all_start}");
    s.actions = {
        {QStringLiteral("Analyses : livraisons clients, un an"), sales(false, false, false),
         salesSql(year, false, false)},
        {QStringLiteral("Analyses : livraisons clients, vingt ans"), sales(true, false, false),
         salesSql(all, false, false)},
        {QStringLiteral("Analyses : livraisons par type de vente, vingt ans, facturées comprises"),
         sales(true, true, true), salesSql(all, true, true)},
        {QStringLiteral("Analyses : coûts intervenants, un an"), contractorCosts(false), QString()},
        {QStringLiteral("Analyses : coûts intervenants, vingt ans"), contractorCosts(true), QString()},
        {QStringLiteral("Analyses : CVO, vingt ans"), cvo(true), QString()},
        {QStringLiteral("Analyses : % PEFC"), pefc, QString()},
        {QStringLiteral("Analyses : lieux de pesage, un an"), weighingPlaces(false), weighingSql(year)},
        {QStringLiteral("Analyses : lieux de pesage, vingt ans"), weighingPlaces(true), weighingSql(all)},
    };
    return s;
}

} // namespace ravelin::bench
