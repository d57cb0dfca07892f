#pragma once

#include "textimportdialog.h"

namespace ravelin {

// import1: reads a measuring device's log list, shows what it understood, and adds the logs to
// the lot. The outcome's detail holds the lot's log totals (LogTotals), written by the import.
TextImportSteps logImportSteps(int nLot, int indiceLot);

} // namespace ravelin
