#include "editorsave.h"

#include "appcontext.h"
#include "dialogs.h"

#include <QDialog>

namespace ravelin {

bool saveFromEditor(AppContext &context, QDialog &editor, const EditorSave &save)
{
    if (!save) return true;
    const Status saved = save();
    if (saved) return true;
    context.dialogs->error(saved.error());
    if (saved.error().is(ErrorKind::NotFound)) editor.reject();
    return false;
}

} // namespace ravelin
