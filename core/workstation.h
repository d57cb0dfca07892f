#pragma once

#include "result.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace ravelin {

// The workstation identifier: on Windows the serial number of volume "C:\" as 8 upper-case hex
// digits; elsewhere the first 8 hex digits of the machine id; "IMPOSSIBLE" when none can be read.
QString workstationId();

// The name of a work table of this workstation: "TAMPON" + identifier + suffix ("A", "Fac"...).
QString workTableName(const QString &suffix);

// Creates a temporary work table afresh on this connection: the one an earlier computation left
// is dropped, then "create temporary table <table> <definition>" runs (its columns, "as select …"
// or "like …", `values` bound to its marks).
Status recreateWorkTable(QSqlDatabase db, const QString &table, const QString &definition,
                         const QVariantList &values = {});

} // namespace ravelin
