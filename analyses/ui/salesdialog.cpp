#include "salesdialog.h"
#include "ui_salesdetaildialog.h"
#include "ui_salesdialog.h"

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

#include <QTableView>

namespace ravelin {

SalesDialog::SalesDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::graphique_tonnage>()), m_context(context)
{
    m_ui->setupUi(this);
    setWindowState(Qt::WindowMaximized);
    m_runner = new AnalysisRunner(context.db, this);
    m_progress = new AnalysisProgress(*m_runner, m_ui->Label_etat, m_ui->Zone_progression);
    startLastThirtyDays(m_ui->Date_debut, m_ui->Date_fin);
    m_ui->Par_client->setChecked(true);

    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration sales;
    sales.screen = QStringLiteral("graphique_tonnage");
    sales.columns = {
        {QStringLiteral("nom"), QStringLiteral("nom"), QString(), 200},
        {QStringLiteral("t1"), QStringLiteral("Montant €"), amounts, 100},
        {QStringLiteral("t2"), QStringLiteral("Quantité (") + context.defaultUnit() + QLatin1Char(')'), amounts, 100},
        {QStringLiteral("moy_qte"), QStringLiteral("Qte moy"), QString(), 70},
        {QStringLiteral("moy_humidite"), QStringLiteral("moy humid"), QString(), 70},
        {QStringLiteral("nb"), QStringLiteral("nb liv."), QString(), 50},
        {QStringLiteral("moy_nom"), QStringLiteral("moy/liv"), QString(), 70}};
    sales.key = QStringLiteral("nom");
    m_list = new ListGrid(context, m_ui->Grille_tonnage, sales);
    m_bars = placeChart(m_ui->Zone_barres, redBars(), context.dialogs);
    m_pie = placeChart(m_ui->Zone_camembert, pieWithShares(), context.dialogs);

    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &SalesDialog::compute);
    connect(m_ui->Par_client, &QRadioButton::clicked, this, &SalesDialog::compute);
    connect(m_ui->Par_type, &QRadioButton::clicked, this, &SalesDialog::compute);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &SalesDialog::showDetail);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &SalesDialog::reject);
    // a cancelled computation leaves nothing shown; a cancelled detail or printout leaves the sums
    connect(m_runner, &AnalysisRunner::cancelled, this, [this] {
        if (!m_computing) return;
        m_computing = false;
        clearResults();
    });
}

SalesDialog::~SalesDialog() = default;

void SalesDialog::clearResults()
{
    m_list->setTable(DataTable());
    m_bars->clear();
    m_pie->clear();
    m_ui->Label_total_factures->clear();
    m_ui->Label_total_volume->clear();
}

void SalesDialog::compute()
{
    SalesFilter filter;
    filter.start = m_ui->Date_debut->date();
    filter.end = m_ui->Date_fin->date();
    filter.grouping = m_ui->Par_type->isChecked() ? SalesGrouping::Kind : SalesGrouping::Customer;
    filter.invoiced = m_ui->Inclure_facturees->isChecked();
    m_computing = true;
    m_runner->run<DataTable>(salesSteps(filter), readSalesSummary, [this, filter](Result<DataTable> rows) {
        m_computing = false;
        if (!rows) {
            clearResults();
            m_context.dialogs->error(rows.error());
            return;
        }
        m_computed = filter;
        m_ui->Label_calcul->setText(m_ui->BtnCalcul->text());
        double amount = 0, quantity = 0;
        for (int r = 0; r < rows->rowCount(); ++r) {
            amount += rows->value(r, QStringLiteral("t1")).toDouble();
            quantity += rows->value(r, QStringLiteral("t2")).toDouble();
        }
        m_ui->Label_total_factures->setText(formatNumber(amount, QStringLiteral("# ##0.00")) + QStringLiteral(" €"));
        m_ui->Label_total_volume->setText(formatNumber(quantity, QStringLiteral("# ##0")) + QLatin1Char(' ') +
                                          m_context.defaultUnit());
        m_list->setTable(*rows);
        const auto points = chartPoints(*rows, QStringLiteral("nom"), QStringLiteral("t1"));
        m_bars->setPoints(largestBars(points));
        m_pie->setPoints(points);
    });
}

