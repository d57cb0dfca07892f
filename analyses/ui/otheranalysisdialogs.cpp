#include "otheranalysisdialogs.h"
#include "ui_cvodialog.h"
#include "ui_pefcdialog.h"
#include "ui_weighingplacesdialog.h"

#include "analysisdocuments.h"
#include "analysisrunner.h"
#include "analysisscreen.h"
#include "appcontext.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "pagedquerymodel.h"
#include "reportpreview.h"

#include <QTableView>

namespace ravelin {

CvoDialog::CvoDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::analyse_cvo>()), m_context(context)
{
    m_ui->setupUi(this);
    setWindowState(Qt::WindowMaximized);
    m_runner = new AnalysisRunner(context.db, this);
    m_progress = new AnalysisProgress(*m_runner, m_ui->Label_etat, m_ui->Zone_progression);
    startLastThirtyDays(m_ui->Date_debut, m_ui->Date_fin);
    ListDeclaration lots;
    lots.screen = QStringLiteral("analyse_cvo");
    lots.columns = {{QStringLiteral("Nom"), QStringLiteral("Nom"), QString(), 200},
                    {QStringLiteral("Lieu"), QStringLiteral("lieu"), QString(), 140},
                    {QStringLiteral("CVO"), QStringLiteral("CVO (€)"), QStringLiteral("#,##0.00"), 80, {}, {}, true},
                    {QStringLiteral("Date_achat"), QStringLiteral("Date_achat"), QStringLiteral("dd/mm/yyyy"), 80},
                    {QStringLiteral("N_lot"), QStringLiteral("N°coupe"), QString(), 70},
                    {QStringLiteral("Indice_lot"), QStringLiteral("Indice"), QString(), 50},
                    {QStringLiteral("CP"), QStringLiteral("CP"), QString(), 60},
                    {QStringLiteral("adresse"), QStringLiteral("adresse"), QString(), 200},
                    {QStringLiteral("N_parcelle"), QStringLiteral("N_parcelle"), QString(), 100}};
    lots.key = QStringLiteral("inc");
    m_list = new ListGrid(context, m_ui->Grille_cvo, lots);
    connect(m_list, &ListGrid::counted, this, &CvoDialog::showTotal);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &CvoDialog::compute);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &CvoDialog::print);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &CvoDialog::reject);
}

CvoDialog::~CvoDialog() = default;

void CvoDialog::compute()
{
    m_start = m_ui->Date_debut->date();
    m_end = m_ui->Date_fin->date();
    m_query = cvoQuery(m_start, m_end, m_ui->Nom->text().trimmed());
    m_ui->Label_total->setText(QStringLiteral("…"));
    if (Status shown = m_list->setQuery(m_query); !shown) {
        m_context.dialogs->error(shown.error());
        return;
    }
    m_computed = true;
}

void CvoDialog::showTotal()
{
    m_ui->Label_total->setText(formatNumber(m_list->sum(QStringLiteral("CVO")).toDouble(), QStringLiteral("# ##0")));
}

void CvoDialog::print()
{
    if (m_runner->isBusy()) return;
    if (!m_computed || m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    // every row, not only the pages read on screen: read and laid out on the worker
    const PagedQuery query = m_query;
    const QString company = m_context.settings.value(QStringLiteral("nom")).toString();
    const QDate start = m_start;
    const QDate end = m_end;
    m_runner->run<ReportDocument>(
        {},
        [query, company, start, end](QSqlDatabase db) -> Result<ReportDocument> {
            auto lots = readCvo(db, query);
            if (!lots) return lots.error();
            double total = 0;
            for (int r = 0; r < lots->rowCount(); ++r) total += lots->value(r, QStringLiteral("cvo")).toDouble();
            return layoutCvo(cvoData(*lots, company, total, start, end));
        },
        [this](Result<ReportDocument> document) {
            showReport(document, *m_context.dialogs, QStringLiteral("imp_cvo"), this);
        });
}

PefcDialog::PefcDialog(AppContext &context, QWidget *parent, const QDate &today)
    : QDialog(parent), m_ui(std::make_unique<Ui::analyse_PEFC_coupe>()), m_context(context), m_today(today)
{
    m_ui->setupUi(this);
    m_runner = new AnalysisRunner(context.db, this);
    m_progress = new AnalysisProgress(*m_runner, m_ui->Label_etat, m_ui->Zone_progression);
    const PefcPeriod period = pefcPeriod(m_today);
    m_ui->Date_debut->setDate(period.start);
    m_ui->Date_fin->setDate(period.end);
    m_ui->Date_debut->setReadOnly(true);
    m_ui->Date_fin->setReadOnly(true);
    m_ui->Label_unite->setText(context.defaultUnit());

    const PefcTable headings = pefcTable({}, m_today);
    ListDeclaration table;
    table.screen = QStringLiteral("analyse_PEFC_coupe");
    const auto silver = [](const ListGrid &, int) { return QColor(0xC0, 0xC0, 0xC0); };
    table.columns = {{QStringLiteral("titre"), QString(), QString(), 200, Qt::AlignLeft | Qt::AlignVCenter, silver}};
    for (int k = 0; k < 12; ++k)
        table.columns.append(
            {QStringLiteral("m%1").arg(k + 1), headings.cells[0][k], QString(), 70, Qt::AlignRight | Qt::AlignVCenter});
    table.rowColour = [](const ListGrid &, int row) {
        // rows 1, 5 and 9 are headings, row 15 the cumulated credit
        if (row == 0 || row == 4 || row == 8) return QColor(0xA6, 0xA6, 0xFF);
        if (row == 14) return QColor(0x00, 0xFF, 0x00);
        return QColor();
    };
    table.key = QStringLiteral("titre");
    m_list = new ListGrid(context, m_ui->Grille_pefc, table);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &PefcDialog::compute);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &PefcDialog::reject);
    connect(m_runner, &AnalysisRunner::cancelled, this, [this] { m_list->setTable(DataTable()); });
    compute();
}

