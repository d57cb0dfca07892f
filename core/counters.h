#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The counters of table `increment`; each column holds the last number handed out.
enum class Counter { NLot, NumBl, NumFacture, NumIntervenantPossible, NumContact };

QString counterColumn(Counter counter);

// The number a screen proposes before the record is confirmed: the last number + 1, nothing written.
Result<int> proposeNextCounter(QSqlDatabase db, Counter counter);

// Takes the next number in one atomic statement, so that two workstations never receive the same
// one. Inside a caller's transaction the counter row stays locked until it commits.
Result<int> takeNextCounter(QSqlDatabase db, Counter counter);

} // namespace ravelin
