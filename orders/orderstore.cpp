#include "orderstore.h"

#include "counters.h"
#include "rowsave.h"
#include "searchpattern.h"
#include "sql.h"

namespace ravelin {

Result<PagedQuery> orderSearchQuery(const OrderSearch &search)
{
    if (search.client.contains(QLatin1Char('\''))) return Error::refusal(clientFilterRefusal());

    PagedQuery q;
    q.columns = QStringLiteral("inc,type_cde,client,date_cde,qte_liv_totale,unite_liv,prix_vente,livree,destination,"
                               "cp_liv,pays_liv,date_souhaitee,facturee,num_facture,ville_liv,n_cde_client,"
                               "grume_livree,lot_livre,total_cout_action,qte_defaut_totale");
    q.from = QStringLiteral("cde");
    // Every order when the invoiced ones are asked for, null flags included.
    q.where = search.showInvoiced ? QStringLiteral("( facturee is null or facturee<>'RIEN' )")
                                  : QStringLiteral("( facturee is null or facturee<>'OUI' )");
    if (!search.client.isEmpty()) {
        q.where += QStringLiteral(" and client like ?");
        q.values << containsPattern(search.client);
    }
    if (!search.type.isEmpty()) {
        q.where += QStringLiteral(" and type_cde like ?");
        q.values << containsPattern(search.type);
    }
    q.key = QStringLiteral("inc");
    switch (search.sort) {
    case OrderSort::Number: q.descending = true; break;
    case OrderSort::Date: q.orderBy = {QStringLiteral("date_cde desc")}; break;
    case OrderSort::Client: q.orderBy = {QStringLiteral("client"), QStringLiteral("date_cde desc")}; break;
    case OrderSort::Type: q.orderBy = {QStringLiteral("type_cde"), QStringLiteral("date_cde desc")}; break;
    }
    return q;
}

PagedQuery orderPanelLinesQuery(int inc)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,inc_cde,date_creation,descriptif,essence,qualite,m3,n_lot,qte_liv,unite_liv,"
                               "choix_depart,stock_buche");
    q.from = QStringLiteral("liste_grume_cde");
    q.where = QStringLiteral("inc_cde=? and (descriptif='GRUME1' or descriptif='VOLUME' )");
    q.values = {inc};
    q.key = QStringLiteral("inc");
    return q;
}

QStringList orderTypes()
{
    return {QStringLiteral("PARTICULIER"), QStringLiteral("SCIERIE"), QStringLiteral("CHAUFFERIE"),
            QStringLiteral("ENTREPRISE"), QStringLiteral("EXPORT")};
}

QStringList saleUnits()
{
    return {QStringLiteral("m3"), QStringLiteral("T"), QStringLiteral("Stere"), QStringLiteral("Heure")};
}

QString orderTypeTextColour(const QString &type)
{
    if (type == QLatin1String("EXPORT") || type == transferType()) return QStringLiteral("008000");
    if (type == QLatin1String("SCIERIE") || type == QLatin1String("CHAUFFERIE") || type == QLatin1String("ENTREPRISE"))
        return QStringLiteral("0000FF");
    if (type == QLatin1String("PARTICULIER")) return QStringLiteral("FF0000");
    return QString();
}

bool isSunday(const QVariant &date)
{
    if (date.isNull()) return false;
    const QDate day = date.typeId() == QMetaType::QDateTime ? date.toDateTime().date() : date.toDate();
    return day.isValid() && day.dayOfWeek() == Qt::Sunday;
}

int orderTypeIconIndex(const QString &type)
{
    static const QStringList types{QStringLiteral("EXPORT"),      QStringLiteral("SCIERIE"),
                                   QStringLiteral("CHAUFFERIE"),  QStringLiteral("ENTREPRISE"),
                                   QStringLiteral("PARTICULIER"), QStringLiteral("TRANSFERT")};
    return int(types.indexOf(type));
}

QString checkNewOrder(const NewOrder &order)
{
    if (order.typeCde.isEmpty()) return orderTypeRequiredMessage();
    if (order.uniteLiv.isEmpty()) return orderUnitRequiredMessage();
    return QString();
}

