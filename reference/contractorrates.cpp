#include "contractorrates.h"

#include "boundquery.h"
#include "formats.h"
#include "rowsave.h"
#include "sql.h"

#include <QSqlQuery>

#include <cmath>

namespace ravelin {

namespace {

Result<QList<ContractorRates>> readContractors(QSqlDatabase db, const QString &condition, const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const Status s = exec(q,
                          QStringLiteral("select societe, famille_intervenant, cout_tonne, cout_heure, cout_surface, "
                                         "cout_volume, cout_stere from intervenant_possible") +
                              condition + QStringLiteral(" order by societe"),
                          values);
    if (!s) return s.error();
    QList<ContractorRates> list;
    while (q.next())
        list.append(
            {q.value(0).toString(), q.value(1).toString(), q.value(2), q.value(3), q.value(4), q.value(5), q.value(6)});
    return list;
}

std::optional<double> number(const QVariant &v)
{
    if (!v.isValid() || v.isNull() || v.toString().trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    return d;
}

} // namespace

Result<QList<ContractorRates>> contractorsOfFamily(QSqlDatabase db, const QString &family)
{
    return readContractors(db, QStringLiteral(" where famille_intervenant = ?"), {family});
}

Result<QList<ContractorRates>> contractorsExceptFamily(QSqlDatabase db, const QString &family)
{
    if (family.isEmpty()) return readContractors(db, QString(), {});
    // A contractor without a family is offered too: only the named family is left out.
    return readContractors(db, QStringLiteral(" where coalesce(famille_intervenant, '') <> ?"), {family});
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

QStringList actionUnits()
{
    return {QStringLiteral("m3"),  QStringLiteral("Tonne"), QStringLiteral("Heure"),
            QStringLiteral("Are"), QStringLiteral("Stere"), QStringLiteral("Forfait")};
}

std::optional<double> actionCost(const QVariant &quantity, const QVariant &unitPrice)
{
    const auto q = number(quantity);
    const auto p = number(unitPrice);
    if (!q || !p) return std::nullopt;
    return finiteOrZero(*q * *p);
}

QList<ColumnValue> actionColumnValues(const ContractorAction &action)
{
    return {{QStringLiteral("I_nom"), textOrNull(action.iNom)},
            {QStringLiteral("type1"), textOrNull(action.type1)},
            {QStringLiteral("i_date"), dateOrNull(action.iDate)},
            {QStringLiteral("qte_action"), action.qteAction},
            {QStringLiteral("unite_action"), textOrNull(action.uniteAction)},
            {QStringLiteral("prix_unit_action"), action.prixUnitAction},
            {QStringLiteral("i_cout"), action.iCout},
            {QStringLiteral("n_lot"), textOrNull(action.nLot)}};
}

QList<ColumnChange> actionChanges(const ContractorAction &asRead, const ContractorAction &edited, bool lotTyped)
{
    QList<ColumnValue> before = actionColumnValues(asRead);
    QList<ColumnValue> after = actionColumnValues(edited);
    if (!lotTyped) {
        before.removeLast();
        after.removeLast();
    }
    static const QList<QPair<QString, QString>> captions{
        {QStringLiteral("I_nom"), QStringLiteral("Société")},
        {QStringLiteral("type1"), QStringLiteral("Type")},
        {QStringLiteral("i_date"), QStringLiteral("Date fin chantier")},
        {QStringLiteral("qte_action"), QStringLiteral("Qte")},
        {QStringLiteral("unite_action"), QStringLiteral("Unité")},
        {QStringLiteral("prix_unit_action"), QStringLiteral("Coût / unitaire")},
        {QStringLiteral("i_cout"), QStringLiteral("Coût total")},
        {QStringLiteral("n_lot"), QStringLiteral("N° coupe bois")}};
    return columnChanges(before, after, captions);
}

} // namespace ravelin
