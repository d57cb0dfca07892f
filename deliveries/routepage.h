#pragma once

#include "mappages.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The route page of a delivery ("CARTE"): livraisons.html, a map with the road from the departure
// to the destination, its distance and the lorry's road time.

inline QString noDepartureMessage()
{
    return QStringLiteral("Il n'y a pas de départ");
}
inline QString noDestinationMessage()
{
    return QStringLiteral("Il n'y a pas de destination");
}

// The lorry's factor on a car's road time: 1 + coef_camion / 100, with 25 when the coefficient is
// empty or not a number.
double lorryFactor(const QVariant &coefCamion);

// "01:15:00": a duration in milliseconds as hours (modulo 24), minutes and seconds, as the page's
// msToTime writes it.
QString msToTime(qint64 milliseconds);

// The texts the page looks up: the lot's place and postcode for a departure that is a lot's place,
// the town and postcode of a destination that is a known place; otherwise the names themselves.
struct RouteEnds
{
    QString origin;
    QString destination;
};
Result<RouteEnds> routeEnds(QSqlDatabase db, const QString &depart, const QString &destination);

// The page's text (core/mappages.h): the two texts and the factor in its data element, the road
// between them looked up by the page, and the table of the result.
QString routePageHtml(const RouteEnds &ends, double factor, const MapSettings &settings = defaultMapSettings());

// Writes livraisons.html into `folder` (replacing it); gives its path.
Result<QString> writeRoutePage(const QString &folder, const RouteEnds &ends, double factor);

} // namespace ravelin
