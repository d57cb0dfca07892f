#pragma once

#include "contractors.h"

#include <QDialog>

#include <memory>

namespace Ui {
class creation_intervenant;
}

namespace ravelin {

struct AppContext;

// creation_intervenant: a contractor's company, family (every family but "6-TERMINE"), default
// costs, comment and PEFC number. A new contractor (number 0) is written with the next contractor
// number on "OK"; an existing one keeps its company name, shown disabled. A refusal or a failed
// write keeps the screen open with what was typed.
class ContractorEditorDialog : public QDialog
{
    Q_OBJECT
public:
    ContractorEditorDialog(AppContext &context, const Contractor &contractor, QWidget *parent = nullptr);
    ~ContractorEditorDialog() override;

    Ui::creation_intervenant *ui() const { return m_ui.get(); }
    // False when the families could not be read (the error was shown).
    bool loaded() const { return m_loaded; }
    // The contractor as written by "OK" (its number included).
    const Contractor &contractor() const { return m_contractor; }

public slots:
    void validate();

private:
    std::unique_ptr<Ui::creation_intervenant> m_ui;
    AppContext &m_context;
    Contractor m_contractor;
    bool m_loaded = true;
};

} // namespace ravelin
