#include "contractoreditordialog.h"
#include "ui_contractoreditordialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "namelists.h"
#include "textlimits.h"

namespace ravelin {

namespace {

struct CostField
{
    QLineEdit *field;
    QVariant Contractor::*cost;
    const char *caption;
};

QList<CostField> costFields(Ui::creation_intervenant *ui)
{
    return {{ui->cout_tonne, &Contractor::coutTonne, "Coût tonne"},
            {ui->cout_heure, &Contractor::coutHeure, "Coût heure"},
            {ui->cout_volume, &Contractor::coutVolume, "Coût / m3"},
            {ui->cout_surface, &Contractor::coutSurface, "Coût / Are"},
            {ui->cout_stere, &Contractor::coutStere, "Coût / Stère"}};
}

} // namespace

ContractorEditorDialog::ContractorEditorDialog(AppContext &context, const Contractor &contractor, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::creation_intervenant>()), m_context(context), m_contractor(contractor)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("intervenant_possible"));
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ContractorEditorDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &ContractorEditorDialog::reject);
    for (const CostField &c : costFields(m_ui.get())) installDecimalEntry(c.field);

    auto families = contractorFamilies(context.db);
    if (!families) {
        m_context.dialogs->error(families.error());
        m_loaded = false;
        return;
    }
    m_ui->famille_intervenant->addItems(*families);
    // A family no longer offered stays as the contractor has it.
    if (!contractor.famille.isEmpty() && !families->contains(contractor.famille))
        m_ui->famille_intervenant->addItem(contractor.famille);
    m_ui->famille_intervenant->setCurrentIndex(m_ui->famille_intervenant->findText(contractor.famille));

    m_ui->societe->setText(contractor.societe);
    m_ui->societe->setEnabled(contractor.number == 0);
    for (const CostField &c : costFields(m_ui.get())) {
        const QVariant v = contractor.*c.cost;
        c.field->setText(v.isNull() ? QString() : formatNumber(v.toDouble(), QStringLiteral("0.##########")));
    }
    m_ui->commentaire->setPlainText(contractor.commentaire);
    m_ui->pefc->setText(contractor.pefc);
}

ContractorEditorDialog::~ContractorEditorDialog() = default;

void ContractorEditorDialog::validate()
{
    Contractor c = m_contractor;
    if (c.number == 0) c.societe = m_ui->societe->text();
    c.famille = m_ui->famille_intervenant->currentText();
    for (const CostField &f : costFields(m_ui.get())) {
        const QString typed = f.field->text().trimmed();
        if (typed.isEmpty()) {
            c.*f.cost = QVariant();
            continue;
        }
        bool ok = false;
        const double value = parseDecimal(typed, &ok);
        if (!ok) {
            m_context.dialogs->message(
                QStringLiteral("\"%1\" : ce n'est pas un nombre correct.").arg(QString::fromUtf8(f.caption)));
            return;
        }
        c.*f.cost = value;
    }
    c.commentaire = m_ui->commentaire->toPlainText();
    c.pefc = m_ui->pefc->text();

    if (c.societe.trimmed().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir une société"));
        return;
    }
    if (c.famille.trimmed().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir une famille"));
        return;
    }
    if (c.number == 0) {
        auto number = createContractor(m_context.db, c);
        if (!number) {
            m_context.dialogs->error(number.error());
            return;
        }
        c.number = *number;
    } else if (Status s = updateContractor(m_context.db, m_contractor, c); !s) {
        m_context.dialogs->error(s.error());
        // The fields keep what the user typed; the row is read again, so that "OK" once more
        // writes the user's values over the ones just reported.
        if (s.error().kind == ErrorKind::ChangedElsewhere)
            if (auto again = readContractor(m_context.db, c.number)) m_contractor = *again;
        return;
    }
    m_contractor = c;
    accept();
}

} // namespace ravelin
