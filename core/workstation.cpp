#include "workstation.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace ravelin {

QString workstationId()
{
#ifdef Q_OS_WIN
    DWORD serial = 0;
    if (GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return QStringLiteral("%1").arg(quint32(serial), 8, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("IMPOSSIBLE");
#else
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]{8}"));
    for (const char *path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        QFile f(QString::fromLatin1(path));
        if (f.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromLatin1(f.readAll()).trimmed();
            const auto m = hex.match(id);
            if (m.hasMatch()) return m.captured(0).toUpper();
        }
    }
    const QString unique = QString::fromLatin1(QSysInfo::machineUniqueId().toHex());
    if (unique.size() >= 8) return unique.left(8).toUpper();
    return QStringLiteral("IMPOSSIBLE");
#endif
}

QString workTableName(const QString &suffix)
{
    return QStringLiteral("TAMPON") + workstationId() + suffix;
}

} // namespace ravelin
