#include "serverconfig.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace ravelin {

namespace {

QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) return t.mid(1, t.size() - 2).trimmed();
    return QString();
}

bool isSection(const QString &line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

// Key of a "key=value" line, or empty for comments and other lines.
QString keyOf(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))) return QString();
    const int eq = t.indexOf(QLatin1Char('='));
    return eq > 0 ? t.left(eq).trimmed() : QString();
}

} // namespace

bool IniFile::load(const QString &path)
{
    m_lines.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&f);
    while (!in.atEnd()) m_lines << in.readLine();
    return true;
}

int IniFile::findSection(const QString &section) const
{
    for (int i = 0; i < m_lines.size(); ++i)
        if (isSection(m_lines[i]) && sectionName(m_lines[i]).compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    const int start = findSection(section);
    if (start < 0) return fallback;
    for (int i = start + 1; i < m_lines.size() && !isSection(m_lines[i]); ++i) {
        if (keyOf(m_lines[i]).compare(key, Qt::CaseInsensitive) == 0) {
            const QString t = m_lines[i].trimmed();
            return t.mid(t.indexOf(QLatin1Char('=')) + 1).trimmed();
        }
    }
    return fallback;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    int start = findSection(section);
    if (start < 0) {
        m_lines << QStringLiteral("[%1]").arg(section);
        m_lines << key + QLatin1Char('=') + value;
        return;
    }
    int end = start + 1;
    for (; end < m_lines.size() && !isSection(m_lines[end]); ++end) {
        if (keyOf(m_lines[end]).compare(key, Qt::CaseInsensitive) == 0) {
            m_lines[end] = keyOf(m_lines[end]) + QLatin1Char('=') + value;
            return;
        }
    }
    // after the section's last non-empty line
    int at = end;
    while (at > start + 1 && m_lines[at - 1].trimmed().isEmpty()) --at;
    m_lines.insert(at, key + QLatin1Char('=') + value);
}

Status IniFile::save(const QString &path) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier %1").arg(path), f.errorString());
    QTextStream out(&f);
    for (const QString &l : m_lines) out << l << '\n';
    out.flush();
    if (!f.commit())
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier %1").arg(path), f.errorString());
    return {};
}

ServerConfig readServerConfig(const QString &path)
{
    ServerConfig c;
    IniFile ini;
    if (!ini.load(path)) return c;
    const QString s = QStringLiteral("SERVEUR");
    c.host = ini.value(s, QStringLiteral("host"), c.host);
    c.hostDistant = ini.value(s, QStringLiteral("host_distant"), c.hostDistant);
    c.version = ini.value(s, QStringLiteral("version"), c.version);
    c.database = ini.value(s, QStringLiteral("database"), c.database);
    c.user = ini.value(s, QStringLiteral("user"), c.user);
    c.password = ini.value(s, QStringLiteral("password"), c.password);
    bool ok = false;
    const int port = ini.value(s, QStringLiteral("port")).toInt(&ok);
    if (ok && port > 0) c.port = port;
    c.socket = ini.value(s, QStringLiteral("socket"), c.socket);
    return c;
}

Status writeConfigVersion(const QString &path, const QString &version)
{
    IniFile ini;
    ini.load(path);
    ini.setValue(QStringLiteral("SERVEUR"), QStringLiteral("version"), version);
    return ini.save(path);
}

} // namespace ravelin