void SalesDialog::showDetail()
{
    if (m_runner->isBusy()) return;
    if (m_list->rowCount() == 0 || m_list->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const SalesFilter filter = m_computed;
    const QVariant nom = m_list->currentValue(QStringLiteral("nom"));
    const double amount = m_list->currentValue(QStringLiteral("t1")).toDouble();
    const double quantity = m_list->currentValue(QStringLiteral("t2")).toDouble();
    const QString unit = m_context.defaultUnit();
    // the rows are read on the worker; the screen opens once they are there
    m_runner->run<DataTable>(
        {}, [filter, nom, unit](QSqlDatabase db) { return readSalesDetail(db, filter, nom, unit); },
        [this, filter, nom, amount, quantity](Result<DataTable> rows) {
            if (!rows) {
                m_context.dialogs->error(rows.error());
                return;
            }
            if (rows->isEmpty()) {
                m_context.dialogs->message(noRecordMessage());
                return;
            }
            SalesDetailDialog detail(m_context, *m_runner, filter, nom, amount, quantity, *rows, this);
            runModal(detail);
        });
}

SalesDetailDialog::SalesDetailDialog(AppContext &context, AnalysisRunner &runner, const SalesFilter &filter,
                                     const QVariant &nom, double amount, double quantity, const DataTable &rows,
                                     QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_analyse_tonnage>()), m_context(context), m_runner(runner),
      m_filter(filter), m_nom(nom), m_amount(amount), m_quantity(quantity)
{
    m_ui->setupUi(this);
    m_progress = new AnalysisProgress(runner, m_ui->Label_etat, m_ui->Zone_progression);
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration detail;
    detail.screen = QStringLiteral("detail_analyse_tonnage");
    detail.columns = {{QStringLiteral("inc"), QStringLiteral("inc"), QString(), 60},
                      {QStringLiteral("client"), QStringLiteral("client"), QString(), 160},
                      {QStringLiteral("date_cde"), QStringLiteral("date_cde"), QStringLiteral("dd/mm/yyyy"), 80},
                      {QStringLiteral("type_cde"), QStringLiteral("type_cde"), QString(), 100},
                      {QStringLiteral("u3"), QStringLiteral("u3"), QString(), 80},
                      {QStringLiteral("Ville_liv"), QStringLiteral("Ville_liv"), QString(), 100},
                      {QStringLiteral("pays_liv"), QStringLiteral("pays_liv"), QString(), 70},
                      {QStringLiteral("qte_liv_totale"), QStringLiteral("Qte livrée"), amounts, 80},
                      {QStringLiteral("unite_liv"), QStringLiteral("unite"), QString(), 50},
                      {QStringLiteral("mwh"), QStringLiteral("mwh"), amounts, 70},
                      {QStringLiteral("N_cde_client"), QStringLiteral("N_cde_client"), QString(), 90},
                      {QStringLiteral("prix_vente"), QStringLiteral("prix_vente"), amounts, 90},
                      {QStringLiteral("u2"), QStringLiteral("u2"), QString(), 30},
                      {QStringLiteral("unite_vente"), QStringLiteral("unite_vente"), QString(), 70}};
    detail.key = QStringLiteral("inc");
    m_list = new ListGrid(context, m_ui->Grille_detail, detail);
    ListDeclaration lines;
    lines.screen = QStringLiteral("detail_analyse_tonnage_lignes");
    lines.columns = {{QStringLiteral("source"), QStringLiteral("source"), QString(), 90},
                     {QStringLiteral("essence"), QStringLiteral("essence"), QString(), 110},
                     {QStringLiteral("qualite"), QStringLiteral("qualite"), QString(), 110},
                     {QStringLiteral("qte_liv"), QStringLiteral("qte_liv"), amounts, 80},
                     {QStringLiteral("unite_liv"), QStringLiteral("unite_liv"), QString(), 60},
                     {QStringLiteral("prix_unit"), QStringLiteral("prix_unit"), amounts, 80},
                     {QStringLiteral("prix_total"), QStringLiteral("prix_total"), amounts, 90},
                     {QStringLiteral("n_lot"), QStringLiteral("n_lot"), QString(), 60},
                     {QStringLiteral("humidite"), QStringLiteral("humidite"), QString(), 60},
                     {QStringLiteral("total_MWH"), QStringLiteral("total_MWH"), amounts, 80}};
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_lignes, lines);

    const QString unit = context.defaultUnit();
    m_ui->Label_total_vente->setText(QStringLiteral("Total Vente : ") +
                                     formatNumber(amount, QStringLiteral("# ###.##")) + QStringLiteral(" €"));
    m_ui->Label_total_quantite->setText(QStringLiteral("Total quantité : ") +
                                        formatNumber(quantity, QStringLiteral("# ###.##")) + QLatin1Char(' ') + unit);
    m_detailReload.setSingleShot(true);
    m_detailReload.setInterval(50);
    m_detailReload.setObjectName(QStringLiteral("DetailReload"));
    connect(&m_detailReload, &QTimer::timeout, this, &SalesDetailDialog::loadLines);
    connect(m_list, &ListGrid::currentRowChanged, this, [this] { m_detailReload.start(); });
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &SalesDetailDialog::print);
    connect(&runner, &AnalysisRunner::cancelled, this, [this] { m_printing = false; });
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &SalesDetailDialog::reject);

    m_list->setTable(rows);
    loadLines();
}

