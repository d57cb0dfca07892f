#include "measure.h"

#include "benchserver.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

#include <vector>

namespace ravelin::bench {

SessionCounters sessionCounters(QSqlDatabase db)
{
    SessionCounters c;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SHOW SESSION STATUS WHERE Variable_name IN ('Questions','Bytes_sent')"))) return c;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (name.compare(QLatin1String("Questions"), Qt::CaseInsensitive) == 0) c.questions = q.value(1).toLongLong();
        else c.bytesSent = q.value(1).toLongLong();
    }
    c.ok = true;
    return c;
}

double residentMegabytes()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

ClientTiming clientTime(const QString &program, const ServerConfig &config, const QString &database, const QString &sql)
{
    ClientTiming t;
    int statements = 0;
    for (const QString &part : sql.split(QLatin1Char(';')))
        if (!part.trimmed().isEmpty()) ++statements;
    if (statements == 0) {
        t.error = QStringLiteral("no statement");
        return t;
    }
    // The client prints its timings in whole milliseconds: the statements are repeated in one
    // session and the repetitions averaged, the first left out (it pays for a cold session). A
    // repetition is one timing line per statement.
    constexpr int repetitions = 6;
    QStringList script;
    for (int i = 0; i < repetitions; ++i) script << sql;
    QProcess p;
    QStringList args = mariadbClientArguments(config);
    args << QStringLiteral("-vvv") << QStringLiteral("--batch") << database << QStringLiteral("-e")
         << script.join(QStringLiteral("; "));
    p.setProgram(program);
    p.setArguments(args);
    p.start();
    if (!p.waitForStarted(10000)) {
        t.error = QStringLiteral("cannot start %1").arg(program);
        return t;
    }
    // The rows themselves may be many megabytes: the output is read as it comes and only the
    // lines ending with the client's timing, "(0.012 sec)", are kept. Slow statements are not
    // repeated beyond what a few seconds give.
    static const QRegularExpression timing(QStringLiteral("\\((\\d+(?:\\.\\d+)?) sec\\)\\s*$"));
    std::vector<double> seconds;
    double total = 0;
    bool enough = false;
    QByteArray carry;
    auto scan = [&](bool last) {
        QByteArray chunk = carry + p.readAllStandardOutput();
        const qsizetype end = last ? chunk.size() : chunk.lastIndexOf('\n') + 1;
        carry = chunk.mid(end);
        for (const QByteArray &raw : chunk.left(end).split('\n')) {
            const QByteArray line = raw.trimmed();
            if (!line.endsWith("sec)")) continue;
            const auto m = timing.match(QString::fromUtf8(line));
            if (!m.hasMatch()) continue;
            seconds.push_back(m.captured(1).toDouble());
            total += seconds.back();
            const std::size_t groups = seconds.size() / static_cast<std::size_t>(statements);
            if (seconds.size() % static_cast<std::size_t>(statements) == 0 && groups >= 2 && total > 3.0) enough = true;
        }
    };
    while (p.state() != QProcess::NotRunning && !enough) {
        p.waitForReadyRead(1000);
        scan(false);
    }
    if (enough) {
        p.kill();
        p.waitForFinished(-1);
    } else {
        scan(true);
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            t.error = errors.trimmed().left(200);
            return t;
        }
    }
    const std::size_t groups = seconds.size() / static_cast<std::size_t>(statements);
    if (groups == 0) {
        t.error = QStringLiteral("the client printed no timing");
        return t;
    }
    const std::size_t firstKept = groups >= 2 ? 1 : 0;
    double kept = 0;
    for (std::size_t i = firstKept * statements; i < groups * statements; ++i) kept += seconds[i];
    t.milliseconds = kept * 1000.0 / static_cast<double>(groups - firstKept);
    return t;
}

QString sqlLiteral(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace ravelin::bench
