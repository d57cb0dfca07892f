#include "transfereditor.h"
#include "ui_transfereditor.h"

#include "appcontext.h"
#include "boundquery.h"
#include "editorsave.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "rowsave.h"
#include "textlimits.h"
#include "transferlinedialog.h"
#include "volumelinepicker.h"

namespace ravelin {

TransferEditor::TransferEditor(AppContext &context, int inc, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_transfert>()), m_context(context), m_inc(inc)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("transfert"));
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration lines;
    lines.screen = QStringLiteral("detail_transfert_produits");
    lines.columns = {{QStringLiteral("essence"), QStringLiteral("essence"), QString(), 100},
                     {QStringLiteral("qualite"), QStringLiteral("qualite"), QString(), 90},
                     {QStringLiteral("qte_depart"), QStringLiteral("qte_depart"), amounts, 70},
                     {QStringLiteral("unite_depart"), QStringLiteral("unite"), QString(), 50},
                     {QStringLiteral("qualite_destination"), QStringLiteral("qualite_destination"), QString(), 100},
                     {QStringLiteral("qte_liv"), QStringLiteral("qte_liv"), amounts, 70},
                     {QStringLiteral("unite_liv"), QStringLiteral("unite_liv"), QString(), 50},
                     {QStringLiteral("n_lot"), QStringLiteral("n_lot"), QString(), 60}};
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_produits, lines);

    ListDeclaration actions;
    actions.screen = QStringLiteral("detail_transfert_actions");
    actions.columns = {{QStringLiteral("I_nom"), QStringLiteral("I_nom"), QString(), 130},
                       {QStringLiteral("type1"), QStringLiteral("type1"), QString(), 90},
                       {QStringLiteral("i_date"), QStringLiteral("i_date"), QString(), 80},
                       {QStringLiteral("qte_action"), QStringLiteral("qte_action"), amounts, 70},
                       {QStringLiteral("unite_action"), QStringLiteral("unite_action"), QString(), 50},
                       {QStringLiteral("prix_unit_action"), QStringLiteral("prix_unit_action"), amounts, 70},
                       {QStringLiteral("i_cout"), QStringLiteral("i_cout"), amounts, 80},
                       {QStringLiteral("N_lot"), QStringLiteral("N_lot"), QString(), 60}};
    actions.key = QStringLiteral("inc");
    m_actions = new ListGrid(context, m_ui->Grille_actions, actions);

    connect(m_ui->BtnCreerLigne, &QToolButton::clicked, this, &TransferEditor::addLine);
    connect(m_ui->BtnModifierLigne, &QToolButton::clicked, this, &TransferEditor::changeLine);
    connect(m_ui->Grille_produits, &QAbstractItemView::doubleClicked, this, &TransferEditor::changeLine);
    connect(m_ui->BtnSupprimerLigne, &QToolButton::clicked, this, &TransferEditor::removeLine);
    connect(m_ui->BtnCreerAction, &QToolButton::clicked, this, &TransferEditor::addAction);
    connect(m_ui->BtnModifierAction, &QToolButton::clicked, this, &TransferEditor::changeAction);
    connect(m_ui->BtnSupprimerAction, &QToolButton::clicked, this, &TransferEditor::removeAction);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &TransferEditor::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &TransferEditor::reject);

    if (!reloadHeader()) return;
    const auto v = [&](const char *column) { return m_asRead.value(QLatin1String(column)); };
    m_ui->inc->setText(v("inc").toString());
    m_ui->type_transfert->setText(v("type_transfert").toString());
    m_ui->type_depart->setText(v("type_transfert").toString());
    m_ui->depart->setText(v("depart").toString());
    m_ui->type_destination->setText(v("type_destination").toString());
    m_ui->destination->setText(v("destination").toString());
    m_ui->corps_cde->setPlainText(v("corps_cde").toString());
    m_ui->date_transfert->setDate(v("date_transfert").toDateTime().date());
    refreshLines();
    reloadActions();
    m_loaded = true;
}

