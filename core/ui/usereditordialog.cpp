#include "usereditordialog.h"
#include "ui_usereditordialog.h"

#include "appcontext.h"
#include "textlimits.h"

namespace ravelin {

UserEditorDialog::UserEditorDialog(AppContext &context, const UserRecord &user, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_mot_passe>()), m_context(context), m_user(user)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("mot_passe"));
    m_ui->Utilisateur->setText(user.name);
    m_ui->Mot_passe->setText(user.password);
    m_ui->email->setText(user.email);
    m_ui->email1->setText(user.email1);
    m_ui->email2->setText(user.email2);
    m_ui->Liste_refuse->addItems(rightsPages());

    if (user.inc != 0) {
        m_ui->Utilisateur->setReadOnly(true);
        const auto held = ravelin::grantedPages(context.db, user.name);
        if (!held) {
            context.dialogs->error(held.error());
            m_loaded = false;
        } else {
            // A held page that is no longer in the list is ignored.
            for (const QString &page : *held) {
                const auto found = m_ui->Liste_refuse->findItems(page, Qt::MatchExactly | Qt::MatchCaseSensitive);
                if (!found.isEmpty())
                    m_ui->Liste_autorise->addItem(m_ui->Liste_refuse->takeItem(m_ui->Liste_refuse->row(found.first())));
            }
        }
    }

    connect(m_ui->BtnDroite, &QPushButton::clicked, this, &UserEditorDialog::moveSelectedRight);
    connect(m_ui->BtnToutDroite, &QPushButton::clicked, this, &UserEditorDialog::moveAllRight);
    connect(m_ui->BtnGauche, &QPushButton::clicked, this, &UserEditorDialog::moveSelectedLeft);
    connect(m_ui->BtnToutGauche, &QPushButton::clicked, this, &UserEditorDialog::moveAllLeft);
    connect(m_ui->BtnValider, &QPushButton::clicked, this, &UserEditorDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &UserEditorDialog::reject);
    updateButtons();
}

UserEditorDialog::~UserEditorDialog() = default;

static QStringList itemsOf(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList UserEditorDialog::refusedPages() const
{
    return itemsOf(m_ui->Liste_refuse);
}
QStringList UserEditorDialog::grantedPages() const
{
    return itemsOf(m_ui->Liste_autorise);
}

void UserEditorDialog::moveSelected(QListWidget *from, QListWidget *to)
{
    int first = -1;
    for (int i = from->count() - 1; i >= 0; --i) {
        if (!from->item(i)->isSelected()) continue;
        first = i;
    }
    if (first < 0) return;
    // Moved in list order, so the right list grows in the order the pages were shown.
    QList<QListWidgetItem *> moving;
    for (int i = 0; i < from->count(); ++i)
        if (from->item(i)->isSelected()) moving << from->item(i);
    for (QListWidgetItem *item : moving) {
        from->takeItem(from->row(item));
        item->setSelected(false);
        to->addItem(item);
    }
    from->setFocus();
    from->clearSelection();
    if (from->count() > 0) {
        const int row = std::min(first, from->count() - 1);
        from->setCurrentRow(row);
        from->item(row)->setSelected(true);
    }
    updateButtons();
}

void UserEditorDialog::moveAll(QListWidget *from, QListWidget *to)
{
    while (from->count() > 0) to->addItem(from->takeItem(0));
    from->setFocus();
    if (from->count() > 0) from->setCurrentRow(0);
    to->clearSelection();
    updateButtons();
}

void UserEditorDialog::moveSelectedRight()
{
    moveSelected(m_ui->Liste_refuse, m_ui->Liste_autorise);
}
void UserEditorDialog::moveAllRight()
{
    moveAll(m_ui->Liste_refuse, m_ui->Liste_autorise);
}
void UserEditorDialog::moveSelectedLeft()
{
    moveSelected(m_ui->Liste_autorise, m_ui->Liste_refuse);
}
void UserEditorDialog::moveAllLeft()
{
    moveAll(m_ui->Liste_autorise, m_ui->Liste_refuse);
}

void UserEditorDialog::updateButtons()
{
    const bool left = m_ui->Liste_refuse->count() > 0;
    const bool right = m_ui->Liste_autorise->count() > 0;
    m_ui->BtnDroite->setEnabled(left);
    m_ui->BtnToutDroite->setEnabled(left);
    m_ui->BtnGauche->setEnabled(right);
    m_ui->BtnToutGauche->setEnabled(right);
}

void UserEditorDialog::validate()
{
    UserRecord user = m_user;
    user.name = m_ui->Utilisateur->text();
    user.password = m_ui->Mot_passe->text();
    user.email = m_ui->email->text();
    user.email1 = m_ui->email1->text();
    user.email2 = m_ui->email2->text();
    const auto saved = saveUser(m_context.db, user, grantedPages(), refusedPages());
    if (!saved) {
        m_context.dialogs->error(saved.error());
        return;
    }
    m_user.inc = *saved;
    accept();
}

} // namespace ravelin
