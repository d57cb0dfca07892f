#pragma once

#include "contractors.h"

#include <QDialog>

#include <memory>

namespace Ui {
class creation_contact;
}

namespace ravelin {

struct AppContext;

// creation_contact: a contact person of a contractor. "OK" needs a name and a password that no
// other contact has (an empty password is always accepted), then writes the contact: a new one
// (inc 0) with the next contact number. A refusal or a failed write keeps the screen open.
class ContactEditorDialog : public QDialog
{
    Q_OBJECT
public:
    ContactEditorDialog(AppContext &context, const Contact &contact, QWidget *parent = nullptr);
    ~ContactEditorDialog() override;

    Ui::creation_contact *ui() const { return m_ui.get(); }
    // The contact as written by "OK" (key and number included).
    const Contact &contact() const { return m_contact; }

public slots:
    void validate();

private:
    std::unique_ptr<Ui::creation_contact> m_ui;
    AppContext &m_context;
    Contact m_contact;
};

} // namespace ravelin