TransferEditor::~TransferEditor() = default;

QString TransferEditor::typeTransfert() const
{
    return m_asRead.value(QStringLiteral("type_transfert")).toString();
}

QString TransferEditor::depart() const
{
    return m_asRead.value(QStringLiteral("depart")).toString();
}

bool TransferEditor::reloadHeader()
{
    auto transfer = readTransfer(m_context.db, m_inc);
    if (!transfer) {
        m_context.dialogs->error(transfer.error());
        return false;
    }
    // the header fields keep what the user typed; the totals and the values "OK" compares with
    // follow what the lines and actions wrote
    const QSqlRecord previous = m_asRead;
    m_asRead = *transfer;
    if (!previous.isEmpty()) {
        m_asRead.setValue(QStringLiteral("date_transfert"), previous.value(QStringLiteral("date_transfert")));
        m_asRead.setValue(QStringLiteral("corps_cde"), previous.value(QStringLiteral("corps_cde")));
    }
    const QString unit = m_asRead.value(QStringLiteral("unite_defaut")).toString();
    m_ui->grume_livree->setText(
        formatValue(m_asRead.value(QStringLiteral("grume_livree")), QStringLiteral("# ##0.00")) + QLatin1Char(' ') +
        unit);
    m_ui->total_cout_action->setText(
        formatValue(m_asRead.value(QStringLiteral("total_cout_action")), QStringLiteral("# ##0.00")) +
        QStringLiteral(" €"));
    return true;
}

void TransferEditor::refreshLines()
{
    if (Status s = m_lines->setQuery(m_context.db, transferLinesQuery(m_inc)); !s) m_context.dialogs->error(s.error());
    reloadHeader();
}

void TransferEditor::reloadActions()
{
    if (Status s = m_actions->setQuery(m_context.db, transferActionsQuery(m_inc)); !s)
        m_context.dialogs->error(s.error());
    reloadHeader();
}

void TransferEditor::showWarnings(const QStringList &warnings)
{
    if (!warnings.isEmpty()) m_context.dialogs->message(warnings.join(QLatin1Char('\n')));
}

void TransferEditor::addLine()
{
    TransferLine line;
    if (typeTransfert() == transferFromLot()) line.nLot = depart();
    TransferLineDialog dialog(m_context, m_asRead, line, TransferLineDialog::Mode::Add, this);
    dialog.setSave([&]() -> Status {
        auto added = addTransferLine(m_context.db, m_inc, dialog.line());
        if (!added) return added.error();
        showWarnings(added->warnings);
        return {};
    });
    runModal(dialog);
    refreshLines();
}

