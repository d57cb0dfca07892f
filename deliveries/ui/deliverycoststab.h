#pragma once

#include "deliveryactions.h"

#include <QObject>
#include <QSqlRecord>

#include <functional>

namespace Ui {
class detail_livraison;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// The editor's tab "Coûts Transports, Broyages, Achats, ..": the delivery's contractor actions in
// three groups (purchases and other jobs, transport, chipping), each line written as soon as its
// screen is confirmed, whatever becomes of the editor.
class DeliveryCostsTab : public QObject
{
    Q_OBJECT
public:
    DeliveryCostsTab(AppContext &context, Ui::detail_livraison &ui, const QSqlRecord &delivery, QObject *parent);
    ~DeliveryCostsTab() override;

    ListGrid *grid(ActionKind kind) const;
    // The delivery's tonnage as the editor shows it: the quantity of a new line.
    void setTonnage(std::function<QVariant()> tonnage) { m_tonnage = std::move(tonnage); }
    // An invoiced delivery: its lines can be neither created nor deleted.
    void setInvoiced(bool invoiced);

public slots:
    void reload(ActionKind kind);
    void reloadAll();
    // "&Créer" of a group.
    void createAction(ActionKind kind);
    // "Supprimer" of a group.
    void deleteAction(ActionKind kind);
    // "&Modifier KM" and "&Modifier TEMPS de route" of the transport group.
    void changeKilometres();
    void changeRoadTime();

private:
    AppContext &m_context;
    Ui::detail_livraison &m_ui;
    QSqlRecord m_delivery;
    int m_inc = 0;
    ListGrid *m_purchases = nullptr;
    ListGrid *m_transport = nullptr;
    ListGrid *m_chipping = nullptr;
    std::function<QVariant()> m_tonnage;
};

} // namespace ravelin
