#include "zones.h"

#include "searchpattern.h"

namespace ravelin {

namespace {

// The place layer says "Destination dèja existante !"; the zone screens say it their way.
Error zoneError(Error e)
{
    if (e.is(ErrorKind::Refusal) && e.message == placeNameExistsMessage()) e.message = zoneNameExistsMessage();
    return e;
}

} // namespace

QString zoneStockage(ZoneKind kind)
{
    return kind == ZoneKind::Firewood ? QStringLiteral("BUCHE") : QStringLiteral("OUI");
}

PagedQuery zoneListQuery(ZoneKind kind, const QString &nameFilter)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,client,destination,cp,ville,unite,stockage,date_inventaire,tonnage_inventaire,"
                               "tonnage_maxi");
    q.from = QStringLiteral("destination");
    q.where = QStringLiteral("stockage=?");
    q.values << zoneStockage(kind);
    if (!nameFilter.isEmpty()) {
        q.where += QStringLiteral(" and destination like ?");
        q.values << containsPattern(nameFilter);
    }
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("destination")};
    return q;
}

PagedQuery firewoodZonePickerQuery(bool byNumber)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,destination,client");
    q.from = QStringLiteral("destination");
    q.where = QStringLiteral("stockage='BUCHE'");
    q.key = QStringLiteral("inc");
    if (byNumber) q.descending = true;
    else q.orderBy = {QStringLiteral("destination")};
    return q;
}

PlaceValues newZone(ZoneKind kind, const QString &defaultUnit)
{
    PlaceValues zone;
    zone.insert(QStringLiteral("stockage"), zoneStockage(kind));
    zone.insert(QStringLiteral("unite"), kind == ZoneKind::Firewood ? defaultUnit : QStringLiteral("TONNE"));
    zone.insert(QStringLiteral("tonnage_maxi"), 0);
    return zone;
}

Result<int> createZone(QSqlDatabase db, const PlaceValues &values)
{
    if (values.value(QStringLiteral("destination")).toString().trimmed().isEmpty())
        return Error::refusal(zoneNameRequiredMessage());
    auto created = createPlace(db, values);
    if (!created) return zoneError(created.error());
    return *created;
}

Status updateZone(QSqlDatabase db, int inc, const QList<ColumnChange> &changes)
{
    for (const ColumnChange &c : changes)
        if (c.column == QLatin1String("destination") && c.value.toString().trimmed().isEmpty())
            return Error::refusal(zoneNameRequiredMessage());
    Status done = updatePlace(db, inc, changes);
    if (!done) return zoneError(done.error());
    return {};
}

Status deleteZone(QSqlDatabase db, int inc)
{
    return deletePlace(db, inc);
}

} // namespace ravelin
