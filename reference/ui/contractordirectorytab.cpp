#include "contractordirectorytab.h"
#include "ui_contractordirectorytab.h"

#include "appcontext.h"
#include "contacteditordialog.h"
#include "contractoractions.h"
#include "contractoreditordialog.h"
#include "contractors.h"
#include "counters.h"
#include "formats.h"
#include "gridhelpers.h"
#include "gridmodel.h"
#include "masterdetail.h"
#include "modal.h"
#include "reportpreview.h"
#include "wheelrowstepper.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QSet>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTimer>

namespace ravelin {

namespace {

void setBandColour(QWidget *band, const QString &colour)
{
    QPalette p = band->palette();
    p.setColor(QPalette::Window, rgb(colour));
    p.setColor(QPalette::WindowText, Qt::white);
    band->setPalette(p);
}

} // namespace

ContractorDirectoryTab::ContractorDirectoryTab(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Page_intervenant>()), m_context(context),
      m_contractors(new QSqlQueryModel(this)), m_contacts(new QSqlQueryModel(this)),
      m_actions(new QSqlQueryModel(this)), m_contractorGrid(new GridModel(this)), m_contactGrid(new GridModel(this)),
      m_actionGrid(new GridModel(this)), m_contactsReload(new DetailReload(
                                             50, [this] { loadContacts(); }, this))
{
    m_ui->setupUi(this);
    m_busyBar = new BusyBar(m_ui->ProgressBar_intervenant, 25, 50, this);
    for (const char *column :
         {"num_intervenant_possible", "cout_tonne", "cout_heure", "cout_surface", "cout_volume", "cout_stere"})
        m_contractorGrid->setAlignment(QString::fromLatin1(column), Qt::AlignCenter);
    m_ui->bottomAreas->setStretch(0, 2);
    m_ui->bottomAreas->setStretch(1, 3);
    setBandColour(m_ui->Entete_intervenant, QStringLiteral("626262"));
    setBandColour(m_ui->Entete_contact, QStringLiteral("626262"));

    m_contractorGrid->setSourceModel(m_contractors);
    m_contractorGrid->setCaption(QStringLiteral("famille_intervenant"), QStringLiteral("famille intervenant"));
    m_contractorGrid->setCaption(QStringLiteral("cout_tonne"), QStringLiteral("cout / tonne"));
    m_contractorGrid->setCaption(QStringLiteral("cout_heure"), QStringLiteral("cout / heure"));
    m_contractorGrid->setCaption(QStringLiteral("cout_surface"), QStringLiteral("cout / Are"));
    m_contractorGrid->setCaption(QStringLiteral("cout_volume"), QStringLiteral("coût / m3"));
    m_contractorGrid->setCaption(QStringLiteral("cout_stere"), QStringLiteral("coût / stere"));
    for (const char *cost : {"cout_tonne", "cout_heure", "cout_surface", "cout_volume", "cout_stere"})
        m_contractorGrid->setFormat(QString::fromLatin1(cost), QStringLiteral("#,##0.00"));
    m_ui->Grille_intervenant->setModel(m_contractorGrid);
    prepareGrid(m_ui->Grille_intervenant);
    WheelRowStepper::install(m_ui->Grille_intervenant);

    m_contactGrid->setSourceModel(m_contacts);
    m_contactGrid->setCaption(QStringLiteral("nom"), QStringLiteral("Nom"));
    m_ui->Grille_contact->setModel(m_contactGrid);
    prepareGrid(m_ui->Grille_contact);

    m_actionGrid->setSourceModel(m_actions);
    for (auto [column, caption] :
         {std::pair{"b", "nom"}, std::pair{"a", "Type"}, std::pair{"i", "operation"}, std::pair{"c", "N°coupe"},
          std::pair{"e", "Date"}, std::pair{"f", "Qte"}, std::pair{"j", "Indice"}, std::pair{"g", "Coût"},
          std::pair{"fac_fournisseur", "facturé"}})
        m_actionGrid->setCaption(QString::fromLatin1(column), QString::fromUtf8(caption));
    m_actionGrid->setFormat(QStringLiteral("g"), QStringLiteral("#,##0.00"));
    // A cost already settled with the contractor shows green.
    m_actionGrid->setCellColour([this](const QAbstractItemModel *source, int row, int column) -> QColor {
        const int settled = m_actionGrid->column(QStringLiteral("fac_fournisseur"));
        if (column != settled || source->index(row, column).data(Qt::EditRole).toString() != QLatin1String("OUI"))
            return {};
        return rgb(QStringLiteral("00FF00"));
    });
    m_ui->Grille_actions->setModel(m_actionGrid);
    prepareGrid(m_ui->Grille_actions);
    // columns sized on the rows around the visible ones, not on a whole year of actions
    m_ui->Grille_actions->horizontalHeader()->setResizeContentsPrecision(50);

    const QLocale french = frenchLocale();
    for (QDateEdit *date : {m_ui->Date_debut, m_ui->Date_fin}) date->setLocale(french);
    m_ui->Date_debut->setDate(QDate::currentDate().addDays(-30));
    m_ui->Date_fin->setDate(QDate::currentDate());

    connect(m_ui->rech, &QPushButton::clicked, this, &ContractorDirectoryTab::search);
    connect(m_ui->Trie_societe, &QRadioButton::clicked, this, &ContractorDirectoryTab::search);
    connect(m_ui->Trie_famille, &QRadioButton::clicked, this, &ContractorDirectoryTab::search);
    for (QLineEdit *filter : {m_ui->Intervenant, m_ui->Famille})
        connect(filter, &QLineEdit::returnPressed, this, &ContractorDirectoryTab::search);
    connect(m_ui->BtnCreer_intervenant, &QPushButton::clicked, this, &ContractorDirectoryTab::createContractor);
    connect(m_ui->BtnModifier_intervenant, &QPushButton::clicked, this, &ContractorDirectoryTab::modifyContractor);
    connect(m_ui->BtnSupprimer_intervenant, &QPushButton::clicked, this, &ContractorDirectoryTab::removeContractor);
    connect(m_ui->Grille_intervenant, &QAbstractItemView::doubleClicked, this,
            &ContractorDirectoryTab::modifyContractor);
    connect(m_ui->BtnCreer_contact, &QPushButton::clicked, this, &ContractorDirectoryTab::createContact);
    connect(m_ui->BtnModifier_contact, &QPushButton::clicked, this, &ContractorDirectoryTab::modifyContact);
    connect(m_ui->BtnSupprimer_contact, &QPushButton::clicked, this, &ContractorDirectoryTab::removeContact);
    connect(m_ui->Grille_contact, &QAbstractItemView::doubleClicked, this, &ContractorDirectoryTab::modifyContact);
    connect(m_ui->BtnAfficher_actions, &QPushButton::clicked, this, &ContractorDirectoryTab::showActions);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &ContractorDirectoryTab::printActions);
    connect(m_ui->Grille_intervenant->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ContractorDirectoryTab::contractorChanged);
    connect(m_ui->Grille_contact->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ContractorDirectoryTab::contactChanged);
}

