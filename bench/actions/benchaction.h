#pragma once

#include "appcontext.h"
#include "dialogs.h"
#include "serverconfig.h"

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace ravelin::bench {

// What a screen sent on a worker connection of its own during a run (an analysis' runner, where
// every statement of the screen goes), counted on that connection by the action.
struct WorkerStatements
{
    qint64 statements = 0; // the action's own, added to the row's statements
    qint64 bytes = 0;      // what the server sent for them, added to the row's bytes
    qint64 session = 0;    // everything that connection sent during the run (its opening, the
                           // counters read), left out of "other connections"
};

// What one run of an action gives back to the harness.
struct ActionResult
{
    qint64 rows = -1;           // rows the screen shows or holds; -1 when it shows no list
    std::shared_ptr<void> keep; // what the screen holds while it is shown: kept alive while the
                                // harness reads the memory, released after the measures
    QString connection;         // a connection the action opened itself (start-up), whose session
                                // counts the statements; empty: the context's connection
    QString error;              // empty when the action succeeded
    double peakResidentMb = -1; // the most memory the action held while it ran, when it sampled it
    // True while the screen's deferred work (a count on a list's worker, a panel about to load) has
    // not landed yet; the harness waits for it before the next run, watching the interface thread.
    std::function<bool()> pending;
    // For a screen whose statements run on its own worker connection: counts them there, called
    // once the deferred work has landed.
    std::function<WorkerStatements()> worker;
};

// Answers every question "no", cancels every input and records what would have been shown, so
// that a screen can run unattended; a message during a run is reported beside the action.
class BenchDialogs : public Dialogs
{
public:
    void message(const QString &text, const QString &caption) override
    {
        m_shown << caption + QStringLiteral(": ") + text;
    }
    bool okCancel(const QString &text, const QString &caption) override
    {
        m_shown << caption + QStringLiteral(": ") + text;
        return false;
    }
    bool yesNo(const QString &text, const QString &caption) override
    {
        m_shown << caption + QStringLiteral(": ") + text;
        return false;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QString openFile(const QString &, const QString &, const QString &) override { return QString(); }
    QString saveFile(const QString &, const QString &) override { return QString(); }

    QStringList take()
    {
        QStringList shown = m_shown;
        m_shown.clear();
        return shown;
    }

private:
    QStringList m_shown;
};

// One company database under measure: the program's connection, opened as the program opens it,
// an application context signed in as the administrator, and the parameters of the actions.
struct BenchContext
{
    QString label; // the scale as the table shows it, e.g. "0.1"
    QString database;
    ServerConfig config;
    QSqlDatabase db;
    BenchDialogs dialogs;
    AppContext app;
    QMap<QString, QString> parameters;                // see benchParameters()
    std::map<QString, std::shared_ptr<void>> objects; // screens prepared by the actions

    QString parameter(const QString &name) const { return parameters.value(name); }
    int intParameter(const QString &name) const { return parameters.value(name).toInt(); }

    // A screen kept for several actions (a tab whose buttons are measured one by one).
    template <typename T, typename Make> T *object(const QString &name, Make make)
    {
        auto found = objects.find(name);
        if (found == objects.end()) found = objects.emplace(name, std::shared_ptr<void>(make())).first;
        return static_cast<T *>(found->second.get());
    }
};

using ActionFunction = std::function<ActionResult(BenchContext &)>;

// A row of the benchmark table: a user action, run through the program's own operations and
// screens, and the SQL the mariadb client runs for the same rows (the server's own time).
struct BenchAction
{
    QString name;
    ActionFunction run;     // the program's operation; empty while it is still to be wired
    QString clientSql;      // statements separated by ";"; {name} is replaced by a parameter
    QString todo;           // for a row not wired yet: what it waits for
    ActionFunction prepare; // optional, not timed, before every run: brings the screen where the
                            // action starts (its deferred work lands before the run)
};

// A value the actions need, read from the company database before the actions run (the biggest
// lot, the busiest contractor...). The SQL returns one row of one column.
struct BenchParameter
{
    QString name;
    QString sql;
};

// The rows of one subsystem, in a file of their own (lotactions.cpp...), with the parameters they
// read. A parameter's SQL may name a parameter of an earlier section or an earlier row.
struct BenchSection
{
    QList<BenchParameter> parameters;
    QList<BenchAction> actions;
};
BenchSection startupSection();   // startupactions.cpp: start-up, sign-in, settings, counters
BenchSection lotSection();       // lotactions.cpp: cutting lots, logs, the log inquiry
BenchSection referenceSection(); // referenceactions.cpp: contractors and customer places
BenchSection orderSection();     // orderactions.cpp: orders, their lines, logs and actions
BenchSection deliverySection();  // deliveryactions.cpp: chip deliveries
BenchSection importSection();    // importactions.cpp: log import, map pages, post-it check
BenchSection stockSection();     // stockactions.cpp: transfers, firewood and chip stocks, products available
BenchSection invoiceSection();   // invoiceactions.cpp: invoice list, creation, credit notes
BenchSection analysisSection();  // analysisactions.cpp: the five analyses over one year and twenty
BenchSection printSection();     // printactions.cpp: delivery notes, invoices, transport planning

// Every section's parameters and rows, in the table's order (actions.cpp).
const QList<BenchParameter> &benchParameters();
const QList<BenchAction> &benchActions();

} // namespace ravelin::bench
