#pragma once

#include "benchaction.h"
#include "result.h"

#include <QString>

#include <functional>

class QWidget;

namespace ravelin {
class PagedQueryModel;
}

namespace ravelin::bench {

// What the rows of every subsystem's file share.

ActionResult failed(const Error &e);

// A folder with the Serveur_config.INI of the context's server, as installed beside the program.
QString applicationFolder(BenchContext &ctx);

// The statements a session of the program starts with, for the client's SQL.
QString sessionSetup();

// The screen as the user sees it: shown (the first time), the events it posted processed (layout,
// the results the workers delivered meanwhile), then rendered offscreen, so that the row's time
// runs until the first screenful is painted, not only until the model holds it. A screen opened
// by the action is rendered whole; on a screen already shown, `changed` (the list a search
// filled, the counter a count reached) is what repaints, and only it is rendered.
void paintScreen(QWidget *screen, QWidget *changed = nullptr);

// The screen's work that lands after the action returned: a count (and sums) still running on a
// list's worker, or `more` (a screen's one-shot timer about to load a panel). The harness waits for
// it, untimed but with the user-interface thread watched, before the next run.
std::function<bool()> deferredWork(QObject *screen, std::function<bool()> more = {});

// A list screen's result: the rows it shows, painted (`changed` as for paintScreen), its deferred
// work, and what keeps it alive.
ActionResult shownList(QWidget *screen, qint64 rows, std::shared_ptr<void> keep = {}, std::function<bool()> more = {},
                       QWidget *changed = nullptr);

// Waits until the list's count has reached the screen (counted on the grid's worker after the
// first page), its counter then painted. Gives the error met, empty when counted.
QString waitForCount(PagedQueryModel *list, QWidget *screen, QWidget *counter);

// The first page of the lot tab's list (lotactions.cpp), which opening the program reads too.
QString lotPageSql(const QString &filter = QString(), bool finished = false);

} // namespace ravelin::bench
