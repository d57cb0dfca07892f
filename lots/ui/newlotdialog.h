#pragma once

#include "lotstore.h"

#include <QDialog>

#include <memory>

namespace Ui {
class ouverture_coupe;
}

namespace ravelin {

struct AppContext;

// ouverture_coupe: the purchase type, the grouping of the owners' estimates and the number of a
// new lot, proposed by the caller and free to change. Nothing is written here.
class NewLotDialog : public QDialog
{
    Q_OBJECT
public:
    NewLotDialog(AppContext &context, const NewLot &lot, int proposal, QWidget *parent = nullptr);
    ~NewLotDialog() override;

    Ui::ouverture_coupe *ui() const { return m_ui.get(); }

    // The lot as chosen: type and grouping from the two lists, the rest as given.
    NewLot lot() const;
    QString typedNumber() const;

public slots:
    void validate();

private:
    std::unique_ptr<Ui::ouverture_coupe> m_ui;
    AppContext &m_context;
    NewLot m_lot;
};

} // namespace ravelin
