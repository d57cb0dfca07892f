#pragma once

#include "result.h"

#include <QString>
#include <QStringList>

namespace ravelin {

// A Windows-style INI file read and written with section and key names compared without regard
// to case. Writing a key keeps every other line of the file as it was.
class IniFile
{
public:
    bool load(const QString &path); // false when the file cannot be read
    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    Status save(const QString &path) const;

private:
    int findSection(const QString &section) const;
    QStringList m_lines;
};

// The `SERVEUR` section of Serveur_config.INI.
//   host          server name or address (required)
//   host_distant  required by the program, not used otherwise
//   version       written back with the program's version at every start
//   database      company database name (default "ravelin")
//   user, password  database account (default "ravelin" / empty)
//   port          TCP port (default 3306)
//   socket        unix socket path; when set, used instead of host and port
struct ServerConfig
{
    QString host = QStringLiteral("NON");
    QString hostDistant = QStringLiteral("NON");
    QString version = QStringLiteral("NON");
    QString database = QStringLiteral("ravelin");
    QString user = QStringLiteral("ravelin");
    QString password;
    int port = 3306;
    QString socket;

    // Both required keys present.
    bool isComplete() const { return host != QLatin1String("NON") && hostDistant != QLatin1String("NON"); }
};

inline QString configFileName()
{
    return QStringLiteral("Serveur_config.INI");
}

// Reads the file; a file that cannot be read leaves the defaults (and so an incomplete config).
ServerConfig readServerConfig(const QString &path);

// Writes the program's version into `version` of section SERVEUR.
Status writeConfigVersion(const QString &path, const QString &version);

} // namespace ravelin