ContractorDirectoryTab::~ContractorDirectoryTab() = default;

void ContractorDirectoryTab::search()
{
    m_searched = true;
    runSearch(true);
}

void ContractorDirectoryTab::refresh()
{
    // Only a list already opened is run again.
    if (m_searched) runSearch(false);
}

bool ContractorDirectoryTab::runSearch(bool showErrors)
{
    const QString number = m_ui->Intervenant->text();
    if (number.contains(QLatin1Char('\''))) {
        if (showErrors) m_context.dialogs->message(QStringLiteral("Saisie incorrecte, pas de \" ' \" "));
        return false;
    }
    const int kept = currentContractorNumber();
    auto found =
        searchContractors(m_context.db, number, m_ui->Famille->text(),
                          m_ui->Trie_famille->isChecked() ? ContractorSort::ByFamille : ContractorSort::BySociete);
    if (!found) {
        if (showErrors) m_context.dialogs->error(found.error());
        return false;
    }
    if (Status loaded = loadModel(*m_contractors, std::move(found)); !loaded) {
        if (showErrors) m_context.dialogs->error(loaded.error());
        return false;
    }
    m_ui->nb->setText(QStringLiteral("( nb : %1 )").arg(m_contractors->rowCount()));
    QTableView *view = m_ui->Grille_intervenant;
    view->setColumnWidth(m_contractorGrid->column(QStringLiteral("num_intervenant_possible")), 70);
    view->setColumnWidth(m_contractorGrid->column(QStringLiteral("societe")), 230);
    view->setColumnWidth(m_contractorGrid->column(QStringLiteral("famille_intervenant")), 140);
    view->setFocus();
    if (kept == 0 || !locateContractor(kept)) setCurrentContractorRow(0);
    if (contractorCount() == 0) {
        // Nothing to follow: the contacts and actions of the former selection go.
        m_contacts->clear();
        clearActions();
        contactChanged();
    }
    return true;
}

