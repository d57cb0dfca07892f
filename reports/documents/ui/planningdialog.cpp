#include "planningdialog.h"

#include "appcontext.h"
#include "formats.h"
#include "modal.h"
#include "reportpreview.h"
#include "ui_planningdialog.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace ravelin {

namespace {

// The day headings of the planning grid.
const QColor kHeadingColour(0x00, 0xFF, 0x00);

} // namespace

PlanningDialog::PlanningDialog(AppContext &context, const QDate &today, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::planning>())
{
    m_ui->setupUi(this);
    for (QDateEdit *edit : {m_ui->date_debut, m_ui->date_fin}) edit->setLocale(frenchLocale());
    const PlanningPeriod week = defaultPlanningPeriod(today);
    m_ui->date_debut->setDate(week.start);
    m_ui->date_fin->setDate(week.end);

    m_carriers = new QStandardItemModel(0, 1, this);
    m_carriers->setHorizontalHeaderLabels({QStringLiteral("transporteur prevu")});
    m_ui->Grille_transporteur->setModel(m_carriers);
    m_ui->Grille_transporteur->horizontalHeader()->setStretchLastSection(true);

    m_planning = new QStandardItemModel(0, 5, this);
    m_planning->setHorizontalHeaderLabels({QStringLiteral("jour"), QStringLiteral("Depart"),
                                           QStringLiteral("destination"), QStringLiteral("date_livraison"),
                                           QStringLiteral("Transporteur_prevu")});
    m_ui->Grille_planning->setModel(m_planning);
    m_ui->Grille_planning->horizontalHeader()->setStretchLastSection(true);

    connect(m_ui->BtnTransporteurs, &QPushButton::clicked, this, &PlanningDialog::listCarriers);
    connect(m_ui->Grille_transporteur->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PlanningDialog::carrierChanged);
    connect(m_ui->tous, &QCheckBox::clicked, this, &PlanningDialog::rebuild);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &PlanningDialog::print);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

PlanningDialog::~PlanningDialog() = default;

PlanningPeriod PlanningDialog::period() const
{
    return {m_ui->date_debut->date(), m_ui->date_fin->date()};
}

QString PlanningDialog::currentCarrier() const
{
    const QModelIndex current = m_ui->Grille_transporteur->currentIndex();
    return current.isValid() ? m_carriers->item(current.row(), 0)->text() : QString();
}

void PlanningDialog::listCarriers()
{
    auto carriers = readPlannedCarriers(m_context.db, period());
    if (!carriers) {
        m_context.dialogs->error(carriers.error());
        return;
    }
    m_carriers->removeRows(0, m_carriers->rowCount());
    for (const QString &carrier : *carriers) m_carriers->appendRow(new QStandardItem(carrier));
    // The first carrier becomes current, which shows its planning.
    if (m_carriers->rowCount() > 0) m_ui->Grille_transporteur->setCurrentIndex(m_carriers->index(0, 0));
}

void PlanningDialog::carrierChanged()
{
    // Another carrier chosen: that carrier's planning.
    rebuildFor(currentCarrier());
}

void PlanningDialog::rebuild()
{
    if (m_ui->tous->isChecked()) rebuildFor(std::nullopt);
    else rebuildFor(currentCarrier());
}

void PlanningDialog::rebuildFor(const std::optional<QString> &carrier)
{
    // No carrier chosen and not all of them: nothing to plan.
    if (carrier && carrier->isEmpty()) {
        showPlanning(DataTable());
        return;
    }
    auto rows = rebuildPlanning(m_context.db, period(), carrier);
    if (!rows) {
        showPlanning(DataTable());
        m_context.dialogs->error(rows.error());
        return;
    }
    showPlanning(*rows);
}

void PlanningDialog::showPlanning(const DataTable &rows)
{
    m_rows = rows;
    m_planning->removeRows(0, m_planning->rowCount());
    const QStringList columns{QStringLiteral("jour"), QStringLiteral("depart"), QStringLiteral("destination"),
                              QStringLiteral("date_livraison"), QStringLiteral("transporteur_prevu")};
    for (int r = 0; r < rows.rowCount(); ++r) {
        const bool heading = !rows.value(r, QStringLiteral("jour")).toString().isEmpty();
        QList<QStandardItem *> items;
        for (const QString &column : columns) {
            const QVariant value = rows.value(r, column);
            const QString text = column == QLatin1String("date_livraison") && !value.isNull()
                                     ? formatDateTime(value.toDateTime(), QStringLiteral("dd/mm/yyyy hh:nn"))
                                     : value.toString();
            auto *item = new QStandardItem(text);
            if (heading) item->setBackground(kHeadingColour);
            items << item;
        }
        m_planning->appendRow(items);
    }
}

void PlanningDialog::print()
{
    if (m_carriers->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    auto document =
        layoutPlanning(planningData(m_rows, m_context.settings.value(QStringLiteral("nom")).toString(), period()));
    if (!document) {
        m_context.dialogs->error(document.error());
        return;
    }
    ReportPreview preview(*document, *m_context.dialogs, this);
    preview.setObjectName(QStringLiteral("imp_planning"));
    runModal(preview);
}

void openTransportPlanning(AppContext &context, QWidget *parent)
{
    PlanningDialog screen(context, QDate::currentDate(), parent);
    runModal(screen);
}

} // namespace ravelin
