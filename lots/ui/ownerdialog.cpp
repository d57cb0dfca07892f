#include "ownerdialog.h"
#include "ui_ownerdialog.h"

#include "amountfields.h"
#include "appcontext.h"
#include "decimalentry.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"
#include "namelists.h"
#include "ownerestimatedialog.h"
#include "textlimits.h"

#include <QSqlQueryModel>

namespace ravelin {

namespace {

const QString ratePattern = QStringLiteral("0.####");
const QString totalPattern = QStringLiteral("# ##0.00");

} // namespace

OwnerDialog::OwnerDialog(AppContext &context, const Owner &owner, bool existing, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_proprietaire>()), m_context(context), m_owner(owner),
      m_existing(existing), m_speciesSource(new QSqlQueryModel(this)), m_species(new GridModel(this))
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("proprietaire"));
    m_ui->type_proprietaire->addItems(ownerTypes());
    m_ui->achat_fixe->addItems({QStringLiteral("OUI"), QStringLiteral("NON")});
    if (const auto buyers = buyerNames(context.db)) m_ui->acheteur->addItems(*buyers);
    else context.dialogs->error(buyers.error());
    m_ui->Label_unite_estimation->setText(context.defaultUnit());
    for (QLineEdit *field :
         {m_ui->coef_cvo, m_ui->prix_achat, m_ui->coef_cvo_unite, m_ui->surface, m_ui->abattage_cout})
        installDecimalEntry(field);

    prepareGrid(m_ui->Grille_essences);
    m_species->setSourceModel(m_speciesSource);
    m_species->setCaption(QStringLiteral("qte"), QStringLiteral("Qte"));
    m_species->setCaption(QStringLiteral("qte_reel"), QStringLiteral("Qte reel"));
    m_species->setCaption(QStringLiteral("long"), QStringLiteral("Commentaire"));
    m_species->setCaption(QStringLiteral("n1"), QStringLiteral("."));
    m_species->setCaption(QStringLiteral("n2"), QStringLiteral("."));
    for (const char *c : {"qte", "qte_reel", "prix_unit", "prix_total"})
        m_species->setFormat(QString::fromLatin1(c), QStringLiteral("#,##0.00"));
    m_ui->Grille_essences->setModel(m_species);

    showOwner(owner);
    if (existing) {
        m_ui->nom->setReadOnly(true);
        m_ui->nom->setStyleSheet(QStringLiteral("background-color: #C0C0C0;"));
    } else {
        // Species lines hang on the owner's name: they come once the owner exists.
        m_ui->BtnCreerEssence->setEnabled(false);
        m_ui->BtnModifierEssence->setEnabled(false);
    }
    reloadSpecies();

    connect(m_ui->achat_fixe, &QComboBox::currentTextChanged, this, &OwnerDialog::switchCostGroups);
    // The levy rate shows in both cost groups; either one sets it.
    connect(m_ui->coef_cvo, &QLineEdit::textEdited, m_ui->coef_cvo_unite, &QLineEdit::setText);
    connect(m_ui->coef_cvo_unite, &QLineEdit::textEdited, m_ui->coef_cvo, &QLineEdit::setText);
    connect(m_ui->surface, &QLineEdit::textChanged, this, &OwnerDialog::updateTonnes);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &OwnerDialog::computeCost);
    connect(m_ui->BtnCreerEssence, &QPushButton::clicked, this, &OwnerDialog::createSpeciesLine);
    connect(m_ui->BtnModifierEssence, &QPushButton::clicked, this, &OwnerDialog::modifySpeciesLine);
    connect(m_ui->Grille_essences, &QTableView::doubleClicked, this, &OwnerDialog::modifySpeciesLine);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &OwnerDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

OwnerDialog::~OwnerDialog() = default;

void OwnerDialog::showOwner(const Owner &o)
{
    m_ui->nom->setText(o.nom);
    m_ui->type_proprietaire->setCurrentIndex(m_ui->type_proprietaire->findText(o.typeProprietaire));
    m_ui->date_achat->setDate(o.dateAchat.isValid() ? o.dateAchat : QDate::currentDate());
    m_ui->n_parcelle->setText(o.nParcelle);
    if (!o.acheteur.isEmpty() && m_ui->acheteur->findText(o.acheteur) < 0) m_ui->acheteur->addItem(o.acheteur);
    m_ui->acheteur->setCurrentIndex(m_ui->acheteur->findText(o.acheteur));
    m_ui->pro_adresse->setText(o.proAdresse);
    m_ui->pro_cp->setText(o.proCp);
    m_ui->pro_ville->setText(o.proVille);
    m_ui->pro_tel->setText(o.proTel);
    m_ui->pefc->setText(o.pefc);
    if (!o.achatFixe.isEmpty() && m_ui->achat_fixe->findText(o.achatFixe) < 0) m_ui->achat_fixe->addItem(o.achatFixe);
    m_ui->achat_fixe->setCurrentIndex(m_ui->achat_fixe->findText(o.achatFixe));
    m_ui->coef_cvo->setText(fieldAmountText(o.coefCvo, ratePattern));
    m_ui->coef_cvo_unite->setText(fieldAmountText(o.coefCvo, ratePattern));
    m_ui->prix_achat->setText(fieldAmountText(o.prixAchat));
    m_ui->abattage_cout->setText(fieldAmountText(o.abattageCout));
    m_ui->pro_paye->setChecked(o.proPaye == QLatin1String("Vrai"));
    m_ui->surface->setText(fieldAmountText(o.surface, ratePattern));
    showCostFields(o);
    switchCostGroups();
    updateTonnes();
}

