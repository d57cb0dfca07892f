#pragma once

#include "deliverycompute.h"
#include "editorsave.h"

#include <QDialog>
#include <QSqlRecord>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace Ui {
class detail_livraison;
}

namespace ravelin {

struct AppContext;
class DeliveryCostsTab;

// detail_livraison, the editor of one chip delivery: its places, tonnage, energy and prices on
// the first tab, its contractor costs on the second (DeliveryCostsTab). The prices follow the
// fields as the user types: every change of a field a computation reads adds a pending change,
// and a 300 ms timer recalculates once for a burst of them (recalculateDelivery on the shown
// texts). "OK" runs a pending recalculation first, then the save its caller gives (setSave, with
// values()). An invoiced delivery opens with its fields read-only, but for the PEFC part, the
// invoiced flag, the consignment note and the weighing place.
class DeliveryEditor : public QDialog
{
    Q_OBJECT
public:
    DeliveryEditor(AppContext &context, const QSqlRecord &row, QWidget *parent = nullptr);
    ~DeliveryEditor() override;

    Ui::detail_livraison *ui() const { return m_ui.get(); }
    int inc() const { return m_inc; }
    const QSqlRecord &asRead() const { return m_row; }
    // The editor's columns as the user left them (a field left as read gives the value read). Of
    // an invoiced delivery, only the fields left open: the PEFC part, the invoiced flag, the
    // consignment note, the weighing place and the places the pickers may change.
    QVariantMap values() const;
    void setSave(EditorSave save) { m_save = std::move(save); }
    int pendingChanges() const { return m_pending; }
    QTimer &recalculationTimer() { return m_timer; }
    DeliveryCostsTab *costsTab() const { return m_costs; }

    // "Voir PEFC Dispo": the PEFC share analysis; the button stays disabled until it is installed.
    using PefcOpener = std::function<void(QWidget *parent)>;
    static PefcOpener setPefcOpener(PefcOpener opener);

public slots:
    // The timer's tick: recalculates when changes are pending.
    void recalculateIfPending();
    // Recalculates now, whatever is pending.
    void recalculate();
    // "Consulter les COUPES de BOIS existantes" (forecasts only).
    void chooseLot();
    // The picker buttons of "Destination" and "OU zone de stockage".
    void chooseDestination();
    void chooseDeparture();
    // "CARTE".
    void openRoutePage();
    void validate();

protected:
    void changeEvent(QEvent *event) override;

private:
    void loadFields();
    void fillChoices();
    void makeReadOnly();
    // Enables the operation while the delivery is a forecast, then applies the operation rule.
    void activated();
    void applyOperationRule();
    void fieldChanged() { ++m_pending; }
    QVariant textValue(const QString &column, const QString &text) const;
    QVariant numberValue(const QString &column, const QString &text) const;
    DeliveryPriceFields priceFields() const;

    std::unique_ptr<Ui::detail_livraison> m_ui;
    AppContext &m_context;
    QSqlRecord m_row;
    int m_inc = 0;
    bool m_invoiced = false;
    int m_pending = 0;
    QTimer m_timer;
    EditorSave m_save;
    // the lot volume line the chips come from, as the picker set it
    QVariant m_nLot;
    QVariant m_id;
    QVariant m_uniteConso;
    DeliveryCostsTab *m_costs = nullptr;
};

// A number as the editor shows it: decimal comma, no thousands separator, every digit.
QString editorNumberText(const QVariant &value);

} // namespace ravelin
