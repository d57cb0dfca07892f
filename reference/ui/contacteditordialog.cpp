#include "contacteditordialog.h"
#include "ui_contacteditordialog.h"

#include "appcontext.h"
#include "textlimits.h"

namespace ravelin {

ContactEditorDialog::ContactEditorDialog(AppContext &context, const Contact &contact, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::creation_contact>()), m_context(context), m_contact(contact)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("contact"));
    m_ui->civilite->addItems({QStringLiteral("M."), QStringLiteral("Mme"), QStringLiteral("Mlle")});
    if (!contact.civilite.isEmpty() && m_ui->civilite->findText(contact.civilite) < 0)
        m_ui->civilite->addItem(contact.civilite); // kept as stored
    m_ui->civilite->setCurrentIndex(m_ui->civilite->findText(contact.civilite));
    m_ui->nom->setText(contact.nom);
    m_ui->prenom->setText(contact.prenom);
    m_ui->tel->setText(contact.tel);
    m_ui->portable->setText(contact.portable);
    m_ui->email->setText(contact.email);
    m_ui->fax->setText(contact.fax);
    m_ui->fonction->setText(contact.fonction);
    m_ui->Divers->setPlainText(contact.divers);
    m_ui->password->setText(contact.password);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ContactEditorDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &ContactEditorDialog::reject);
}

ContactEditorDialog::~ContactEditorDialog() = default;

void ContactEditorDialog::validate()
{
    Contact c = m_contact;
    c.civilite = m_ui->civilite->currentText();
    c.nom = m_ui->nom->text();
    c.prenom = m_ui->prenom->text();
    c.tel = m_ui->tel->text();
    c.portable = m_ui->portable->text();
    c.email = m_ui->email->text();
    c.fax = m_ui->fax->text();
    c.fonction = m_ui->fonction->text();
    c.divers = m_ui->Divers->toPlainText();
    c.password = m_ui->password->text();

    if (c.nom.trimmed().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir un nom"));
        return;
    }
    auto taken = contactPasswordTaken(m_context.db, c.password, c.inc);
    if (!taken) {
        m_context.dialogs->error(taken.error());
        return;
    }
    if (*taken) {
        m_context.dialogs->message(contactPasswordExistsMessage());
        return;
    }
    // The write tests the password again, under the lock that keeps two workstations apart.
    if (c.inc == 0) {
        auto written = createContact(m_context.db, c);
        if (!written) {
            m_context.dialogs->error(written.error());
            return;
        }
        c = *written;
    } else if (Status s = updateContact(m_context.db, m_contact, c); !s) {
        m_context.dialogs->error(s.error());
        // The fields keep what the user typed; the row is read again, so that "OK" once more
        // writes the user's values over the ones just reported.
        if (s.error().kind == ErrorKind::ChangedElsewhere)
            if (auto again = readContact(m_context.db, c.inc)) m_contact = *again;
        return;
    }
    m_contact = c;
    accept();
}

} // namespace ravelin
