#pragma once

#include "referencelists.h"

#include <QDialog>

#include <functional>

class QLabel;

namespace ravelin {

struct AppContext;

// The detail screen of a reference list (detail_essence, detail_qualite, ... detail_reglement):
// the table's own form, whose fields are named after the columns they edit, filled from one
// row. "OK" runs the table's checks and then the caller's write; the screen closes only when the
// row was written. "Annuler" and the window's close button leave without writing.
class ReferenceDetailDialog : public QDialog
{
    Q_OBJECT
public:
    // Writes the row as typed; an error keeps the screen open with the user's input, except a
    // row changed on another workstation, which closes it (changedElsewhere()).
    using Save = std::function<Status(const ReferenceRow &typed)>;

    ReferenceDetailDialog(AppContext &context, ReferenceTable table, const ReferenceRow &row, Save save,
                          QWidget *parent = nullptr);

    const ReferenceTableDef &definition() const { return m_def; }
    // The field editing a column (a line edit or a choice list), or null.
    QWidget *field(const QString &column) const;
    // The row as typed. A number that cannot be read names its column in `unreadable`.
    ReferenceRow typedRow(QString *unreadable = nullptr) const;
    bool changedElsewhere() const { return m_changedElsewhere; }

    // The background of the fields the user must fill in.
    static QColor requiredColour();

public slots:
    void accept() override;

private:
    void fillFields(const ReferenceRow &row);
    QLabel *labelOf(QWidget *field) const;

    AppContext &m_context;
    const ReferenceTableDef &m_def;
    ReferenceRow m_row;
    Save m_save;
    bool m_changedElsewhere = false;
};

} // namespace ravelin
