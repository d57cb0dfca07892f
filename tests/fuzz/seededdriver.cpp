// The text-import parser fed seeded random and mutated files for a bounded time, built with the
// address and undefined-behaviour sanitizers: what libFuzzer would find first, repeatable in CI.
//   fuzz_textimport_seeded [--seconds N] [--seed N]
#include "textimportcheck.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray randomFile(QRandomGenerator &random)
{
    static const QList<QByteArray> pieces{
        "12;a;CH;4,5;b;40;c",
        "13;a;Parcelle 12 bis du bois;FR ;3.5;b;30;commentaire long",
        "Ch\xEAne;12;x;4,5;32;",
        "sp;12;x;4.5;32;;;",
        "Ch\xC3\xAAne;123456789;x;10;40;",
        "sp;1234567890;x;4;32;",
        "12a",
        "1e400",
        "NaN",
        "-0",
        "-",
        ",",
        ".",
        ";",
        ";;;;;",
        "\r",
        "\n",
        "\r\n",
        "\xC3",
        "\xED\xA0\x80",
        "\xFF\xFE",
        "\xFE\xFF",
        "\xEF\xBB\xBF",
        "\x80\x9C",
        "N\xB0",
        "  ",
        "\t",
        "999999999999999999999",
        "0000000000000000000000000001",
        QByteArray(2000, '7'),
        QByteArray(101, 'e') + ";1;x;2;30;",
        QByteArray(100 * 1024, 'x'),
    };
    QByteArray bytes;
    bytes += char(random.bounded(256)); // the layout
    const int parts = random.bounded(1, 40);
    for (int i = 0; i < parts; ++i) {
        if (random.bounded(4) == 0) bytes += char(random.bounded(256));
        else bytes += pieces[random.bounded(int(pieces.size()))];
    }
    return bytes;
}

// A few bytes of `file` changed, inserted, removed or repeated.
QByteArray mutated(QByteArray file, QRandomGenerator &random)
{
    const int changes = random.bounded(1, 8);
    for (int i = 0; i < changes && !file.isEmpty(); ++i) {
        const qsizetype at = random.bounded(int(file.size()));
        switch (random.bounded(4)) {
        case 0: file[at] = char(random.bounded(256)); break;
        case 1: file.insert(at, char(random.bounded(256))); break;
        case 2: file.remove(at, random.bounded(1, 16)); break;
        default: file.insert(at, file.mid(at, random.bounded(1, 64))); break;
        }
    }
    return file;
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 30;
    quint32 seed = 20261211;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0) seed = quint32(std::strtoul(argv[i + 1], nullptr, 10));
    }
    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    long rounds = 0;
    QByteArray last;
    while (clock.elapsed() < seconds * 1000) {
        const QByteArray file = (rounds % 3 == 2 && !last.isEmpty()) ? mutated(last, random) : randomFile(random);
        ravelin::fuzz::checkTextImport(reinterpret_cast<const std::uint8_t *>(file.constData()),
                                       std::size_t(file.size()));
        if (rounds % 3 != 2) last = file;
        ++rounds;
    }
    std::printf("%ld files read in %.1f s, seed %u, both layouts: no rule broken\n", rounds, clock.elapsed() / 1000.0,
                seed);
    return 0;
}
