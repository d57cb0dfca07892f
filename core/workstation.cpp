#include "workstation.h"

#include "platform.h"

namespace ravelin {

QString workstationId()
{
    return systemVolumeId();
}

QString workTableName(const QString &suffix)
{
    return QStringLiteral("TAMPON") + workstationId() + suffix;
}

} // namespace ravelin
