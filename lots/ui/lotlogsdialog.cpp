#include "lotlogsdialog.h"
#include "ui_lotlogsdialog.h"

#include "appcontext.h"
#include "chartwidget.h"
#include "formats.h"
#include "logentrydialog.h"
#include "logimportdialog.h"
#include "dialogs.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "modal.h"

namespace ravelin {

LotLogsDialog::LotLogsDialog(AppContext &context, int nLot, int indiceLot, const QString &lieu, double totalGrume,
                             double totalGrumeLivre, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::grume_coupe>()), m_context(context), m_nLot(nLot),
      m_indiceLot(indiceLot), m_lieu(lieu)
{
    m_ui->setupUi(this);
    m_chart = new ChartWidget(m_ui->Zone_graphique);
    m_chart->setObjectName(QStringLiteral("Graphique_qualite"));
    m_ui->layout_graphique->addWidget(m_chart);
    ChartOptions options;
    options.kind = ChartKind::Pie;
    options.title = QStringLiteral("Qualité (dispo)");
    options.marks = ChartMarks::Label;
    options.decimals = 2;
    m_chart->setOptions(options);

    // Measures as typed; an empty one stays empty.
    const QString measure = QStringLiteral("0.##");
    ListDeclaration logs;
    logs.screen = QStringLiteral("grume_coupe");
    logs.columns = {
        {QStringLiteral("n_grume"), QString(), QString(), 80},
        {QStringLiteral("essence"), QString(), QString(), 110},
        {QStringLiteral("qualite"), QString(), QString(), 90},
        {QStringLiteral("classe"), QString(), QString(), 50},
        {QStringLiteral("m3"), QString(), QStringLiteral("0.000"), 70},
        {QStringLiteral("diametre"), QStringLiteral("dia."), measure, 50},
        {QStringLiteral("longueur"), QStringLiteral("long."), measure, 50},
        {QStringLiteral("livree"), QStringLiteral("livrée"), QString(), 50},
    };
    logs.key = QStringLiteral("inc");
    logs.rowColour = [](const ListGrid &grid, int row) {
        if (grid.raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI"))
            return rgb(QStringLiteral("00FF00"));
        if (!grid.raw(row, QStringLiteral("stock")).toString().isEmpty()) return rgb(QStringLiteral("FFA4A4"));
        return QColor();
    };
    m_list = new ListGrid(context, m_ui->Grille_grumes, logs);

    m_totals.total = totalGrume;
    m_totals.delivered = totalGrumeLivre;
    showTotals();
    reload(std::nullopt);
    redrawChart();

    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &LotLogsDialog::createLog);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &LotLogsDialog::modifyLog);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &LotLogsDialog::deleteLogs);
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &LotLogsDialog::findLog);
    connect(m_ui->BtnImporter, &QPushButton::clicked, this, &LotLogsDialog::importLogs);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &LotLogsDialog::accept);
}

LotLogsDialog::~LotLogsDialog() = default;

GridModel *LotLogsDialog::logs() const
{
    return m_list->model();
}

void LotLogsDialog::reload(std::optional<int> selectInc)
{
    // the selected log stays selected when it is still listed, else the first one is
    if (Status s = m_list->setQuery(lotLogsQuery(m_nLot, m_indiceLot)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    if (selectInc) m_list->selectKey(*selectInc);
}

int LotLogsDialog::currentRow() const
{
    if (m_list->rowCount() == 0) return -1;
    return qMax(0, m_list->currentRow());
}

void LotLogsDialog::showTotals()
{
    m_ui->Volume_total->setText(formatNumber(m_totals.total, QStringLiteral("0.00")));
    m_ui->Grumes_livrees->setText(formatNumber(m_totals.delivered, QStringLiteral("0.00")));
    m_ui->Grumes_dispo->setText(formatNumber(m_totals.available(), QStringLiteral("0.00")));
}

void LotLogsDialog::redrawChart()
{
    auto slices = availableVolumeByClass(m_context.db, m_nLot);
    if (!slices) return; // the chart stays as it was
    QList<ChartPoint> points;
    for (const ClassVolume &slice : *slices) points.append(ChartPoint{slice.classe, slice.volume});
    m_chart->setPoints(points);
}

void LotLogsDialog::afterChange(std::optional<int> selectInc)
{
    auto totals = updateLotLogTotals(m_context.db, m_nLot, m_indiceLot);
    if (totals) {
        m_totals = *totals;
        m_totalsWritten = true;
        showTotals();
    } else {
        m_context.dialogs->error(totals.error());
    }
    reload(selectInc);
    redrawChart();
}

void LotLogsDialog::createLog()
{
    LogEntryDialog entry(m_context, newLog(m_nLot, m_indiceLot, m_lieu, QDate::currentDate()), this);
    if (runModal(entry) != QDialog::Accepted) return;
    auto inc = insertLog(m_context.db, entry.record());
    if (!inc) {
        m_context.dialogs->error(inc.error());
        return;
    }
    afterChange(*inc);
}

void LotLogsDialog::modifyLog()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int inc = m_list->raw(row, QStringLiteral("inc")).toInt();
    auto log = loadLog(m_context.db, inc);
    if (!log) {
        m_context.dialogs->error(log.error());
        return;
    }
    LogEntryDialog entry(m_context, *log, this);
    entry.setSave([&] { return updateLog(m_context.db, entry.asRead(), entry.record()); });
    if (runModal(entry) != QDialog::Accepted) {
        reload(inc); // a log deleted meanwhile leaves the list
        return;
    }
    afterChange(inc);
}

void LotLogsDialog::deleteLogs()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette Grume ?"))) return;
    // A log an order took is refused, with the order named.
    Status done;
    if (m_ui->Tous->isChecked()) {
        if (auto removed = deleteLotLogs(m_context.db, m_nLot); !removed) done = removed.error();
    } else {
        done = deleteLog(m_context.db, m_list->raw(row, QStringLiteral("inc")).toInt());
    }
    if (!done) m_context.dialogs->error(done.error());
    afterChange(std::nullopt);
}

void LotLogsDialog::importLogs()
{
    TextImportDialog import(m_context, logImportSteps(m_nLot, m_indiceLot), this);
    if (runModal(import) != QDialog::Accepted) return;
    // the import wrote the lot's totals in its transaction
    m_totals = std::any_cast<LogTotals>(import.outcome().detail);
    m_totalsWritten = true;
    showTotals();
    reload(std::nullopt);
    redrawChart();
}

void LotLogsDialog::findLog()
{
    // read down to it however far it is; nothing moves when no log has that number
    PagedQueryModel *logs = m_list->pagedModel();
    if (!logs) return;
    auto found = logs->locate(QStringLiteral("n_grume"), m_ui->N_grume_cherche->text());
    if (!found) {
        m_context.dialogs->error(found.error());
        return;
    }
    if (*found) m_list->selectRow(**found);
}

} // namespace ravelin
