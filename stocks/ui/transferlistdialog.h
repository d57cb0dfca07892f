#pragma once

#include "transfers.h"

#include <QDialog>

#include <memory>

class QTimer;

namespace Ui {
class liste_transfert;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// liste_transfert ("LISTE DES TRANSFERTS"): the transfers of a period (today − 60 days to today at
// the opening), filtered by departure and destination, sorted by date, departure or destination,
// the rows from elsewhere ("AUTRE") in red; the lines of the selected transfer follow 200 ms after
// the selection settles. "Créer", "Modifier" (double-click) and "Supprimer".
class TransferListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TransferListDialog(AppContext &context, QWidget *parent = nullptr);
    ~TransferListDialog() override;

    Ui::liste_transfert *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    ListGrid *lines() const { return m_lines; }
    bool loaded() const { return m_loaded; }

public slots:
    void search();
    void reloadLines();
    void createTransfer();
    void openTransfer();
    void deleteTransfer();

private:
    void openEditor(int inc, bool created);

    std::unique_ptr<Ui::liste_transfert> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
    ListGrid *m_lines;
    QTimer *m_detailReload;
    bool m_loaded = false;
};

// Opens the transfer list (the caller has checked the page "Creer transfert"); false when it
// could not be read.
bool openTransferList(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin
