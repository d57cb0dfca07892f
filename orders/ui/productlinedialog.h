#pragma once

#include "orderlines.h"

#include <QDialog>

#include <memory>

namespace Ui {
class detail_volume_cde;
}

namespace ravelin {

struct AppContext;

// detail_volume_cde: what a product line sold (species, quality, quantity in the order's unit, unit
// price) and where the wood came from: a lot's volume line ("Coupe de bois"), a firewood stock
// ("Stock") or elsewhere ("Autre"). In change mode only quantity and price can be changed.
class ProductLineDialog : public QDialog
{
    Q_OBJECT
public:
    // `saleUnit` is the order's unite_liv; `defaultUnit` the installation's.
    ProductLineDialog(AppContext &context, const ProductLine &line, const QString &saleUnit, const QString &defaultUnit,
                      bool changeMode, QWidget *parent = nullptr);
    ~ProductLineDialog() override;

    Ui::detail_volume_cde *ui() const { return m_ui.get(); }
    // The line as the user left it.
    ProductLine line() const;

public slots:
    void chooseLot();
    void chooseStock();
    void validate();
    void computeTotal();

private:
    void originChosen();
    void showOrigin();

    std::unique_ptr<Ui::detail_volume_cde> m_ui;
    AppContext &m_context;
    ProductLine m_line;
    QString m_saleUnit;
    QString m_defaultUnit;
    bool m_changeMode;
};

} // namespace ravelin
