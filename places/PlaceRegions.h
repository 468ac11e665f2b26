#pragma once

#include "places/Place.h"

#include <QString>
#include <QStringList>

// The United Nations M49 subregion of a country ("Eastern Europe" for "UA"), for the subregions
// whose names a row of the zone list uses; empty for any other country.
QString ZoneListSubregion(const QString& countryCode);

// The names a row of the zone list may call the place by: its country, its state and its
// country's subregion (ZoneListSubregion), those it has.
QStringList ZoneAdviceNames(const Place& place);
