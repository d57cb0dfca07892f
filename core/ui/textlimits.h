#pragma once

#include "result.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

class QWidget;

namespace ravelin {

struct AppContext;
class Dialogs;

// Keeps the text fields of an editor within the columns they are written to. Each line edit or
// text box of `form` named after a text column of `table` (or mapped to one in `columns`, field
// object name -> column) takes that column's length from the server's catalogue: a text that
// would become longer, typed or pasted, is refused whole and the user reads which field and how
// many characters it holds. Number fields (those with a validator) are left alone. Fields are
// named in the message by their label (`captions`, field object name -> caption, else the label
// the form puts beside them, else their object name).
Status limitTextFields(QWidget *form, QSqlDatabase db, const QString &table, Dialogs &dialogs,
                       const QHash<QString, QString> &columns = {}, const QHash<QString, QString> &captions = {});

// The same for an editor of the running program. When the catalogue cannot be read the fields
// stay as they are: the server still refuses an over-long text, and that refusal reads the same.
void limitTextFields(QWidget *form, AppContext &context, const QString &table,
                     const QHash<QString, QString> &columns = {}, const QHash<QString, QString> &captions = {});

} // namespace ravelin
