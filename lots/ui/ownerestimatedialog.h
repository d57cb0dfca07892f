#pragma once

#include "owners.h"

#include "editorsave.h"

#include <QDialog>

#include <memory>

namespace Ui {
class proprietaire_essence;
}

namespace ravelin {

struct AppContext;

// proprietaire_essence: one species estimate of an owner. "OK" checks the species, the quality
// and the unit in that order, lets an empty real quantity take the estimated one and computes
// the total price; the caller gives the save "OK" runs (setSave) for a changed line.
class SpeciesLineDialog : public QDialog
{
    Q_OBJECT
public:
    // `existing`: species, quality and unit can no longer change.
    SpeciesLineDialog(AppContext &context, const SpeciesLine &line, bool existing, QWidget *parent = nullptr);
    ~SpeciesLineDialog() override;

    Ui::proprietaire_essence *ui() const { return m_ui.get(); }
    SpeciesLine line() const;
    // The line as it was read.
    const SpeciesLine &asRead() const { return m_line; }
    // What "OK" writes; the screen stays open when it fails.
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    void computePrice();
    void validate();

private:
    std::unique_ptr<Ui::proprietaire_essence> m_ui;
    AppContext &m_context;
    SpeciesLine m_line;
    EditorSave m_save;
};

} // namespace ravelin
