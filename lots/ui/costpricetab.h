#pragma once

#include "costprice.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class Onglet_prix_revient;
}

namespace ravelin {

struct AppContext;

// The lot editor's tab "Prix de revient": the lot's costs, sales, margin and cost price per unit
// sold, read each time the tab is shown. Negative margins are red. With nothing sold, the margin
// percentage, the cost price and the margin per unit keep what they showed. Writes nothing.
class CostPriceTab : public QWidget
{
    Q_OBJECT
public:
    CostPriceTab(AppContext &context, int nLot, QWidget *parent = nullptr);
    ~CostPriceTab() override;

    Ui::Onglet_prix_revient *ui() const { return m_ui.get(); }
    // The figures last shown.
    const std::optional<CostPrice> &figures() const { return m_figures; }

public slots:
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::Onglet_prix_revient> m_ui;
    AppContext &m_context;
    int m_nLot;
    std::optional<CostPrice> m_figures;
};

} // namespace ravelin
