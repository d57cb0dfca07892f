#pragma once

#include "volumelines.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class info_grume;
}

namespace ravelin {

struct AppContext;
class GridModel;
class ListGrid;
class PagedQueryModel;

// info_grume: finds logs by number and lot, and shows the lot and the order of the selected log,
// loaded 200 ms after the selection settles. The list holds the pages the user scrolled to; its
// first page shows at once and its count follows, counted on another connection.
class LogInquiryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LogInquiryDialog(AppContext &context, QWidget *parent = nullptr);
    ~LogInquiryDialog() override;

    Ui::info_grume *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    GridModel *logs() const;
    PagedQueryModel *logSource() const;
    // The one-shot timer that loads the two panels.
    QTimer &panelTimer() { return m_panelTimer; }

public slots:
    void search();
    // The lot and order panels of the selected log.
    void loadPanels();

private:
    std::unique_ptr<Ui::info_grume> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
    QTimer m_panelTimer;
};

} // namespace ravelin
