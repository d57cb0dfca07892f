#pragma once

#include "serverconfig.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin::bench {

// The server's counters of one session: the statements it received (`Questions`, which counts
// executed statements, not prepares) and the bytes it sent (`Bytes_sent`).
struct SessionCounters
{
    qint64 questions = 0;
    qint64 bytesSent = 0;
    bool ok = false;
};
SessionCounters sessionCounters(QSqlDatabase db);

// Resident memory of this process, in megabytes.
double residentMegabytes();

// The time the mariadb command-line client reports for the statements ("(0.012 sec)" after each
// result, with -vvv): the server's work and the transfer of every row, without the client's
// start-up or printing. The statements are run several times in one session and averaged, the
// first time left out. Milliseconds; negative with `error` set when the client failed.
struct ClientTiming
{
    double milliseconds = -1;
    QString error;
};
ClientTiming clientTime(const QString &program, const ServerConfig &config, const QString &database,
                        const QString &sql);

// A parameter value written into SQL text as a literal.
QString sqlLiteral(const QString &value);

} // namespace ravelin::bench
