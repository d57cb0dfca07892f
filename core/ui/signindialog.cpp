#include "signindialog.h"
#include "ui_signindialog.h"

#include "dialogs.h"
#include "users.h"

namespace ravelin {

SignInDialog::SignInDialog(QSqlDatabase db, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::saisie_mot_passe>()), m_db(db), m_dialogs(dialogs)
{
    m_ui->setupUi(this);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &SignInDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &SignInDialog::reject);
}

SignInDialog::~SignInDialog() = default;

void SignInDialog::validate()
{
    const auto found = signIn(m_db, m_ui->Edit_mot_passe->text());
    if (!found) {
        m_dialogs.error(found.error());
        return;
    }
    if (!found->isEmpty()) {
        m_user = *found;
        emit userPanelChanged(m_user);
        accept();
        return;
    }
    emit userPanelChanged(unknownUser());
    m_dialogs.message(QStringLiteral("Mot de passe inconnu"), QStringLiteral("Mot de passe"));
    m_ui->Edit_mot_passe->clear();
    m_ui->Edit_mot_passe->setFocus();
}

void SignInDialog::reject()
{
    m_user.clear();
    emit userPanelChanged(unknownUser());
    QDialog::reject();
}

} // namespace ravelin
