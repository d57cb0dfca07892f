#pragma once

#include "masterdetail.h"

#include "maintab.h"

#include <QDate>
#include <QWidget>

#include <memory>

class QTimer;

namespace Ui {
class Page_intervenant;
}

namespace ravelin {

struct AppContext;
class GridModel;
class ListGrid;

// The content of the main window's "Intervenants" tab: the contractor directory (filters, sorts,
// count, create, modify, delete), the contacts of the selected contractor (loaded once the
// selection has settled for 50 ms), and the contractor's actions between two dates with their
// printed statement.
class ContractorDirectoryTab : public QWidget, public MainTab
{
    Q_OBJECT
public:
    explicit ContractorDirectoryTab(AppContext &context, QWidget *parent = nullptr);
    ~ContractorDirectoryTab() override;

    Ui::Page_intervenant *ui() const { return m_ui.get(); }

    // MainTab: the directory search with the filters as they stand; the refresh keeps the current
    // contractor and ignores errors.
    void search() override;
    void refresh() override;
    bool searched() const override { return m_searched; }

    int contractorCount() const;
    int currentContractorRow() const;
    void setCurrentContractorRow(int row);
    // The current contractor's number and company name (0 and empty when the list is empty).
    int currentContractorNumber() const;
    QString currentSociete() const;
    bool locateContractor(int number);

    int contactCount() const;
    int currentContactRow() const;
    void setCurrentContactRow(int row);
    // The actions read so far (a page at a time as the grid scrolls).
    int actionCount() const;

    // The three lists, and the models they show (captions, formats, colours).
    ListGrid *contractorList() const { return m_contractors; }
    ListGrid *contactList() const { return m_contacts; }
    ListGrid *actionList() const { return m_actions; }
    GridModel *contractorGrid() const;
    GridModel *contactGrid() const;
    GridModel *actionGrid() const;
    // The one-shot timer that loads the contacts, and how many times they were loaded.
    QTimer *contactsTimer() const { return &m_contactsReload->timer(); }
    int contactLoads() const { return m_contactLoads; }

signals:
    // The time the contractor screen took to prepare, "ss,zzz seconde", for the status bar's fifth
    // panel.
    void preparationTimed(const QString &text);

public slots:
    void createContractor();
    void modifyContractor();
    void removeContractor();
    void createContact();
    void modifyContact();
    void removeContact();
    // "Afficher dernières actions".
    void showActions();
    // "Imprimer": the statement of the actions shown, in the preview imp_action_intervenant.
    void printActions();
    // What the 50 ms timer runs: the contacts of the current contractor.
    void loadContacts();

private:
    bool runSearch(bool showErrors);
    void contractorChanged();
    void contactChanged();
    void clearActions();

    std::unique_ptr<Ui::Page_intervenant> m_ui;
    AppContext &m_context;
    ListGrid *m_contractors = nullptr;
    ListGrid *m_contacts = nullptr;
    ListGrid *m_actions = nullptr;
    DetailReload *m_contactsReload;
    BusyBar *m_busyBar = nullptr;
    bool m_searched = false;
    int m_contactLoads = 0;
    // Whose actions the grid shows, and for which dates: what the statement prints.
    QString m_actionsSociete;
    QDate m_actionsStart;
    QDate m_actionsEnd;
};

} // namespace ravelin
