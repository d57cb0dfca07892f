#pragma once

#include "volumelines.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace Ui {
class detail_grume;
}

namespace ravelin {

struct AppContext;

// detail_grume: one log's number, measures, species, quality and class. The volumes and the class
// follow the diameter, length and bark share as they are typed. Nothing is written here: the
// caller writes record() on "OK".
class LogEntryDialog : public QDialog
{
    Q_OBJECT
public:
    LogEntryDialog(AppContext &context, const LogRecord &log, QWidget *parent = nullptr);
    ~LogEntryDialog() override;

    Ui::detail_grume *ui() const { return m_ui.get(); }
    LogRecord record() const;

public slots:
    // "Calcul Volume GRUME", also run as the measures change.
    void computeVolume();
    void validate();

private:
    std::optional<double> measure(const QLineEdit *field, bool *valid) const;

    std::unique_ptr<Ui::detail_grume> m_ui;
    AppContext &m_context;
    LogRecord m_log;
};

} // namespace ravelin
