// ravelin_generate: creates a company database from the schema and fills it with a seeded,
// synthetic company at the chosen scale (scale 1: about 6,000 lots and 1,500,000 logs over
// twenty years). The same seed and scale give the same rows.
#include "benchserver.h"
#include "company.h"
#include "database.h"
#include "sql.h"
#include "tablelayout.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <cstdio>

using namespace ravelin;
using namespace ravelin::bench;

namespace {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

bool dropDatabase(const ServerConfig &config, const QString &name)
{
    const QString connection = QStringLiteral("ravelin_generate_admin");
    bool ok = false;
    {
        auto server = openConnection(config, connection, QString());
        if (!server) {
            err() << server.error().fullText() << Qt::endl;
        } else {
            // A database name cannot be bound; it was checked against the name pattern.
            auto dropped = execute(*server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
            if (!dropped) err() << dropped.error().fullText() << Qt::endl;
            ok = dropped.ok();
            server->close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates a company database filled with a synthetic company."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("scale"),
                      QStringLiteral("Size of the company (1: about 6,000 lots, 1,500,000 logs)."),
                      QStringLiteral("factor"), QStringLiteral("0.1")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the random numbers."), QStringLiteral("number"),
                      QStringLiteral("42")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("Name of the company database to create."),
                      QStringLiteral("name")});
    parser.addOption({QStringLiteral("replace"), QStringLiteral("Drop the database first when it exists.")});
    parser.addOption({QStringLiteral("until"),
                      QStringLiteral("Last day of the company's history (default 2026-11-30)."),
                      QStringLiteral("yyyy-mm-dd"), QStringLiteral("2026-11-30")});
    parser.addOption({QStringLiteral("years"), QStringLiteral("Years of history (default 20)."), QStringLiteral("n"),
                      QStringLiteral("20")});
    parser.addOption({QStringLiteral("quiet"), QStringLiteral("Print only the summary.")});
    addServerOptions(parser);
    parser.process(app);

    const QString name = parser.value(QStringLiteral("database"));
    if (!QRegularExpression(QStringLiteral("^[A-Za-z0-9_]{1,64}$")).match(name).hasMatch()) {
        err() << "give --database NAME (letters, digits and underscores)" << Qt::endl;
        return 2;
    }
    bool ok = false;
    GeneratorOptions options;
    options.scale = parser.value(QStringLiteral("scale")).toDouble(&ok);
    if (!ok || options.scale <= 0 || options.scale > 20) {
        err() << "--scale must be a number above 0 (and at most 20)" << Qt::endl;
        return 2;
    }
    options.seed = parser.value(QStringLiteral("seed")).toULongLong(&ok);
    if (!ok) {
        err() << "--seed must be a whole number" << Qt::endl;
        return 2;
    }
    const QStringList until = parser.value(QStringLiteral("until")).split(QLatin1Char('-'));
    if (until.size() != 3) {
        err() << "--until must be a date yyyy-mm-dd" << Qt::endl;
        return 2;
    }
    options.until = Day::fromYmd(until[0].toInt(), until[1].toInt(), until[2].toInt());
    options.years = std::max(2, parser.value(QStringLiteral("years")).toInt());
    QString problem;
    const ServerConfig config = serverFromOptions(parser, name, &problem);
    if (!problem.isEmpty()) {
        err() << problem << Qt::endl;
        return 2;
    }
    const bool quiet = parser.isSet(QStringLiteral("quiet"));

    QElapsedTimer total;
    total.start();
    if (parser.isSet(QStringLiteral("replace")) && !dropDatabase(config, name)) return 1;
    if (Status created = createCompanyDatabase(config, name, false); !created) {
        err() << created.error().fullText() << Qt::endl;
        return 1;
    }
    auto db = openConnection(config, QStringLiteral("ravelin_generate"), name);
    if (!db) {
        err() << db.error().fullText() << Qt::endl;
        return 1;
    }
    QStringList unfilled;
    const QStringList problems = checkLayouts(*db, &unfilled);
    if (!problems.isEmpty()) {
        err() << "the generator's table layouts (bench/generator/tablelayout.cpp) do not match the schema:\n  "
              << problems.join(QStringLiteral("\n  ")) << Qt::endl;
        return 1;
    }

    CompanyGenerator generator(options);
    QElapsedTimer step;
    step.start();
    try {
        generator.build();
        const qint64 built = step.restart();
        if (!quiet) err() << "drawn in memory in " << built << " ms" << Qt::endl;
        Loader loader(*db);
        generator.write(loader, [quiet, &step](const std::string &line) {
            if (!quiet) err() << QString::fromStdString(line) << " (" << step.elapsed() / 1000.0 << " s)" << Qt::endl;
        });
        // Fresh statistics, so that the first queries on the new data get their usual plans.
        QSqlQuery q(*db);
        if (!q.exec(QStringLiteral("ANALYZE TABLE `") + generatedTables().join(QStringLiteral("`, `")) +
                    QLatin1Char('`')))
            err() << "ANALYZE TABLE failed: " << q.lastError().text() << Qt::endl;
        while (q.next()) {
        }
        QTextStream out(stdout);
        std::int64_t rows = 0;
        for (const auto &[table, count] : generator.rowsWritten()) rows += count;
        out << "Company database " << name << ": scale " << options.scale << ", seed " << options.seed << ", " << rows
            << " rows in " << loader.statements() << " statements (" << loader.bytes() / (1024 * 1024)
            << " MB of SQL), " << total.elapsed() / 1000.0 << " s" << Qt::endl;
        for (const auto &[table, count] : generator.rowsWritten())
            out << "  " << QString::fromStdString(table).leftJustified(24) << count << Qt::endl;
    } catch (const std::exception &e) {
        err() << "generation failed: " << e.what() << Qt::endl;
        return 1;
    }
    db->close();
    return 0;
}