int ContractorDirectoryTab::contractorCount() const
{
    return m_contractors->rowCount();
}

int ContractorDirectoryTab::currentContractorRow() const
{
    if (contractorCount() == 0) return -1;
    const QModelIndex i = m_ui->Grille_intervenant->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void ContractorDirectoryTab::setCurrentContractorRow(int row)
{
    if (row < 0 || row >= contractorCount()) return;
    const QModelIndex current = m_ui->Grille_intervenant->currentIndex();
    m_ui->Grille_intervenant->setCurrentIndex(m_contractorGrid->index(row, current.isValid() ? current.column() : 1));
}

int ContractorDirectoryTab::currentContractorNumber() const
{
    const int row = currentContractorRow();
    return row < 0 ? 0 : m_contractorGrid->raw(row, QStringLiteral("num_intervenant_possible")).toInt();
}

QString ContractorDirectoryTab::currentSociete() const
{
    const int row = currentContractorRow();
    return row < 0 ? QString() : m_contractorGrid->raw(row, QStringLiteral("societe")).toString();
}

bool ContractorDirectoryTab::locateContractor(int number)
{
    for (int row = 0; row < contractorCount(); ++row) {
        if (m_contractorGrid->raw(row, QStringLiteral("num_intervenant_possible")).toInt() == number) {
            setCurrentContractorRow(row);
            return true;
        }
    }
    return false;
}

int ContractorDirectoryTab::contactCount() const
{
    return m_contacts->rowCount();
}

int ContractorDirectoryTab::currentContactRow() const
{
    if (contactCount() == 0) return -1;
    const QModelIndex i = m_ui->Grille_contact->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void ContractorDirectoryTab::setCurrentContactRow(int row)
{
    if (row < 0 || row >= contactCount()) return;
    m_ui->Grille_contact->setCurrentIndex(m_contactGrid->index(row, m_contactGrid->column(QStringLiteral("nom"))));
}

int ContractorDirectoryTab::actionCount() const
{
    return m_actions->rowCount();
}

void ContractorDirectoryTab::contractorChanged()
{
    clearActions();
    m_contactsReload->restart();
    m_busyBar->restart();
}

void ContractorDirectoryTab::loadContacts()
{
    m_contactsReload->timer().stop();
    if (contractorCount() == 0) return;
    ++m_contactLoads;
    auto found = contactsOf(m_context.db, currentContractorNumber());
    if (!found) {
        // The contacts of another contractor must not stay on screen.
        m_contacts->clear();
    } else {
        (void)loadModel(*m_contacts, std::move(found));
        showColumns(m_ui->Grille_contact, *m_contactGrid,
                    {{QStringLiteral("civilite")},
                     {QStringLiteral("nom")},
                     {QStringLiteral("prenom")},
                     {QStringLiteral("portable")},
                     {QStringLiteral("Tel")},
                     {QStringLiteral("Fonction")}});
        m_ui->Grille_contact->resizeColumnsToContents();
        setCurrentContactRow(0);
    }
    contactChanged();
}

void ContractorDirectoryTab::contactChanged()
{
    const int row = currentContactRow();
    const auto value = [&](const char *column) {
        return row < 0 ? QString() : m_contactGrid->raw(row, QString::fromLatin1(column)).toString();
    };
    m_ui->Contact_nom->setText(value("nom"));
    m_ui->Contact_prenom->setText(value("prenom"));
    m_ui->Contact_fonction->setText(value("Fonction"));
    m_ui->Contact_portable->setText(value("portable"));
    m_ui->Contact_tel->setText(value("Tel"));
    m_ui->Contact_email->setText(value("email"));
    m_ui->Contact_divers->setText(value("Divers"));
}

void ContractorDirectoryTab::clearActions()
{
    m_actions->clear();
    m_actionsSociete.clear();
    m_ui->Resultat_actions->setText(QStringLiteral("( .. )"));
}

void ContractorDirectoryTab::createContractor()
{
    if (!m_context.require(QStringLiteral("Creer intervenant"))) return;
    ContractorEditorDialog editor(m_context, Contractor{}, this);
    if (!editor.loaded()) return;
    if (runModal(editor) != QDialog::Accepted) return;
    runSearch(true);
    locateContractor(editor.contractor().number);
}

void ContractorDirectoryTab::modifyContractor()
{
    if (contractorCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!m_context.require(QStringLiteral("Creer intervenant"))) return;
    QElapsedTimer preparing;
    preparing.start();
    auto contractor = readContractor(m_context.db, currentContractorNumber());
    if (!contractor) {
        m_context.dialogs->error(contractor.error());
        return;
    }
    ContractorEditorDialog editor(m_context, *contractor, this);
    if (!editor.loaded()) return;
    emit preparationTimed(loadTimeText(preparing.elapsed()));
    if (runModal(editor) == QDialog::Accepted) runSearch(true);
}

void ContractorDirectoryTab::removeContractor()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) return;
    if (contractorCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer l'intervenant ?"))) return;
    if (Status s = deleteContractor(m_context.db, currentContractorNumber(), currentSociete()); !s)
        m_context.dialogs->error(s.error());
    runSearch(true);
    m_contactsReload->timer().stop();
    loadContacts();
}

void ContractorDirectoryTab::createContact()
{
    if (!m_context.require(QStringLiteral("Creer contact"))) return;
    if (contractorCount() == 0) {
        m_context.dialogs->message(QStringLiteral("Il n'y a pas d'intervenant"));
        return;
    }
    Contact contact;
    contact.contractor = currentContractorNumber();
    ContactEditorDialog editor(m_context, contact, this);
    runModal(editor);
    loadContacts();
    if (editor.result() == QDialog::Accepted) {
        for (int row = 0; row < contactCount(); ++row)
            if (m_contactGrid->raw(row, QStringLiteral("inc")).toInt() == editor.contact().inc)
                setCurrentContactRow(row);
    }
}

void ContractorDirectoryTab::modifyContact()
{
    if (!m_context.require(QStringLiteral("Creer contact"))) return;
    if (contractorCount() == 0) {
        m_context.dialogs->message(QStringLiteral("Il n'y a pas d'intervenant"));
        return;
    }
    const int row = currentContactRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    auto contact = readContact(m_context.db, m_contactGrid->raw(row, QStringLiteral("inc")).toInt());
    if (!contact) {
        m_context.dialogs->error(contact.error());
        loadContacts();
        return;
    }
    ContactEditorDialog editor(m_context, *contact, this);
    runModal(editor);
    loadContacts();
    setCurrentContactRow(row);
}

void ContractorDirectoryTab::removeContact()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) return;
    const int row = currentContactRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer le contact ?"))) return;
    if (Status s = deleteContact(m_context.db, m_contactGrid->raw(row, QStringLiteral("inc")).toInt()); !s)
        m_context.dialogs->error(s.error());
    loadContacts();
}

