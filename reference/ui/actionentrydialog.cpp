#include "actionentrydialog.h"
#include "ui_actionentrydialog.h"

#include "amountfields.h"
#include "appcontext.h"
#include "decimalentry.h"
#include "dialogs.h"
#include "listgrid.h"
#include "modal.h"
#include "textlimits.h"

namespace ravelin {

namespace {

const QString quantityPattern = QStringLiteral("0.####");
// The cost is kept unrounded: show what will be written, at least to the cent.
const QString costPattern = QStringLiteral("# ##0.00####");

void choose(QComboBox *list, const QString &value)
{
    if (!value.isEmpty() && list->findText(value) < 0) list->addItem(value);
    list->setCurrentIndex(list->findText(value));
}

} // namespace

ActionEntry actionEntryAt(const ListGrid &actions, int row)
{
    const auto raw = [&](const char *column) { return actions.raw(row, QLatin1String(column)); };
    ActionEntry action;
    action.iNom = raw("I_nom").toString();
    action.type1 = raw("type1").toString();
    action.iDate = raw("i_date").toDate();
    action.qteAction = raw("qte_action");
    action.uniteAction = raw("unite_action").toString();
    action.prixUnitAction = raw("prix_unit_action");
    action.iCout = raw("i_cout");
    action.nLot = raw("N_lot").toString();
    return action;
}

bool changeSelectedAction(AppContext &context, const ListGrid &actions, const QString &excludedFamily,
                          const std::function<ActionEntrySetup(const QList<ContractorRates> &)> &setupFor,
                          const std::function<Status(int actionInc, const QList<ColumnChange> &)> &save,
                          QWidget *parent)
{
    if (actions.rowCount() == 0) {
        context.dialogs->message(noRecordMessage());
        return false;
    }
    auto contractors = contractorsExceptFamily(context.db, excludedFamily);
    if (!contractors) {
        context.dialogs->error(contractors.error());
        return false;
    }
    const int row = qMax(0, actions.currentRow());
    const int inc = actions.raw(row, QStringLiteral("inc")).toInt();
    ActionEntryDialog dialog(context, setupFor(*contractors), actionEntryAt(actions, row), parent);
    dialog.setSave([&]() -> Status { return save(inc, dialog.changes()); });
    runModal(dialog);
    return true;
}

ActionEntryDialog::ActionEntryDialog(AppContext &context, const ActionEntrySetup &setup, const ActionEntry &entry,
                                     QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_intervention_action>()), m_context(context), m_setup(setup),
      m_entry(entry), m_cost(entry.iCout)
{
    m_ui->setupUi(this);
    if (!setup.table.isEmpty()) limitTextFields(this, context, setup.table);
    setObjectName(setup.screenName);

    for (const ContractorRates &c : setup.contractors) m_ui->I_nom->addItem(c.societe);
    m_ui->I_nom->setMaxVisibleItems(20);
    m_ui->type1->addItems(setup.types);
    m_ui->unite_action->addItems(actionUnits());
    m_ui->n_lot->setVisible(setup.showLot);
    m_ui->Label_lot->setVisible(setup.showLot);
    m_ui->n_lot->setReadOnly(!setup.lotTyped);
    if (setup.pickLot) {
        auto *pick = new QPushButton(QStringLiteral("COUPES de BOIS existantes"), this);
        pick->setObjectName(QStringLiteral("BtnCoupe"));
        m_ui->grid_109->addWidget(pick, 2, 2);
        connect(pick, &QPushButton::clicked, this, [this] {
            if (const auto lot = m_setup.pickLot(this)) m_ui->n_lot->setText(*lot);
        });
    }
    for (QLineEdit *field : {m_ui->qte_action, m_ui->prix_unit_action, m_ui->I_cout}) installDecimalEntry(field);

    choose(m_ui->type1, entry.type1);
    choose(m_ui->I_nom, entry.iNom);
    m_ui->n_lot->setText(entry.nLot);
    m_ui->I_date->setDate(entry.iDate.isValid() ? entry.iDate : QDate::currentDate());
    choose(m_ui->unite_action, entry.uniteAction);
    m_ui->qte_action->setText(fieldAmountText(entry.qteAction, quantityPattern));
    m_ui->prix_unit_action->setText(fieldAmountText(entry.prixUnitAction, quantityPattern));
    m_ui->I_cout->setText(fieldAmountText(entry.iCout, costPattern));

    connect(m_ui->I_nom, &QComboBox::activated, this, &ActionEntryDialog::takeUnitPrice);
    connect(m_ui->unite_action, &QComboBox::activated, this, &ActionEntryDialog::takeUnitPrice);
    connect(m_ui->qte_action, &QLineEdit::textEdited, this, &ActionEntryDialog::computeCost);
    connect(m_ui->prix_unit_action, &QLineEdit::textEdited, this, &ActionEntryDialog::computeCost);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &ActionEntryDialog::computeCost);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ActionEntryDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

ActionEntryDialog::~ActionEntryDialog() = default;

const ContractorRates *ActionEntryDialog::chosenCompany() const
{
    const QString name = m_ui->I_nom->currentText();
    for (const ContractorRates &c : m_setup.contractors)
        if (c.societe == name) return &c;
    return nullptr;
}

void ActionEntryDialog::takeUnitPrice()
{
    if (const ContractorRates *rates = chosenCompany()) {
        if (const auto price = unitPriceFromRates(*rates, m_ui->unite_action->currentText()))
            m_ui->prix_unit_action->setText(fieldAmountText(*price, quantityPattern));
    }
    computeCost();
}

void ActionEntryDialog::computeCost()
{
    if (const auto cost = actionCost(fieldAmount(m_ui->qte_action), fieldAmount(m_ui->prix_unit_action))) {
        m_cost = *cost;
        m_ui->I_cout->setText(fieldAmountText(*cost, costPattern));
    }
}

ActionEntry ActionEntryDialog::entry() const
{
    ActionEntry e = m_entry;
    e.type1 = m_ui->type1->currentText();
    e.iNom = m_ui->I_nom->currentText();
    e.iDate = m_ui->I_date->date();
    e.uniteAction = m_ui->unite_action->currentText();
    e.qteAction = fieldAmount(m_ui->qte_action);
    e.prixUnitAction = fieldAmount(m_ui->prix_unit_action);
    if (m_setup.lotTyped) e.nLot = m_ui->n_lot->text().trimmed();
    // The cost computed, not the text shown, so that nothing is lost to the display.
    e.iCout = m_cost;
    return e;
}

void ActionEntryDialog::validate()
{
    computeCost();
    if (m_setup.requireCompany && m_ui->I_nom->currentText().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez selectionner une société"));
        return;
    }
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin
