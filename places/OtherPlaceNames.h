#pragma once

#include "places/Place.h"

#include <QList>
#include <QStringList>

#include <span>

// One city's names: the name in use now, then the names people also write for it (a former name,
// the city's own-language name where the place list gives an English one, an older spelling),
// separated by '|': "Mumbai|Bombay".
struct OtherPlaceNamesRow {
    const char* countryCode; // ISO 3166 two letters
    const char* names;       // UTF-8
};

// Every row of the table, in the order of the table.
std::span<const OtherPlaceNamesRow> OtherPlaceNamesTable();

// The other names of each place, in the order of `places`, from the table. A row's city is the
// most populous place of that country whose name is one of the row's names (accents and case
// aside); it takes the name in use now, and its other names are the row's others with the list's
// own spelling. Rows whose city the list lacks change nothing.
QList<QStringList> AddOtherPlaceNames(QList<Place>& places);
