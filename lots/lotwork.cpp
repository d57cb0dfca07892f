#include "lotwork.h"

#include "formats.h"
#include "rowsave.h"
#include "sql.h"
#include "statements.h"

#include <QSqlQuery>

namespace ravelin {

namespace {

bool filled(const QVariant &v)
{
    return v.isValid() && !v.isNull() && !v.toString().trimmed().isEmpty();
}

QVariant amount(const QVariant &v)
{
    if (!filled(v)) return QVariant(QMetaType::fromType<double>());
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? QVariant(finiteOrZero(d)) : QVariant(QMetaType::fromType<double>());
}

// The condition that picks a group's rows, with type1 bound where it names one type.
QString groupCondition(WorkGroup group)
{
    switch (group) {
    case WorkGroup::Felling: return QStringLiteral("type1 = 'ABATTAGE'");
    case WorkGroup::Skidding: return QStringLiteral("type1 = 'DEBARDAGE'");
    case WorkGroup::Other: break;
    }
    return QStringLiteral("type1 <> 'DEBARDAGE' and type1 <> 'ABATTAGE'");
}

// Where a row stands: its lot and volume line, which never change once it is written.
QList<ColumnValue> workPlace(const WorkRow &row)
{
    return {{QStringLiteral("N_lot"), row.nLot},
            {QStringLiteral("indice_lot"), row.indiceLot},
            {QStringLiteral("id"), row.id}};
}

// What the work screen edits.
QList<ColumnValue> workValues(const WorkRow &row)
{
    return {
        {QStringLiteral("type1"), row.type1},
        {QStringLiteral("I_nom"), row.iNom},
        {QStringLiteral("i_date"), row.iDate.isValid() ? QVariant(row.iDate) : QVariant(QMetaType::fromType<QDate>())},
        {QStringLiteral("qte_action"), amount(row.qteAction)},
        {QStringLiteral("unite_action"), row.uniteAction},
        {QStringLiteral("prix_unit_action"), amount(row.prixUnitAction)},
        {QStringLiteral("i_cout"), amount(row.iCout)}};
}

QList<QPair<QString, QString>> workCaptions()
{
    return {{QStringLiteral("type1"), QStringLiteral("Type")},
            {QStringLiteral("I_nom"), QStringLiteral("Société")},
            {QStringLiteral("i_date"), QStringLiteral("Date fin chantier")},
            {QStringLiteral("qte_action"), QStringLiteral("Qte")},
            {QStringLiteral("unite_action"), QStringLiteral("Unité")},
            {QStringLiteral("prix_unit_action"), QStringLiteral("Coût / unitaire")},
            {QStringLiteral("i_cout"), QStringLiteral("Coût total")}};
}

QString workGoneMessage()
{
    return QStringLiteral("Cette intervention n'existe plus.");
}

} // namespace

QString workType(WorkGroup group)
{
    switch (group) {
    case WorkGroup::Felling: return QStringLiteral("ABATTAGE");
    case WorkGroup::Skidding: return QStringLiteral("DEBARDAGE");
    case WorkGroup::Other: break;
    }
    return QString();
}

WorkGroup workGroupOf(const QString &type1)
{
    if (type1 == QLatin1String("ABATTAGE")) return WorkGroup::Felling;
    if (type1 == QLatin1String("DEBARDAGE")) return WorkGroup::Skidding;
    return WorkGroup::Other;
}

QString workScreenName(WorkGroup group)
{
    switch (group) {
    case WorkGroup::Felling: return QStringLiteral("liste_intervention");
    case WorkGroup::Skidding: return QStringLiteral("liste_intervention2");
    case WorkGroup::Other: break;
    }
    return QStringLiteral("liste_intervention3");
}

QString workScreenTitle(WorkGroup group)
{
    switch (group) {
    case WorkGroup::Felling: return QStringLiteral("Détail intervention ( ABATTAGE )");
    case WorkGroup::Skidding: return QStringLiteral("Détail intervention ( DEBARDAGE )");
    case WorkGroup::Other: break;
    }
    return QStringLiteral("Détail intervention");
}

QString lineCostColumn(WorkGroup group)
{
    switch (group) {
    case WorkGroup::Felling: return QStringLiteral("abattage_cout");
    case WorkGroup::Skidding: return QStringLiteral("debardage_cout");
    case WorkGroup::Other: break;
    }
    return QStringLiteral("remise_etat_cout");
}

Result<QList<ContractorRates>> contractorsFor(QSqlDatabase db, WorkGroup group)
{
    if (group == WorkGroup::Other) return contractorsExceptFamily(db, QString());
    return contractorsOfFamily(db, workType(group));
}

std::optional<double> workCost(const QVariant &quantity, const QVariant &unitPrice)
{
    if (!filled(quantity) || !filled(unitPrice)) return std::nullopt;
    bool okQ = false;
    bool okP = false;
    const double q = quantity.toDouble(&okQ);
    const double p = unitPrice.toDouble(&okP);
    if (!okQ || !okP) return std::nullopt;
    return round2(q * p);
}

WorkRow newWorkRow(int nLot, int indiceLot, int lineInc, WorkGroup group, const QDate &today)
{
    WorkRow row;
    row.nLot = nLot;
    row.indiceLot = indiceLot;
    row.id = lineInc;
    row.type1 = workType(group);
    row.iDate = today;
    return row;
}

Result<WorkRow> loadWork(QSqlDatabase db, int inc)
{
    const auto found =
        selectOne(db,
                  QStringLiteral("select inc, N_lot, indice_lot, id, type1, I_nom, i_date, qte_action, unite_action, "
                                 "prix_unit_action, i_cout from intervention where inc = ?"),
                  {inc}, workGoneMessage());
    if (!found) return found.error();
    const auto v = [&](const char *column) { return found->value(QString::fromLatin1(column)); };
    WorkRow row;
    row.inc = v("inc").toInt();
    row.nLot = v("N_lot").toInt();
    row.indiceLot = v("indice_lot").toInt();
    row.id = v("id").toInt();
    row.type1 = v("type1").toString();
    row.iNom = v("I_nom").toString();
    row.iDate = v("i_date").toDate();
    row.qteAction = amount(v("qte_action"));
    row.uniteAction = v("unite_action").toString();
    row.prixUnitAction = amount(v("prix_unit_action"));
    row.iCout = amount(v("i_cout"));
    return row;
}

Status writeWorkGroupSum(QSqlDatabase db, int nLot, int lineInc, WorkGroup group)
{
    const QString sql = QStringLiteral("update grume set %1 = (select ifnull(sum(i_cout), 0) from intervention "
                                       "where N_lot = ? and id = ? and %2) where inc = ?")
                            .arg(lineCostColumn(group), groupCondition(group));
    auto done = execute(db, sql, {nLot, lineInc, lineInc});
    if (!done) return done.error();
    return {};
}

Result<int> createWork(QSqlDatabase db, const WorkRow &row)
{
    const auto cost = amount(row.iCout);
    if (cost.isNull() || cost.toDouble() <= 0) return Error::refusal(workCostRequiredMessage());
    int inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        const auto inserted = insertRow(db, QStringLiteral("intervention"), workPlace(row) + workValues(row));
        if (!inserted) return inserted.error();
        inc = *inserted;
        return writeWorkGroupSum(db, row.nLot, row.id, workGroupOf(row.type1));
    });
    if (!done) return done.error();
    return inc;
}