void OwnerDialog::showCostFields(const Owner &o)
{
    m_ui->prix_achat->setText(fieldAmountText(o.prixAchat));
    m_ui->prix_estime->setText(fieldAmountText(o.prixEstime, totalPattern));
    m_ui->cvo->setText(fieldAmountText(o.cvo, totalPattern));
    m_ui->cvo_unite->setText(fieldAmountText(o.cvo, totalPattern));
    m_ui->estimation->setText(fieldAmountText(o.estimation, totalPattern));
    m_ui->cout_total->setText(fieldAmountText(o.coutTotal, totalPattern));
}

Owner OwnerDialog::owner() const
{
    Owner o = m_owner;
    o.nom = m_ui->nom->text();
    o.typeProprietaire = m_ui->type_proprietaire->currentText();
    o.dateAchat = m_ui->date_achat->date();
    o.nParcelle = m_ui->n_parcelle->text();
    o.acheteur = m_ui->acheteur->currentText();
    o.proAdresse = m_ui->pro_adresse->text();
    o.proCp = m_ui->pro_cp->text();
    o.proVille = m_ui->pro_ville->text();
    o.proTel = m_ui->pro_tel->text();
    o.pefc = m_ui->pefc->text();
    o.achatFixe = m_ui->achat_fixe->currentText();
    o.coefCvo = fieldAmount(m_ui->coef_cvo);
    o.prixAchat = fieldAmount(m_ui->prix_achat);
    o.prixEstime = fieldAmount(m_ui->prix_estime);
    o.cvo = fieldAmount(m_ui->cvo);
    o.estimation = fieldAmount(m_ui->estimation);
    o.coutTotal = fieldAmount(m_ui->cout_total);
    o.abattageCout = fieldAmount(m_ui->abattage_cout);
    o.proPaye = m_ui->pro_paye->isChecked() ? QStringLiteral("Vrai") : QStringLiteral("Faux");
    o.surface = fieldAmount(m_ui->surface);
    return o;
}

void OwnerDialog::switchCostGroups()
{
    const bool fixed = m_ui->achat_fixe->currentText() == QLatin1String("OUI");
    m_ui->Groupe_achat_fixe->setVisible(fixed);
    m_ui->Groupe_achat_unite->setVisible(!fixed);
}

void OwnerDialog::updateTonnes()
{
    m_ui->Label_tonnes->setText(surfaceTonnesText(fieldAmount(m_ui->surface), m_owner.coef));
}

void OwnerDialog::computeCost()
{
    Owner o = owner();
    // The sums come from the lines as written; a new owner has none yet.
    OwnerSpeciesSums sums;
    if (m_existing) {
        const auto read = ownerSpeciesSums(m_context.db, o.nLot, o.nom);
        if (!read) {
            m_context.dialogs->error(read.error());
            return;
        }
        sums = *read;
    }
    applyOwnerCost(o, sums);
    showCostFields(o);
}

void OwnerDialog::reloadSpecies()
{
    if (!m_existing) return;
    if (Status s = loadModel(*m_speciesSource, ownerSpeciesQuery(m_context.db, m_owner.nLot, m_owner.nom)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_essences, *m_species,
                {{QStringLiteral("essence"), 110},
                 {QStringLiteral("qualite"), 90},
                 {QStringLiteral("qte"), 80},
                 {QStringLiteral("unite"), 45},
                 {QStringLiteral("qte_reel"), 80},
                 {QStringLiteral("long"), 150},
                 {QStringLiteral("prix_unit"), 80},
                 {QStringLiteral("n1"), 20},
                 {QStringLiteral("prix_total"), 90},
                 {QStringLiteral("n2"), 20}});
    if (m_species->rowCount() > 0) m_ui->Grille_essences->selectRow(0);
}

void OwnerDialog::rereadCost()
{
    const auto stored = loadOwner(m_context.db, m_owner.inc);
    if (!stored) return; // the save tells when the owner is gone
    m_owner.estimation = stored->estimation;
    m_owner.prixEstime = stored->prixEstime;
    m_owner.prixAchat = stored->prixAchat;
    m_owner.cvo = stored->cvo;
    m_owner.coutTotal = stored->coutTotal;
}

void OwnerDialog::createSpeciesLine()
{
    const QString name = m_ui->nom->text();
    if (name.isEmpty()) {
        m_context.dialogs->message(ownerNameRequiredMessage());
        return;
    }
    SpeciesLineDialog screen(m_context, newSpeciesLine(m_owner.nLot, m_owner.indiceLot, name, m_context.defaultUnit()),
                             false, this);
    if (runModal(screen) == QDialog::Accepted) {
        if (Status s = ravelin::createSpeciesLine(m_context.db, screen.line()); !s) {
            m_context.dialogs->error(s.error());
        } else {
            rereadCost();
            reloadSpecies();
            emit volumeLinesChanged();
        }
    }
    computeCost();
}

void OwnerDialog::modifySpeciesLine()
{
    const QModelIndex current = m_ui->Grille_essences->currentIndex();
    if (!current.isValid() || m_species->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const SpeciesLine original = speciesLineFrom(m_speciesSource->record(current.row()));
    SpeciesLineDialog screen(m_context, original, true, this);
    screen.setSave([&] { return updateSpeciesLine(m_context.db, screen.asRead(), screen.line()); });
    // Written or deleted meanwhile, the lines are read again.
    runModal(screen);
    rereadCost();
    reloadSpecies();
    emit volumeLinesChanged();
    computeCost();
}

void OwnerDialog::validate()
{
    if (m_ui->nom->text().contains(QLatin1Char('\''))) {
        m_context.dialogs->message(ownerNameApostropheMessage());
        return;
    }
    computeCost();
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

GridModel *OwnerDialog::speciesLines() const
{
    return m_species;
}

} // namespace ravelin