SalesDetailDialog::~SalesDetailDialog()
{
    // lines still being read are not delivered to a screen that has gone
    if (m_linesTicket) m_runner.worker().cancel(m_linesTicket);
    if (m_printing) m_runner.cancel();
}

void SalesDetailDialog::loadLines()
{
    m_detailReload.stop();
    if (m_linesTicket) m_runner.worker().cancel(m_linesTicket);
    m_linesTicket = 0;
    if (m_list->currentRow() < 0) {
        m_lines->setTable(DataTable());
        return;
    }
    const QString u3 = m_list->currentValue(QStringLiteral("u3")).toString();
    const int inc = m_list->currentValue(QStringLiteral("inc")).toInt();
    const bool mwh = soldByMwh(m_list->currentValue(QStringLiteral("unite_vente")).toString());
    m_linesTicket = m_runner.worker().run([u3, inc](QSqlDatabase db) { return readPricedLines(db, u3, inc); },
                                          [this, mwh](Result<DataTable> lines) {
                                              m_linesTicket = 0;
                                              // an error leaves the lines as they were
                                              if (!lines) return;
                                              m_lines->setTable(*lines);
                                              for (const char *column : {"humidite", "total_MWH"}) {
                                                  const int c = lines->columnIndex(QString::fromLatin1(column));
                                                  if (c >= 0) m_ui->Grille_lignes->setColumnHidden(c, !mwh);
                                              }
                                          });
}

void SalesDetailDialog::print()
{
    if (m_runner.isBusy()) return;
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const SalesFilter filter = m_filter;
    const QVariant nom = m_nom;
    const QString unit = m_context.defaultUnit();
    const double amount = m_amount;
    const double quantity = m_quantity;
    m_printing = true;
    // twenty years of a customer make thousands of bands: they are read and laid out on the
    // worker, the screen free meanwhile (and "Annuler" there)
    m_runner.run<ReportDocument>(
        {},
        [filter, nom, unit, amount, quantity](QSqlDatabase db) -> Result<ReportDocument> {
            auto rows = readSalesDetail(db, filter, nom, unit);
            if (!rows) return rows.error();
            auto lines = readAllPricedLines(db, filter, nom);
            if (!lines) return lines.error();
            return layoutSalesDetail(
                salesDetailData(*rows, *lines, nom.toString(), amount, quantity, unit, filter.start, filter.end));
        },
        [this](Result<ReportDocument> document) {
            m_printing = false;
            showReport(document, *m_context.dialogs, QStringLiteral("imp_detail_livraison"), this,
                       [](ReportPreview &preview) { preview.setOriginMarker(deliveryDetailMarker()); });
        });
}

void openSales(AppContext &context, QWidget *parent)
{
    SalesDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin
