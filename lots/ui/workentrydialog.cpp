#include "workentrydialog.h"
#include "ui_workentrydialog.h"

#include "amountfields.h"
#include "appcontext.h"
#include "decimalentry.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "namelists.h"
#include "textlimits.h"

namespace ravelin {

namespace {

const QString quantityPattern = QStringLiteral("0.####");
const QString totalPattern = QStringLiteral("# ##0.00");

void choose(QComboBox *list, const QString &value)
{
    if (!value.isEmpty() && list->findText(value) < 0) list->addItem(value);
    list->setCurrentIndex(list->findText(value));
}

} // namespace

WorkEntryDialog::WorkEntryDialog(AppContext &context, WorkGroup group, const WorkRow &row, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_intervention>()), m_context(context), m_group(group), m_row(row)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("intervention"));
    setObjectName(workScreenName(group));
    setWindowTitle(workScreenTitle(group));

    if (auto contractors = contractorsFor(context.db, group)) {
        m_contractors = *contractors;
        for (const ContractorRates &c : m_contractors) m_ui->I_nom->addItem(c.societe);
    } else {
        context.dialogs->error(contractors.error());
    }
    const bool other = group == WorkGroup::Other;
    m_ui->type1->setVisible(other);
    m_ui->Label_type->setVisible(other);
    if (other) {
        if (const auto families = workFamilies(context.db)) m_ui->type1->addItems(*families);
        else context.dialogs->error(families.error());
        choose(m_ui->type1, row.type1);
    }
    m_ui->unite_action->addItems(actionUnits());
    for (QLineEdit *field : {m_ui->qte_action, m_ui->prix_unit_action}) installDecimalEntry(field);

    choose(m_ui->I_nom, row.iNom);
    m_ui->I_date->setDate(row.iDate.isValid() ? row.iDate : QDate::currentDate());
    choose(m_ui->unite_action, row.uniteAction);
    m_ui->qte_action->setText(fieldAmountText(row.qteAction, quantityPattern));
    m_ui->prix_unit_action->setText(fieldAmountText(row.prixUnitAction, quantityPattern));
    m_ui->I_cout->setText(fieldAmountText(row.iCout, totalPattern));

    connect(m_ui->I_nom, &QComboBox::activated, this, &WorkEntryDialog::takeUnitPrice);
    connect(m_ui->unite_action, &QComboBox::activated, this, &WorkEntryDialog::takeUnitPrice);
    connect(m_ui->qte_action, &QLineEdit::textEdited, this, &WorkEntryDialog::computeCost);
    // Only the felling screen follows the typed unit price; the others wait for "Calcul COÛT" or "OK".
    if (group == WorkGroup::Felling)
        connect(m_ui->prix_unit_action, &QLineEdit::textEdited, this, &WorkEntryDialog::computeCost);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &WorkEntryDialog::computeCost);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &WorkEntryDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

WorkEntryDialog::~WorkEntryDialog() = default;

const ContractorRates *WorkEntryDialog::selectedContractor() const
{
    const QString name = m_ui->I_nom->currentText();
    for (const ContractorRates &c : m_contractors)
        if (c.societe == name) return &c;
    return nullptr;
}

void WorkEntryDialog::takeUnitPrice()
{
    if (const ContractorRates *rates = selectedContractor()) {
        if (const auto price = unitPriceFromRates(*rates, m_ui->unite_action->currentText()))
            m_ui->prix_unit_action->setText(fieldAmountText(*price, quantityPattern));
    }
    computeCost();
}

void WorkEntryDialog::computeCost()
{
    if (const auto cost = workCost(fieldAmount(m_ui->qte_action), fieldAmount(m_ui->prix_unit_action)))
        m_ui->I_cout->setText(fieldAmountText(*cost, totalPattern));
}

WorkRow WorkEntryDialog::row() const
{
    WorkRow r = m_row;
    if (m_group == WorkGroup::Other) r.type1 = m_ui->type1->currentText();
    r.iNom = m_ui->I_nom->currentText();
    r.iDate = m_ui->I_date->date();
    r.uniteAction = m_ui->unite_action->currentText();
    r.qteAction = fieldAmount(m_ui->qte_action);
    r.prixUnitAction = fieldAmount(m_ui->prix_unit_action);
    r.iCout = fieldAmount(m_ui->I_cout);
    return r;
}

void WorkEntryDialog::validate()
{
    if (m_group == WorkGroup::Other) {
        if (m_ui->type1->currentText().isEmpty()) {
            m_context.dialogs->message(workTypeRequiredMessage());
            return;
        }
    } else if (m_ui->I_nom->currentText().isEmpty()) {
        m_context.dialogs->message(contractorRequiredMessage());
        return;
    }
    computeCost();
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin
