#pragma once

#include "lotwork.h"

#include "editorsave.h"

#include <QDialog>

#include <memory>

namespace Ui {
class liste_intervention;
}

namespace ravelin {

struct AppContext;

// The entry screens of contractor work: liste_intervention (felling), liste_intervention2
// (skidding) and liste_intervention3 (other work, with its "Type :"). Picking a contractor or a
// unit takes the unit price from the contractor's rates ("Forfait" keeps the typed price); the
// cost is quantity × unit price. "OK" needs a contractor for felling and skidding, a type for
// other work; the caller gives the save "OK" runs (setSave) for a changed row.
class WorkEntryDialog : public QDialog
{
    Q_OBJECT
public:
    WorkEntryDialog(AppContext &context, WorkGroup group, const WorkRow &row, QWidget *parent = nullptr);
    ~WorkEntryDialog() override;

    Ui::liste_intervention *ui() const { return m_ui.get(); }
    WorkGroup group() const { return m_group; }
    WorkRow row() const;
    // The row as it was read.
    const WorkRow &asRead() const { return m_row; }
    // What "OK" writes; the screen stays open when it fails.
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    // Unit price from the selected contractor's rate for the selected unit, then the cost.
    void takeUnitPrice();
    // "Calcul COÛT".
    void computeCost();
    void validate();

private:
    const ContractorRates *selectedContractor() const;

    std::unique_ptr<Ui::liste_intervention> m_ui;
    AppContext &m_context;
    WorkGroup m_group;
    WorkRow m_row;
    EditorSave m_save;
    QList<ContractorRates> m_contractors;
};

} // namespace ravelin
