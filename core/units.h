#pragma once

#include "result.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace ravelin {

// The three quantity units. They are both the values stored in the unit columns of the records
// (`unite`, `unite_liv`, `unite_defaut`, `stock_unite`) and the names of the conversion columns
// of `essence`. Compared exactly: "Tonne" or "m³" are not quantity units.
inline QString unitM3()
{
    return QStringLiteral("m3");
}
inline QString unitTonne()
{
    return QStringLiteral("T");
}
inline QString unitStere()
{
    return QStringLiteral("Stere");
}
QStringList quantityUnits();
bool isQuantityUnit(const QString &unit);

// The correspondence of one species between the three units: how many cubic metres, tonnes and
// steres are worth the same wood. A null is an empty coefficient.
struct SpeciesUnits
{
    QVariant m3;
    QVariant T;
    QVariant Stere;

    // The coefficient of a unit, or nothing for an empty one or a name that is no unit.
    std::optional<double> coefficient(const QString &unit) const;
};

// corres on coefficients already read (`units` null when the species has no row): the quantity
// × the target unit's coefficient ÷ the source unit's, rounded to hundredths. Between equal units
// the quantity itself, rounded, whatever the species. 0 for a name that is no unit, an unknown
// species, an empty coefficient or a source coefficient of 0; never inf nor NaN.
double corres(const SpeciesUnits *units, const QString &toUnit, const QString &fromUnit, double quantity);

// The coefficients of one species, nothing when `essence` has no row of that name. Names are
// compared as the database compares them.
Result<std::optional<SpeciesUnits>> readSpeciesUnits(QSqlDatabase db, const QString &species);

// corres for one quantity: reads the species' row (one statement; none between equal units).
// Only a database failure is an error; everything the conversion cannot do gives 0.
Result<double> corres(QSqlDatabase db, const QString &species, const QString &toUnit, const QString &fromUnit,
                      double quantity);

// The coefficients of every species, read in one statement, for callers that convert many rows
// (a lot's volume lines, a stock, an analysis) without one statement per row. Species names are
// matched as the database matches them in `where essence = ...`: case, accents and trailing
// spaces do not count; of two rows with the same name the first read wins.
class SpeciesUnitTable
{
public:
    static Result<SpeciesUnitTable> read(QSqlDatabase db);

    void insert(const QString &species, const SpeciesUnits &units);
    const SpeciesUnits *find(const QString &species) const;
    int size() const { return int(m_units.size()); }

    double corres(const QString &species, const QString &toUnit, const QString &fromUnit, double quantity) const;

private:
    QHash<QString, SpeciesUnits> m_units;
};

} // namespace ravelin
