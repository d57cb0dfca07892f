#include "userlistdialog.h"
#include "ui_userlistdialog.h"

#include "appcontext.h"
#include "modal.h"
#include "usereditordialog.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace ravelin {

UserListDialog::UserListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Liste_mot_passe>()), m_context(context),
      m_model(new QStandardItemModel(this))
{
    m_ui->setupUi(this);
    m_ui->Grille_mot_passe->setModel(m_model);
    m_ui->Grille_mot_passe->horizontalHeader()->setStretchLastSection(true);
    m_ui->Grille_mot_passe->verticalHeader()->hide();
    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &UserListDialog::createUser);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &UserListDialog::modifyUser);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &UserListDialog::removeUser);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &UserListDialog::accept);
    refresh();
}

UserListDialog::~UserListDialog() = default;

void UserListDialog::refresh()
{
    const int keep = currentRow();
    auto users = listUsers(m_context.db);
    if (!users) {
        m_context.dialogs->error(users.error());
        return;
    }
    m_users = *users;
    m_model->clear();
    m_model->setHorizontalHeaderLabels({QStringLiteral("Utilisateur")});
    for (const UserRecord &u : m_users) m_model->appendRow(new QStandardItem(u.name));
    if (!m_users.isEmpty()) selectRow(std::clamp(keep, 0, int(m_users.size()) - 1));
}

void UserListDialog::selectRow(int row)
{
    m_ui->Grille_mot_passe->setCurrentIndex(m_model->index(row, 0));
}

int UserListDialog::currentRow() const
{
    const QModelIndex i = m_ui->Grille_mot_passe->currentIndex();
    return i.isValid() ? i.row() : (m_users.isEmpty() ? -1 : 0);
}

void UserListDialog::createUser()
{
    UserEditorDialog editor(m_context, UserRecord{}, this);
    if (runModal(editor) == QDialog::Accepted) refresh();
}

void UserListDialog::modifyUser()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    UserEditorDialog editor(m_context, m_users[row], this);
    if (!editor.loaded()) return;
    // Refreshed whatever happened: the user may have been deleted on another workstation.
    runModal(editor);
    refresh();
}

void UserListDialog::removeUser()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!m_context.dialogs->okCancel(QStringLiteral("Confirmer la suppression de l'enregistrement sélectionné"),
                                     QStringLiteral("Attention")))
        return;
    if (Status s = deleteUser(m_context.db, m_users[row]); !s) m_context.dialogs->error(s.error());
    refresh();
}

} // namespace ravelin
