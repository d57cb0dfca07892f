#include "newdeliverydialog.h"
#include "ui_legenddialog.h"
#include "ui_newdeliverydialog.h"

#include "appcontext.h"
#include "dialogs.h"
#include "modal.h"
#include "operationicons.h"
#include "volumelinepicker.h"

#include <QLabel>

namespace ravelin {

NewDeliveryDialog::NewDeliveryDialog(AppContext &context, const NewDelivery &defaults, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ouverture_liv>()), m_context(context), m_delivery(defaults)
{
    m_ui->setupUi(this);
    m_ui->operation->addItem(QString());
    m_ui->operation->addItems(deliveryOperations());
    m_ui->operation->setCurrentText(defaults.operation);
    m_ui->BtnLegende->setIcon(QIcon(operationIconPixmap(QStringLiteral("VENTE"))));
    connect(m_ui->BtnCoupes, &QPushButton::clicked, this, &NewDeliveryDialog::chooseLot);
    connect(m_ui->BtnLegende, &QToolButton::clicked, this, [this] { showLegend(this); });
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &NewDeliveryDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

NewDeliveryDialog::~NewDeliveryDialog() = default;

NewDelivery NewDeliveryDialog::delivery() const
{
    NewDelivery d = m_delivery;
    d.operation = m_ui->operation->currentText();
    return d;
}

void NewDeliveryDialog::chooseLot()
{
    const auto line = pickVolumeLine(m_context, this);
    if (!line) return;
    m_delivery.nLot = line->nLot;
    m_delivery.depart = line->lieu;
    m_delivery.essence = line->essence;
    m_delivery.id = line->inc;
    m_delivery.uniteConso = line->unite;
    m_ui->n_lot->setText(QString::number(line->nLot));
}

void NewDeliveryDialog::validate()
{
    if (m_ui->operation->currentText().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir un type d'opération"));
        return;
    }
    if (m_delivery.nLot.isNull() &&
        !m_context.dialogs->yesNo(
            QStringLiteral("Vous n'avez pas affecté de coupe de bois.  Voulez vous continuer sans Coupe de BOIS ?"),
            QStringLiteral("Confirmation")))
        return;
    accept();
}

QString operationLegend(const QString &operation)
{
    static const QHash<QString, QString> texts{
        {QStringLiteral("PREVISION"), QStringLiteral("PREVISION de livraison")},
        {QStringLiteral("VENTE"),
         QStringLiteral("VENTE de PLAQUETTE Forestière depuis Coupe de bois ou zone de Stockage")},
        {QStringLiteral("VENTE sur ACHAT"),
         QStringLiteral("VENTE de PLAQUETTE forestière depuis un ACHAT de bois en Bors de route")},
        {QStringLiteral("TRANSPORT"), QStringLiteral("Prestation de TRANSPORT pour déplacer du matèriel ")},
        {QStringLiteral("ACHAT sur TRANSFERT"),
         QStringLiteral("ACHAT de bois Bord de Route pour Broyage et TRANSFERT vers zone de stockage")},
        {QStringLiteral("TRANSFERT"), QStringLiteral("TRANSFERT de bois (plaquette ou GRUME ) vers zone de stockage")},
        {QStringLiteral("TRAVAIL"),
         QStringLiteral("TRAVAIL indépendant , exemple : Remise en Etat d'une zone de stockage")}};
    return texts.value(operation);
}

LegendDialog::LegendDialog(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::Legende>())
{
    m_ui->setupUi(this);
    const auto fill = [this](QGridLayout *grid, const QStringList &operations) {
        int row = 0;
        for (const QString &operation : operations) {
            auto *icon = new QLabel(this);
            icon->setPixmap(operationIconPixmap(operation));
            grid->addWidget(icon, row, 0);
            grid->addWidget(new QLabel(operation, this), row, 1);
            grid->addWidget(new QLabel(operationLegend(operation), this), row, 2);
            ++row;
        }
    };
    fill(m_ui->Grille_vente, {QStringLiteral("PREVISION"), QStringLiteral("VENTE"), QStringLiteral("VENTE sur ACHAT"),
                              QStringLiteral("TRANSPORT")});
    fill(m_ui->Grille_achat,
         {QStringLiteral("ACHAT sur TRANSFERT"), QStringLiteral("TRANSFERT"), QStringLiteral("TRAVAIL")});
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::accept);
}

LegendDialog::~LegendDialog() = default;

void showLegend(QWidget *parent)
{
    LegendDialog legend(parent);
    runModal(legend);
}

} // namespace ravelin
