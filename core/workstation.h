#pragma once

#include <QString>

namespace ravelin {

// The workstation identifier: on Windows the serial number of volume "C:\" as 8 upper-case hex
// digits; elsewhere the first 8 hex digits of the machine id; "IMPOSSIBLE" when none can be read.
QString workstationId();

// The name of a work table of this workstation: "TAMPON" + identifier + suffix ("A", "Fac"...).
QString workTableName(const QString &suffix);

} // namespace ravelin
