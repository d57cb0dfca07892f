#pragma once

#include "users.h"

#include <QDialog>

#include <memory>

class QListWidget;

namespace Ui {
class detail_mot_passe;
}

namespace ravelin {

struct AppContext;

// detail_mot_passe: a user's particulars and the pages they hold, moved between the lists
// "Accés refusé :" and "Accés autorisé :". "&Valider" writes the user and a row per page.
class UserEditorDialog : public QDialog
{
    Q_OBJECT
public:
    // A new user when `user.inc` is 0; otherwise the name is read-only and the held pages are
    // moved to the right.
    UserEditorDialog(AppContext &context, const UserRecord &user, QWidget *parent = nullptr);
    ~UserEditorDialog() override;

    // False when the user's pages could not be read (the error was shown).
    bool loaded() const { return m_loaded; }
    Ui::detail_mot_passe *ui() const { return m_ui.get(); }

    QStringList refusedPages() const;
    QStringList grantedPages() const;

public slots:
    void moveSelectedRight();
    void moveAllRight();
    void moveSelectedLeft();
    void moveAllLeft();
    void validate();

private:
    void moveSelected(QListWidget *from, QListWidget *to);
    void moveAll(QListWidget *from, QListWidget *to);
    void updateButtons();
    // Keeps "Accés refusé :" in the order of rightsPages().
    void sortRefused();

    std::unique_ptr<Ui::detail_mot_passe> m_ui;
    AppContext &m_context;
    UserRecord m_user; // as read when the screen opened
    QStringList m_grantedAsRead;
    bool m_loaded = true;
};

} // namespace ravelin
