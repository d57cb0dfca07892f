#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <memory>

namespace Ui {
class saisie_mot_passe;
}

namespace ravelin {

class Dialogs;

// saisie_mot_passe: asks for a password and finds the user who has it. An unknown password is
// refused with a message and the screen stays open; "&Annuler" closes with nobody signed in.
class SignInDialog : public QDialog
{
    Q_OBJECT
public:
    SignInDialog(QSqlDatabase db, Dialogs &dialogs, QWidget *parent = nullptr);
    ~SignInDialog() override;

    // The signed-in user's name; empty until someone signed in.
    QString user() const { return m_user; }

    Ui::saisie_mot_passe *ui() const { return m_ui.get(); }

signals:
    // The text for the user panel of the status bar ("Utilisateur inconnu" after a failure).
    void userPanelChanged(const QString &text);

public slots:
    void validate();
    void reject() override;

private:
    std::unique_ptr<Ui::saisie_mot_passe> m_ui;
    QSqlDatabase m_db;
    Dialogs &m_dialogs;
    QString m_user;
};

} // namespace ravelin
