#pragma once

#include "users.h"

#include <QDialog>

#include <memory>

class QStandardItemModel;

namespace Ui {
class Liste_mot_passe;
}

namespace ravelin {

struct AppContext;

// Liste_mot_passe: the users, with create, modify and delete.
class UserListDialog : public QDialog
{
    Q_OBJECT
public:
    explicit UserListDialog(AppContext &context, QWidget *parent = nullptr);
    ~UserListDialog() override;

    Ui::Liste_mot_passe *ui() const { return m_ui.get(); }
    void refresh();
    const QList<UserRecord> &users() const { return m_users; }
    void selectRow(int row);

public slots:
    void createUser();
    void modifyUser();
    void removeUser();

private:
    int currentRow() const;
    std::unique_ptr<Ui::Liste_mot_passe> m_ui;
    AppContext &m_context;
    QStandardItemModel *m_model;
    QList<UserRecord> m_users;
};

} // namespace ravelin
