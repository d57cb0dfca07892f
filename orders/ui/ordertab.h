#pragma once

#include "maintab.h"
#include "orderstore.h"

#include <QWidget>

#include <memory>
#include <optional>

class QStyledItemDelegate;

namespace Ui {
class Tab_dossier;
}

namespace ravelin {

struct AppContext;
class DetailReload;
class GridModel;
class ListGrid;

// The content of the main window's tab "Livraison Grumes" (Tab_dossier): the order list with its
// filters, sorts, totals and colours, the detail panel of the selected order, and the creation,
// opening, deletion and delivery note of orders.
class OrderTab : public QWidget, public MainTab
{
    Q_OBJECT
public:
    explicit OrderTab(AppContext &context, QWidget *parent = nullptr);
    ~OrderTab() override;

    Ui::Tab_dossier *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ListGrid *lines() const { return m_lines; }
    GridModel *grid() const;
    DetailReload *linesReload() const { return m_linesReload; }

    // MainTab
    void search() override;
    void refresh() override;
    bool searched() const override { return m_searched; }

    OrderSearch filters() const;
    // The selected order's number; nothing when the list is empty.
    std::optional<int> currentInc() const;
    bool selectOrder(int inc);
    // The background of a cell of the list by the paint rules (invalid: none).
    QColor cellBackground(int row, const QString &column) const;

public slots:
    void createOrder();
    void openOrder();
    void deleteOrder();
    void printDeliveryNote();
    // Grille_lien: the product lines of the selected order.
    void reloadLines();
    // A lot was created on the lot tab: the customer filter is emptied.
    void clearClientFilter();

signals:
    // Time taken to load the opened order, for status panel 5 ("ss,zzz seconde").
    void loadTimeMeasured(const QString &text);

private:
    Status runSearch(const OrderSearch &search, std::optional<int> keep = std::nullopt);
    void showTotals();
    void showDetail();
    // Opens the editor on the order; false when it could not be read.
    void editOrder(int inc, bool newOrder);

    std::unique_ptr<Ui::Tab_dossier> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
    ListGrid *m_lines = nullptr;
    DetailReload *m_linesReload = nullptr;
    QStyledItemDelegate *m_painter = nullptr;
    OrderSearch m_lastSearch;
    bool m_searched = false;
};

} // namespace ravelin
