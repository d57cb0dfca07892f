#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QStringList>

namespace ravelin {

// The reference names the entry screens offer in their drop-down lists, in name order.

Result<QStringList> speciesNames(QSqlDatabase db);
Result<QStringList> qualityNames(QSqlDatabase db);
Result<QStringList> buyerNames(QSqlDatabase db);
// Every contractor family, for the type of a piece of work.
Result<QStringList> workFamilies(QSqlDatabase db);
// The families a contractor may belong to: every family but "6-TERMINE".
Result<QStringList> contractorFamilies(QSqlDatabase db);

} // namespace ravelin
