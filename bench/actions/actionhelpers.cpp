#include "actionhelpers.h"

#include "database.h"
#include "pagedquerymodel.h"
#include "serverconfig.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

namespace ravelin::bench {

ActionResult failed(const Error &e)
{
    ActionResult r;
    r.error = e.message + (e.detail.isEmpty() ? QString() : QStringLiteral(" (") + e.detail + QLatin1Char(')'));
    return r;
}

QString applicationFolder(BenchContext &ctx)
{
    auto *dir = ctx.object<QTemporaryDir>(QStringLiteral("application folder"), [] { return new QTemporaryDir; });
    IniFile ini;
    const QString s = QStringLiteral("SERVEUR");
    ini.setValue(s, QStringLiteral("host"), ctx.config.host.isEmpty() ? QStringLiteral("localhost") : ctx.config.host);
    ini.setValue(s, QStringLiteral("host_distant"),
                 ctx.config.host.isEmpty() ? QStringLiteral("localhost") : ctx.config.host);
    ini.setValue(s, QStringLiteral("database"), ctx.database);
    ini.setValue(s, QStringLiteral("user"), ctx.config.user);
    ini.setValue(s, QStringLiteral("password"), ctx.config.password);
    ini.setValue(s, QStringLiteral("port"), QString::number(ctx.config.port));
    if (!ctx.config.socket.isEmpty()) ini.setValue(s, QStringLiteral("socket"), ctx.config.socket);
    if (Status saved = ini.save(dir->path() + QLatin1Char('/') + configFileName()); !saved)
        qFatal("%s", qPrintable(saved.error().fullText()));
    return dir->path();
}

QString sessionSetup()
{
    return QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_unicode_ci; SET SESSION sql_mode='") + sessionSqlMode() +
           QStringLiteral("'; SET SESSION innodb_lock_wait_timeout=15; ");
}

void paintScreen(QWidget *screen, QWidget *changed)
{
    if (!screen) return;
    const bool opened = !screen->isVisible();
    if (opened) screen->show();
    QCoreApplication::processEvents();
    (void)(opened || !changed ? screen : changed)->grab();
}

std::function<bool()> deferredWork(QObject *screen, std::function<bool()> more)
{
    QPointer<QObject> watched(screen);
    return [watched, more = std::move(more)] {
        if (!watched) return false;
        for (const PagedQueryModel *list : watched->findChildren<PagedQueryModel *>())
            if (list->isCounting() || list->isLocating()) return true;
        return more && more();
    };
}

ActionResult shownList(QWidget *screen, qint64 rows, std::shared_ptr<void> keep, std::function<bool()> more,
                       QWidget *changed)
{
    paintScreen(screen, changed);
    ActionResult r;
    r.rows = rows;
    r.keep = std::move(keep);
    r.pending = deferredWork(screen, std::move(more));
    return r;
}

QString waitForCount(PagedQueryModel *list, QWidget *screen, QWidget *counter)
{
    if (!list) return QStringLiteral("no list shown");
    if (!list->totalCount()) {
        QEventLoop loop;
        QString error;
        QObject::connect(list, &PagedQueryModel::counted, &loop, &QEventLoop::quit);
        QObject::connect(list, &PagedQueryModel::failed, &loop, [&](const Error &e) {
            error = e.message;
            loop.quit();
        });
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        if (!list->totalCount()) loop.exec();
        if (!error.isEmpty()) return error;
        if (!list->totalCount()) return QStringLiteral("the count did not arrive");
    }
    paintScreen(screen, counter);
    return QString();
}

} // namespace ravelin::bench
