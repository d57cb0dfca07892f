#include "deliveryactions.h"

#include "deliverystore.h"
#include "sql.h"
#include "statements.h"

#include <QRegularExpression>

namespace ravelin {

QString actionKindType(ActionKind kind)
{
    switch (kind) {
    case ActionKind::Purchase: return QStringLiteral("ACHAT");
    case ActionKind::Transport: return QStringLiteral("TRANSPORT");
    case ActionKind::Chipping: return QStringLiteral("BROYAGE");
    }
    return QString();
}

Result<DataTable> deliveryActions(QSqlDatabase db, int deliveryInc, ActionKind kind)
{
    return selectTable(
        db,
        QStringLiteral("select inc,type1,I_nom,i_date,qte_action,unite_action,prix_unit_action,i_cout,"
                       "km_route,time_format(temps_route,'%H:%i:%s') as temps_route from liste_action_liv "
                       "where inc_cde=? and type1=? "
                       "order by inc"),
        {deliveryInc, actionKindType(kind)});
}

Result<int> createDeliveryAction(QSqlDatabase db, int deliveryInc, const DeliveryAction &action)
{
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        if (Status s = lockUninvoicedDelivery(db, deliveryInc); !s) return s;
        auto inserted = insertRow(db, QStringLiteral("liste_action_liv"),
                                  {{QStringLiteral("inc_cde"), deliveryInc},
                                   {QStringLiteral("n_lot"), action.nLot},
                                   {QStringLiteral("type1"), action.type1},
                                   {QStringLiteral("I_nom"), action.iNom},
                                   {QStringLiteral("i_date"), action.iDate},
                                   {QStringLiteral("qte_action"), action.qteAction},
                                   {QStringLiteral("unite_action"), action.uniteAction},
                                   {QStringLiteral("prix_unit_action"), action.prixUnitAction},
                                   {QStringLiteral("i_cout"), action.iCout}});
        if (!inserted) return inserted.error();
        inc = *inserted;
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Status deleteDeliveryAction(QSqlDatabase db, int deliveryInc, int actionInc)
{
    return inTransaction(db, [&]() -> Status {
        if (Status s = lockUninvoicedDelivery(db, deliveryInc); !s) return s;
        auto deleted = execute(db, QStringLiteral("delete from liste_action_liv where inc=? and inc_cde=?"),
                               {actionInc, deliveryInc});
        if (!deleted) return deleted.error();
        if (*deleted == 0) return Error::notFound(recordDeletedMessage());
        return {};
    });
}

std::optional<int> parseKilometres(const QString &typed)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?\\d{1,9}\\s*$"));
    if (!whole.match(typed).hasMatch()) return std::nullopt;
    return typed.trimmed().toInt();
}

std::optional<QTime> parseRoadTime(const QString &typed)
{
    const QString t = typed.trimmed();
    for (const char *format : {"H:mm:ss", "HH:mm:ss", "H:mm", "HH:mm"}) {
        const QTime time = QTime::fromString(t, QLatin1String(format));
        if (time.isValid()) return time;
    }
    return std::nullopt;
}

Status setActionKilometres(QSqlDatabase db, int actionInc, int km)
{
    return overwriteRow(db, QStringLiteral("liste_action_liv"), QStringLiteral("inc"), actionInc,
                        {{QStringLiteral("km_route"), km}});
}

Status setActionRoadTime(QSqlDatabase db, int actionInc, const QTime &time)
{
    return overwriteRow(db, QStringLiteral("liste_action_liv"), QStringLiteral("inc"), actionInc,
                        {{QStringLiteral("temps_route"), time.toString(QStringLiteral("HH:mm:ss"))}});
}

} // namespace ravelin
