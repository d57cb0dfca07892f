#pragma once

#include "deliverystore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ouverture_liv;
class Legende;
} // namespace Ui

namespace ravelin {

struct AppContext;

// ouverture_liv ("Création d'une livraison de PLAQUETTE"): the operation of a new delivery and,
// unless the chips leave a storage zone, the lot volume line they come from.
class NewDeliveryDialog : public QDialog
{
    Q_OBJECT
public:
    NewDeliveryDialog(AppContext &context, const NewDelivery &defaults, QWidget *parent = nullptr);
    ~NewDeliveryDialog() override;

    Ui::ouverture_liv *ui() const { return m_ui.get(); }
    // The new delivery with the operation and lot chosen.
    NewDelivery delivery() const;

public slots:
    // "Consulter les COUPES de BOIS existantes".
    void chooseLot();
    void validate();

private:
    std::unique_ptr<Ui::ouverture_liv> m_ui;
    AppContext &m_context;
    NewDelivery m_delivery;
};

// Legende: the operations and their icons, sales and purchases.
class LegendDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LegendDialog(QWidget *parent = nullptr);
    ~LegendDialog() override;

private:
    std::unique_ptr<Ui::Legende> m_ui;
};

// Shows the legend modally (the legend pictures of the opening dialog and the editor).
void showLegend(QWidget *parent);

// The texts of the legend, by operation.
QString operationLegend(const QString &operation);

} // namespace ravelin
