#pragma once

#include <QPixmap>
#include <QString>

namespace ravelin {

// The 25 × 25 icon of a delivery's operation (list and legend); null for an unknown operation.
QPixmap operationIconPixmap(const QString &operation);

} // namespace ravelin
