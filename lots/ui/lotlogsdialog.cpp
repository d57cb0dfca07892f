#include "lotlogsdialog.h"
#include "ui_lotlogsdialog.h"

#include "appcontext.h"
#include "chartwidget.h"
#include "formats.h"
#include "logentrydialog.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"

#include <QSqlQueryModel>

namespace ravelin {

LotLogsDialog::LotLogsDialog(AppContext &context, int nLot, int indiceLot, const QString &lieu, double totalGrume,
                             double totalGrumeLivre, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::grume_coupe>()), m_context(context), m_nLot(nLot),
      m_indiceLot(indiceLot), m_lieu(lieu), m_source(new QSqlQueryModel(this)), m_grid(new GridModel(this))
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

    m_grid->setSourceModel(m_source);
    m_grid->setFormat(QStringLiteral("m3"), QStringLiteral("0.000"));
    // Measures as typed; an empty one stays empty.
    m_grid->setFormat(QStringLiteral("diametre"), QStringLiteral("0.##"));
    m_grid->setFormat(QStringLiteral("longueur"), QStringLiteral("0.##"));
    m_grid->setCaption(QStringLiteral("diametre"), QStringLiteral("dia."));
    m_grid->setCaption(QStringLiteral("longueur"), QStringLiteral("long."));
    m_grid->setCaption(QStringLiteral("livree"), QStringLiteral("livrée"));
    m_grid->setRowColour([this](const QAbstractItemModel *, int row) {
        if (m_grid->raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI"))
            return rgb(QStringLiteral("00FF00"));
        if (!m_grid->raw(row, QStringLiteral("stock")).toString().isEmpty()) return rgb(QStringLiteral("FFA4A4"));
        return QColor();
    });
    prepareGrid(m_ui->Grille_grumes);
    m_ui->Grille_grumes->setModel(m_grid);

    m_totals.total = totalGrume;
    m_totals.delivered = totalGrumeLivre;
    showTotals();
    reload(std::nullopt);
    redrawChart();

    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &LotLogsDialog::createLog);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &LotLogsDialog::modifyLog);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &LotLogsDialog::deleteLogs);
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &LotLogsDialog::findLog);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &LotLogsDialog::accept);
}

LotLogsDialog::~LotLogsDialog() = default;

void LotLogsDialog::reload(std::optional<int> selectInc)
{
    if (Status s = loadModel(*m_source, m_context.db, lotLogsQuery(m_nLot, m_indiceLot), "LotLogsDialog::reload"); !s) {
        showFailure(*m_context.dialogs, s.error());
        return;
    }
    showColumns(m_ui->Grille_grumes, *m_grid,
                {{QStringLiteral("n_grume"), 80},
                 {QStringLiteral("essence"), 110},
                 {QStringLiteral("qualite"), 90},
                 {QStringLiteral("classe"), 50},
                 {QStringLiteral("m3"), 70},
                 {QStringLiteral("diametre"), 50},
                 {QStringLiteral("longueur"), 50},
                 {QStringLiteral("livree"), 50}});
    int row = 0;
    if (selectInc)
        for (int r = 0; r < m_grid->rowCount(); ++r)
            if (m_grid->raw(r, QStringLiteral("inc")).toInt() == *selectInc) row = r;
    if (m_grid->rowCount() > 0)
        m_ui->Grille_grumes->setCurrentIndex(m_grid->index(row, m_grid->column(QStringLiteral("n_grume"))));
}

int LotLogsDialog::currentRow() const
{
    if (m_grid->rowCount() == 0) return -1;
    const QModelIndex i = m_ui->Grille_grumes->currentIndex();
    return i.isValid() ? i.row() : 0;
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
        showFailure(*m_context.dialogs, totals.error());
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
        showFailure(*m_context.dialogs, inc.error());
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
    const int inc = m_grid->raw(row, QStringLiteral("inc")).toInt();
    auto log = loadLog(m_context.db, inc);
    if (!log) {
        showFailure(*m_context.dialogs, log.error());
        return;
    }
    LogEntryDialog entry(m_context, *log, this);
    if (runModal(entry) != QDialog::Accepted) return;
    if (Status s = updateLog(m_context.db, entry.record()); !s) {
        showFailure(*m_context.dialogs, s.error());
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
    Status done;
    if (m_ui->Tous->isChecked()) {
        if (auto removed = deleteLotLogs(m_context.db, m_nLot); !removed) done = removed.error();
    } else {
        done = deleteLog(m_context.db, m_grid->raw(row, QStringLiteral("inc")).toInt());
    }
    if (!done) showFailure(*m_context.dialogs, done.error());
    afterChange(std::nullopt);
}

void LotLogsDialog::findLog()
{
    const QString wanted = m_ui->N_grume_cherche->text();
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        if (m_grid->raw(r, QStringLiteral("n_grume")).toString() == wanted) {
            m_ui->Grille_grumes->setCurrentIndex(m_grid->index(r, m_grid->column(QStringLiteral("n_grume"))));
            return;
        }
    }
}

} // namespace ravelin
