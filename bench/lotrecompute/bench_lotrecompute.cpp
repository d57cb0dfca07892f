// The recomputation of one lot, on lots of growing size: for each size, the lot's volume lines
// (from as many owner lines), and for every line the same number of order lines sold from the
// lot, order lines sold from the stock, chip deliveries and transfer lines. Prints, without and
// with the rebuild from the owners, the median time of several runs and the statements the
// program sent (the server's `Questions`), which must not grow with the sources.
//
//   bench_lotrecompute [--socket PATH | --config FILE ...] [--runs 5] [--keep]
//
// Works in a database of its own, `bench_lotrecompute`, created anew (dropped at the end unless
// --keep).

#include "benchserver.h"
#include "database.h"
#include "lotrecompute.h"
#include "sql.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace ravelin;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

qint64 questions(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("show session status like 'Questions'"));
    return q.next() ? q.value(1).toLongLong() : -1;
}

Status fill(QSqlDatabase db, int nLot, int lines, int perLine)
{
    const QString lot = QString::number(nLot);
    const QStringList statements{
        QStringLiteral("insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini, lieu) values (%1, 1, 'NON', "
                       "'NON', 'Bench')"),
        // one owner line per volume line: species 'S<i>', quality A, m3
        QStringLiteral(
            "insert into proprietaire_essence (N_lot, indice_lot, nom, essence, qualite, unite, unite_defaut, qte, "
            "qte_reel, qte_defaut) with recursive n(i) as (select 1 union all select i + 1 from n where i < %2) "
            "select %1, 1, 'Propriétaire', concat('S', i), 'A', 'm3', 'm3', 1000, 1000, 1000 from n"),
        QStringLiteral(
            "insert into essence (essence, m3, T, Stere) with recursive n(i) as (select 1 union all select i + 1 "
            "from n where i < %2) select concat('S', i), 1, 0.8, 1.5 from n "
            "where not exists (select 1 from essence e where e.essence = concat('S', i))"),
    };
    for (QString s : statements) {
        s.replace(QStringLiteral("%1"), lot).replace(QStringLiteral("%2"), QString::number(lines));
        if (auto done = execute(db, s); !done) return done.error();
    }
    if (Status s = recomputeLot(db, nLot, Rebuild::Yes); !s) return s;
    // The sources, per volume line.
    const QString perLineRows =
        QStringLiteral("with recursive k(j) as (select 1 union all select j + 1 from k where j < %1) "
                       "select g.inc, j from grume g join k where g.N_lot = %2 and g.descriptif = 'VOLUME'")
            .arg(perLine)
            .arg(nLot);
    const QStringList sources{
        QStringLiteral("insert into liste_grume_cde (n_lot, id, descriptif, choix_depart, qte_defaut) "
                       "select '%1', s.inc, 'VOLUME', if(s.j %% 3 = 0, 'STOCK', 'COUPE'), 0.5 from (%2) s"),
        QStringLiteral("insert into livraison (inc, creation, n_lot, id, qte_defaut_totale) "
                       "select %1 * 10000000 + s.inc * 10000 + s.j, 0, %1, s.inc, 0.25 from (%2) s"),
        QStringLiteral("insert into liste_grume_transfert (type_transfert, depart, id, qte_defaut) "
                       "select 'COUPE', '%1', s.inc, 0.3 from (%2) s"),
    };
    for (QString s : sources) {
        s.replace(QStringLiteral("%%"), QStringLiteral("%"));
        if (auto done = execute(db, s.arg(lot, perLineRows)); !done) return done.error();
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    bench::addServerOptions(parser);
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs per measure (default 5)."), QStringLiteral("n"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("keep"), QStringLiteral("Keep the database at the end.")});
    parser.process(app);
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const QString name = QStringLiteral("bench_lotrecompute");

    QString problem;
    const ServerConfig config = bench::serverFromOptions(parser, name, &problem);
    if (!problem.isEmpty()) {
        out() << problem << Qt::endl;
        return 2;
    }
    {
        auto server = openConnection(config, QStringLiteral("bench_admin"), QString());
        if (!server) {
            out() << server.error().fullText() << Qt::endl;
            return 1;
        }
        // A database left by an earlier run that cannot be dropped makes the creation below fail, with
        // the server's message.
        (void)execute(*server, QStringLiteral("drop database if exists `%1`").arg(name));
        server->close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_admin"));
    if (Status s = createCompanyDatabase(config, name, false); !s) {
        out() << s.error().fullText() << Qt::endl;
        return 1;
    }
    auto opened = openConnection(config, QStringLiteral("bench"), name);
    if (!opened) {
        out() << opened.error().fullText() << Qt::endl;
        return 1;
    }
    QSqlDatabase db = *opened;

    struct Size
    {
        int lines;
        int perLine;
    };
    const Size sizes[] = {{5, 10}, {20, 100}, {50, 400}, {200, 250}};
    out() << QStringLiteral("%1 %2 %3 | %4 %5 | %6 %7\n")
                 .arg(QStringLiteral("lines"), 6)
                 .arg(QStringLiteral("per line"), 9)
                 .arg(QStringLiteral("sources"), 8)
                 .arg(QStringLiteral("ms"), 8)
                 .arg(QStringLiteral("statements"), 10)
                 .arg(QStringLiteral("ms rebuild"), 10)
                 .arg(QStringLiteral("statements"), 10);
    int nLot = 100;
    for (const Size &size : sizes) {
        ++nLot;
        if (Status s = fill(db, nLot, size.lines, size.perLine); !s) {
            out() << s.error().fullText() << "\n" << s.error().statement.left(300) << Qt::endl;
            return 1;
        }
        QStringList cells;
        for (Rebuild rebuild : {Rebuild::No, Rebuild::Yes}) {
            std::vector<double> times;
            qint64 sent = 0;
            for (int r = 0; r < runs; ++r) {
                const qint64 before = questions(db);
                QElapsedTimer timer;
                timer.start();
                const Status done = recomputeLot(db, nLot, rebuild);
                times.push_back(timer.nsecsElapsed() / 1e6);
                sent = questions(db) - before - 1; // the status query itself
                if (!done) {
                    out() << done.error().fullText() << Qt::endl;
                    return 1;
                }
            }
            std::sort(times.begin(), times.end());
            cells << QString::number(times[times.size() / 2], 'f', 1) << QString::number(sent);
        }
        out() << QStringLiteral("%1 %2 %3 | %4 %5 | %6 %7\n")
                     .arg(size.lines, 6)
                     .arg(size.perLine, 9)
                     .arg(qint64(size.lines) * size.perLine * 3, 8)
                     .arg(cells[0], 8)
                     .arg(cells[1], 10)
                     .arg(cells[2], 10)
                     .arg(cells[3], 10);
        out().flush();
    }
    db.close();
    if (!parser.isSet(QStringLiteral("keep"))) {
        auto server = openConnection(config, QStringLiteral("bench_admin2"), QString());
        // Clean-up only: the measures are already written.
        if (server) (void)execute(*server, QStringLiteral("drop database if exists `%1`").arg(name));
    }
    return 0;
}
