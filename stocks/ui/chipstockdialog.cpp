#include "chipstockdialog.h"
#include "ui_chipstockdialog.h"

#include "appcontext.h"
#include "chartwidget.h"
#include "databaseworker.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "reportpreview.h"
#include "stocksheets.h"

#include <QTimer>
#include <QVBoxLayout>

namespace ravelin {

ChipStockDialog::ChipStockDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::stockage>()), m_context(context),
      m_worker(new DatabaseWorker(context.db, this)), m_progressTimer(new QTimer(this))
{
    m_ui->setupUi(this);
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration zones;
    zones.screen = QStringLiteral("stockage");
    zones.columns = {
        {QStringLiteral("destination"), QStringLiteral("Stockage"), QString(), 180},
        {QStringLiteral("date_inventaire"), QStringLiteral("Date_inventaire"), QStringLiteral("dd/mm/yyyy"), 90},
        {QStringLiteral("tonnage_inventaire"), QStringLiteral("Tonnage_inventaire"), amounts, 100},
        {QStringLiteral("total_entree"), QStringLiteral("total_entree"), amounts, 90},
        {QStringLiteral("total_sortie"), QStringLiteral("total_sortie"), amounts, 90},
        {QStringLiteral("total_stock"), QStringLiteral("Total stock (") + context.defaultUnit() + QLatin1Char(')'),
         amounts, 110},
        {QStringLiteral("tonnage_maxi"), QStringLiteral("tonnage_maxi"), amounts, 90}};
    zones.key = QStringLiteral("inc");
    m_list = new ListGrid(context, m_ui->Grille_stockage, zones);

    m_chart = new ChartWidget(m_ui->Zone_graphique);
    auto *layout = new QVBoxLayout(m_ui->Zone_graphique);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart);
    ChartOptions options;
    options.kind = ChartKind::Pie;
    options.marks = ChartMarks::LabelAndValue;
    m_chart->setOptions(options);

    m_ui->date_stock->setDate(QDate::currentDate());
    m_ui->Panel_calcul->hide();
    m_progressTimer->setInterval(50);
    connect(m_progressTimer, &QTimer::timeout, this, &ChipStockDialog::showProgress);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &ChipStockDialog::compute);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &ChipStockDialog::print);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ChipStockDialog::reject);
}

ChipStockDialog::~ChipStockDialog() = default;

void ChipStockDialog::compute()
{
    if (m_computing) return;
    m_computing = true;
    m_ui->BtnCalcul->setEnabled(false);
    m_ui->Panel_calcul->show();
    m_ui->ProgressBar->setValue(0);
    m_ui->temps_restant->clear();
    *m_done = 0;
    *m_total = 0;
    m_elapsed.start();
    m_progressTimer->start();
    const QDate date = m_ui->date_stock->date();
    struct Computed
    {
        Result<ChipStock> stock;
        Result<StandingTimber> standing;
    };
    auto done = m_done;
    auto total = m_total;
    m_worker->run(
        [date, done, total](QSqlDatabase db) {
            auto stock = computeChipStock(db, date, [done, total](int d, int t) {
                *total = t;
                *done = d;
            });
            auto standing = stock ? readStandingTimber(db) : Result<StandingTimber>(stock.error());
            return Computed{std::move(stock), std::move(standing)};
        },
        [this, date](Computed computed) {
            m_computedDate = date;
            showResult(computed.stock, computed.standing);
        });
}

void ChipStockDialog::showProgress()
{
    const int total = *m_total;
    if (total <= 0) return;
    const int done = *m_done;
    m_ui->ProgressBar->setMaximum(total);
    m_ui->ProgressBar->setValue(done);
    m_ui->temps_restant->setText(QStringLiteral("temps restant ") +
                                 remainingTimeText(m_elapsed.elapsed(), done, total) + QStringLiteral(" secondes"));
}

void ChipStockDialog::showResult(const Result<ChipStock> &stock, const Result<StandingTimber> &standing)
{
    m_progressTimer->stop();
    m_computing = false;
    m_ui->BtnCalcul->setEnabled(true);
    if (!stock) {
        // the panel stays shown, as the computation stopped there
        m_context.dialogs->error(stock.error());
        return;
    }
    showProgress();
    m_stock = *stock;
    m_list->setTable(stock->zones);
    QList<ChartPoint> slices;
    for (int row = 0; row < stock->zones.rowCount(); ++row)
        slices.append({stock->zones.value(row, QStringLiteral("destination")).toString(),
                       stock->zones.value(row, QStringLiteral("total_stock")).toDouble()});
    m_chart->setPoints(slices);
    const QString unit = QLatin1Char(' ') + m_context.defaultUnit();
    m_ui->total->setText(formatNumber(stock->total, QStringLiteral("0")) + unit);
    if (const auto share = usedShareText(stock->total, stock->capacity))
        m_ui->pourcentage->setText(*share + QStringLiteral(" %"));
    m_ui->n4->setText(formatNumber(stock->total, QStringLiteral("0")) + unit);
    if (standing) {
        m_standing = *standing;
        m_ui->n1->setText(formatNumber(standing->standing, QStringLiteral("0")) + unit);
        m_ui->n2->setText(formatNumber(standing->felled, QStringLiteral("0")) + unit);
        m_ui->n3->setText(formatNumber(standing->skidded, QStringLiteral("0")) + unit);
    }
    m_ui->Panel_calcul->hide();
}

void ChipStockDialog::print()
{
    if (!m_stock) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    auto document = layoutChipStockSheet(
        chipStockSheetData(m_stock->zones, m_computedDate, m_stock->total, m_standing, m_context.defaultUnit(),
                           m_context.settings.value(QStringLiteral("nom")).toString()));
    showReport(document, *m_context.dialogs, QStringLiteral("imp_stock_plaquette"), this);
}

void openChipStock(AppContext &context, QWidget *parent)
{
    ChipStockDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin
