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
#include "listgrid.h"
#include "masterdetail.h"
#include "modal.h"
#include "reportpreview.h"

#include <QElapsedTimer>
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

ListDeclaration contractorsList(QLabel *counter)
{
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration d;
    d.screen = QStringLiteral("Grille_intervenant");
    d.columns = {
        {QStringLiteral("num_intervenant_possible"), QString(), QString(), 70, Qt::AlignCenter},
        {QStringLiteral("societe"), QString(), QString(), 230},
        {QStringLiteral("famille_intervenant"), QStringLiteral("famille intervenant"), QString(), 140},
        {QStringLiteral("cout_tonne"), QStringLiteral("cout / tonne"), amounts, -1, Qt::AlignCenter},
        {QStringLiteral("cout_heure"), QStringLiteral("cout / heure"), amounts, -1, Qt::AlignCenter},
        {QStringLiteral("cout_surface"), QStringLiteral("cout / Are"), amounts, -1, Qt::AlignCenter},
        {QStringLiteral("cout_volume"), QStringLiteral("coût / m3"), amounts, -1, Qt::AlignCenter},
        {QStringLiteral("cout_stere"), QStringLiteral("coût / stere"), amounts, -1, Qt::AlignCenter},
    };
    d.key = QStringLiteral("num_intervenant_possible");
    d.counter = counter;
    d.wheelSteps = true;
    // a few hundred contractors after twenty years: one page holds them, and the contractor kept
    // across a search is found among the rows read
    d.pageSize = 1000;
    return d;
}

ListDeclaration contactsList()
{
    ListDeclaration d;
    d.screen = QStringLiteral("Grille_contact");
    d.columns = {
        {QStringLiteral("civilite"), QString(), QString(), 55},
        {QStringLiteral("nom"), QStringLiteral("Nom"), QString(), 130},
        {QStringLiteral("prenom"), QString(), QString(), 110},
        {QStringLiteral("portable"), QString(), QString(), 100},
        {QStringLiteral("Tel"), QString(), QString(), 100},
        {QStringLiteral("Fonction"), QString(), QString(), 130},
    };
    d.key = QStringLiteral("inc");
    d.wheelSteps = true;
    return d;
}

ListDeclaration actionsList()
{
    ListDeclaration d;
    d.screen = QStringLiteral("Grille_actions");
    d.columns = {
        {QStringLiteral("b"), QStringLiteral("nom"), QString(), 150},
        {QStringLiteral("a"), QStringLiteral("Type"), QString(), 105},
        {QStringLiteral("i"), QStringLiteral("operation"), QString(), 110},
        {QStringLiteral("c"), QStringLiteral("N°coupe"), QString(), 70},
        {QStringLiteral("e"), QStringLiteral("Date"), QString(), 80},
        {QStringLiteral("f"), QStringLiteral("Qte"), QString(), 60},
        {QStringLiteral("j"), QStringLiteral("Indice"), QString(), 55},
        {QStringLiteral("g"), QStringLiteral("Coût"), QStringLiteral("#,##0.00"), 80},
        // A cost already settled with the contractor shows green.
        {QStringLiteral("fac_fournisseur"),
         QStringLiteral("facturé"),
         QString(),
         60,
         {},
         [](const ListGrid &grid, int row) {
             return grid.raw(row, QStringLiteral("fac_fournisseur")).toString() == QLatin1String("OUI")
                        ? rgb(QStringLiteral("00FF00"))
                        : QColor();
         }},
    };
    return d;
}

} // namespace

ContractorDirectoryTab::ContractorDirectoryTab(AppContext &context, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Page_intervenant>()), m_context(context),
      m_contactsReload(new DetailReload(
          50, [this] { loadContacts(); }, this))
{
    m_ui->setupUi(this);
    m_busyBar = new BusyBar(m_ui->ProgressBar_intervenant, 25, 50, this);
    m_ui->bottomAreas->setStretch(0, 2);
    m_ui->bottomAreas->setStretch(1, 3);
    setBandColour(m_ui->Entete_intervenant, QStringLiteral("626262"));
    setBandColour(m_ui->Entete_contact, QStringLiteral("626262"));

    m_contractors = new ListGrid(context, m_ui->Grille_intervenant, contractorsList(m_ui->nb));
    m_contacts = new ListGrid(context, m_ui->Grille_contact, contactsList());
    m_actions = new ListGrid(context, m_ui->Grille_actions, actionsList());
    // "( 3 enregistrements )" once counted, "( .. )" while no actions are asked for
    connect(m_actions, &ListGrid::counted, this, [this](qint64 total) {
        if (!m_actionsSociete.isEmpty())
            m_ui->Resultat_actions->setText(QStringLiteral("( %1 enregistrements )").arg(total));
    });

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
    connect(m_contractors, &ListGrid::currentRowChanged, this, &ContractorDirectoryTab::contractorChanged);
    connect(m_contacts, &ListGrid::currentRowChanged, this, &ContractorDirectoryTab::contactChanged);
}

ContractorDirectoryTab::~ContractorDirectoryTab() = default;

GridModel *ContractorDirectoryTab::contractorGrid() const
{
    return m_contractors->model();
}

GridModel *ContractorDirectoryTab::contactGrid() const
{
    return m_contacts->model();
}

GridModel *ContractorDirectoryTab::actionGrid() const
{
    return m_actions->model();
}

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
    // the grid keeps the current contractor when the new list holds it, else shows the first
    const PagedQuery list =
        searchContractors(number, m_ui->Famille->text(),
                          m_ui->Trie_famille->isChecked() ? ContractorSort::ByFamille : ContractorSort::BySociete);
    if (Status loaded = m_contractors->setQuery(list); !loaded) {
        if (showErrors) m_context.dialogs->error(loaded.error());
        return false;
    }
    m_ui->Grille_intervenant->setFocus();
    if (contractorCount() == 0) {
        // Nothing to follow: the contacts and actions of the former selection go.
        m_contacts->setTable(DataTable());
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
    return qMax(0, m_contractors->currentRow());
}

void ContractorDirectoryTab::setCurrentContractorRow(int row)
{
    m_contractors->selectRow(row);
}

int ContractorDirectoryTab::currentContractorNumber() const
{
    const int row = currentContractorRow();
    return row < 0 ? 0 : m_contractors->raw(row, QStringLiteral("num_intervenant_possible")).toInt();
}

QString ContractorDirectoryTab::currentSociete() const
{
    const int row = currentContractorRow();
    return row < 0 ? QString() : m_contractors->raw(row, QStringLiteral("societe")).toString();
}

bool ContractorDirectoryTab::locateContractor(int number)
{
    return m_contractors->selectKey(number);
}

int ContractorDirectoryTab::contactCount() const
{
    return m_contacts->rowCount();
}

int ContractorDirectoryTab::currentContactRow() const
{
    if (contactCount() == 0) return -1;
    return qMax(0, m_contacts->currentRow());
}

void ContractorDirectoryTab::setCurrentContactRow(int row)
{
    m_contacts->selectRow(row);
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
    // The contacts of another contractor must not stay on screen.
    if (Status loaded = m_contacts->setQuery(contactsOf(currentContractorNumber())); !loaded)
        m_contacts->setTable(DataTable());
    contactChanged();
}

void ContractorDirectoryTab::contactChanged()
{
    const int row = currentContactRow();
    const auto value = [&](const char *column) {
        return row < 0 ? QString() : m_contacts->raw(row, QString::fromLatin1(column)).toString();
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
    m_actionsSociete.clear();
    m_actions->setTable(DataTable());
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
    // Refreshed whatever happened: the contractor may have been deleted on another workstation.
    runModal(editor);
    runSearch(true);
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
    if (editor.result() == QDialog::Accepted) m_contacts->selectKey(editor.contact().inc);
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
    auto contact = readContact(m_context.db, m_contacts->raw(row, QStringLiteral("inc")).toInt());
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
    if (Status s = deleteContact(m_context.db, m_contacts->raw(row, QStringLiteral("inc")).toInt()); !s)
        m_context.dialogs->error(s.error());
    loadContacts();
}

void ContractorDirectoryTab::showActions()
{
    if (contractorCount() == 0) return;
    const QString societe = currentSociete();
    const QDate start = m_ui->Date_debut->date();
    const QDate end = m_ui->Date_fin->date();
    // whose actions are shown, for the counter and the printout
    m_actionsSociete = societe;
    m_actionsStart = start;
    m_actionsEnd = end;
    m_ui->Resultat_actions->setText(QStringLiteral("( … enregistrements )"));
    if (Status loaded = m_actions->setQuery(contractorActions(societe, start, end)); !loaded) {
        clearActions();
        m_context.dialogs->error(loaded.error());
    }
}

void ContractorDirectoryTab::printActions()
{
    PagedQueryModel *shown = m_actions->pagedModel();
    if (actionCount() == 0 || !shown) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    // the statement prints every action of the grid, not only those scrolled to
    if (Status read = shown->fetchAll(); !read) {
        m_context.dialogs->error(read.error());
        return;
    }
    const QSqlRecord columns = shown->record(0);
    QStringList names;
    for (int c = 0; c < columns.count(); ++c) names << columns.fieldName(c);
    DataTable table(names);
    table.reserve(shown->rowCount());
    for (int row = 0; row < shown->rowCount(); ++row) {
        QVariantList values;
        for (int c = 0; c < names.size(); ++c) values << shown->index(row, c).data(Qt::EditRole);
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
