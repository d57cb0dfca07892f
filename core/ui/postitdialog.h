#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class creer_postit;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// creer_postit: a note for one user, chosen in the grid; sent, the screen closes. Escape closes it.
class PostitDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PostitDialog(AppContext &context, QWidget *parent = nullptr);
    ~PostitDialog() override;

    Ui::creer_postit *ui() const { return m_ui.get(); }
    ListGrid *users() const { return m_users; }

public slots:
    void send();

private:
    std::unique_ptr<Ui::creer_postit> m_ui;
    AppContext &m_context;
    ListGrid *m_users;
};

} // namespace ravelin