PefcDialog::~PefcDialog() = default;

void PefcDialog::compute()
{
    const PefcPeriod period = pefcPeriod(m_today);
    const QDate today = m_today;
    m_runner->run<PefcMonths>(
        {}, [period](QSqlDatabase db) { return readPefcMonths(db, period); },
        [this, today](Result<PefcMonths> months) {
            if (!months) {
                m_list->setTable(DataTable());
                m_context.dialogs->error(months.error());
                return;
            }
            m_list->setTable(pefcDataTable(pefcTable(*months, today)));
        });
}

WeighingPlacesDialog::WeighingPlacesDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Graphique_lieu_pesage>()), m_context(context)
{
    m_ui->setupUi(this);
    m_runner = new AnalysisRunner(context.db, this);
    m_progress = new AnalysisProgress(*m_runner, m_ui->Label_etat, m_ui->Zone_progression);
    startLastThirtyDays(m_ui->Date_debut, m_ui->Date_fin);
    ListDeclaration places;
    places.screen = QStringLiteral("Graphique_lieu_pesage");
    places.columns = {{QStringLiteral("nb"), QStringLiteral("nb pesage"), QString(), 70, Qt::AlignCenter},
                      {QStringLiteral("lieu_pesage"), QStringLiteral("Lieu de pesage"), QString(), 200}};
    places.key = QStringLiteral("lieu_pesage");
    m_places = new ListGrid(context, m_ui->Grille_lieux, places);
    ListDeclaration deliveries;
    deliveries.screen = QStringLiteral("Graphique_lieu_pesage_livraisons");
    deliveries.columns = {
        {QStringLiteral("lieu_pesage"), QStringLiteral("Lieu de pesage"), QString(), 160},
        {QStringLiteral("operation"), QStringLiteral("operation"), QString(), 100},
        {QStringLiteral("date_livraison"), QStringLiteral("date_livraison"), QStringLiteral("dd/mm/yyyy"), 90},
        {QStringLiteral("tonnage"), QStringLiteral("tonnage"), QStringLiteral("#,##0.00"), 70},
        {QStringLiteral("depart"), QStringLiteral("depart"), QString(), 160},
        {QStringLiteral("destination"), QStringLiteral("destination"), QString(), 160}};
    deliveries.key = QStringLiteral("inc");
    m_deliveries = new ListGrid(context, m_ui->Grille_livraisons, deliveries);
    connect(m_places, &ListGrid::currentRowChanged, this, &WeighingPlacesDialog::showPlace);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &WeighingPlacesDialog::compute);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &WeighingPlacesDialog::reject);
    connect(m_runner, &AnalysisRunner::cancelled, this, [this] {
        m_places->setTable(DataTable());
        m_deliveries->setTable(DataTable());
    });
}

WeighingPlacesDialog::~WeighingPlacesDialog() = default;

void WeighingPlacesDialog::compute()
{
    const QDate start = m_ui->Date_debut->date();
    const QDate end = m_ui->Date_fin->date();
    m_runner->run<DataTable>(
        {}, [start, end](QSqlDatabase db) { return readWeighingPlaces(db, start, end); },
        [this, start, end](Result<DataTable> places) {
            if (!places) {
                m_context.dialogs->error(places.error());
                return;
            }
            m_start = start;
            m_end = end;
            // the first place's deliveries read once, not again for the selection the new rows make
            m_fillingPlaces = true;
            m_places->setTable(*places);
            m_fillingPlaces = false;
            showPlace();
        });
}

void WeighingPlacesDialog::showPlace()
{
    if (m_fillingPlaces) return;
    if (m_places->currentRow() < 0) {
        m_deliveries->setTable(DataTable());
        return;
    }
    const QString place = m_places->currentValue(QStringLiteral("lieu_pesage")).toString();
    if (Status shown = m_deliveries->setQuery(m_context.db, weighingPlaceDeliveriesQuery(place, m_start, m_end));
        !shown)
        m_context.dialogs->error(shown.error());
}

void openCvo(AppContext &context, QWidget *parent)
{
    CvoDialog screen(context, parent);
    runModal(screen);
}

void openPefc(AppContext &context, QWidget *parent)
{
    PefcDialog screen(context, parent);
    runModal(screen);
}

void openWeighingPlaces(AppContext &context, QWidget *parent)
{
    WeighingPlacesDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin
