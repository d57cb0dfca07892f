#pragma once

#include "pagedquerymodel.h"
#include "places.h"
#include "result.h"
#include "statements.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// Storage zones are places of table `destination`: firewood zones (stockage "BUCHE", listed by
// Liste_stockage_buche, edited by detail_stockage_buche) and chip zones (stockage "OUI",
// Liste_stockage and detail_stockage). One list and one editor serve both kinds.
enum class ZoneKind { Firewood, Chips };

// "BUCHE" or "OUI".
QString zoneStockage(ZoneKind kind);

inline QString zoneNameRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un nom de destination");
}
inline QString zoneNameExistsMessage()
{
    return QStringLiteral("Nom dèja existante !");
}

// The zones of a kind by name, a "Destination" filter matching part of the name.
PagedQuery zoneListQuery(ZoneKind kind, const QString &nameFilter);

// The firewood zone picker liste_stock_buche: inc, destination, client, by name ("Trié par lieu")
// or by number, newest first ("Trié par n° STOCK").
PagedQuery firewoodZonePickerQuery(bool byNumber);

// A new zone as the list prepares it: its kind, the unit (the default unit for firewood, "TONNE"
// for chips) and a capacity of 0.
PlaceValues newZone(ZoneKind kind, const QString &defaultUnit);

// Writes a new zone: an empty name or one another place has is refused; gives its inc.
Result<int> createZone(QSqlDatabase db, const PlaceValues &values);
// Writes what the editor changed (each column still holding what was read); the same name rules,
// and a zone that other records name cannot be renamed.
Status updateZone(QSqlDatabase db, int inc, const QList<ColumnChange> &changes);
// Deletes a zone that nothing names; its stock rows would otherwise lose their zone.
Status deleteZone(QSqlDatabase db, int inc);

} // namespace ravelin
