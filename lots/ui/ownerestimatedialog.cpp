#include "ownerestimatedialog.h"
#include "ui_ownerestimatedialog.h"

#include "amountfields.h"
#include "appcontext.h"
#include "decimalentry.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "namelists.h"
#include "textlimits.h"
#include "volumelines.h"

namespace ravelin {

namespace {

const QString quantityPattern = QStringLiteral("0.####");

void choose(QComboBox *list, const QString &value)
{
    if (!value.isEmpty() && list->findText(value) < 0) list->addItem(value);
    list->setCurrentIndex(list->findText(value));
}

} // namespace

SpeciesLineDialog::SpeciesLineDialog(AppContext &context, const SpeciesLine &line, bool existing, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::proprietaire_essence>()), m_context(context), m_line(line)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("proprietaire_essence"));
    if (const auto names = speciesNames(context.db)) m_ui->essence->addItems(*names);
    else context.dialogs->error(names.error());
    if (const auto names = qualityNames(context.db)) m_ui->qualite->addItems(*names);
    else context.dialogs->error(names.error());
    m_ui->unite->addItems(speciesLineUnits());
    for (QLineEdit *field : {m_ui->qte, m_ui->qte_reel, m_ui->prix_unit}) installDecimalEntry(field);

    choose(m_ui->essence, line.essence);
    choose(m_ui->qualite, line.qualite);
    choose(m_ui->unite, line.unite);
    m_ui->commentaire->setText(line.comment);
    m_ui->qte->setText(fieldAmountText(line.qte, quantityPattern));
    m_ui->qte_reel->setText(fieldAmountText(line.qteReel, quantityPattern));
    m_ui->prix_unit->setText(fieldAmountText(line.prixUnit, quantityPattern));
    m_ui->prix_total->setText(fieldAmountText(line.prixTotal));
    if (existing) {
        m_ui->essence->setEnabled(false);
        m_ui->qualite->setEnabled(false);
        m_ui->unite->setEnabled(false);
    }

    connect(m_ui->prix_unit, &QLineEdit::textChanged, this, &SpeciesLineDialog::computePrice);
    connect(m_ui->qte, &QLineEdit::textChanged, this, &SpeciesLineDialog::computePrice);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &SpeciesLineDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

SpeciesLineDialog::~SpeciesLineDialog() = default;

SpeciesLine SpeciesLineDialog::line() const
{
    SpeciesLine l = m_line;
    l.essence = m_ui->essence->currentText();
    l.qualite = m_ui->qualite->currentText();
    l.unite = m_ui->unite->currentText();
    l.comment = m_ui->commentaire->text();
    l.qte = fieldAmount(m_ui->qte);
    l.qteReel = fieldAmount(m_ui->qte_reel);
    l.prixUnit = fieldAmount(m_ui->prix_unit);
    l.prixTotal = fieldAmount(m_ui->prix_total);
    return l;
}

void SpeciesLineDialog::computePrice()
{
    if (const auto total = speciesLineTotal(fieldAmount(m_ui->qte), fieldAmount(m_ui->prix_unit)))
        m_ui->prix_total->setText(fieldAmountText(*total));
}

void SpeciesLineDialog::validate()
{
    if (m_ui->essence->currentText().isEmpty()) {
        m_context.dialogs->message(speciesRequiredMessage());
        return;
    }
    if (m_ui->qualite->currentText().isEmpty()) {
        m_context.dialogs->message(qualityRequiredMessage());
        return;
    }
    if (m_ui->unite->currentText().isEmpty()) {
        m_context.dialogs->message(unitRequiredMessage());
        return;
    }
    if (m_ui->qte_reel->text().trimmed().isEmpty()) m_ui->qte_reel->setText(m_ui->qte->text());
    computePrice();
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin
