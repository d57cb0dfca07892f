#pragma once

#include "deliverystore.h"
#include "maintab.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QStyledItemDelegate;

namespace Ui {
class Tab_plaquette;
}

namespace ravelin {

struct AppContext;
class DetailReload;
class ListGrid;
class DeliveryEditor;

// The content of the main window's tab "Livraisons Plaqu. Forest" (Tab_plaquette): the chip
// deliveries with their filters, sorts, states, colours and totals, the panel of the current
// delivery, and the creation, opening, deletion and delivery note of a delivery.
class DeliveryListTab : public QWidget, public MainTab
{
    Q_OBJECT
public:
    explicit DeliveryListTab(AppContext &context, QWidget *parent = nullptr);
    ~DeliveryListTab() override;

    Ui::Tab_plaquette *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ListGrid *costs() const { return m_costs; }
    DetailReload *costReload() const { return m_costReload; }
    // How many times the cost panel has been read (each row change within 50 ms loads it once).
    int costLoads() const { return m_costLoads; }

    // MainTab
    void search() override;
    void refresh() override;
    bool searched() const override { return m_searched; }

    DeliverySearch filters() const;
    std::optional<int> currentInc() const;
    bool selectDelivery(int inc);

    // "BL": prints the delivery note of a delivery (number, kind "PLAQUETTE"). The button stays
    // disabled until the printing is installed.
    using NotePrinter = std::function<void(int inc, const QString &kind)>;
    void setNotePrinter(NotePrinter printer);

public slots:
    // "Créer", "Modifier" / "Détail de la livraison" / double click, "Supprimer", "BL".
    void createDelivery();
    void openDelivery();
    void deleteDelivery();
    void printNote();
    // The costs of the current delivery in the panel.
    void loadCosts();

signals:
    // Time taken to open the editor, for status panel 5 ("ss,zzz seconde").
    void loadTimeMeasured(const QString &text);

private:
    Status runSearch(const DeliverySearch &search);
    void rowChanged();
    void showTotals();
    // Shows the editor on the row; on "OK" saves it and recomputes the lots it touched.
    void editDelivery(const QSqlRecord &row);

    std::unique_ptr<Ui::Tab_plaquette> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
    ListGrid *m_costs = nullptr;
    DetailReload *m_costReload = nullptr;
    QStyledItemDelegate *m_delegate = nullptr;
    DeliverySearch m_lastSearch;
    bool m_searched = false;
    int m_costLoads = 0;
    NotePrinter m_printer;
    QString m_mwhFigure = QStringLiteral("0");
};

// The lots a saved delivery touched: the lot it was read with and the one it now names.
QList<int> touchedLots(const QVariant &before, const QVariant &after);

} // namespace ravelin
