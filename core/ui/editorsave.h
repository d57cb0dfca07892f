#pragma once

#include "result.h"

#include <functional>

class QDialog;

namespace ravelin {

struct AppContext;

// What an editor runs on "OK" to write the record it edits; none when its caller writes it.
using EditorSave = std::function<Status()>;

// Runs an editor's save on "OK"; true when it is written (or the editor has no save). A refusal
// or a change another workstation made is shown and the editor stays open with what the user
// typed, to be corrected or cancelled; a record deleted meanwhile is shown and the editor closes
// as cancelled, so that its list is read again.
bool saveFromEditor(AppContext &context, QDialog &editor, const EditorSave &save);

} // namespace ravelin
