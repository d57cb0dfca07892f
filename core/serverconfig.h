#pragma once

#include "result.h"

#include <QString>
#include <QStringList>

namespace ravelin {

// A Windows-style INI file read and written with section and key names compared without regard
// to case. Writing a key keeps every other line of the file as it was, byte for byte: the file is
// written back in the encoding it was read in (UTF-8 with or without its mark, UTF-16 with its mark,
// or Windows-1252 as Notepad saves it) and with its own line ends.
class IniFile
{
public:
    enum class Encoding { Utf8, Utf8WithMark, Utf16LE, Utf16BE, Windows1252 };

    bool load(const QString &path); // false when the file cannot be read
    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    Status save(const QString &path) const;

    // The file's text from its bytes, and back. Bytes that are not UTF-8 are read as Windows-1252.
    static QString decode(const QByteArray &bytes, Encoding *encoding);
    static QByteArray encode(const QString &text, Encoding encoding);
    Encoding encoding() const { return m_encoding; }

private:
    int findSection(const QString &section) const;
    void insertLine(int at, const QString &line);
    QStringList m_lines;
    QStringList m_endings; // each line's own end: "\r\n", "\n", or "" for a last line without one
    Encoding m_encoding = Encoding::Utf8;
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
