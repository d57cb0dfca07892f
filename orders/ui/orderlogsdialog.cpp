#include "orderlogsdialog.h"
#include "ui_orderlogsdialog.h"

#include "appcontext.h"
#include "chartwidget.h"
#include "dialogs.h"
#include "formats.h"
#include "listgrid.h"
#include "loadingimportdialog.h"
#include "logpickerdialog.h"
#include "modal.h"
#include "namelists.h"
#include "orderlines.h"
#include "orderlogs.h"

namespace ravelin {

OrderLogsDialog::OrderLogsDialog(AppContext &context, int incCde, bool closed, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::grume_cde>()), m_context(context), m_incCde(incCde)
{
    m_ui->setupUi(this);
    m_chart = new ChartWidget(m_ui->Zone_graphique);
    m_chart->setObjectName(QStringLiteral("Graphique_qualite"));
    m_ui->layout_graphique->addWidget(m_chart);
    ChartOptions options;
    options.kind = ChartKind::Pie;
    options.title = QStringLiteral("Qualité");
    options.marks = ChartMarks::Label;
    options.decimals = 2;
    m_chart->setOptions(options);

    const QString measure = QStringLiteral("0.##");
    ListDeclaration logs;
    logs.screen = QStringLiteral("grume_cde");
    logs.columns = {
        {QStringLiteral("n_grume"), QString(), QString(), 80},
        {QStringLiteral("essence"), QString(), QString(), 110},
        {QStringLiteral("qualite"), QString(), QString(), 90},
        {QStringLiteral("classe"), QString(), QString(), 50},
        {QStringLiteral("m3"), QString(), QStringLiteral("0.000"), 70},
        {QStringLiteral("diametre"), QStringLiteral("dia."), measure, 50},
        {QStringLiteral("longueur"), QStringLiteral("long."), measure, 50},
        {QStringLiteral("n_lot"), QString(), QString(), 70},
    };
    logs.key = QStringLiteral("inc");
    m_list = new ListGrid(context, m_ui->Grille_grumes, logs);

    if (closed)
        for (QWidget *w : std::initializer_list<QWidget *>{m_ui->BtnSelectionner, m_ui->BtnSupprimer, m_ui->Tous})
            w->setEnabled(false);
    // locked on an invoiced order like its neighbours
    m_ui->BtnImport->setEnabled(!closed);

    reload();
    redrawChart();

    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &OrderLogsDialog::attachLogs);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &OrderLogsDialog::releaseLogs);
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &OrderLogsDialog::findLog);
    connect(m_ui->BtnImport, &QToolButton::clicked, this, &OrderLogsDialog::importLoadingList);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::accept);
}

OrderLogsDialog::~OrderLogsDialog() = default;

void OrderLogsDialog::reload()
{
    if (Status s = m_list->setQuery(m_context.db, orderLogsQuery(m_incCde)); !s) m_context.dialogs->error(s.error());
    if (auto totals = readOrderLogTotals(m_context.db, m_incCde)) {
        m_ui->volume_total->setText(formatNumber(totals->volume, QStringLiteral("# ##0.00")));
        m_ui->nombre->setText(QString::number(totals->count));
    }
}

void OrderLogsDialog::redrawChart()
{
    auto slices = loadedLogsByClass(m_context.db, m_incCde);
    if (!slices) return; // the chart stays as it was
    QList<ChartPoint> points;
    for (const ClassSlice &slice : *slices) points.append(ChartPoint{slice.classe, slice.volume});
    m_chart->setPoints(points);
}

void OrderLogsDialog::attachLogs()
{
    LogPickerDialog picker(m_context, this);
    if (runModal(picker) != QDialog::Accepted) return;
    const QList<int> chosen = picker.selectedLogs();
    if (chosen.isEmpty()) return;
    auto attached = ravelin::attachLogs(m_context.db, m_incCde, chosen);
    if (!attached) m_context.dialogs->error(attached.error());
    else if (*attached < chosen.size())
        m_context.dialogs->message(logsNotAttachedMessage(int(chosen.size()) - *attached));
    reload();
    emit logsChanged();
    redrawChart();
}

void OrderLogsDialog::releaseLogs()
{
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int row = qMax(0, m_list->currentRow());
    const int inc = m_list->raw(row, QStringLiteral("inc")).toInt();
    if (confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous replacer cette Grume en stock ?"))) {
        const std::optional<int> one = m_ui->Tous->isChecked() ? std::nullopt : std::optional<int>(inc);
        if (Status s = ravelin::releaseLogs(m_context.db, m_incCde, one); !s) m_context.dialogs->error(s.error());
        reload();
    }
    emit logsChanged();
    redrawChart();
}

void OrderLogsDialog::findLog()
{
    const QString wanted = m_ui->chercher_n_grume->text().trimmed();
    if (wanted.isEmpty() || !m_list->pagedModel()) return;
    auto found = m_list->pagedModel()->locate(QStringLiteral("n_grume"), wanted);
    if (!found) {
        m_context.dialogs->error(found.error());
        return;
    }
    if (*found) m_list->selectRow(**found);
}

void OrderLogsDialog::importLoadingList()
{
    TextImportDialog screen(m_context, loadingImportSteps(m_incCde), this);
    auto qualities = qualityNames(m_context.db);
    if (!qualities) {
        m_context.dialogs->error(qualities.error());
        return;
    }
    screen.setQualities(*qualities);
    const bool imported = runModal(screen) == QDialog::Accepted;
    reload();
    // the failures of this total are left aside, as the import itself reported what went wrong
    if (imported) (void)writeDeliveredLogVolume(m_context.db, m_incCde);
    emit logsChanged();
    redrawChart();
}

} // namespace ravelin
