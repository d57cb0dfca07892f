#pragma once

#include "lotlogimport.h"

#include <QDialog>

#include <memory>

class QStringListModel;

namespace Ui {
class import1;
}

namespace ravelin {

struct AppContext;

// import1: reads a measuring device's log list, shows what it understood, and adds the logs to
// the lot. Closes as accepted once logs were written; totals() then holds the lot's log totals.
class LogImportDialog : public QDialog
{
    Q_OBJECT
public:
    LogImportDialog(AppContext &context, int nLot, int indiceLot, QWidget *parent = nullptr);
    ~LogImportDialog() override;

    Ui::import1 *ui() const { return m_ui.get(); }
    const LogFileContents &contents() const { return m_contents; }
    const LogTotals &totals() const { return m_totals; }

public slots:
    // "Ouvrir Fichier": chooses the file, starting in the application folder.
    void openFile();
    // Reads `path` into the preview.
    void load(const QString &path);
    // "Importer".
    void importLogs();

private:
    std::unique_ptr<Ui::import1> m_ui;
    AppContext &m_context;
    int m_nLot;
    int m_indiceLot;
    LogFileContents m_contents;
    QStringListModel *m_preview;
    LogTotals m_totals;
};

} // namespace ravelin
