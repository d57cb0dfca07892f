#pragma once

#include "owners.h"

#include "editorsave.h"

#include <QDialog>

#include <memory>

class QSqlQueryModel;

namespace Ui {
class liste_proprietaire;
}

namespace ravelin {

struct AppContext;
class GridModel;
class GridModel;

// liste_proprietaire, "Détail du propriétaire": one owner's particulars and purchase terms, its
// cost ("Calcul COÛT") and, once the owner exists, its species lines, which are written at once
// with the lot's volume lines rebuilt. "OK" runs the save the caller gave
// (setSave) and closes once it is written.
class OwnerDialog : public QDialog
{
    Q_OBJECT
public:
    // `existing`: an owner already written, whose name no longer changes and who may receive
    // species lines.
    OwnerDialog(AppContext &context, const Owner &owner, bool existing, QWidget *parent = nullptr);
    ~OwnerDialog() override;

    Ui::liste_proprietaire *ui() const { return m_ui.get(); }
    GridModel *speciesLines() const;

    // The owner as the screen holds it.
    Owner owner() const;
    // The owner as it was read (its cost as the species lines written here left it).
    const Owner &asRead() const { return m_owner; }
    // What "OK" writes; the screen stays open when it fails.
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    void computeCost();
    void createSpeciesLine();
    void modifySpeciesLine();
    void validate();

signals:
    // A species line was written and the lot's volume lines rebuilt.
    void volumeLinesChanged();

private:
    void showOwner(const Owner &owner);
    void showCostFields(const Owner &owner);
    void switchCostGroups();
    void updateTonnes();
    void reloadSpecies();
    // The owner's cost as the species lines just written left it.
    void rereadCost();

    std::unique_ptr<Ui::liste_proprietaire> m_ui;
    AppContext &m_context;
    Owner m_owner; // what the screen does not show (keys, hidden values)
    bool m_existing;
    EditorSave m_save;
    QSqlQueryModel *m_speciesSource;
    GridModel *m_species;
};

} // namespace ravelin
