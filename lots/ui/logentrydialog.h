#pragma once

#include "volumelines.h"

#include "editorsave.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace Ui {
class detail_grume;
}

namespace ravelin {

struct AppContext;

// detail_grume: one log's number, measures, species, quality and class. The volumes and the class
// follow the diameter, length and bark share as they are typed. "OK" runs the save the caller
// gives (setSave) and closes once the log is written.
class LogEntryDialog : public QDialog
{
    Q_OBJECT
public:
    LogEntryDialog(AppContext &context, const LogRecord &log, QWidget *parent = nullptr);
    ~LogEntryDialog() override;

    Ui::detail_grume *ui() const { return m_ui.get(); }
    LogRecord record() const;
    // The log as it was read.
    const LogRecord &asRead() const { return m_log; }
    // What "OK" writes; the screen stays open when it fails.
    void setSave(EditorSave save) { m_save = std::move(save); }

public slots:
    // "Calcul Volume GRUME", also run as the measures change.
    void computeVolume();
    void validate();

private:
    std::optional<double> measure(const QLineEdit *field, bool *valid) const;

    std::unique_ptr<Ui::detail_grume> m_ui;
    AppContext &m_context;
    LogRecord m_log;
    EditorSave m_save;
};

} // namespace ravelin
