#pragma once

#include "chart/ChartInput.h"
#include "chart/TimeZones.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <memory>
#include <vector>

// The clock of one zone at one moment: its offset from universal time and whether daylight
// saving was in force.
struct ZoneOffset {
    int offsetSeconds = 0; // local clock minus universal time; +19800 for +5:30
    // Daylight saving as people mean it: the clock stood ahead of the lowest offset the zone kept
    // in that local year (whatever sign the database gives its own daylight-saving offset).
    bool daylightSaving = false;
    QString abbreviation; // "IST", "BDST"; as the time-zone database names it
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
    // The history of a zone the system can load: a name of the time-zone database
    // ("Asia/Kolkata"), an old name kept as a link ("Asia/Calcutta", "US/Eastern"), "Etc/GMT+5",
    // "UTC" or a fixed offset written as Qt takes it ("UTC+05:30"). Null for any other name, and
    // for a zone whose offset would lie more than 15 hours from universal time. Each zone is read
    // once per process and kept; thread-safe, and no caller waits while another reads a zone.
    static std::shared_ptr<const ZoneHistory> ForZone(const QByteArray& ianaId);
    // Why ForZone gives null for the name, naming the zone; empty when it gives a history.
    static QString Refusal(const QByteArray& ianaId);
    // How many refused names the process remembers (bounded).
    static qsizetype RememberedRefusals();

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

// The offset as UtcOffsetText writes it: "+5:30", "-4:00", "+0:00"; with seconds when there are
// any, "+5:21:10".
QString FormatUtcOffset(int offsetSeconds);

// The offset a row of the zone list gives, with or without the Daylight Saving box: the
// negative of its correction, one hour more with the box (the chart takes one hour of the
// correction off for daylight saving).
int ZoneRowOffsetSeconds(int zonePosition, bool daylightSavingBox);

// What the recommendation and the command read from a row of the zone list's text, worked out
// once: "Indian Time, IST, +5.3" has the title "Indian Time" and the abbreviation "IST".
struct ZoneRowWords {
    QLatin1StringView listText;
    QString title;
    QString foldedTitle; // case-folded, after a blank, for finding place names at a word's start
    QString abbreviation;
    bool warTime = false;      // the title says War
    bool standardTime = false; // the title says neither War, Daylight nor Summer
};
const std::array<ZoneRowWords, timeZoneCount>& ZoneListWords();

// Which row of the zone list, and whether to tick the Daylight Saving box, for a reading.
struct ZoneRecommendation {
    int zonePosition = defaultTimeZonePosition;
    bool daylightSavingBox = false;
    // True when the row and box give exactly the database's offset for a reading that exists
    // once. Otherwise `note` says why in plain words and names the row's error.
    bool exact = false;
    int errorSeconds = 0; // the row's offset minus the database's
    QString note;         // empty when exact
    // For an exact row whose name names neither the place (its country, state or region) nor
    // the clock the database names: says that the name is only the row's. Empty otherwise.
    QString nameNote;
};

// The row and box whose offset equals the reading's. The box goes with daylight saving (ticked
// when it was in force), or unticked with the row whose abbreviation the database uses for that
// instant. Among the rows and boxes that give the offset that way, in turn:
//   1. a row whose name names one of `placeNames` (the place's country, state or region);
//   2. the row whose abbreviation the database uses for that instant, box unticked; then, the
//      box ticked, the row of the same clock's standard time ("CET" for "CEST");
//   3. a standard-time row (its name says neither Daylight, Summer nor War);
//   4. a row that is not war time unless the database's abbreviation is a war time's ("EWT");
// then the first in the list. When none gives the offset: the nearest, with a note. A gap or a
// repeat is never exact; the recommendation is for the offset before the change.
ZoneRecommendation RecommendZoneRow(const LocalTimeReading& reading,
                                    const QStringList& placeNames = {});

// A zone correction for the chart from an offset: the negative of the offset, split into signed
// hours, minutes and seconds that share its sign.
ZoneCorrection ZoneCorrectionForOffset(int offsetSeconds);
