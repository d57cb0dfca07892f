#include "contractorcostsdialog.h"
#include "ui_contractorcostsdialog.h"
#include "ui_contractordetaildialog.h"

#include "analysischarts.h"
#include "analysisdocuments.h"
#include "analysisrunner.h"
#include "analysisscreen.h"
#include "appcontext.h"
#include "chartwidget.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "reportpreview.h"

namespace ravelin {

ContractorCostsDialog::ContractorCostsDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::graphique_fournisseur>()), m_context(context)
{
    m_ui->setupUi(this);
    setWindowState(Qt::WindowMaximized);
    m_runner = new AnalysisRunner(context.db, this);
    m_progress = new AnalysisProgress(*m_runner, m_ui->Label_etat, m_ui->Zone_progression);
    startLastThirtyDays(m_ui->Date_debut, m_ui->Date_fin);

    ListDeclaration contractors;
    contractors.screen = QStringLiteral("graphique_fournisseur");
    contractors.columns = {{QStringLiteral("societe"), QStringLiteral("societe"), QString(), 200},
                           {QStringLiteral("famille_intervenant"), QStringLiteral("Famille"), QString(), 140},
                           {QStringLiteral("total"), QStringLiteral("total (€)"), QStringLiteral("#,##0.00"), 100}};
    contractors.key = QStringLiteral("societe");
    m_list = new ListGrid(context, m_ui->Grille_fournisseur, contractors);
    m_bars = placeChart(m_ui->Zone_barres, redBars(), context.dialogs);
    m_pie = placeChart(m_ui->Zone_camembert, pieWithShares(), context.dialogs);

    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &ContractorCostsDialog::compute);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &ContractorCostsDialog::showDetail);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ContractorCostsDialog::reject);
    // a cancelled computation leaves nothing shown; a cancelled detail leaves the sums
    connect(m_runner, &AnalysisRunner::cancelled, this, [this] {
        if (!m_computing) return;
        m_computing = false;
        clearResults();
    });
}

ContractorCostsDialog::~ContractorCostsDialog() = default;

void ContractorCostsDialog::clearResults()
{
    m_list->setTable(DataTable());
    m_bars->clear();
    m_pie->clear();
    m_ui->Label_total->clear();
}

void ContractorCostsDialog::compute()
{
    ContractorCostFilter filter;
    filter.start = m_ui->Date_debut->date();
    filter.end = m_ui->Date_fin->date();
    filter.family = m_ui->Trier_famille->text().trimmed();
    filter.withZero = m_ui->Voir_zero->isChecked();
    m_computing = true;
    m_runner->run<ContractorCosts>(
        contractorCostSteps(filter), [filter](QSqlDatabase db) { return readContractorCosts(db, filter); },
        [this, filter](Result<ContractorCosts> costs) {
            m_computing = false;
            if (!costs) {
                clearResults();
                m_context.dialogs->error(costs.error());
                return;
            }
            m_computed = filter;
            m_list->setTable(costs->contractors);
            m_bars->setPoints(
                largestBars(chartPoints(costs->contractors, QStringLiteral("societe"), QStringLiteral("total"))));
            m_pie->setPoints(
                chartPoints(costs->families, QStringLiteral("famille_intervenant"), QStringLiteral("total")));
            m_ui->Label_total->setText(formatNumber(costs->total, QStringLiteral("# ##0.00")) + QStringLiteral(" €"));
        });
}

void ContractorCostsDialog::showDetail()
{
    if (m_runner->isBusy()) return;
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const QString societe = m_list->currentValue(QStringLiteral("societe")).toString();
    // read on the worker, from its work table; the screen opens once the rows are there
    m_runner->run<ContractorDetail>(
        {}, [societe](QSqlDatabase db) { return readContractorDetail(db, societe); },
        [this, societe](Result<ContractorDetail> detail) {
            if (!detail) {
                m_context.dialogs->error(detail.error());
                return;
            }
            ContractorDetailDialog screen(m_context, *m_runner, societe, m_computed, *detail, this);
            runModal(screen);
        });
}

