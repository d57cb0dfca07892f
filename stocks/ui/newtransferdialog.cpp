#include "newtransferdialog.h"
#include "ui_newtransferdialog.h"

#include "appcontext.h"
#include "placesearchdialog.h"
#include "textlimits.h"
#include "volumelinepicker.h"
#include "zonepickerdialog.h"

namespace ravelin {

NewTransferDialog::NewTransferDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ouverture_transfert>()), m_context(context)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("transfert"));
    for (QRadioButton *choice : {m_ui->choix_coupe, m_ui->choix_stock, m_ui->choix_autre})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on) departureKindChanged();
        });
    for (QRadioButton *choice : {m_ui->choix_stock_bois, m_ui->choix_stock_plaquette})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on) destinationKindChanged();
        });
    connect(m_ui->BtnDepart, &QPushButton::clicked, this, &NewTransferDialog::chooseDeparture);
    connect(m_ui->BtnStockBois, &QPushButton::clicked, this, &NewTransferDialog::chooseFirewoodZone);
    connect(m_ui->BtnStockPlaquette, &QPushButton::clicked, this, &NewTransferDialog::chooseChipZone);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &NewTransferDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &NewTransferDialog::reject);
    departureKindChanged();
    destinationKindChanged();
}

NewTransferDialog::~NewTransferDialog() = default;

void NewTransferDialog::departureKindChanged()
{
    // a departure chosen for one kind means nothing for another
    m_ui->depart->clear();
    if (m_ui->choix_coupe->isChecked()) {
        m_ui->Label_depart->setText(QStringLiteral("N° LOT"));
        m_ui->BtnDepart->setText(QStringLiteral("Consulter les COUPES de BOIS existantes"));
    } else if (m_ui->choix_stock->isChecked()) {
        m_ui->Label_depart->setText(QStringLiteral("STOCK"));
        m_ui->BtnDepart->setText(QStringLiteral("Consulter les STOCKS existants"));
    } else {
        m_ui->Label_depart->setText(QStringLiteral("Autre"));
    }
    const bool typed = m_ui->choix_autre->isChecked();
    m_ui->depart->setReadOnly(!typed);
    m_ui->BtnDepart->setVisible(!typed);
}

void NewTransferDialog::destinationKindChanged()
{
    const bool wood = m_ui->choix_stock_bois->isChecked();
    m_ui->Label_stock_titre->setText(wood ? QStringLiteral("Stock bois") : QStringLiteral("Stock plaquette"));
    m_ui->BtnStockBois->setVisible(wood);
    m_ui->BtnStockPlaquette->setVisible(!wood);
    m_ui->destination->clear();
    m_typeDestination = wood ? toFirewoodZone() : toChipZone();
}

void NewTransferDialog::chooseDeparture()
{
    if (m_ui->choix_coupe->isChecked()) {
        if (const auto line = pickVolumeLine(m_context, this)) m_ui->depart->setText(QString::number(line->nLot));
    } else if (m_ui->choix_stock->isChecked()) {
        if (const auto zone = pickFirewoodZone(m_context, this)) m_ui->depart->setText(*zone);
    }
}

void NewTransferDialog::chooseFirewoodZone()
{
    if (const auto zone = pickFirewoodZone(m_context, this)) {
        m_ui->destination->setText(*zone);
        m_typeDestination = toFirewoodZone();
    }
}

void NewTransferDialog::chooseChipZone()
{
    if (const auto place = choosePlace(m_context, this, PlaceSelection::ChipZones, m_ui->destination->text(), true)) {
        m_ui->destination->setText(place->value(QStringLiteral("destination")).toString());
        m_typeDestination = toChipZone();
    }
}

NewTransfer NewTransferDialog::transfer() const
{
    NewTransfer t;
    t.typeTransfert = m_ui->choix_coupe->isChecked()   ? transferFromLot()
                      : m_ui->choix_stock->isChecked() ? transferFromStock()
                                                       : transferFromElsewhere();
    t.depart = m_ui->depart->text().trimmed();
    t.destination = m_ui->destination->text();
    t.typeDestination = m_typeDestination;
    t.defaultUnit = m_context.defaultUnit();
    return t;
}

void NewTransferDialog::validate()
{
    if (const QString refused = checkNewTransfer(transfer()); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    accept();
}

} // namespace ravelin
