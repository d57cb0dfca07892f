// ravelin_bench: runs the user actions of benchActions() against one or more company databases
// (one per scale) and prints one table: for each action and scale, the rows shown, the statements
// the program sent, its wall time (median of several runs), the longest time the interface thread
// was busy, the bytes the server sent, the process memory, and beside it the time the mariadb
// client takes for the same SQL; then the verdicts: which rows break which target.
#include "benchaction.h"
#include "benchserver.h"
#include "database.h"
#include "formats.h"
#include "measure.h"
#include "settings.h"
#include "users.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

using namespace ravelin;
using namespace ravelin::bench;

namespace {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

double median(std::vector<double> values)
{
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// What was measured for one action at one scale.
struct Measure
{
    bool wired = false;
    qint64 rows = -1;
    qint64 statementsMin = -1, statementsMax = -1;
    double bytes = -1;
    double milliseconds = -1;
    double clientMilliseconds = -1;
    double residentMb = -1;
    double busyMilliseconds = -1;        // median over the runs of the longest busy stretch of each
    qint64 laterMin = -1, laterMax = -1; // statements on other connections (the lists' workers)
    QStringList notes;
};

// The targets every row is held to (bench/README.md).
constexpr double kClientFactor = 1.25;   // the program within 1.25 x the client's time...
constexpr double kClientAllowance = 15;  // ... + 15 ms
constexpr double kScaleFactor = 1.5;     // the largest scale within 1.5 x the smallest...
constexpr double kScaleNoiseFloor = 1.0; // ... + 1 ms, the timer's and the scheduler's noise
constexpr double kBusyLimit = 100;       // the interface thread never busy longer, in ms
constexpr double kMemoryLimit = 300;     // MB at the largest scale

// The longest time the interface thread went without returning to its event loop: a 1 ms timer
// ticks at every turn of the loop, and the longest gap between two ticks (or between the start and
// the first tick: the action itself runs on that thread) is how long a click or a repaint would
// have waited. The action's nested loops (a modal, a wait for a count, the processing of posted
// events before a paint) tick too. A value near 1 ms means the thread was free throughout.
class BusyProbe
{
public:
    BusyProbe()
    {
        m_timer.setInterval(1);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stop()
    {
        tick();
        m_timer.stop();
        return static_cast<double>(m_longest) / 1e6;
    }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Statements every session of the server received (`Questions`): the benchmark's server serves the
// benchmark alone, so their growth less the screen's own is what other connections sent (the
// lists' workers counting).
qint64 serverQuestions(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Questions'")) || !q.next()) return -1;
    return q.value(1).toLongLong();
}

// Lets the screen's deferred work land (its pending() turns false), the events processed as the
// program's loop would, for at most two minutes.
void waitForDeferredWork(const ActionResult &r)
{
    if (!r.pending) return;
    QElapsedTimer waited;
    waited.start();
    while (r.pending() && waited.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

struct Company
{
    QString label;
    QString database;
};

QString expand(QString sql, const QMap<QString, QString> &parameters)
{
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        sql.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), sqlLiteral(it.value()));
    return sql;
}

bool readParameters(BenchContext &ctx)
{
    for (const BenchParameter &p : benchParameters()) {
        QSqlQuery q(ctx.db);
        q.setForwardOnly(true);
        const QString sql = expand(p.sql, ctx.parameters);
        if (!q.exec(sql) || !q.next()) {
            err() << ctx.label << ": parameter " << p.name << " unreadable: " << q.lastError().text() << Qt::endl;
            return false;
        }
        const QVariant v = q.value(0);
        ctx.parameters.insert(p.name, v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString());
    }
    return true;
}

// Statements and bytes that reading the counters twice costs by itself, on a connection in use
// and on a fresh one (start-up opens its own).
struct Overhead
{
    qint64 questions = 0, bytes = 0;
    qint64 freshQuestions = 1, freshBytes = 0;
    qint64 serverQuestions = 0; // the global counter read twice around the session's
};

Overhead calibrate(BenchContext &ctx)
{
    Overhead o;
    SessionCounters a = sessionCounters(ctx.db);
    SessionCounters b = sessionCounters(ctx.db);
    o.questions = b.questions - a.questions;
    o.bytes = b.bytesSent - a.bytesSent;
    {
        const qint64 globalBefore = serverQuestions(ctx.db);
        const SessionCounters sb = sessionCounters(ctx.db);
        const SessionCounters sa = sessionCounters(ctx.db);
        const qint64 globalAfter = serverQuestions(ctx.db);
        o.serverQuestions = (globalAfter - globalBefore) - (sa.questions - sb.questions);
    }
    const QString name = QStringLiteral("bench_fresh");
    {
        QSqlDatabase fresh = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        fresh.setHostName(ctx.config.host);
        fresh.setPort(ctx.config.port);
        fresh.setDatabaseName(ctx.database);
        fresh.setUserName(ctx.config.user);
        fresh.setPassword(ctx.config.password);
        if (!ctx.config.socket.isEmpty()) fresh.setConnectOptions(QStringLiteral("UNIX_SOCKET=") + ctx.config.socket);
        if (fresh.open()) {
            const SessionCounters f = sessionCounters(fresh);
            o.freshQuestions = f.questions;
            o.freshBytes = f.bytesSent;
        }
        fresh.close();
    }
    QSqlDatabase::removeDatabase(name);
    return o;
}

// The lists count their rows on connections of their own once their first page is shown. Between
// two runs the program takes those counts in, as it does while the user reads the screen: a search
// that found the previous count still running would stop it, a statement the user's action does
// not cost.
void settle()
{
    QElapsedTimer waited;
    waited.start();
    // busy rather than asleep: a process woken from sleep runs its next statement measurably slower
    while (waited.elapsed() < 50) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// One action on one company: its warm-up, its runs, then the client's time for the same SQL.
Measure measureAction(BenchContext &ctx, const Overhead &overhead, int index, int runs, int clientRuns,
                      const QString &client)
{
    Measure m;
    {
        const BenchAction &action = benchActions()[index];
        err() << ctx.label << ": " << action.name << Qt::endl;
        if (action.run) {
            m.wired = true;
            BusyProbe probe;
            // untimed: the screen brought where the action starts, its own deferred work landed
            const auto prepare = [&] {
                if (!action.prepare) return;
                waitForDeferredWork(action.prepare(ctx));
                settle();
            };
            prepare();
            ctx.dialogs.take();
            {
                ActionResult warm = action.run(ctx); // first run: caches and lazily built screens
                if (!warm.error.isEmpty()) m.notes << QStringLiteral("error: ") + warm.error;
                waitForDeferredWork(warm);
                if (!warm.connection.isEmpty()) {
                    QSqlDatabase::database(warm.connection, false).close();
                    warm.keep.reset();
                    QSqlDatabase::removeDatabase(warm.connection);
                }
            }
            settle();
            std::vector<double> times;
            std::vector<double> bytes;
            std::vector<double> busy;
            for (int run = 0; run < runs; ++run) {
                prepare();
                // the memory the earlier rows freed goes back to the system, so that the resident
                // memory read after the run is what the program holds then, not the high-water
                // mark of the rows before it
                malloc_trim(0);
                const qint64 globalBefore = serverQuestions(ctx.db);
                const SessionCounters before = sessionCounters(ctx.db);
                probe.start();
                QElapsedTimer timer;
                timer.start();
                ActionResult r = action.run(ctx);
                const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
                m.residentMb = std::max({m.residentMb, residentMegabytes(), r.peakResidentMb});
                // the count on the list's worker, the panels loaded after a pause: the interface
                // thread still watched, and the statements still counted, until they have landed
                waitForDeferredWork(r);
                busy.push_back(probe.stop());
                // the statements the screen sent on its own worker connection, counted there
                const WorkerStatements worker = r.worker ? r.worker() : WorkerStatements{};
                qint64 statements = worker.statements, sent = worker.bytes;
                SessionCounters after;
                if (!r.connection.isEmpty()) {
                    const SessionCounters own = sessionCounters(QSqlDatabase::database(r.connection, false));
                    statements += own.questions - overhead.freshQuestions;
                    sent += own.bytesSent - overhead.freshBytes;
                } else {
                    after = sessionCounters(ctx.db);
                    statements += after.questions - before.questions - overhead.questions;
                    sent += after.bytesSent - before.bytesSent - overhead.bytes;
                }
                if (r.connection.isEmpty()) {
                    const qint64 later = serverQuestions(ctx.db) - globalBefore - (after.questions - before.questions) -
                                         overhead.serverQuestions - worker.session;
                    m.laterMin = m.laterMin < 0 ? later : std::min(m.laterMin, later);
                    m.laterMax = std::max(m.laterMax, later);
                }
                if (!r.connection.isEmpty()) {
                    QSqlDatabase::database(r.connection, false).close();
                    r.keep.reset();
                    QSqlDatabase::removeDatabase(r.connection);
                }
                r.keep.reset();
                settle();
                times.push_back(ms);
                bytes.push_back(static_cast<double>(sent));
                m.statementsMin = m.statementsMin < 0 ? statements : std::min(m.statementsMin, statements);
                m.statementsMax = std::max(m.statementsMax, statements);
                m.rows = r.rows;
                if (!r.error.isEmpty() && !m.notes.contains(QStringLiteral("error: ") + r.error))
                    m.notes << QStringLiteral("error: ") + r.error;
            }
            for (const QString &shown : ctx.dialogs.take()) {
                const QString note = QStringLiteral("shown: ") + shown.left(120);
                if (!m.notes.contains(note)) m.notes << note;
            }
            m.milliseconds = median(times);
            m.bytes = median(bytes);
            m.busyMilliseconds = median(busy);
        }
        if (!action.clientSql.isEmpty()) {
            const QString sql = expand(action.clientSql, ctx.parameters);
            std::vector<double> times;
            for (int run = 0; run < clientRuns; ++run) {
                const ClientTiming t = clientTime(client, ctx.config, ctx.database, sql);
                if (!t.error.isEmpty()) {
                    m.notes << QStringLiteral("client: ") + t.error;
                    break;
                }
                times.push_back(t.milliseconds);
            }
            m.clientMilliseconds = median(times);
        }
    }
    return m;
}

QString number(double v, bool integer = false)
{
    if (v < 0) return QStringLiteral("–");
    if (integer) return QString::number(static_cast<qint64>(std::llround(v)));
    if (v < 10) return QString::number(v, 'f', 2);
    if (v < 100) return QString::number(v, 'f', 1);
    return QString::number(v, 'f', 0);
}

QString statements(const Measure &m)
{
    if (!m.wired) return QStringLiteral("–");
    if (m.statementsMin == m.statementsMax) return QString::number(m.statementsMin);
    return QStringLiteral("%1–%2").arg(m.statementsMin).arg(m.statementsMax);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(frenchLocale());
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Benchmarks of the user's main actions on company databases of several scales."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("company"),
                      QStringLiteral("A company database and its scale label, e.g. 0.1=bench_s01 (repeat)."),
                      QStringLiteral("label=database")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Measured runs of each action (default 5)."),
                      QStringLiteral("n"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("client-runs"),
                      QStringLiteral("Sessions of the mariadb client, each averaging several runs (default 3)."),
                      QStringLiteral("n"), QStringLiteral("3")});
    parser.addOption(
        {QStringLiteral("only"), QStringLiteral("Only the actions whose name matches."), QStringLiteral("regex")});
    parser.addOption({QStringLiteral("client"), QStringLiteral("The mariadb client program (default mariadb)."),
                      QStringLiteral("path"), QStringLiteral("mariadb")});
    parser.addOption(
        {QStringLiteral("output"), QStringLiteral("Also write the table to this file."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("list"), QStringLiteral("List the actions and stop.")});
    addServerOptions(parser);
    parser.process(app);

    QList<int> selected;
    const QRegularExpression only(parser.value(QStringLiteral("only")), QRegularExpression::CaseInsensitiveOption);
    for (int i = 0; i < benchActions().size(); ++i)
        if (!parser.isSet(QStringLiteral("only")) || only.match(benchActions()[i].name).hasMatch()) selected << i;
    if (parser.isSet(QStringLiteral("list"))) {
        QTextStream out(stdout);
        for (int i : selected) {
            const BenchAction &a = benchActions()[i];
            out << (a.run ? "  " : "T ") << a.name
                << (a.todo.isEmpty() ? QString() : QStringLiteral("  [TODO: ") + a.todo + QLatin1Char(']')) << Qt::endl;
        }
        return 0;
    }
    QList<Company> companies;
    for (const QString &c : parser.values(QStringLiteral("company"))) {
        const int eq = static_cast<int>(c.indexOf(QLatin1Char('=')));
        if (eq <= 0) {
            err() << "--company takes label=database, e.g. 0.1=bench_s01" << Qt::endl;
            return 2;
        }
        companies << Company{c.left(eq), c.mid(eq + 1)};
    }
    if (companies.isEmpty()) {
        err() << "give at least one --company label=database" << Qt::endl;
        return 2;
    }
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const int clientRuns = std::max(1, parser.value(QStringLiteral("client-runs")).toInt());

    // Every company is opened first, then each action measured on one company after the other:
    // the scales of a row are measured within seconds of each other, under the same load.
    QFile startLoad(QStringLiteral("/proc/loadavg"));
    const QString loadAtStart = startLoad.open(QIODevice::ReadOnly)
                                    ? QString::fromLatin1(startLoad.readAll()).section(QLatin1Char(' '), 0, 2)
                                    : QString();
    std::vector<std::unique_ptr<BenchContext>> contexts;
    std::vector<Overhead> overheads;
    QString serverVersion;
    for (const Company &company : companies) {
        auto ctx = std::make_unique<BenchContext>();
        ctx->label = company.label;
        ctx->database = company.database;
        QString problem;
        ctx->config = serverFromOptions(parser, company.database, &problem);
        if (!problem.isEmpty()) {
            err() << problem << Qt::endl;
            return 2;
        }
        const QString connection = QStringLiteral("bench_") + QString::number(contexts.size());
        auto db = openConnection(ctx->config, connection, company.database);
        if (!db) {
            err() << db.error().fullText() << Qt::endl;
            return 1;
        }
        ctx->db = *db;
        QSqlQuery version(ctx->db);
        if (version.exec(QStringLiteral("SELECT VERSION()")) && version.next())
            serverVersion = version.value(0).toString();
        // as the program's start-up does: a company generated before the schema's later indexes
        // gets them
        if (auto added = addMissingIndexes(ctx->db); !added) {
            err() << company.database << ": " << added.error().fullText() << Qt::endl;
            return 1;
        }
        auto settings = loadSettings(ctx->db);
        auto rights = Rights::load(ctx->db, QStringLiteral("admin"));
        if (!settings || !rights) {
            err() << company.database << ": not a company database (settings or rights unreadable)" << Qt::endl;
            return 1;
        }
        ctx->app.db = ctx->db;
        ctx->app.dialogs = &ctx->dialogs;
        ctx->app.settings = *settings;
        ctx->app.rights = *rights;
        ctx->app.applicationFolder = QDir::tempPath() + QLatin1Char('/');
        if (!readParameters(*ctx)) return 1;
        overheads.push_back(calibrate(*ctx));
        contexts.push_back(std::move(ctx));
    }
    std::vector<std::vector<Measure>> results(contexts.size(),
                                              std::vector<Measure>(static_cast<std::size_t>(benchActions().size())));
    for (int index : selected)
        for (std::size_t c = 0; c < contexts.size(); ++c)
            results[c][static_cast<std::size_t>(index)] = measureAction(
                *contexts[c], overheads[c], index, runs, clientRuns, parser.value(QStringLiteral("client")));
    for (auto &ctx : contexts) {
        ctx->objects.clear(); // the screens go before their connection
        const QString connection = ctx->db.connectionName();
        ctx->app.db = QSqlDatabase();
        ctx->db.close();
        ctx->db = QSqlDatabase();
        ctx.reset();
        QSqlDatabase::removeDatabase(connection);
    }

    // The table, in Markdown.
    QString table;
    QTextStream t(&table);
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QString load = loadavg.open(QIODevice::ReadOnly)
                             ? QString::fromLatin1(loadavg.readAll()).section(QLatin1Char(' '), 0, 2)
                             : QString();
    t << "Measured " << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) << ", server "
      << serverVersion << ", " << runs << " runs (median), client " << clientRuns << " runs, load average "
      << loadAtStart << " at the start, " << load << " at the end\n\n";
    QStringList header{QStringLiteral("Action")};
    const QStringList metrics{QStringLiteral("rows"),    QStringLiteral("stmts"),     QStringLiteral("ms"),
                              QStringLiteral("busy ms"), QStringLiteral("client ms"), QStringLiteral("KB recv"),
                              QStringLiteral("RSS MB")};
    for (const QString &metric : metrics)
        for (const Company &c : companies) header << metric + QLatin1Char(' ') + c.label;
    header << QStringLiteral("notes");
    t << "| " << header.join(QStringLiteral(" | ")) << " |\n|";
    for (int i = 0; i < header.size(); ++i) t << (i == 0 ? "---|" : i + 1 == header.size() ? "---|" : "---:|");
    t << "\n";

    // The verdicts: for each target, the rows that break it and by how much.
    const QString smallLabel = companies.front().label, largeLabel = companies.back().label;
    struct Target
    {
        QString title;
        QStringList broken;
    };
    Target sameStatements{QStringLiteral("The statements of an action are the same at every scale")};
    Target nearClient{QStringLiteral("Within %1 × the client's time + %2 ms, at every scale")
                          .arg(kClientFactor)
                          .arg(kClientAllowance)};
    Target scaleRatio{QStringLiteral("At scale %1 within %2 × its scale-%3 time + %4 ms")
                          .arg(largeLabel)
                          .arg(kScaleFactor)
                          .arg(smallLabel)
                          .arg(kScaleNoiseFloor)};
    Target busyLimit{QStringLiteral("The interface thread never busy over %1 ms, at every scale").arg(kBusyLimit)};
    Target memoryLimit{QStringLiteral("Under %1 MB at scale %2").arg(kMemoryLimit).arg(largeLabel)};
    int meetingAll = 0, measured = 0;

    for (int index : selected) {
        const BenchAction &action = benchActions()[index];
        QStringList cells{action.name};
        QStringList notes;
        if (!action.run) notes << QStringLiteral("TODO: ") + action.todo;
        for (int metric = 0; metric < metrics.size(); ++metric) {
            for (std::size_t c = 0; c < static_cast<std::size_t>(companies.size()); ++c) {
                const Measure &m = results[c][static_cast<std::size_t>(index)];
                switch (metric) {
                case 0: cells << (m.rows < 0 ? QStringLiteral("–") : QString::number(m.rows)); break;
                case 1: cells << statements(m); break;
                case 2: cells << number(m.milliseconds); break;
                case 3: cells << number(m.busyMilliseconds); break;
                // the client prints whole milliseconds
                case 4:
                    cells << (m.clientMilliseconds >= 0 && m.clientMilliseconds < 1 ? QStringLiteral("< 1")
                                                                                    : number(m.clientMilliseconds));
                    break;
                case 5: cells << number(m.bytes < 0 ? -1 : m.bytes / 1024.0); break;
                default: cells << number(m.residentMb, true); break;
                }
            }
        }
        if (!action.run) {
            cells << notes.join(QStringLiteral("; ")).replace(QLatin1Char('|'), QLatin1Char('/'));
            t << "| " << cells.join(QStringLiteral(" | ")) << " |\n";
            continue;
        }
        ++measured;
        bool meets = true;
        const auto breaks = [&](Target &target, const QString &detail) {
            target.broken << QStringLiteral("«") + action.name + QStringLiteral("» ") + detail;
            notes << detail;
            meets = false;
        };
        const Measure &small = results.front()[static_cast<std::size_t>(index)];
        const Measure &large = results.back()[static_cast<std::size_t>(index)];
        if (companies.size() > 1 &&
            (small.statementsMax != large.statementsMax || small.statementsMin != large.statementsMin))
            breaks(sameStatements, QStringLiteral("statements %1 at %2, %3 at %4")
                                       .arg(statements(small), smallLabel, statements(large), largeLabel));
        for (std::size_t c = 0; c < static_cast<std::size_t>(companies.size()); ++c) {
            const Measure &m = results[c][static_cast<std::size_t>(index)];
            const double allowed = kClientFactor * m.clientMilliseconds + kClientAllowance;
            if (m.milliseconds >= 0 && m.clientMilliseconds >= 0 && m.milliseconds > allowed)
                breaks(nearClient, QStringLiteral("%1: %2 ms > %3 × client + %4 = %5 ms")
                                       .arg(companies[c].label, number(m.milliseconds))
                                       .arg(kClientFactor)
                                       .arg(kClientAllowance)
                                       .arg(number(allowed)));
            if (m.busyMilliseconds > kBusyLimit)
                breaks(busyLimit, QStringLiteral("%1: interface thread busy %2 ms")
                                      .arg(companies[c].label, number(m.busyMilliseconds)));
            if (m.laterMax > 0)
                notes << QStringLiteral("%1: +%2 on other connections")
                             .arg(companies[c].label, m.laterMin == m.laterMax
                                                          ? QString::number(m.laterMax)
                                                          : QStringLiteral("%1–%2").arg(m.laterMin).arg(m.laterMax));
            for (const QString &n : m.notes) notes << companies[c].label + QStringLiteral(": ") + n;
        }
        if (companies.size() > 1 && small.milliseconds >= 0 && large.milliseconds >= 0) {
            const double allowed = kScaleFactor * small.milliseconds + kScaleNoiseFloor;
            if (large.milliseconds > allowed)
                breaks(scaleRatio,
                       QStringLiteral("%1: %2 ms > %3 × %4 + %5 = %6 ms (%7 × %8)")
                           .arg(largeLabel, number(large.milliseconds))
                           .arg(kScaleFactor)
                           .arg(number(small.milliseconds))
                           .arg(kScaleNoiseFloor)
                           .arg(number(allowed), number(large.milliseconds / small.milliseconds), smallLabel));
        }
        if (large.residentMb > kMemoryLimit)
            breaks(memoryLimit, QStringLiteral("%1: %2 MB").arg(largeLabel, number(large.residentMb, true)));
        for (const Measure &m : {small, large})
            for (const QString &n : m.notes)
                if (n.startsWith(QLatin1String("error: "))) meets = false;
        if (meets) ++meetingAll;
        cells << notes.join(QStringLiteral("; ")).replace(QLatin1Char('|'), QLatin1Char('/'));
        t << "| " << cells.join(QStringLiteral(" | ")) << " |\n";
    }

    t << "\nVerdicts (printed by ravelin_bench from this run):\n\n";
    for (const Target *target : {&sameStatements, &nearClient, &scaleRatio, &busyLimit, &memoryLimit}) {
        t << "- **" << target->title << "**: ";
        if (target->broken.isEmpty()) t << "every row.\n";
        else {
            t << target->broken.size() << (target->broken.size() == 1 ? " row breaks it" : " rows break it") << ":\n";
            for (const QString &b : target->broken) t << "  - " << b << "\n";
        }
    }
    t << "- Rows meeting every target: " << meetingAll << " of " << measured << ".\n";
    t.flush();
    QTextStream(stdout) << table;
    if (parser.isSet(QStringLiteral("output"))) {
        QFile f(parser.value(QStringLiteral("output")));
        if (f.open(QIODevice::WriteOnly | QIODevice::Text)) f.write(table.toUtf8());
        else err() << "cannot write " << f.fileName() << Qt::endl;
    }
    return 0;
}