void TransferEditor::changeLine()
{
    if (m_lines->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int row = qMax(0, m_lines->currentRow());
    const auto raw = [&](const char *column) { return m_lines->raw(row, QLatin1String(column)); };
    const int lineInc = raw("inc").toInt();
    TransferLine line;
    line.nLot = raw("n_lot").toString();
    line.id = raw("id");
    line.essence = raw("essence").toString();
    line.qualite = raw("qualite").toString();
    line.uniteConso = raw("unite_conso").toString();
    line.qteConso = raw("qte_conso");
    line.uniteDepart = raw("unite_depart").toString();
    line.incStockBuche = raw("inc_stock_buche");
    line.qualiteDestination = raw("qualite_destination").toString();
    line.qteLiv = raw("qte_liv");
    line.uniteLiv = raw("unite_liv").toString();
    line.incCoef = raw("inc_coef");
    line.coef = raw("coef");
    TransferLineDialog dialog(m_context, m_asRead, line, TransferLineDialog::Mode::Change, this);
    dialog.setSave([&]() -> Status {
        const TransferLine changed = dialog.line();
        auto done =
            changeTransferLine(m_context.db, lineInc, changed.qteConso, changed.qteLiv, changed.incCoef, changed.coef);
        if (!done) return done.error();
        showWarnings(done->warnings);
        return {};
    });
    runModal(dialog);
    refreshLines();
    m_lines->selectKey(lineInc);
}

void TransferEditor::removeLine()
{
    if (m_lines->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int lineInc = m_lines->raw(qMax(0, m_lines->currentRow()), QStringLiteral("inc")).toInt();
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer ce produit ?"))) return;
    auto removed = removeTransferLine(m_context.db, lineInc);
    if (!removed) m_context.dialogs->error(removed.error());
    else showWarnings(removed->warnings);
    refreshLines();
}

ActionEntrySetup TransferEditor::actionSetup(const QList<ContractorRates> &contractors)
{
    ActionEntrySetup setup;
    setup.screenName = QStringLiteral("liste_intervention_transfert");
    setup.table = QStringLiteral("liste_action_transfert");
    setup.contractors = contractors;
    setup.types = transferActionTypes();
    setup.showLot = true;
    setup.lotTyped = true;
    setup.pickLot = [this](QWidget *parent) -> std::optional<QString> {
        const auto line = pickVolumeLine(m_context, parent);
        if (!line) return std::nullopt;
        return QString::number(line->nLot);
    };
    return setup;
}

void TransferEditor::addAction()
{
    auto contractors = contractorsExceptFamily(m_context.db, QStringLiteral("RIEN"));
    if (!contractors) {
        m_context.dialogs->error(contractors.error());
        return;
    }
    ActionEntry entry;
    entry.iDate = QDate::currentDate();
    entry.qteAction = m_asRead.value(QStringLiteral("qte_liv_totale"));
    if (typeTransfert() == transferFromLot()) entry.nLot = depart();
    ActionEntryDialog dialog(m_context, actionSetup(*contractors), entry, this);
    std::optional<int> added;
    dialog.setSave([&]() -> Status {
        const ActionEntry e = dialog.entry();
        auto inc = addTransferAction(m_context.db, m_inc, e);
        if (!inc) return inc.error();
        added = *inc;
        return {};
    });
    runModal(dialog);
    reloadActions();
    if (added) m_actions->selectKey(*added);
}

void TransferEditor::changeAction()
{
    const bool shown = changeSelectedAction(
        m_context, *m_actions, QStringLiteral("RIEN"),
        [this](const QList<ContractorRates> &contractors) { return actionSetup(contractors); },
        [this](int actionInc, const QList<ColumnChange> &changes) {
            return changeTransferAction(m_context.db, m_inc, actionInc, changes);
        },
        this);
    if (shown) reloadActions();
}

void TransferEditor::removeAction()
{
    if (m_actions->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int inc = m_actions->raw(qMax(0, m_actions->currentRow()), QStringLiteral("inc")).toInt();
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette intervention ?"))) return;
    if (Status s = removeTransferAction(m_context.db, m_inc, inc); !s) m_context.dialogs->error(s.error());
    reloadActions();
}

void TransferEditor::validate()
{
    QList<ColumnChange> changes;
    const QDateTime stored = m_asRead.value(QStringLiteral("date_transfert")).toDateTime();
    const QDate chosen = m_ui->date_transfert->date();
    if (chosen != stored.date())
        changes.append({QStringLiteral("date_transfert"), stored,
                        QDateTime(chosen, stored.isValid() ? stored.time() : QTime(0, 0)),
                        QStringLiteral("Date Transfert")});
    const QVariant storedText = m_asRead.value(QStringLiteral("corps_cde"));
    const QString text = m_ui->corps_cde->toPlainText();
    if (text != storedText.toString())
        changes.append(
            {QStringLiteral("corps_cde"), storedText, textOrNull(text), QStringLiteral("Infos sur transfert :")});
    if (saveFromEditor(m_context, *this, [&]() { return saveTransferHeader(m_context.db, m_inc, changes); })) accept();
}

} // namespace ravelin