Status updateWork(QSqlDatabase db, const WorkRow &asRead, const WorkRow &row)
{
    return inTransaction(db, [&]() -> Status {
        // The row's lot, line and group as stored: a row never moves to another line.
        const auto stored =
            selectOne(db, QStringLiteral("select N_lot, id, type1 from intervention where inc = ? for update"),
                      {asRead.inc}, recordDeletedMessage());
        if (!stored) return stored.error();
        const int nLot = stored->value(0).toInt();
        const int lineInc = stored->value(1).toInt();
        const WorkGroup before = workGroupOf(stored->value(2).toString());
        // The cost follows the quantity and the unit price: saved together or not at all.
        if (Status s = saveLockedRow(
                db, QStringLiteral("intervention"), QStringLiteral("inc"), asRead.inc,
                columnChanges(workValues(asRead), workValues(row), workCaptions()),
                {QStringLiteral("qte_action"), QStringLiteral("prix_unit_action"), QStringLiteral("i_cout")});
            !s)
            return s;
        const auto now = scalar(db, QStringLiteral("select type1 from intervention where inc = ?"), {asRead.inc});
        if (!now) return now.error();
        const WorkGroup after = workGroupOf(now->toString());
        if (Status s = writeWorkGroupSum(db, nLot, lineInc, after); !s) return s;
        if (before != after) return writeWorkGroupSum(db, nLot, lineInc, before);
        return {};
    });
}

Status deleteWork(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s =
                exec(q, QStringLiteral("select N_lot, id, type1 from intervention where inc = ? for update"), {inc});
            !s)
            return s;
        // Deleted on another workstation meanwhile: say so, the list is read again.
        if (!q.next()) return Error::notFound(recordDeletedMessage());
        const int nLot = q.value(0).toInt();
        const int lineInc = q.value(1).toInt();
        const WorkGroup group = workGroupOf(q.value(2).toString());
        if (auto s = execute(db, QStringLiteral("delete from intervention where inc = ?"), {inc}); !s) return s.error();
        return writeWorkGroupSum(db, nLot, lineInc, group);
    });
}

Result<QSqlQuery> workListQuery(QSqlDatabase db, int nLot, int lineInc, WorkGroup group)
{
    QSqlQuery q(db);
    const QString sql = QStringLiteral("select inc, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, "
                                       "i_cout, '€' as n1 from intervention where %1 and N_lot = ? and id = ? "
                                       "order by I_nom, inc")
                            .arg(groupCondition(group));
    if (Status s = exec(q, sql, {nLot, lineInc}); !s) return s.error();
    return q;
}

Result<QSqlQuery> workLinesQuery(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    if (Status s =
            exec(q,
                 QStringLiteral("select inc, essence, qualite, qte, unite, fin_pied, fin_abattage, abattage_cout, "
                                "debardage_cout, remise_etat_cout from grume "
                                "where N_lot = ? and descriptif = 'VOLUME' order by inc"),
                 {nLot});
        !s)
        return s.error();
    return q;
}

Status setWorkShare(QSqlDatabase db, int lineInc, WorkGroup group, int percent)
{
    const QString column = group == WorkGroup::Skidding ? QStringLiteral("fin_abattage") : QStringLiteral("fin_pied");
    auto done = execute(db, QStringLiteral("update grume set %1 = ? where inc = ?").arg(column), {percent, lineInc});
    if (!done) return done.error();
    return {};
}

} // namespace ravelin
