#include "platform.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

#include <sys/resource.h>

namespace ravelin {

QString systemVolumeId()
{
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
}

void allowWindowActivation() {}

double peakMemoryMb()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

} // namespace ravelin
