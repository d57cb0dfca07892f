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
    // The list keeps the order of rightsPages() (sortPages), not the widget's own character order,
    // which puts "Creer TVA" before "Creer contact".
    m_ui->Liste_refuse->setSortingEnabled(false);
    m_ui->Liste_refuse->addItems(rightsPages());

    if (user.inc != 0) {
        m_ui->Utilisateur->setReadOnly(true);
        const auto held = ravelin::grantedPages(context.db, user.name);
        if (!held) {
            context.dialogs->error(held.error());
            m_loaded = false;
        } else {
            m_grantedAsRead = *held;
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
    if (to == m_ui->Liste_refuse) sortRefused();
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
    if (to == m_ui->Liste_refuse) sortRefused();
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

void UserEditorDialog::sortRefused()
{
    QListWidget *list = m_ui->Liste_refuse;
    QList<QListWidgetItem *> items;
    while (list->count() > 0) items << list->takeItem(0);
    QStringList texts;
    for (const QListWidgetItem *item : items) texts << item->text();
    sortPages(texts);
    for (const QString &text : texts)
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i] && items[i]->text() == text) {
                list->addItem(items[i]);
                items[i] = nullptr;
                break;
            }
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
    if (m_user.inc == 0) {
        const auto saved = saveUser(m_context.db, user, grantedPages(), refusedPages());
        if (!saved) {
            m_context.dialogs->error(saved.error());
            return;
        }
        m_user.inc = *saved;
        accept();
        return;
    }
    // Only the pages whose right the user moved are written: a right another workstation changed
    // on another page stays as it is.
    QList<RightChange> rights;
    for (const QString &page : grantedPages())
        if (!m_grantedAsRead.contains(page)) rights.append({page, true});
    for (const QString &page : refusedPages())
        if (m_grantedAsRead.contains(page)) rights.append({page, false});
    if (Status s = updateUser(m_context.db, m_user, user, rights); !s) {
        m_context.dialogs->error(s.error());
        // The fields keep what the user typed; the row is read again, so that "OK" once more
        // writes the user's values over the ones just reported.
        if (s.error().kind == ErrorKind::ChangedElsewhere) {
            if (const auto users = listUsers(m_context.db))
                for (const UserRecord &u : *users)
                    if (u.inc == m_user.inc) m_user = u;
        }
        return;
    }
    m_grantedAsRead = grantedPages();
    accept();
}

} // namespace ravelin
