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

// One contractor action as its entry screen shows it (orders, deliveries, transfers).
struct ActionEntry
{
    QString iNom;
    QString type1;
    QDate iDate;
    QVariant qteAction;
    QString uniteAction;
    QVariant prixUnitAction;
    QVariant iCout;
    QString nLot;
};

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
