#pragma once

#include "textimportdialog.h"

namespace ravelin {

// Import_chargement_grume: reads a loader's list of logs, shows what it understood, and records
// the logs as loaded logs of the order with the quality chosen; closes with the count of logs not
// found in the lots.
TextImportSteps loadingImportSteps(int incCde);

} // namespace ravelin