void ContractorDirectoryTab::showActions()
{
    if (contractorCount() == 0) return;
    const QString societe = currentSociete();
    const QDate start = m_ui->Date_debut->date();
    const QDate end = m_ui->Date_fin->date();
    auto found = contractorActions(m_context.db, societe, start, end);
    if (!found) {
        m_context.dialogs->error(found.error());
        return;
    }
    if (Status loaded = loadModel(*m_actions, std::move(found)); !loaded) {
        m_context.dialogs->error(loaded.error());
        return;
    }
    showColumns(m_ui->Grille_actions, *m_actionGrid,
                {{QStringLiteral("b")},
                 {QStringLiteral("a")},
                 {QStringLiteral("i")},
                 {QStringLiteral("c")},
                 {QStringLiteral("e")},
                 {QStringLiteral("f")},
                 {QStringLiteral("j")},
                 {QStringLiteral("g")},
                 {QStringLiteral("fac_fournisseur")}});
    m_ui->Grille_actions->resizeColumnsToContents();
    m_actionsSociete = societe;
    m_actionsStart = start;
    m_actionsEnd = end;
    m_ui->Resultat_actions->setText(QStringLiteral("( %1 enregistrements )").arg(m_actions->rowCount()));
}

void ContractorDirectoryTab::printActions()
{
    if (actionCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const QSqlRecord columns = m_actions->record();
    QStringList names;
    for (int c = 0; c < columns.count(); ++c) names << columns.fieldName(c);
    DataTable table(names);
    table.reserve(actionCount());
    for (int row = 0; row < actionCount(); ++row) {
        const QSqlRecord record = m_actions->record(row);
        QVariantList values;
        for (int c = 0; c < record.count(); ++c) values << record.value(c);
        table.addRow(std::move(values));
    }
    auto document =
        layoutContractorActions(contractorActionsData(table, m_actionsSociete, m_actionsStart, m_actionsEnd));
    if (!document) {
        m_context.dialogs->error(document.error());
        return;
    }
    ReportPreview preview(std::move(*document), *m_context.dialogs, this);
    preview.setObjectName(QStringLiteral("imp_action_intervenant"));
    runModal(preview);
}

} // namespace ravelin
