#include "postitdialog.h"
#include "ui_postitdialog.h"

#include "appcontext.h"
#include "listgrid.h"
#include "postits.h"

namespace ravelin {

PostitDialog::PostitDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::creer_postit>()), m_context(context)
{
    m_ui->setupUi(this);
    ListDeclaration users;
    users.screen = QStringLiteral("creer_postit");
    users.columns = {{QStringLiteral("utilisateur"), QStringLiteral("Utilisateur"), QString(), 200}};
    users.key = QStringLiteral("utilisateur");
    m_users = new ListGrid(context, m_ui->Grille_utilisateurs, users);
    if (auto recipients = postitRecipients(context.db); recipients) m_users->setTable(*recipients);
    else context.dialogs->error(recipients.error());
    connect(m_ui->BtnEnvoyer, &QPushButton::clicked, this, &PostitDialog::send);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &PostitDialog::reject);
}

PostitDialog::~PostitDialog() = default;

void PostitDialog::send()
{
    const int row = m_users->currentRow();
    const QString recipient = row >= 0 ? m_users->raw(row, QStringLiteral("utilisateur")).toString() : QString();
    const Status sent = sendPostit(m_context.db, recipient, m_ui->Message->toPlainText(), m_context.user(),
                                   QDateTime::currentDateTime());
    if (!sent) {
        m_context.dialogs->error(sent.error());
        return;
    }
    accept();
}

} // namespace ravelin
