#include "workstation.h"

#include "platform.h"
#include "sql.h"

namespace ravelin {

QString workstationId()
{
    return systemVolumeId();
}

QString workTableName(const QString &suffix)
{
    return QStringLiteral("TAMPON") + workstationId() + suffix;
}

Status recreateWorkTable(QSqlDatabase db, const QString &table, const QString &definition, const QVariantList &values)
{
    if (auto dropped = execute(db, QStringLiteral("drop temporary table if exists ") + table); !dropped)
        return dropped.error();
    if (auto created =
            execute(db, QStringLiteral("create temporary table ") + table + QLatin1Char(' ') + definition, values);
        !created)
        return created.error();
    return {};
}

} // namespace ravelin
