#include "orderlogs.h"

#include "boundquery.h"
#include "formats.h"
#include "orderstore.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"
#include "volumelines.h"

#include <QSqlQuery>

namespace ravelin {

PagedQuery orderLogsQuery(int incCde)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,n_grume,essence,qualite,classe,m3,diametre,longueur,n_lot,stock,livree");
    q.from = QStringLiteral("grume");
    q.where = QStringLiteral("inc_cde=? and descriptif='GRUME'");
    q.values = {incCde};
    q.orderBy = {QStringLiteral("n_grume")};
    return q;
}

Result<PagedQuery> freeLogsQuery(const FreeLogSearch &search)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,N_grume,m3,essence,qualite,classe,diametre,longueur,lieu,date_creation,date_lieu,"
                               "N_lot,indice_lot,stock,livree");
    q.from = QStringLiteral("grume");
    q.where = QStringLiteral("(livree<>'OUI' or livree is null) and descriptif='GRUME' and inc_cde is null");
    if (!search.lot.trimmed().isEmpty()) {
        const auto lot = parseWholeNumber(search.lot);
        if (!lot) return Error::refusal(incorrectEntryMessage());
        q.where += QStringLiteral(" and n_lot=?");
        q.values << *lot;
    }
    const auto like = [&](const QString &text, const char *condition) {
        if (text.isEmpty()) return;
        q.where += QLatin1String(condition);
        q.values << QVariant(containsPattern(text));
    };
    like(search.essence, " and essence like ?");
    like(search.qualite, " and qualite like ?");
    like(search.lieu, " and lieu like ?");
    like(search.classe, " and classe like ?");
    q.orderBy = {QStringLiteral("N_grume")};
    // The free logs in number order come from their index: left to itself, the server walks every
    // log by number, most of them taken long ago, to find a page of free ones.
    q.keyIndex = search.lot.trimmed().isEmpty() ? QStringLiteral("idx_grume_free_number")
                                                : QStringLiteral("idx_grume_lot_number");
    return q;
}

Result<QList<ClassSlice>> loadedLogsByClass(QSqlDatabase db, int incCde)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("SELECT sum(m3)as a,classe FROM liste_grume_cde\nwhere inc_cde=? and "
                                       "descriptif='GRUME'\ngroup by classe"),
                        {incCde});
        !s)
        return s.error();
    QList<ClassSlice> slices;
    while (q.next()) slices.append(ClassSlice{q.value(1).toString(), round2(q.value(0).toDouble())});
    return slices;
}

QString logsNotAttachedMessage(int count)
{
    return QStringLiteral("%1 grume(s) non affectée(s)").arg(count);
}

namespace {

QString marks(qsizetype count)
{
    QStringList list;
    for (qsizetype i = 0; i < count; ++i) list << QStringLiteral("?");
    return list.join(QLatin1Char(','));
}

// The totals of every lot the logs belong to, lots in ascending order.
Status updateLotsOfLogs(QSqlDatabase db, const QList<QSqlRecord> &lots)
{
    for (const QSqlRecord &lot : lots) {
        auto totals = updateLotLogTotals(db, lot.value(0).toInt(), lot.value(1).toInt());
        if (!totals) return totals.error();
    }
    return {};
}

} // namespace

Result<int> attachLogs(QSqlDatabase db, int incCde, const QList<int> &logIncs)
{
    if (logIncs.isEmpty()) return 0;
    int attached = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedLogsRefusal());
        if (!order) return order.error();
        QVariantList values{incCde};
        for (int inc : logIncs) values << inc;
        auto changed = execute(db,
                               QStringLiteral("update grume set inc_cde=?, livree='OUI' where inc in (%1) and "
                                              "inc_cde is null and (livree<>'OUI' or livree is null) and "
                                              "descriptif='GRUME'")
                                   .arg(marks(logIncs.size())),
                               values);
        if (!changed) return changed.error();
        attached = *changed;
        values.removeFirst();
        auto lots = select(db,
                           QStringLiteral("select distinct N_lot, indice_lot from grume where inc in (%1) "
                                          "order by N_lot, indice_lot")
                               .arg(marks(logIncs.size())),
                           values);
        if (!lots) return lots.error();
        return updateLotsOfLogs(db, *lots);
    });
    if (!done) return done.error();
    return attached;
}

Status releaseLogs(QSqlDatabase db, int incCde, std::optional<int> logInc)
{
    return inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedLogsRefusal());
        if (!order) return order.error();
        QString where = QStringLiteral("inc_cde=?");
        QVariantList values{incCde};
        if (logInc) {
            where += QStringLiteral(" and inc=?");
            values << *logInc;
        }
        auto lots = select(db,
                           QStringLiteral("select distinct N_lot, indice_lot from grume where %1 order by N_lot, "
                                          "indice_lot")
                               .arg(where),
                           values);
        if (!lots) return lots.error();
        auto changed =
            execute(db, QStringLiteral("update grume set inc_cde=null, livree=null where %1").arg(where), values);
        if (!changed) return changed.error();
        return updateLotsOfLogs(db, *lots);
    });
}

Status writeDeliveredLogVolume(QSqlDatabase db, int incCde)
{
    auto done = execute(db,
                        QStringLiteral("update cde set grume_livree=(select ifnull(sum(m3),0) from grume where "
                                       "inc_cde=? and descriptif='GRUME') where inc=?"),
                        {incCde, incCde});
    if (!done) return done.error();
    if (*done == 0) {
        auto exists = scalar(db, QStringLiteral("select inc from cde where inc=?"), {incCde});
        if (!exists) return exists.error();
        if (exists->isNull()) return Error::notFound(orderGoneMessage());
    }
    return {};
}

} // namespace ravelin
