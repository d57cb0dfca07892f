#pragma once

#include "transfers.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ouverture_transfert;
}

namespace ravelin {

struct AppContext;

// ouverture_transfert ("Création d'un TRANSFERT vers le STOCK"): the departure, chosen from the
// lots, the firewood zones or typed ("AUTRE"), and the destination zone, a firewood zone or a chip
// zone. "OK" needs both; the caller writes the transfer.
class NewTransferDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NewTransferDialog(AppContext &context, QWidget *parent = nullptr);
    ~NewTransferDialog() override;

    Ui::ouverture_transfert *ui() const { return m_ui.get(); }
    NewTransfer transfer() const;

public slots:
    void chooseDeparture();
    void chooseFirewoodZone();
    void chooseChipZone();
    void validate();

private:
    void departureKindChanged();
    void destinationKindChanged();

    std::unique_ptr<Ui::ouverture_transfert> m_ui;
    AppContext &m_context;
    QString m_typeDestination = toFirewoodZone();
};

} // namespace ravelin
