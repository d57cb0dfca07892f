#include "ownerstab.h"
#include "ui_ownerstab.h"

#include "amountfields.h"
#include "appcontext.h"
#include "costprice.h"
#include "dialogs.h"
#include "geocodepage.h"
#include "gridhelpers.h"
#include "mapserver.h"
#include "modal.h"
#include "ownerdialog.h"
#include "owners.h"
#include "textlimits.h"

#include <QDate>
#include <QSqlQueryModel>

namespace ravelin {

OwnersTab::OwnersTab(AppContext &context, int nLot, int indiceLot, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Onglet_proprietaires>()), m_context(context), m_nLot(nLot),
      m_indiceLot(indiceLot), m_ownersSource(new QSqlQueryModel(this)), m_owners(new GridModel(this)),
      m_speciesSource(new QSqlQueryModel(this)), m_species(new GridModel(this))
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("coupe"));
    prepareGrid(m_ui->Grille_proprietaires);
    prepareGrid(m_ui->Grille_proprietaire_essence);

    m_owners->setSourceModel(m_ownersSource);
    m_owners->setCaption(QStringLiteral("estimation"),
                         QStringLiteral("Estimation (") + context.defaultUnit() + QLatin1Char(')'));
    m_owners->setCaption(QStringLiteral("cout_total"), QStringLiteral("Prix achat"));
    m_owners->setCaption(QStringLiteral("pro_adresse"), QStringLiteral("Adresse"));
    m_owners->setCaption(QStringLiteral("pro_ville"), QStringLiteral("Ville"));
    m_owners->setCaption(QStringLiteral("pro_cp"), QStringLiteral("Code postal"));
    m_owners->setFormat(QStringLiteral("estimation"), QStringLiteral("#,##0.00"));
    m_owners->setFormat(QStringLiteral("cout_total"), QStringLiteral("#,##0.00"));
    m_ui->Grille_proprietaires->setModel(m_owners);

    m_species->setSourceModel(m_speciesSource);
    m_species->setCaption(QStringLiteral("qte"), QStringLiteral("Qte"));
    m_species->setCaption(QStringLiteral("qte_reel"), QStringLiteral("Qte réelle"));
    m_species->setCaption(QStringLiteral("unite_reel"), QStringLiteral("unite"));
    m_species->setCaption(QStringLiteral("long"), QStringLiteral("Commentaire"));
    m_species->setFormat(QStringLiteral("qte"), QStringLiteral("#,##0.00"));
    m_species->setFormat(QStringLiteral("qte_reel"), QStringLiteral("#,##0.00"));
    m_ui->Grille_proprietaire_essence->setModel(m_species);

    connect(m_ui->Grille_proprietaires->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &OwnersTab::reloadOwnerSpecies);
    connect(m_ui->Grille_proprietaires, &QTableView::doubleClicked, this, &OwnersTab::modifyOwner);
    connect(m_ui->BtnCreerProprietaire, &QPushButton::clicked, this, &OwnersTab::createOwner);
    connect(m_ui->BtnModifierProprietaire, &QPushButton::clicked, this, &OwnersTab::modifyOwner);
    connect(m_ui->BtnSupprimerProprietaire, &QPushButton::clicked, this, &OwnersTab::deleteOwner);
    connect(m_ui->BtnCoordonnees, &QPushButton::clicked, this, &OwnersTab::showParcelPosition);

    reload();
}

OwnersTab::~OwnersTab() = default;

void OwnersTab::setLotFields(const QSqlRecord &lot)
{
    m_ui->lieu->setText(lot.value(QStringLiteral("lieu")).toString());
    m_ui->adresse->setText(lot.value(QStringLiteral("adresse")).toString());
    m_ui->cp->setText(lot.value(QStringLiteral("cp")).toString());
    m_ui->latitude->setText(lot.value(QStringLiteral("latitude")).toString());
    m_ui->prix_achat->setText(fieldAmountText(lot.value(QStringLiteral("prix_achat")), QStringLiteral("# ##0.00")));
    m_ui->abattage_cout->setText(
        fieldAmountText(lot.value(QStringLiteral("abattage_cout")), QStringLiteral("# ##0.00")));
}

QVariantMap OwnersTab::placeFields() const
{
    return {{QStringLiteral("lieu"), m_ui->lieu->text()},
            {QStringLiteral("adresse"), m_ui->adresse->text()},
            {QStringLiteral("cp"), m_ui->cp->text()},
            {QStringLiteral("latitude"), m_ui->latitude->text()}};
}

