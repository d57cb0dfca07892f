#include "textimportcheck.h"

#include "loadinglist.h"
#include "logimport.h"
#include "textimport.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ravelin::fuzz {

namespace {

// The input that broke a rule is left in the working folder, to be read again by hand.
[[noreturn]] void broken(const char *rule, const QByteArray &file)
{
    std::fprintf(stderr, "text import: %s (file of %lld bytes, kept in textimport-broken.bin)\n", rule,
                 static_cast<long long>(file.size()));
    if (std::FILE *out = std::fopen("textimport-broken.bin", "wb")) {
        std::fwrite(file.constData(), 1, std::size_t(file.size()), out);
        std::fclose(out);
    }
    std::abort();
}

void require(bool holds, const char *rule, const QByteArray &file)
{
    if (!holds) broken(rule, file);
}

// What a file reads as, compared across encodings.
QString readAs(const TextFile &read)
{
    QString text;
    for (const FileLog &log : read.logs)
        text += QStringLiteral("%1|%2|%3|%4|%5\n")
                    .arg(log.line)
                    .arg(log.number, log.species, log.lengthText, log.diameterText);
    if (read.error) text += QStringLiteral("error %1 %2").arg(read.error->line).arg(read.error->message);
    return text;
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes(2 + 2 * text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    *out++ = littleEndian ? '\xFF' : '\xFE';
    *out++ = littleEndian ? '\xFE' : '\xFF';
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        *out++ = littleEndian ? low : high;
        *out++ = littleEndian ? high : low;
    }
    return bytes;
}

} // namespace

void checkTextImport(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) return;
    const LineLayout layout = (data[0] & 1) ? readLoadingListLine : readLogListLine;
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const TextFile read = readTextFile(file, layout);
    const QString text = decodeText(file);
    const int lines = int(splitLines(text).size());

    if (read.error) {
        require(read.error->line >= 1 && read.error->line <= lines, "an error names a line the file lacks", file);
        require(!read.error->message.isEmpty(), "an error without a message", file);
    }
    int previous = 0;
    for (const FileLog &log : read.logs) {
        require(log.line >= 1 && log.line <= lines, "a log names a line the file lacks", file);
        require(log.line > previous, "logs out of file order", file);
        previous = log.line;
        if (log.length) require(std::isfinite(*log.length), "a length that is not finite", file);
        if (log.diameter) require(std::isfinite(*log.diameter), "a diameter that is not finite", file);
        if (!read.error) {
            require(log.length && *log.length >= 0 && log.diameter && *log.diameter >= 0,
                    "a file taken with a measure missing or negative", file);
        }
        require(std::isfinite(previewVolume(log)), "a preview volume that is not finite", file);
        (void)previewLine(log);
    }

    // the same text in another encoding reads the same
    const QString expected = readAs(read);
    const auto same = [&](const QByteArray &other, const char *rule) {
        require(decodeText(other) == text, rule, file);
        require(readAs(readTextFile(other, layout)) == expected, rule, file);
    };
    same(QByteArray("\xEF\xBB\xBF") + text.toUtf8(), "UTF-8 with its mark reads differently");
    same(utf16(text, true), "UTF-16 LE reads differently");
    same(utf16(text, false), "UTF-16 BE reads differently");
    // Windows-1252, when the text is all Latin-1 letters and its bytes are not UTF-8 as well
    bool latin = true;
    for (const QChar c : text)
        if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) latin = false;
    if (latin) {
        const QByteArray windows = text.toLatin1();
        if (decodeText(windows) == text) same(windows, "Windows-1252 reads differently");
    }
}

} // namespace ravelin::fuzz
