#include "orderactions.h"

#include "orderstore.h"
#include "rowsave.h"
#include "sql.h"

namespace ravelin {

QStringList orderActionTypes()
{
    return {QStringLiteral("CHARGEMENT"), QStringLiteral("TRANSPORT"), QStringLiteral("ADMINISTRATIF"),
            QStringLiteral("AUTRE")};
}

PagedQuery orderActionsQuery(int incCde)
{
    PagedQuery q;
    q.columns =
        QStringLiteral("inc,inc_cde,I_nom,type1,i_date,qte_action,unite_action,prix_unit_action,i_cout,N_lot,id");
    q.from = QStringLiteral("liste_action_cde");
    q.where = QStringLiteral("inc_cde=?");
    q.values = {incCde};
    q.orderBy = {QStringLiteral("i_date")};
    return q;
}

Status writeActionTotal(QSqlDatabase db, int incCde)
{
    auto done = execute(db,
                        QStringLiteral("update cde set total_cout_action=(select ifnull(sum(i_cout),0) from "
                                       "liste_action_cde where inc_cde=?) where inc=?"),
                        {incCde, incCde});
    if (!done) return done.error();
    return {};
}

Result<int> addOrderAction(QSqlDatabase db, int incCde, const OrderAction &action)
{
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedActionsRefusal());
        if (!order) return order.error();
        auto line = scalar(db,
                           QStringLiteral("select inc from liste_grume_cde where inc_cde=? and "
                                          "(descriptif='VOLUME' or descriptif='GRUME1') limit 1"),
                           {incCde});
        if (!line) return line.error();
        if (line->isNull()) return Error::refusal(productLineRequiredMessage());
        QList<ColumnValue> columns = actionColumnValues(action);
        columns << ColumnValue{QStringLiteral("inc_cde"), incCde} << ColumnValue{QStringLiteral("id"), action.id};
        auto inserted = insertRow(db, QStringLiteral("liste_action_cde"), columns);
        if (!inserted) return inserted.error();
        inc = *inserted;
        return writeActionTotal(db, incCde);
    });
    if (!done) return done.error();
    return inc;
}

Status changeOrderAction(QSqlDatabase db, int incCde, int actionInc, const QList<ColumnChange> &changes)
{
    return inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedActionsRefusal());
        if (!order) return order.error();
        // the cost and its factors are saved together or not at all
        Status saved =
            saveLockedRow(db, QStringLiteral("liste_action_cde"), QStringLiteral("inc"), actionInc, changes,
                          {QStringLiteral("qte_action"), QStringLiteral("prix_unit_action"), QStringLiteral("i_cout")});
        if (!saved) {
            if (saved.error().is(ErrorKind::NotFound)) return Error::notFound(actionGoneMessage());
            return saved;
        }
        return writeActionTotal(db, incCde);
    });
}

Status removeOrderAction(QSqlDatabase db, int incCde, int actionInc)
{
    return inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, incCde, invoicedActionsRefusal());
        if (!order) return order.error();
        auto deleted =
            execute(db, QStringLiteral("delete from liste_action_cde where inc=? and inc_cde=?"), {actionInc, incCde});
        if (!deleted) return deleted.error();
        if (*deleted != 1) return Error::notFound(actionGoneMessage());
        return writeActionTotal(db, incCde);
    });
}

} // namespace ravelin
