#include "lotwork.h"

#include "formats.h"
#include "sql.h"

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

QVariantList rowValues(const WorkRow &row)
{
    return {row.nLot,
            row.indiceLot,
            row.id,
            row.type1,
            row.iNom,
            row.iDate.isValid() ? QVariant(row.iDate) : QVariant(QMetaType::fromType<QDate>()),
            amount(row.qteAction),
            row.uniteAction,
            amount(row.prixUnitAction),
            amount(row.iCout)};
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

QStringList workUnits()
{
    return {QStringLiteral("m3"),  QStringLiteral("Tonne"), QStringLiteral("Heure"),
            QStringLiteral("Are"), QStringLiteral("Stere"), QStringLiteral("Forfait")};
}

Result<QList<ContractorRates>> contractorsFor(QSqlDatabase db, WorkGroup group)
{
    QString sql =
        QStringLiteral("select societe, famille_intervenant, cout_tonne, cout_heure, cout_surface, cout_volume, "
                       "cout_stere from intervenant_possible");
    QSqlQuery q(db);
    q.setForwardOnly(true);
    Status s;
    if (group == WorkGroup::Other) {
        s = exec(q, sql + QStringLiteral(" order by societe"), {}, "contractorsFor");
    } else {
        s = exec(q, sql + QStringLiteral(" where famille_intervenant = ? order by societe"), {workType(group)},
                 "contractorsFor");
    }
    if (!s) return s.error();
    QList<ContractorRates> list;
    while (q.next())
        list.append(
            {q.value(0).toString(), q.value(1).toString(), q.value(2), q.value(3), q.value(4), q.value(5), q.value(6)});
    return list;
}

std::optional<QVariant> unitPriceFromRates(const ContractorRates &rates, const QString &unit)
{
    if (unit == QLatin1String("Heure")) return rates.coutHeure;
    if (unit == QLatin1String("Tonne")) return rates.coutTonne;
    if (unit == QLatin1String("Are")) return rates.coutSurface;
    if (unit == QLatin1String("m3")) return rates.coutVolume;
    if (unit == QLatin1String("Stere")) return rates.coutStere;
    return std::nullopt;
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
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q,
                 QStringLiteral("select inc, N_lot, indice_lot, id, type1, I_nom, i_date, qte_action, unite_action, "
                                "prix_unit_action, i_cout from intervention where inc = ?"),
                 {inc}, "loadWork");
        !s)
        return s.error();
    if (!q.next()) {
        Error e;
        e.message = QStringLiteral("Cette intervention n'existe plus.");
        e.where = QStringLiteral("loadWork");
        return e;
    }
    WorkRow row;
    row.inc = q.value(0).toInt();
    row.nLot = q.value(1).toInt();
    row.indiceLot = q.value(2).toInt();
    row.id = q.value(3).toInt();
    row.type1 = q.value(4).toString();
    row.iNom = q.value(5).toString();
    row.iDate = q.value(6).toDate();
    row.qteAction = amount(q.value(7));
    row.uniteAction = q.value(8).toString();
    row.prixUnitAction = amount(q.value(9));
    row.iCout = amount(q.value(10));
    return row;
}

Status writeWorkGroupSum(QSqlDatabase db, int nLot, int lineInc, WorkGroup group)
{
    const QString sql = QStringLiteral("update grume set %1 = (select ifnull(sum(i_cout), 0) from intervention "
                                       "where N_lot = ? and id = ? and %2) where inc = ?")
                            .arg(lineCostColumn(group), groupCondition(group));
    auto done = execute(db, sql, {nLot, lineInc, lineInc}, "writeWorkGroupSum");
    if (!done) return done.error();
    return {};
}

Result<int> createWork(QSqlDatabase db, const WorkRow &row)
{
    const auto cost = amount(row.iCout);
    if (cost.isNull() || cost.toDouble() <= 0) {
        Error e;
        e.message = workCostRequiredMessage();
        e.where = QStringLiteral("createWork");
        return e;
    }
    int inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        const QString sql = QStringLiteral("insert into intervention (N_lot, indice_lot, id, type1, I_nom, i_date, "
                                           "qte_action, unite_action, prix_unit_action, i_cout) "
                                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        if (!q.prepare(sql)) return databaseError(q.lastError(), sql, QStringLiteral("createWork"));
        for (const QVariant &v : rowValues(row)) q.addBindValue(v);
        if (!q.exec()) return databaseError(q.lastError(), sql, QStringLiteral("createWork"));
        inc = q.lastInsertId().toInt();
        return writeWorkGroupSum(db, row.nLot, row.id, workGroupOf(row.type1));
    });
    if (!done) return done.error();
    return inc;
}

Status updateWork(QSqlDatabase db, const WorkRow &row)
{
    return inTransaction(db, [&]() -> Status {
        // The row's lot, line and group as stored: a row never moves to another line.
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q, QStringLiteral("select N_lot, id, type1 from intervention where inc = ? for update"),
                            {row.inc}, "updateWork");
            !s)
            return s;
        if (!q.next()) {
            Error e;
            e.message = QStringLiteral("Cette intervention n'existe plus.");
            e.where = QStringLiteral("updateWork");
            return e;
        }
        const int nLot = q.value(0).toInt();
        const int lineInc = q.value(1).toInt();
        const WorkGroup before = workGroupOf(q.value(2).toString());
        const QString sql = QStringLiteral("update intervention set type1 = ?, I_nom = ?, i_date = ?, qte_action = ?, "
                                           "unite_action = ?, prix_unit_action = ?, i_cout = ? where inc = ?");
        QSqlQuery u(db);
        if (!u.prepare(sql)) return databaseError(u.lastError(), sql, QStringLiteral("updateWork"));
        const QVariantList values = rowValues(row);
        for (const QVariant &v : values.mid(3)) u.addBindValue(v);
        u.addBindValue(row.inc);
        if (!u.exec()) return databaseError(u.lastError(), sql, QStringLiteral("updateWork"));
        const WorkGroup after = workGroupOf(row.type1);
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
        if (Status s = exec(q, QStringLiteral("select N_lot, id, type1 from intervention where inc = ? for update"),
                            {inc}, "deleteWork");
            !s)
            return s;
        if (!q.next()) return {}; // already gone
        const int nLot = q.value(0).toInt();
        const int lineInc = q.value(1).toInt();
        const WorkGroup group = workGroupOf(q.value(2).toString());
        if (auto s = execute(db, QStringLiteral("delete from intervention where inc = ?"), {inc}, "deleteWork"); !s)
            return s.error();
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
    if (Status s = exec(q, sql, {nLot, lineInc}, "workListQuery"); !s) return s.error();
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
                 {nLot}, "workLinesQuery");
        !s)
        return s.error();
    return q;
}

Status setWorkShare(QSqlDatabase db, int lineInc, WorkGroup group, int percent)
{
    const QString column = group == WorkGroup::Skidding ? QStringLiteral("fin_abattage") : QStringLiteral("fin_pied");
    auto done = execute(db, QStringLiteral("update grume set %1 = ? where inc = ?").arg(column), {percent, lineInc},
                        "setWorkShare");
    if (!done) return done.error();
    return {};
}

} // namespace ravelin
