#include "neworderdialog.h"
#include "ui_neworderdialog.h"

#include "appcontext.h"

namespace ravelin {

NewOrderDialog::NewOrderDialog(AppContext &context, const QString &defaultUnit, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ouverture_cde>()), m_context(context)
{
    m_ui->setupUi(this);
    // the type starts empty: the user must choose one
    m_ui->type_cde->addItem(QString());
    m_ui->type_cde->addItems(orderTypes());
    m_ui->unite_liv->addItems(saleUnits());
    m_ui->unite_liv->setCurrentIndex(int(saleUnits().indexOf(defaultUnit)));
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &NewOrderDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

NewOrderDialog::~NewOrderDialog() = default;

NewOrder NewOrderDialog::order() const
{
    return NewOrder{m_ui->type_cde->currentText(), m_ui->unite_liv->currentText()};
}

void NewOrderDialog::validate()
{
    if (const QString refused = checkNewOrder(order()); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    accept();
}

} // namespace ravelin
