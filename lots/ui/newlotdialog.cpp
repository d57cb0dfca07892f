#include "newlotdialog.h"
#include "ui_newlotdialog.h"

#include "appcontext.h"
#include "textlimits.h"

namespace ravelin {

NewLotDialog::NewLotDialog(AppContext &context, const NewLot &lot, int proposal, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ouverture_coupe>()), m_context(context), m_lot(lot)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("coupe"));
    m_ui->type_achat->addItems(creationPurchaseTypes());
    m_ui->type_achat->setCurrentText(lot.typeAchat);
    m_ui->groupe_essence->addItems({QStringLiteral("OUI"), QStringLiteral("NON")});
    m_ui->groupe_essence->setCurrentText(lot.groupeEssence);
    m_ui->n_lot->setText(QString::number(proposal));
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &NewLotDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &NewLotDialog::reject);
}

NewLotDialog::~NewLotDialog() = default;

NewLot NewLotDialog::lot() const
{
    NewLot lot = m_lot;
    lot.typeAchat = m_ui->type_achat->currentText();
    lot.groupeEssence = m_ui->groupe_essence->currentText();
    return lot;
}

QString NewLotDialog::typedNumber() const
{
    return m_ui->n_lot->text();
}

void NewLotDialog::validate()
{
    if (m_ui->type_achat->currentText().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir un type de commande"));
        return;
    }
    accept();
}

} // namespace ravelin