ContractorDetailDialog::ContractorDetailDialog(AppContext &context, AnalysisRunner &runner, const QString &societe,
                                               const ContractorCostFilter &filter, const ContractorDetail &detail,
                                               QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_intervention>()), m_context(context), m_runner(runner),
      m_societe(societe), m_filter(filter)
{
    m_ui->setupUi(this);
    m_progress = new AnalysisProgress(runner, m_ui->Label_etat, m_ui->Zone_progression);
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration actions;
    actions.screen = QStringLiteral("detail_intervention");
    auto settled = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("fac_fournisseur")).toString() == QStringLiteral("OUI") ? QColor(0x00FF00)
                                                                                                    : QColor();
    };
    actions.columns = {
        {QStringLiteral("inc"), QStringLiteral("inc"), QString(), 60},
        {QStringLiteral("societe"), QStringLiteral("Societe"), QString(), 160},
        {QStringLiteral("famille_intervenant"), QStringLiteral("famille_intervenant"), QString(), 110},
        {QStringLiteral("date1"), QStringLiteral("date1"), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("type"), QStringLiteral("type"), QString(), 110},
        {QStringLiteral("operation"), QStringLiteral("operation"), QString(), 110},
        {QStringLiteral("destination"), QStringLiteral("destination"), QString(), 140},
        {QStringLiteral("n_lot"), QStringLiteral("n°coupe"), QString(), 70},
        {QStringLiteral("tonnage"), QStringLiteral("Quantite"), QString(), 70},
        {QStringLiteral("unite_liv"), QStringLiteral("unite"), QString(), 50},
        {QStringLiteral("prix_unit"), QStringLiteral("prix_unit"), amounts, 70},
        {QStringLiteral("cout_total"), QStringLiteral("cout_total"), amounts, 80},
        {QStringLiteral("fac_fournisseur"), QStringLiteral("facture fournisseur"), QString(), 80, {}, settled},
        {QStringLiteral("km_route"), QStringLiteral("km_route"), QString(), 60},
        {QStringLiteral("temps_route"), QStringLiteral("temps_route"), QString(), 70},
        {QStringLiteral("depart"), QStringLiteral("depart"), QString(), 140}};
    // an action is told apart by its table and its number there
    actions.key = QStringLiteral("cle");
    m_list = new ListGrid(context, m_ui->Grille_detail, actions);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &ContractorDetailDialog::print);
    connect(m_ui->BtnSolderLigne, &QPushButton::clicked, this, &ContractorDetailDialog::settleSelected);
    connect(m_ui->BtnSolderTout, &QPushButton::clicked, this, &ContractorDetailDialog::settleAll);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ContractorDetailDialog::reject);
    connect(&runner, &AnalysisRunner::cancelled, this, [this] { m_busy = false; });
    setDetail(detail);
}

ContractorDetailDialog::~ContractorDetailDialog()
{
    // a printout or a settling still running does not come back to a screen that has gone
    if (m_busy) m_runner.cancel();
}

void ContractorDetailDialog::setDetail(const ContractorDetail &detail)
{
    m_detail = detail;
    // read with its key (kind and number) on the worker: twenty years of a contractor are thousands
    // of rows
    m_list->setTable(m_detail.actions);
    m_ui->Label_quantite->setText(m_detail.quantities);
    m_ui->Label_cout->setText(formatNumber(m_detail.cost, QStringLiteral("# ###.00")) + QStringLiteral(" €"));
}

void ContractorDetailDialog::print()
{
    if (m_busy || m_runner.isBusy()) return;
    if (m_detail.actions.isEmpty()) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    // laid out on the worker: the actions of twenty years make hundreds of pages
    const ReportData data = contractorCostsData(m_detail, m_societe, m_filter.start, m_filter.end);
    m_busy = true;
    m_runner.run<ReportDocument>(
        {}, [data](QSqlDatabase) { return layoutContractorCosts(data); },
        [this](Result<ReportDocument> document) {
            m_busy = false;
            showReport(document, *m_context.dialogs, QStringLiteral("imp_action_intervenant_analyse"), this);
        });
}

namespace {

// A settling and the detail read again after it: the error of the one, the rows of the other.
struct Settled
{
    Status settled;
    std::optional<ContractorDetail> detail;
};

} // namespace

void ContractorDetailDialog::settle(std::optional<ActionRef> one, const QString &question)
{
    if (m_busy || m_runner.isBusy()) return;
    if (!m_context.require(QStringLiteral("Solder livraison"))) return;
    if (m_detail.actions.isEmpty()) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!m_context.dialogs->yesNo(question, QStringLiteral("Confirmation"))) return;
    const QString societe = m_societe;
    m_busy = true;
    m_runner.run<Settled>(
        {},
        [societe, one](QSqlDatabase db) -> Result<Settled> {
            Settled out{settleContractorActions(db, societe, one), std::nullopt};
            // the detail read again either way: what the work table says now
            if (auto detail = readContractorDetail(db, societe)) out.detail = *detail;
            return out;
        },
        [this](Result<Settled> done) {
            m_busy = false;
            if (!done) return;
            if (!done->settled) m_context.dialogs->error(done->settled.error());
            if (done->detail) setDetail(*done->detail);
        });
}

void ContractorDetailDialog::settleSelected()
{
    if (m_detail.actions.isEmpty() || m_list->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const ActionRef one{m_list->currentValue(QStringLiteral("type")).toString(),
                        m_list->currentValue(QStringLiteral("inc")).toInt()};
    settle(one, QStringLiteral("Voulez vous solder l\"\"intervention sélectionnée ?"));
}

void ContractorDetailDialog::settleAll()
{
    settle(std::nullopt,
           QStringLiteral("Voulez vous solder toutes les interventions de ") + m_societe + QStringLiteral(" ?"));
}

void openContractorCosts(AppContext &context, QWidget *parent)
{
    ContractorCostsDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin
