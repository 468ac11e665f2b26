#pragma once

#include "chart/ChartInput.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

#include <memory>
#include <vector>

// The clock of one zone at one moment: its offset from universal time and whether daylight
// saving was in force.
struct ZoneOffset {
    int offsetSeconds = 0;        // local clock minus universal time; +19800 for +5:30
    bool daylightSaving = false;  // the zone's clock was ahead of its standard time
    QString abbreviation;         // "IST", "BDST"; as the time-zone database names it
    QString standardAbbreviation; // of the standard time then in use, "EST" for "EDT"
};

// A local clock reading in a zone. Around a clock change a reading may not exist (the clocks
// jumped over it) or exist twice (the clocks went back over it).
struct LocalTimeReading {
    enum class Kind { Unique, Gap, Repeated };
    Kind kind = Kind::Unique;
    ZoneOffset offset;      // in force; for a gap or a repeat, the offset before the change
    ZoneOffset laterOffset; // for a gap or a repeat, the offset after the change
};

// The offset history of one IANA zone over the entry years (1901..2050, with a margin), read
// from QTimeZone once. Lookups are a binary search; the object is immutable and may be shared
// between threads.
class ZoneHistory {
  public:
    // The history of an IANA zone ("Asia/Kolkata"), or null when the system's time-zone
    // database does not know it. Each zone is read once per process and kept; thread-safe.
    static std::shared_ptr<const ZoneHistory> ForZone(const QByteArray& ianaId);

    const QByteArray& id() const { return id_; }

    // The zone's clock at a universal time, in seconds since 1970-01-01 00:00 UT.
    ZoneOffset OffsetAtUniversal(qint64 universalSeconds) const;

    // The zone's clock for a local date and time.
    LocalTimeReading ReadLocalTime(QDate date, QTime time) const;

    struct Period {
        qint64 startUniversalSeconds; // from this instant on
        ZoneOffset offset;
    };
    explicit ZoneHistory(QByteArray ianaId, std::vector<Period> periods);

  private:
    const Period& PeriodAt(qint64 universalSeconds) const;
    QByteArray id_;
    std::vector<Period> periods_; // ascending; the first starts before any entry year
};

// "+5:30", "-4:00", "+0:00"; with seconds when there are any, "+5:21:10".
QString FormatUtcOffset(int offsetSeconds);

// The offset a row of the zone list gives, with or without the Daylight Saving box: the
// negative of its correction, one hour more with the box (the chart takes one hour of the
// correction off for daylight saving).
int ZoneRowOffsetSeconds(int zonePosition, bool daylightSavingBox);

// Which row of the zone list, and whether to tick the Daylight Saving box, for a reading.
struct ZoneRecommendation {
    int zonePosition = defaultTimeZonePosition;
    bool daylightSavingBox = false;
    // True when the row and box give exactly the database's offset for a reading that exists
    // once. Otherwise `note` says why in plain words and names the row's error.
    bool exact = false;
    int errorSeconds = 0; // the row's offset minus the database's
    QString note;         // empty when exact
};

// The row and box whose offset equals the reading's. Among several: the box as daylight saving
// was in force, then the row named by the database's abbreviation (of standard time when the
// box is ticked), then the first in the list. When none does: the nearest, with a note. A gap
// or a repeat is never exact; the recommendation is for the offset before the change.
ZoneRecommendation RecommendZoneRow(const LocalTimeReading& reading);

// A zone correction for the chart from an offset, seconds rounded to the nearest minute (half
// a minute away from zero): the negative of the offset, split into signed hours and minutes
// that share its sign.
ZoneCorrection ZoneCorrectionForOffset(int offsetSeconds);
