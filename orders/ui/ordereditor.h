#pragma once

#include "editorsave.h"
#include "statements.h"

#include <QDialog>
#include <QSqlRecord>

#include <memory>
#include <optional>

namespace Ui {
class detail_cde;
}

namespace ravelin {

struct ActionEntrySetup;
struct AppContext;
struct ContractorRates;
class ListGrid;

// detail_cde, the order editor: the header (customer and place, address, dates, text, the
// delivered and invoiced marks) written on "OK" by the save its caller gives (setSave with
// columnChanges()); the product lines and the contractor actions, each written at once with the
// order's totals as they change.
class OrderEditor : public QDialog
{
    Q_OBJECT
public:
    // `order` is the row as read from `cde`; `newOrder` opens it right after its creation.
    OrderEditor(AppContext &context, const QSqlRecord &order, bool newOrder, QWidget *parent = nullptr);
    ~OrderEditor() override;

    Ui::detail_cde *ui() const { return m_ui.get(); }
    int orderInc() const { return m_inc; }
    ListGrid *lines() const { return m_lines; }
    ListGrid *actions() const { return m_actions; }
    // True when the order was invoiced when the editor read it.
    bool closed() const { return m_closed; }

    // Every header column the editor may change, with the value read and the value it holds now.
    QList<ColumnChange> columnChanges() const;
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    void choosePlace();
    void addLine();
    void changeLine();
    void removeLine();
    void showLogs();
    void addAction();
    void changeAction();
    void removeAction();
    // The product lines, the log totals and the order's totals read again.
    void refreshLines();
    void validate();

protected:
    // A click in the customer field opens the place picker.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadFields();
    void lockClosedOrder();
    void showTotals(const QSqlRecord &order);
    void reloadActions();
    void loadLines();
    void loadActions();
    void setCustomerCaption();
    std::optional<int> currentLineInc() const;
    ActionEntrySetup actionSetup(const QList<ContractorRates> &contractors) const;
    // True (the message shown) when the order is invoiced now.
    bool refusedWhenInvoiced(const QString &message);

    std::unique_ptr<Ui::detail_cde> m_ui;
    AppContext &m_context;
    QSqlRecord m_asRead;
    int m_inc;
    bool m_closed;
    ListGrid *m_lines = nullptr;
    ListGrid *m_actions = nullptr;
    EditorSave m_save;
};

} // namespace ravelin
