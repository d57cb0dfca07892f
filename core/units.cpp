#include "units.h"

#include "formats.h"
#include "sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>

namespace ravelin {

QStringList quantityUnits()
{
    return {unitM3(), unitTonne(), unitStere()};
}

bool isQuantityUnit(const QString &unit)
{
    return unit == unitM3() || unit == unitTonne() || unit == unitStere();
}

std::optional<double> SpeciesUnits::coefficient(const QString &unit) const
{
    const QVariant *value = nullptr;
    if (unit == unitM3()) value = &m3;
    else if (unit == unitTonne()) value = &T;
    else if (unit == unitStere()) value = &Stere;
    if (!value || !value->isValid() || value->isNull()) return std::nullopt;
    bool ok = false;
    const double v = value->toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

double corres(const SpeciesUnits *units, const QString &toUnit, const QString &fromUnit, double quantity)
{
    if (!isQuantityUnit(toUnit) || !isQuantityUnit(fromUnit)) return 0.0;
    if (toUnit == fromUnit) return round2(quantity);
    if (!units) return 0.0;
    const auto target = units->coefficient(toUnit);
    const auto source = units->coefficient(fromUnit);
    if (!target || !source) return 0.0;
    return round2(safeDivide(quantity * *target, *source));
}

static SpeciesUnits unitsOf(const QSqlQuery &q)
{
    return SpeciesUnits{q.value(QStringLiteral("m3")), q.value(QStringLiteral("T")), q.value(QStringLiteral("Stere"))};
}

Result<std::optional<SpeciesUnits>> readSpeciesUnits(QSqlDatabase db, const QString &species)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, QStringLiteral("select m3, T, Stere from essence where essence = ? limit 1"), {species}); !s)
        return s.error();
    if (!q.next()) return std::optional<SpeciesUnits>();
    return std::optional<SpeciesUnits>(unitsOf(q));
}

Result<double> corres(QSqlDatabase db, const QString &species, const QString &toUnit, const QString &fromUnit,
                      double quantity)
{
    // Nothing to read when the answer does not depend on the species.
    if (!isQuantityUnit(toUnit) || !isQuantityUnit(fromUnit) || toUnit == fromUnit)
        return corres(nullptr, toUnit, fromUnit, quantity);
    const auto units = readSpeciesUnits(db, species);
    if (!units) return units.error();
    return corres(units->has_value() ? &**units : nullptr, toUnit, fromUnit, quantity);
}

// The species name as `essence = ?` compares it under the table's collation
// (utf8mb4_unicode_ci): without case, without accents, trailing spaces ignored.
static QString speciesKey(const QString &species)
{
    qsizetype end = species.size();
    while (end > 0 && species.at(end - 1) == QLatin1Char(' ')) --end;
    const QString decomposed = species.left(end).normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) key.append(c);
    return key.toCaseFolded();
}

Result<SpeciesUnitTable> SpeciesUnitTable::read(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, QStringLiteral("select essence, m3, T, Stere from essence")); !s) return s.error();
    SpeciesUnitTable table;
    while (q.next()) table.insert(q.value(0).toString(), unitsOf(q));
    return table;
}

void SpeciesUnitTable::insert(const QString &species, const SpeciesUnits &units)
{
    const QString key = speciesKey(species);
    if (!m_units.contains(key)) m_units.insert(key, units);
}

const SpeciesUnits *SpeciesUnitTable::find(const QString &species) const
{
    const auto it = m_units.constFind(speciesKey(species));
    return it == m_units.cend() ? nullptr : &*it;
}

double SpeciesUnitTable::corres(const QString &species, const QString &toUnit, const QString &fromUnit,
                                double quantity) const
{
    return ravelin::corres(find(species), toUnit, fromUnit, quantity);
}

} // namespace ravelin
