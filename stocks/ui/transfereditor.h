#pragma once

#include "actionentrydialog.h"
#include "transfers.h"

#include <QDialog>
#include <QSqlRecord>

#include <memory>

namespace Ui {
class detail_transfert;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// detail_transfert ("TRANSFERT vers STOCK"): the header (date and free text written on "OK"), the
// lines ("PRODUITS TRANSFERES", each written with its stock move at once) and the contractor
// actions ("LISTE DES ACTIONS"), with both totals.
class TransferEditor : public QDialog
{
    Q_OBJECT
public:
    TransferEditor(AppContext &context, int inc, QWidget *parent = nullptr);
    ~TransferEditor() override;

    Ui::detail_transfert *ui() const { return m_ui.get(); }
    ListGrid *lines() const { return m_lines; }
    ListGrid *actions() const { return m_actions; }
    bool loaded() const { return m_loaded; }
    QString typeTransfert() const;
    QString depart() const;

public slots:
    void addLine();
    void changeLine();
    void removeLine();
    void addAction();
    void changeAction();
    void removeAction();
    void validate();

private:
    bool reloadHeader();
    void refreshLines();
    void reloadActions();
    void showWarnings(const QStringList &warnings);
    ActionEntrySetup actionSetup(const QList<ContractorRates> &contractors);

    std::unique_ptr<Ui::detail_transfert> m_ui;
    AppContext &m_context;
    int m_inc;
    QSqlRecord m_asRead;
    ListGrid *m_lines;
    ListGrid *m_actions;
    bool m_loaded = false;
};

} // namespace ravelin
