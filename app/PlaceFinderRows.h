#pragma once

#include "places/Coordinates.h"
#include "places/Place.h"
#include "places/PlaceIndex.h"

#include <QChar>
#include <QDate>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTime>

// What the place lookup hands on once its checks passed: the search text, the typed place in
// parts and the local birth date and time the input window shows (the date is invalid when the
// lists name no calendar day, as 31 February).
struct PlaceLookup {
    QString searchText;
    PlaceQuery place;
    QDate birthDate;
    QTime birthTime;
};

// What "Use This Place" writes into the input window, as the user would type it.
struct PlaceChoice {
    BoxCoordinate longitude;
    BoxCoordinate latitude;
    bool zoneKnown = false; // false: the zone list and the Daylight Saving box stay as they are
    int zonePosition = 0;
    bool daylightSaving = false;
};

// The finder's columns, in order.
enum class FinderColumn {
    Place,
    State,
    Country,
    Latitude,
    Longitude,
    Zone,
    Offset,
    DaylightSaving,
    ZoneRow,
    DaylightSavingBox,
    Note,
    Count
};

// The column captions, in FinderColumn order.
QStringList FinderColumnCaptions();

// One row of the finder: the texts of its columns and what Use This Place writes.
struct FinderRow {
    QStringList columns; // FinderColumn order
    PlaceChoice choice;
    bool exact = false; // a zone-list row gives the database's offset exactly
};

// A coordinate as the input window takes it and the result header shows it: 77°13′E, 28°39′N.
QString BoxCoordinateText(const BoxCoordinate& coordinate, QChar first, QChar second);

// The row for a place at a local birth date and time. Without a valid date or a known zone the
// time columns stay empty, the note says why and the choice leaves the zone alone.
FinderRow MakeFinderRow(const Place& place, QDate birthDate, QTime birthTime);

// "Times for 1 June 1941 at 12:00 local time, …" or, for a date the calendar lacks, a warning.
QString FinderMomentNote(QDate birthDate, QTime birthTime);

Q_DECLARE_METATYPE(PlaceLookup)
Q_DECLARE_METATYPE(PlaceChoice)
