#pragma once

#include "contractorrates.h"

#include "editorsave.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <optional>

#include <memory>

namespace Ui {
class liste_intervention_action;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// One contractor action as its entry screen shows it (orders, deliveries, transfers).
using ActionEntry = ContractorAction;

// The action on one row of a list of actions (columns I_nom, type1, i_date, qte_action,
// unite_action, prix_unit_action, i_cout, N_lot).
ActionEntry actionEntryAt(const ListGrid &actions, int row);

// What differs between the screens that record an action: their name, the table whose column
// lengths bound the fields, the contractors and types offered, whether the lot is shown (locked)
// and whether "OK" needs a company.
struct ActionEntrySetup
{
    QString screenName;
    QString table;
    QList<ContractorRates> contractors;
    QStringList types;
    bool showLot = false;
    bool requireCompany = false;
    // The lot can be typed (transfers), and, when given, the button "COUPES de BOIS existantes"
    // fills it from a lot picker (nothing when the user cancels).
    bool lotTyped = false;
    std::function<std::optional<QString>(QWidget *parent)> pickLot;
};

// "Modifier" under a list of actions: "Il n'y a pas d'enregistrement" when it is empty; else the
// selected action in the entry screen (`setupFor` the contractors of every family but
// `excludedFamily`), "OK" saving through `save` with the action's key and the columns changed.
// False when the screen was not shown.
bool changeSelectedAction(AppContext &context, const ListGrid &actions, const QString &excludedFamily,
                          const std::function<ActionEntrySetup(const QList<ContractorRates> &)> &setupFor,
                          const std::function<Status(int actionInc, const QList<ColumnChange> &)> &save,
                          QWidget *parent);

// "Détail intervention" for an action on an order (liste_intervention_cde), a delivery
// (liste_intervention_liv) or a transfer. Choosing a company or a unit takes the unit price from
// the company's rates ("Forfait" keeps the typed price); the cost, quantity × unit price, not
// rounded, follows every change of the quantity or the price, "Calcul COÛT" and "OK". "OK" runs
// the caller's save (setSave) and closes; the screen stays open when it fails.
class ActionEntryDialog : public QDialog
{
    Q_OBJECT
public:
    ActionEntryDialog(AppContext &context, const ActionEntrySetup &setup, const ActionEntry &entry,
                      QWidget *parent = nullptr);
    ~ActionEntryDialog() override;

    Ui::liste_intervention_action *ui() const { return m_ui.get(); }
    // The action as the screen holds it now.
    ActionEntry entry() const;
    // The action as it was given.
    const ActionEntry &asRead() const { return m_entry; }
    // The columns the user changed since the action was given, for saveLockedRow.
    QList<ColumnChange> changes() const { return actionChanges(m_entry, entry(), m_setup.lotTyped); }
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    // Unit price from the chosen company's rate for the chosen unit, then the cost.
    void takeUnitPrice();
    // "Calcul COÛT"; a field that is not a number leaves the cost as it was.
    void computeCost();
    void validate();

private:
    const ContractorRates *chosenCompany() const;

    std::unique_ptr<Ui::liste_intervention_action> m_ui;
    AppContext &m_context;
    ActionEntrySetup m_setup;
    ActionEntry m_entry;
    EditorSave m_save;
    QVariant m_cost;
};

} // namespace ravelin
