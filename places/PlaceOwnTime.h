#pragma once

#include "chart/ChartInput.h"
#include "places/BirthTime.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

// A birth computed at the offset its place's zone kept, read from the zone's history for the
// local birth date and time: what the input window's "Place's own time" entry and the command's
// --tz and --place both compute at.
struct PlaceOwnTime {
    LocalTimeReading reading;
    // For a local time that did not exist or happened twice at a clock change, what happened;
    // the chart is not computed then. Empty otherwise.
    QString clockChange;
    // The chart's correction for the offset, to the second, and that offset.
    ZoneCorrection correction;
    int offsetSeconds = 0;
};

// The place's own time of `zone` at a local date and time (seconds included: they decide a
// reading at a clock change).
PlaceOwnTime ReadPlaceOwnTime(const ZoneHistory& zone, QDate date, QTime time);

// The zone list's entry for the place's own time: "Place's own time: Asia/Kathmandu, +5:45 on
// this date"; both offsets at a clock change ("-5:00 or -4:00").
QString PlaceOwnTimeEntryText(const QByteArray& zoneId, const LocalTimeReading& reading);

// What happened at a clock change, "02:30 on 1976-04-25 did not exist in America/New_York: the
// clocks went forward from -5:00 to -4:00", or "01:30 on 1976-10-31 happened twice in
// America/New_York, first at -4:00 and then at -5:00". Empty for a reading that exists once.
QString ClockChangeText(const QByteArray& zoneId, QDate date, QTime time,
                        const LocalTimeReading& reading);
