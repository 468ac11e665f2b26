#pragma once

#include "places/Coordinates.h"
#include "places/Place.h"
#include "places/PlaceIndex.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QTime>

#include <atomic>

// What the input window asks the place finder for once its checks passed: the search text, the
// typed place in parts and the local birth date and time the input window shows (the date is
// invalid when the lists name no calendar day, as 31 February).
struct PlaceFinderRequest {
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
    QByteArray zoneId; // the place's IANA zone when the zone is known, kept with a saved birth
    // No row gives the zone's offset at the birth, which exists once: the input window uses the
    // place's own time.
    bool placeOwnTime = false;
};

// The finder's columns, in order. Each cell holds at most two lines.
enum class FinderColumn {
    Place,       // the name; state and country below
    Coordinates, // latitude; longitude below
    Offset,      // the offset at birth and daylight saving; the zone below
    ZoneRow,     // the zone-list row; the Daylight Saving box below
    Count
};

// The column captions, in FinderColumn order.
QStringList FinderColumnCaptions();

// One row of the finder: the texts of its columns, its note and what Use This Place writes.
struct FinderRow {
    QStringList columns; // FinderColumn order
    // Why the row's zone entry is not the database's offset exactly, naming the nearest row, its
    // error and what to do; or why there is no offset; or, for an exact row whose name names
    // neither the place nor its clock, that the name is only the row's. Otherwise empty.
    QString note;
    PlaceChoice choice;
    bool exact = false; // a zone-list row gives the database's offset exactly
};

// The row for a place at a local birth date and time, the place named as `foundName` ("Mumbai
// (Bombay)" when another name found it). Without a valid date or a known zone the
// time columns stay empty, the note says why and the choice leaves the zone alone. May read the
// place's zone history: call it off the window thread.
FinderRow MakeFinderRow(const Place& place, const QString& foundName, QDate birthDate,
                        QTime birthTime);

// How many matches the finder lists at most.
inline constexpr int finderRowLimit = 50;

// The rows for a request, best match first, at most `limit`. Stops early, with the rows made so
// far, once `stop` is set.
QList<FinderRow> MakeFinderRows(const PlaceIndex& index, const PlaceFinderRequest& request,
                                int limit, const std::atomic<bool>& stop);

// "Times for 1 June 1941 at 12:00 local time, …" or, for a date the calendar lacks, a warning.
QString FinderMomentNote(QDate birthDate, QTime birthTime);

Q_DECLARE_METATYPE(PlaceFinderRequest)
Q_DECLARE_METATYPE(PlaceChoice)