int OwnersTab::currentOwnerRow() const
{
    const QModelIndex i = m_ui->Grille_proprietaires->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void OwnersTab::selectOwner(int row)
{
    if (row < 0 || row >= m_owners->rowCount()) return;
    m_ui->Grille_proprietaires->setCurrentIndex(m_owners->index(row, m_owners->column(QStringLiteral("nom"))));
}

void OwnersTab::reload()
{
    const int row = currentOwnerRow();
    const QVariant inc = row >= 0 ? m_owners->raw(row, QStringLiteral("inc")) : QVariant();
    if (Status s = loadModel(*m_ownersSource, lotOwnersQuery(m_context.db, m_nLot)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_proprietaires, *m_owners,
                {{QStringLiteral("type_proprietaire"), 110},
                 {QStringLiteral("nom"), 180},
                 {QStringLiteral("N_parcelle"), 120},
                 {QStringLiteral("estimation"), 110},
                 {QStringLiteral("cout_total"), 100},
                 {QStringLiteral("pro_adresse"), 180},
                 {QStringLiteral("pro_ville"), 120},
                 {QStringLiteral("pro_cp"), 80}});
    int again = m_owners->rowCount() > 0 ? 0 : -1;
    for (int r = 0; inc.isValid() && r < m_owners->rowCount(); ++r)
        if (m_owners->raw(r, QStringLiteral("inc")) == inc) again = r;
    if (again >= 0) selectOwner(again);
    else reloadOwnerSpecies();
}

void OwnersTab::reloadOwnerSpecies()
{
    const int row = currentOwnerRow();
    const QString owner = row >= 0 ? m_owners->raw(row, QStringLiteral("nom")).toString() : QString();
    m_ui->Label_proprietaire_essence->setText(QStringLiteral("Essence et quantité du propriétaire : ") + owner);
    if (row < 0) {
        m_speciesSource->clear();
        return;
    }
    if (Status s = loadModel(*m_speciesSource, ownerSpeciesQuery(m_context.db, m_nLot, owner)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_proprietaire_essence, *m_species,
                {{QStringLiteral("essence"), 120},
                 {QStringLiteral("qualite"), 100},
                 {QStringLiteral("qte"), 90},
                 {QStringLiteral("unite"), 50},
                 {QStringLiteral("qte_reel"), 90},
                 {QStringLiteral("unite_reel"), 50},
                 {QStringLiteral("long"), 220}});
}

void OwnersTab::reloadLotAmounts()
{
    const auto lot = readLotDerivedColumns(m_context.db, m_nLot);
    if (!lot) {
        m_context.dialogs->error(lot.error());
        return;
    }
    m_ui->prix_achat->setText(fieldAmountText(lot->value(QStringLiteral("prix_achat")), QStringLiteral("# ##0.00")));
    m_ui->abattage_cout->setText(
        fieldAmountText(lot->value(QStringLiteral("abattage_cout")), QStringLiteral("# ##0.00")));
}

bool OwnersTab::refusedOnFinishedLot()
{
    if (!m_finished) return false;
    m_context.dialogs->message(finishedLotMessage());
    return true;
}

void OwnersTab::ownersChanged()
{
    reload();
    if (auto totals = computeWoodState(m_context.db, m_nLot); !totals) m_context.dialogs->error(totals.error());
    reloadLotAmounts();
    emit volumeLinesChanged();
    emit lotTotalsChanged();
}

void OwnersTab::createOwner()
{
    if (refusedOnFinishedLot()) return;
    OwnerDialog screen(m_context, newOwner(m_nLot, m_indiceLot, m_context.settings, QDate::currentDate()), false, this);
    if (runModal(screen) == QDialog::Accepted) {
        const auto created = ravelin::createOwner(m_context.db, screen.owner());
        if (!created) m_context.dialogs->error(created.error());
    }
    ownersChanged();
    // The new owner becomes the selected one.
    const QString name = screen.owner().nom;
    for (int r = 0; r < m_owners->rowCount(); ++r)
        if (m_owners->raw(r, QStringLiteral("nom")).toString() == name) selectOwner(r);
}

void OwnersTab::modifyOwner()
{
    if (refusedOnFinishedLot()) return;
    const int row = currentOwnerRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const auto owner = loadOwner(m_context.db, m_owners->raw(row, QStringLiteral("inc")).toInt());
    if (!owner) {
        m_context.dialogs->error(owner.error());
        reload();
        return;
    }
    OwnerDialog screen(m_context, *owner, true, this);
    connect(&screen, &OwnerDialog::volumeLinesChanged, this, [this] {
        reloadLotAmounts();
        emit volumeLinesChanged();
        emit lotTotalsChanged();
    });
    screen.setSave([&] { return updateOwner(m_context.db, screen.asRead(), screen.owner()); });
    // Saved, cancelled or deleted meanwhile: the owners are read again.
    runModal(screen);
    ownersChanged();
}

void OwnersTab::deleteOwner()
{
    if (refusedOnFinishedLot()) return;
    const int row = currentOwnerRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!m_context.dialogs->yesNo(QStringLiteral("Voulez vous supprimer ce proprietaire ?"),
                                  QStringLiteral("Attention")))
        return;
    const auto typed = m_context.dialogs->input(QStringLiteral("Supprimer un proprietaire"),
                                                QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    if (!typed || *typed != QLatin1String("SUPPRIMER")) return;
    if (Status s = ravelin::deleteOwner(m_context.db, m_owners->raw(row, QStringLiteral("inc")).toInt()); !s)
        m_context.dialogs->error(s.error());
    ownersChanged();
}

GridModel *OwnersTab::owners() const
{
    return m_owners;
}

GridModel *OwnersTab::ownerSpecies() const
{
    return m_species;
}

void OwnersTab::showParcelPosition()
{
    // the lot's place as it stands on the tab: lieu-dit, commune, postcode
    const QString address =
        QStringList{m_ui->adresse->text(), m_ui->lieu->text(), m_ui->cp->text()}.join(QLatin1Char(' '));
    Status shown = [&]() -> Status {
        auto page = writeGeocodingPage(m_context.applicationFolder, address, QStringLiteral("Latitude, Longitude"));
        if (!page) return page.error();
        return showMapPage(m_context.applicationFolder, *page);
    }();
    if (!shown) m_context.dialogs->error(shown.error());
}

} // namespace ravelin
