#pragma once

#include "orderlogs.h"

#include <QDialog>

#include <memory>

namespace Ui {
class liste_grume_cde;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// liste_grume_cde ("Liste des GRUMES"): the free logs of every lot, filtered by lot, species,
// quality, place and class, several chosen with CTRL + click. Searches when it opens.
class LogPickerDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LogPickerDialog(AppContext &context, QWidget *parent = nullptr);
    ~LogPickerDialog() override;

    Ui::liste_grume_cde *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    FreeLogSearch filters() const;
    // The logs (grume.inc) selected, in list order.
    QList<int> selectedLogs() const;

public slots:
    void search();
    void findLog();
    void choose();

private:
    std::unique_ptr<Ui::liste_grume_cde> m_ui;
    AppContext &m_context;
    ListGrid *m_list = nullptr;
};

} // namespace ravelin
