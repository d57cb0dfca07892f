#pragma once

#include "lotstore.h"
#include "mappages.h"
#include "result.h"

#include <QSqlDatabase>

namespace ravelin {

// The lots map ("CARTE" of the lot tab): the listed lots with wood left, the storage zones and the
// customer places, each where its position says, over the map centred on the settings' centre.

struct LotsMap
{
    MapPosition centre;
    QList<MapMarker> markers;
};

// The picture of a lot's marker from the sums of its volume lines: standing wood left
// (pointeur1), else felled wood (pointeur2), else wood skidded at the roadside (pointeur3); no
// wood left, no marker (empty).
QString lotMarkerIcon(double standing, double felled, double skidded);

// Reads what the map shows in a fixed number of statements, whatever the lots and places: the
// lots of `lots` (the tab's filter and order, every page) with their volume-line sums in one
// grouped statement, the places, and the settings' centre as stored now. Quantities are in
// `defaultUnit`. A position that is not two decimals in range gives no marker; a centre that is
// not one gives fixedMapCentre().
Result<LotsMap> readLotsMap(QSqlDatabase db, const PagedQuery &lots, const QString &defaultUnit);

// Writes pointeurs.html of `map` into `folder`; gives its path.
Result<QString> writeLotsMap(const LotsMap &map, const QString &folder);

} // namespace ravelin
