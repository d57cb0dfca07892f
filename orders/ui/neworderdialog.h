#pragma once

#include "orderstore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ouverture_cde;
}

namespace ravelin {

struct AppContext;

// ouverture_cde ("Création d'une livraison de GRUME/STERE"): the customer type and the sale unit
// of a new order. "OK" is refused while either is empty.
class NewOrderDialog : public QDialog
{
    Q_OBJECT
public:
    NewOrderDialog(AppContext &context, const QString &defaultUnit, QWidget *parent = nullptr);
    ~NewOrderDialog() override;

    Ui::ouverture_cde *ui() const { return m_ui.get(); }
    NewOrder order() const;

public slots:
    void validate();

private:
    std::unique_ptr<Ui::ouverture_cde> m_ui;
    AppContext &m_context;
};

} // namespace ravelin