Result<int> createOrder(QSqlDatabase db, const NewOrder &order, const QString &defaultUnit, const QDateTime &now)
{
    if (const QString refused = checkNewOrder(order); !refused.isEmpty()) return Error::refusal(refused);
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        // orders and chip deliveries share the series num_bl
        auto number = takeNextCounter(db, Counter::NumBl);
        if (!number) return number.error();
        inc = *number;
        const auto inserted = insertRow(db, QStringLiteral("cde"),
                                        {{QStringLiteral("inc"), inc},
                                         {QStringLiteral("creation"), 0},
                                         {QStringLiteral("type_cde"), order.typeCde},
                                         {QStringLiteral("date_cde"), now},
                                         {QStringLiteral("date_souhaitee"), now},
                                         {QStringLiteral("facturee"), QStringLiteral("NON")},
                                         {QStringLiteral("livree"), QStringLiteral("NON")},
                                         {QStringLiteral("unite_defaut"), defaultUnit},
                                         {QStringLiteral("unite_liv"), order.uniteLiv}});
        if (!inserted) return inserted.error();
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Result<QSqlRecord> loadOrder(QSqlDatabase db, int inc)
{
    return selectOne(db, QStringLiteral("select * from cde where inc=?"), {inc}, orderGoneMessage());
}

Result<bool> orderHasLines(QSqlDatabase db, int inc)
{
    auto found = scalar(db, QStringLiteral("select inc from liste_grume_cde where inc_cde=? limit 1"), {inc});
    if (!found) return found.error();
    return !found->isNull();
}

Result<QSqlRecord> lockOpenOrder(QSqlDatabase db, int inc, const QString &invoicedMessage)
{
    auto order = select(db, QStringLiteral("select * from cde where inc=? for update"), {inc});
    if (!order) return order.error();
    if (order->isEmpty()) return Error::notFound(orderGoneMessage());
    const QSqlRecord row = order->first();
    if (row.value(QStringLiteral("facturee")).toString() == QLatin1String("OUI"))
        return Error::refusal(invoicedMessage);
    return row;
}

Status deleteOrder(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        auto order = lockOpenOrder(db, inc, invoicedOrderDeletionRefusal());
        if (!order) return order.error();
        // read under the order's lock: a line added meanwhile is seen
        auto line =
            scalar(db, QStringLiteral("select inc from liste_grume_cde where inc_cde=? limit 1 for update"), {inc});
        if (!line) return line.error();
        if (!line->isNull()) return Error::refusal(orderWithLinesDeletionRefusal());
        auto deleted =
            execute(db, QStringLiteral("delete from cde where inc=? and (facturee is null or facturee<>'OUI')"), {inc});
        if (!deleted) return deleted.error();
        if (*deleted == 0) return Error::refusal(invoicedOrderDeletionRefusal());
        if (auto done = execute(db, QStringLiteral("delete from liste_action_cde where inc_cde=?"), {inc}); !done)
            return done.error();
        // the logs lose their order and keep their delivered mark
        if (auto done = execute(db, QStringLiteral("update grume set inc_cde=null where inc_cde=?"), {inc}); !done)
            return done.error();
        return {};
    });
}

const QStringList &orderHeaderColumns()
{
    static const QStringList columns{
        QStringLiteral("type_cde"),       QStringLiteral("date_cde"),    QStringLiteral("n_cde_client"),
        QStringLiteral("date_souhaitee"), QStringLiteral("client"),      QStringLiteral("destination"),
        QStringLiteral("adresse_liv"),    QStringLiteral("cp_liv"),      QStringLiteral("ville_liv"),
        QStringLiteral("pays_liv"),       QStringLiteral("corps_cde"),   QStringLiteral("livree"),
        QStringLiteral("facturee"),       QStringLiteral("num_facture"), QStringLiteral("unite_liv")};
    return columns;
}

Status saveOrderHeader(QSqlDatabase db, int inc, const QList<ColumnChange> &changes)
{
    QList<ColumnChange> changed;
    for (const ColumnChange &c : changes) {
        if (!orderHeaderColumns().contains(c.column, Qt::CaseInsensitive))
            return Error::failure(QStringLiteral("Colonne de cde non modifiable : ") + c.column, {});
        if (!sameStoredValue(c.asRead, c.value)) changed.append(c);
    }
    return inTransaction(db, [&]() -> Status {
        auto stored = select(db, QStringLiteral("select facturee, date_cde from cde where inc=? for update"), {inc});
        if (!stored) return stored.error();
        if (stored->isEmpty()) return Error::notFound(orderGoneMessage());
        // Invoiced since the editor read it: nothing of the header is written.
        const bool invoicedNow = stored->first().value(0).toString() == QLatin1String("OUI");
        bool invoicedWhenRead = invoicedNow;
        for (const ColumnChange &c : changes)
            if (c.column == QLatin1String("facturee")) invoicedWhenRead = c.asRead.toString() == QLatin1String("OUI");
        if (invoicedNow && !invoicedWhenRead) return Error::refusal(invoicedOrderChangeRefusal());
        if (Status s = saveLockedRow(db, QStringLiteral("cde"), QStringLiteral("inc"), inc, changed); !s) return s;
        for (const ColumnChange &c : changed)
            if (c.column == QLatin1String("date_cde")) {
                // the product lines carry the order's date
                auto moved = execute(db,
                                     QStringLiteral("update liste_grume_cde set date_creation=? where inc_cde=? "
                                                    "and (descriptif='VOLUME' or descriptif='GRUME1')"),
                                     {c.value, inc});
                if (!moved) return moved.error();
            }
        return {};
    });
}

} // namespace ravelin
