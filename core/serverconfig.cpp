#include "serverconfig.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

// Windows-1252 bytes 0x80 to 0x9F; the five bytes it leaves undefined stand for themselves, so that
// every byte reads back as it was.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString windows1252ToText(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(kWindows1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray textToWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            byte = char(u);
        } else {
            for (int i = 0; i < 32; ++i)
                if (kWindows1252High[i] == u) byte = char(0x80 + i);
        }
        bytes += byte;
    }
    return bytes;
}

} // namespace

QString IniFile::decode(const QByteArray &bytes, Encoding *encoding)
{
    Encoding found = Encoding::Utf8;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        found = Encoding::Utf8WithMark;
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE")) {
        found = Encoding::Utf16LE;
        text = QStringDecoder(QStringConverter::Utf16LE)(bytes.mid(2));
    } else if (bytes.startsWith("\xFE\xFF")) {
        found = Encoding::Utf16BE;
        text = QStringDecoder(QStringConverter::Utf16BE)(bytes.mid(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8(bytes);
        if (utf8.hasError()) {
            found = Encoding::Windows1252;
            text = windows1252ToText(bytes);
        }
    }
    if (encoding) *encoding = found;
    return text;
}

QByteArray IniFile::encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf8WithMark: return "\xEF\xBB\xBF" + text.toUtf8();
    case Encoding::Utf16LE: return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text));
    case Encoding::Utf16BE: return "\xFE\xFF" + QByteArray(QStringEncoder(QStringConverter::Utf16BE)(text));
    case Encoding::Windows1252: return textToWindows1252(text);
    }
    return text.toUtf8();
}

bool IniFile::load(const QString &path)
{
    m_lines.clear();
    m_endings.clear();
    m_encoding = Encoding::Utf8;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QString text = decode(f.readAll(), &m_encoding);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
        if (newline < 0) {
            m_lines << text.mid(start);
            m_endings << QString();
            break;
        }
        const bool crlf = newline > start && text.at(newline - 1) == QLatin1Char('\r');
        m_lines << text.mid(start, newline - start - (crlf ? 1 : 0));
        m_endings << (crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"));
        start = newline + 1;
    }
    return true;
}

void IniFile::insertLine(int at, const QString &line)
{
    // A new line ends like the file's first line; appended after a last line that had no end, it
    // gives that line one and goes without.
    const QString ending =
        m_endings.isEmpty() || m_endings.first().isEmpty() ? QStringLiteral("\n") : m_endings.first();
    QString own = ending;
    if (at == m_lines.size() && !m_endings.isEmpty() && m_endings.last().isEmpty()) {
        m_endings.last() = ending;
        own.clear();
    }
    m_lines.insert(at, line);
    m_endings.insert(at, own);
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
        insertLine(int(m_lines.size()), QStringLiteral("[%1]").arg(section));
        insertLine(int(m_lines.size()), key + QLatin1Char('=') + value);
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
    insertLine(at, key + QLatin1Char('=') + value);
}

Status IniFile::save(const QString &path) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return Error::failure(QStringLiteral("Impossible d'écrire le fichier %1").arg(path), f.errorString());
    QString text;
    for (int i = 0; i < m_lines.size(); ++i) text += m_lines.at(i) + m_endings.at(i);
    f.write(encode(text, m_encoding));
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
