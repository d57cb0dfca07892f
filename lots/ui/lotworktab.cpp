#include "lotworktab.h"
#include "ui_lotworktab.h"

#include "amountfields.h"
#include "appcontext.h"
#include "costprice.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"
#include "owners.h"
#include "workentrydialog.h"

#include <QSqlQueryModel>

#include <cmath>

namespace ravelin {

namespace {

constexpr WorkGroup allGroups[3] = {WorkGroup::Felling, WorkGroup::Skidding, WorkGroup::Other};

} // namespace

LotWorkTab::LotWorkTab(AppContext &context, int nLot, int indiceLot, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Onglet_exploitation>()), m_context(context), m_nLot(nLot),
      m_indiceLot(indiceLot), m_linesSource(new QSqlQueryModel(this)), m_lines(new GridModel(this))
{
    m_ui->setupUi(this);
    prepareGrid(m_ui->Grille_lots_exploitation);
    m_lines->setSourceModel(m_linesSource);
    m_ui->Grille_lots_exploitation->setModel(m_lines);
    for (WorkGroup group : allGroups) {
        const int g = int(group);
        m_workSources[g] = new QSqlQueryModel(this);
        m_work[g] = new GridModel(this);
        m_work[g]->setSourceModel(m_workSources[g]);
        for (const char *c : {"qte_action", "prix_unit_action", "i_cout"})
            m_work[g]->setFormat(QString::fromLatin1(c), QStringLiteral("#,##0.00"));
        prepareGrid(grid(group));
        grid(group)->setModel(m_work[g]);
        connect(grid(group), &QTableView::doubleClicked, this, [this, group] { modifyWork(group); });
    }
    connect(m_ui->Grille_lots_exploitation->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LotWorkTab::lineChanged);

    connect(m_ui->BtnCreerAbattage, &QPushButton::clicked, this, [this] { createWork(WorkGroup::Felling); });
    connect(m_ui->BtnModifierAbattage, &QPushButton::clicked, this, [this] { modifyWork(WorkGroup::Felling); });
    connect(m_ui->BtnSupprimerAbattage, &QPushButton::clicked, this, [this] { deleteWork(WorkGroup::Felling); });
    connect(m_ui->BtnCreerDebardage, &QPushButton::clicked, this, [this] { createWork(WorkGroup::Skidding); });
    connect(m_ui->BtnModifierDebardage, &QPushButton::clicked, this, [this] { modifyWork(WorkGroup::Skidding); });
    connect(m_ui->BtnSupprimerDebardage, &QPushButton::clicked, this, [this] { deleteWork(WorkGroup::Skidding); });
    connect(m_ui->BtnCreerAutre, &QPushButton::clicked, this, [this] { createWork(WorkGroup::Other); });
    connect(m_ui->BtnModifierAutre, &QPushButton::clicked, this, [this] { modifyWork(WorkGroup::Other); });
    connect(m_ui->BtnSupprimerAutre, &QPushButton::clicked, this, [this] { deleteWork(WorkGroup::Other); });
    connect(m_ui->BtnModifPourcentAbattage, &QPushButton::clicked, this, [this] { changeShare(WorkGroup::Felling); });
    connect(m_ui->BtnModifPourcentDebardage, &QPushButton::clicked, this, [this] { changeShare(WorkGroup::Skidding); });

    reload();
}

LotWorkTab::~LotWorkTab() = default;

QTableView *LotWorkTab::grid(WorkGroup group) const
{
    switch (group) {
    case WorkGroup::Felling: return m_ui->Grille_abattage;
    case WorkGroup::Skidding: return m_ui->Grille_debardage;
    case WorkGroup::Other: break;
    }
    return m_ui->Grille_autre;
}

int LotWorkTab::currentLineInc() const
{
    const QModelIndex i = m_ui->Grille_lots_exploitation->currentIndex();
    return i.isValid() ? m_lines->raw(i.row(), QStringLiteral("inc")).toInt() : 0;
}

void LotWorkTab::selectLine(int inc)
{
    for (int r = 0; r < m_lines->rowCount(); ++r)
        if (m_lines->raw(r, QStringLiteral("inc")).toInt() == inc) {
            m_ui->Grille_lots_exploitation->setCurrentIndex(
                m_lines->index(r, m_lines->column(QStringLiteral("essence"))));
            return;
        }
}

void LotWorkTab::reload()
{
    const int selected = currentLineInc();
    if (Status s = loadModel(*m_linesSource, workLinesQuery(m_context.db, m_nLot)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_lots_exploitation, *m_lines,
                {{QStringLiteral("essence"), 120}, {QStringLiteral("qualite"), 100}});
    if (m_lines->rowCount() == 0) {
        lineChanged();
        return;
    }
    selectLine(selected);
    if (currentLineInc() == 0)
        m_ui->Grille_lots_exploitation->setCurrentIndex(m_lines->index(0, m_lines->column(QStringLiteral("essence"))));
    else lineChanged();
}

void LotWorkTab::lineChanged()
{
    showLineFields();
    reloadWorkLists();
    emit lineSelected(currentLineInc());
}

void LotWorkTab::showLineFields()
{
    const QModelIndex i = m_ui->Grille_lots_exploitation->currentIndex();
    const auto v = [&](const char *c) {
        return i.isValid() ? m_lines->raw(i.row(), QString::fromLatin1(c)) : QVariant();
    };
    m_ui->Qte_reelle->setText(fieldAmountText(v("qte"), QStringLiteral("# ##0.00")));
    m_ui->Unite_qte_reelle->setText(v("unite").toString());
    m_ui->fin_pied->setText(fieldAmountText(v("fin_pied"), QStringLiteral("0")));
    m_ui->fin_abattage->setText(fieldAmountText(v("fin_abattage"), QStringLiteral("0")));
    m_ui->abattage_cout_ligne->setText(fieldAmountText(v("abattage_cout"), QStringLiteral("# ##0.00")));
    m_ui->debardage_cout_ligne->setText(fieldAmountText(v("debardage_cout"), QStringLiteral("# ##0.00")));
    m_ui->remise_etat_cout_ligne->setText(fieldAmountText(v("remise_etat_cout"), QStringLiteral("# ##0.00")));
}

void LotWorkTab::reloadWorkLists()
{
    const int line = currentLineInc();
    for (WorkGroup group : allGroups) {
        const int g = int(group);
        if (line == 0) {
            m_workSources[g]->clear();
            continue;
        }
        if (Status s = loadModel(*m_workSources[g], workListQuery(m_context.db, m_nLot, line, group)); !s) {
            m_context.dialogs->error(s.error());
            return;
        }
        showColumns(grid(group), *m_work[g],
                    {{QStringLiteral("I_nom"), 150},
                     {QStringLiteral("type1"), 90},
                     {QStringLiteral("i_date"), 80},
                     {QStringLiteral("qte_action"), 70},
                     {QStringLiteral("unite_action"), 55},
                     {QStringLiteral("prix_unit_action"), 70},
                     {QStringLiteral("i_cout"), 80}});
        if (m_work[g]->rowCount() > 0) grid(group)->selectRow(0);
    }
}

void LotWorkTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    reloadWorkLists();
}

bool LotWorkTab::refusedOnFinishedLot()
{
    if (!m_finished) return false;
    m_context.dialogs->message(finishedLotMessage());
    return true;
}

void LotWorkTab::workChanged()
{
    if (auto totals = computeWoodState(m_context.db, m_nLot); !totals) m_context.dialogs->error(totals.error());
    reload();
    emit woodStateChanged();
}

void LotWorkTab::createWork(WorkGroup group)
{
    if (refusedOnFinishedLot()) return;
    const int line = currentLineInc();
    if (line == 0) {
        m_context.dialogs->message(noVolumeLineMessage());
        return;
    }
    WorkEntryDialog screen(m_context, group, newWorkRow(m_nLot, m_indiceLot, line, group, QDate::currentDate()), this);
    if (runModal(screen) == QDialog::Accepted) {
        if (const auto created = ravelin::createWork(m_context.db, screen.row()); !created)
            m_context.dialogs->error(created.error());
    }
    workChanged();
}

void LotWorkTab::modifyWork(WorkGroup group)
{
    if (refusedOnFinishedLot()) return;
    const QModelIndex i = grid(group)->currentIndex();
    if (!i.isValid() || m_work[int(group)]->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const auto row = loadWork(m_context.db, m_work[int(group)]->raw(i.row(), QStringLiteral("inc")).toInt());
    if (!row) {
        m_context.dialogs->error(row.error());
        reload();
        return;
    }
    WorkEntryDialog screen(m_context, group, *row, this);
    screen.setSave([&] { return updateWork(m_context.db, screen.asRead(), screen.row()); });
    // Saved, cancelled or deleted meanwhile: the work is read again.
    runModal(screen);
    workChanged();
}

void LotWorkTab::deleteWork(WorkGroup group)
{
    if (refusedOnFinishedLot()) return;
    const QModelIndex i = grid(group)->currentIndex();
    if (!i.isValid() || m_work[int(group)]->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int inc = m_work[int(group)]->raw(i.row(), QStringLiteral("inc")).toInt();
    if (confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette intervention ?"))) {
        if (Status s = ravelin::deleteWork(m_context.db, inc); !s) m_context.dialogs->error(s.error());
    }
    workChanged();
}

void LotWorkTab::changeShare(WorkGroup group)
{
    const QModelIndex i = m_ui->Grille_lots_exploitation->currentIndex();
    if (!i.isValid()) {
        m_context.dialogs->message(noVolumeLineMessage());
        return;
    }
    const bool felling = group == WorkGroup::Felling;
    const QVariant current =
        m_lines->raw(i.row(), felling ? QStringLiteral("fin_pied") : QStringLiteral("fin_abattage"));
    const auto typed = m_context.dialogs->input(
        felling ? QStringLiteral("Modif % d'abattage") : QStringLiteral("Modif % débardage"),
        felling ? QStringLiteral("Saisir le % de bois abattu") : QStringLiteral("Saisir le % de bois débardé"),
        fieldAmountText(current, QStringLiteral("0")));
    if (!typed) return;
    bool ok = false;
    const double value = parseDecimal(*typed, &ok);
    // Not a number, or not a share: nothing changes.
    if (!ok || value < 0 || value > 100) return;
    if (Status s = setWorkShare(m_context.db, currentLineInc(), group, int(std::lround(value))); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    workChanged();
}

GridModel *LotWorkTab::lines() const
{
    return m_lines;
}

GridModel *LotWorkTab::work(WorkGroup group) const
{
    return m_work[int(group)];
}

} // namespace ravelin
