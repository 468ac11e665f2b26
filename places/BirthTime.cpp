#include "places/BirthTime.h"

#include "chart/TimeZones.h"

#include <QDateTime>
#include <QHash>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>

namespace {

constexpr qint64 secondsPerDay = 86400;
constexpr qint64 secondsPerHour = 3600;
// Days from the start of the Julian day count to 1970-01-01.
constexpr qint64 unixEpochJulianDay = 2440588;
// No zone has been more than 15 hours from universal time; a local reading can only fall in
// the periods that start within this much of it.
constexpr qint64 widestOffsetSeconds = 15 * secondsPerHour;

// The history covers the entry years with a margin on either side.
const QDate historyStart(1899, 1, 1);
const QDate historyEnd(2052, 1, 1);
// From here on the database's changes follow its rule rather than its list.
const QDate ruleYearsFrom(2037, 1, 1);

ZoneOffset OffsetFrom(const QTimeZone::OffsetData& data) {
    ZoneOffset offset;
    offset.offsetSeconds = data.offsetFromUtc;
    offset.daylightSaving = data.daylightTimeOffset != 0;
    offset.abbreviation = data.abbreviation;
    return offset;
}

std::shared_ptr<const ZoneHistory> ReadZoneHistory(const QByteArray& ianaId) {
    if (!QTimeZone::isTimeZoneIdAvailable(ianaId)) {
        return nullptr;
    }
    const QTimeZone zone(ianaId);
    if (!zone.isValid()) {
        return nullptr;
    }
    const QDateTime from(historyStart, QTime(0, 0), Qt::UTC);
    const QDateTime to(historyEnd, QTime(0, 0), Qt::UTC);
    std::vector<ZoneHistory::Period> periods;
    periods.push_back({std::numeric_limits<qint64>::min(), OffsetFrom(zone.offsetData(from))});
    // One change after another: unlike transitions(), nextTransition() also follows the rule
    // that the database gives for the years after its last listed change.
    for (QTimeZone::OffsetData change = zone.nextTransition(from);
         change.atUtc.isValid() && change.atUtc < to; change = zone.nextTransition(change.atUtc)) {
        const qint64 start = change.atUtc.toSecsSinceEpoch();
        if (start <= periods.back().startUniversalSeconds) {
            break; // no progress; never loop
        }
        periods.push_back({start, OffsetFrom(change)});
    }
    // The database lists its changes up to 2037 and gives a rule for the years after; Qt applies
    // the rule when asked for an instant but does not list those changes. Find them day by day,
    // then to the second.
    const auto differs = [](const QTimeZone::OffsetData& data, const ZoneOffset& offset) {
        return data.offsetFromUtc != offset.offsetSeconds ||
               (data.daylightTimeOffset != 0) != offset.daylightSaving;
    };
    const qint64 ruleYearsStart = QDateTime(ruleYearsFrom, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 end = to.toSecsSinceEpoch();
    for (qint64 day = std::max(periods.back().startUniversalSeconds, ruleYearsStart); day < end;
         day += secondsPerDay) {
        const qint64 next = day + secondsPerDay;
        if (!differs(zone.offsetData(QDateTime::fromSecsSinceEpoch(next, Qt::UTC)),
                     periods.back().offset)) {
            continue;
        }
        qint64 before = day; // same offset as the last period
        qint64 after = next; // changed
        while (after - before > 1) {
            const qint64 middle = before + (after - before) / 2;
            if (differs(zone.offsetData(QDateTime::fromSecsSinceEpoch(middle, Qt::UTC)),
                        periods.back().offset)) {
                after = middle;
            } else {
                before = middle;
            }
        }
        periods.push_back(
            {after, OffsetFrom(zone.offsetData(QDateTime::fromSecsSinceEpoch(after, Qt::UTC)))});
    }
    // The standard time behind each daylight-saving period: the last one without it, or the
    // zone's present standard name when the history starts in daylight saving.
    QString standard = periods.front().offset.daylightSaving
                           ? zone.displayName(QTimeZone::StandardTime, QTimeZone::ShortName)
                           : periods.front().offset.abbreviation;
    for (ZoneHistory::Period& period : periods) {
        if (!period.offset.daylightSaving) {
            standard = period.offset.abbreviation;
        }
        period.offset.standardAbbreviation = standard;
    }
    return std::make_shared<const ZoneHistory>(ianaId, std::move(periods));
}

// The abbreviation of a zone-list row, its second field: "IST" of "Indian Time, IST, +5.3".
QString RowAbbreviation(int zonePosition) {
    const QString text = QString::fromLatin1(timeZoneTable[zonePosition].listText);
    return text.section(u',', 1, 1).trimmed();
}

// 15, 8.8: minutes with at most one decimal.
QString Minutes(int seconds) {
    const double minutes = std::abs(seconds) / 60.0;
    QString text = QString::number(minutes, 'f', 1);
    if (text.endsWith(QStringLiteral(".0"))) {
        text.chop(2);
    }
    return text;
}

QString RowWords(int zonePosition, bool box) {
    return QStringLiteral("\"%1\" %2 the Daylight Saving box")
        .arg(QString::fromLatin1(timeZoneTable[zonePosition].listText),
             box ? QStringLiteral("with") : QStringLiteral("without"));
}

} // namespace

ZoneHistory::ZoneHistory(QByteArray ianaId, std::vector<Period> periods)
    : id_(std::move(ianaId)), periods_(std::move(periods)) {}

std::shared_ptr<const ZoneHistory> ZoneHistory::ForZone(const QByteArray& ianaId) {
    static std::mutex cacheMutex;
    static QHash<QByteArray, std::shared_ptr<const ZoneHistory>> cache;
    const std::lock_guard lock(cacheMutex);
    const auto found = cache.constFind(ianaId);
    if (found != cache.constEnd()) {
        return *found;
    }
    std::shared_ptr<const ZoneHistory> history = ReadZoneHistory(ianaId);
    cache.insert(ianaId, history); // an unknown zone is remembered too
    return history;
}

const ZoneHistory::Period& ZoneHistory::PeriodAt(qint64 universalSeconds) const {
    const auto after = std::upper_bound(periods_.begin(), periods_.end(), universalSeconds,
                                        [](qint64 instant, const Period& period) {
                                            return instant < period.startUniversalSeconds;
                                        });
    return *(after - 1); // the first period starts at the lowest instant there is
}

ZoneOffset ZoneHistory::OffsetAtUniversal(qint64 universalSeconds) const {
    return PeriodAt(universalSeconds).offset;
}

LocalTimeReading ZoneHistory::ReadLocalTime(QDate date, QTime time) const {
    const qint64 localSeconds = (date.toJulianDay() - unixEpochJulianDay) * secondsPerDay +
                                time.msecsSinceStartOfDay() / 1000;
    // The periods that start within the widest offset of the reading, and the one before.
    auto first =
        std::upper_bound(periods_.begin(), periods_.end(), localSeconds - widestOffsetSeconds,
                         [](qint64 instant, const Period& period) {
                             return instant < period.startUniversalSeconds;
                         });
    --first;
    std::array<const Period*, 4> valid{};
    std::size_t validCount = 0;
    const Period* gapBefore = nullptr;
    const Period* gapAfter = nullptr;
    for (auto at = first;
         at != periods_.end() &&
         (at == first || at->startUniversalSeconds <= localSeconds + widestOffsetSeconds);
         ++at) {
        const auto next = at + 1;
        const qint64 universal = localSeconds - at->offset.offsetSeconds;
        const bool startsInTime = at == periods_.begin() || universal >= at->startUniversalSeconds;
        const bool endsInTime = next == periods_.end() || universal < next->startUniversalSeconds;
        if (startsInTime && endsInTime && validCount < valid.size()) {
            valid[validCount++] = &*at;
        }
        // Clocks put forward at the start of `next` skip the local times from the old offset to
        // the new.
        if (next != periods_.end() && next->offset.offsetSeconds > at->offset.offsetSeconds &&
            localSeconds >= next->startUniversalSeconds + at->offset.offsetSeconds &&
            localSeconds < next->startUniversalSeconds + next->offset.offsetSeconds) {
            gapBefore = &*at;
            gapAfter = &*next;
        }
    }
    LocalTimeReading reading;
    if (validCount == 1) {
        reading.offset = valid[0]->offset;
    } else if (validCount >= 2) {
        reading.kind = LocalTimeReading::Kind::Repeated;
        reading.offset = valid[0]->offset;
        reading.laterOffset = valid[validCount - 1]->offset;
    } else if (gapBefore != nullptr) {
        reading.kind = LocalTimeReading::Kind::Gap;
        reading.offset = gapBefore->offset;
        reading.laterOffset = gapAfter->offset;
    } else {
        // Not reached for a consistent history; read it at the offset of the instant instead.
        reading.offset = OffsetAtUniversal(localSeconds - first->offset.offsetSeconds);
    }
    return reading;
}

QString FormatUtcOffset(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    QString text = QStringLiteral("%1%2:%3")
                       .arg(QChar(offsetSeconds < 0 ? u'-' : u'+'))
                       .arg(magnitude / 3600)
                       .arg(magnitude / 60 % 60, 2, 10, QChar(u'0'));
    if (magnitude % 60 != 0) {
        text += QStringLiteral(":%1").arg(magnitude % 60, 2, 10, QChar(u'0'));
    }
    return text;
}

int ZoneRowOffsetSeconds(int zonePosition, bool daylightSavingBox) {
    const TimeZoneEntry& entry = timeZoneTable[static_cast<std::size_t>(zonePosition)];
    const int correctionSeconds =
        entry.zoneCorrectionHours * 3600 + entry.zoneCorrectionMinutes * 60;
    return -correctionSeconds + (daylightSavingBox ? 3600 : 0);
}

ZoneRecommendation RecommendZoneRow(const LocalTimeReading& reading) {
    const ZoneOffset& target = reading.offset;
    // Rank every row and box: the smallest error, then the box as daylight saving was in force,
    // then the row named as the database names the time, then the list order.
    struct Rank {
        int error;
        int boxDiffers;
        int otherName;
        int position;
        int box;
        auto operator<=>(const Rank&) const = default;
    };
    Rank best{};
    bool haveBest = false;
    for (int position = 0; position < timeZoneCount; ++position) {
        const QString rowName = RowAbbreviation(position);
        for (const bool box : {false, true}) {
            const int error = ZoneRowOffsetSeconds(position, box) - target.offsetSeconds;
            const QString& name = box ? target.standardAbbreviation : target.abbreviation;
            const Rank rank{std::abs(error), box != target.daylightSaving ? 1 : 0,
                            rowName.compare(name, Qt::CaseInsensitive) == 0 ? 0 : 1, position,
                            box ? 1 : 0};
            if (!haveBest || rank < best) {
                best = rank;
                haveBest = true;
            }
        }
    }
    ZoneRecommendation recommendation;
    recommendation.zonePosition = best.position;
    recommendation.daylightSavingBox = best.box != 0;
    recommendation.errorSeconds =
        ZoneRowOffsetSeconds(best.position, best.box != 0) - target.offsetSeconds;
    const QString row = RowWords(best.position, best.box != 0);

    if (reading.kind == LocalTimeReading::Kind::Gap) {
        recommendation.note =
            QStringLiteral("The clocks were put forward from %1 to %2 here, so this local time "
                           "did not exist on that date. %3 gives %4, the time before the change; "
                           "check the birth time.")
                .arg(FormatUtcOffset(reading.offset.offsetSeconds),
                     FormatUtcOffset(reading.laterOffset.offsetSeconds), row,
                     FormatUtcOffset(ZoneRowOffsetSeconds(best.position, best.box != 0)));
    } else if (reading.kind == LocalTimeReading::Kind::Repeated) {
        recommendation.note =
            QStringLiteral("The clocks were put back here, so this local time happened twice: "
                           "first at %1, then at %2. %3 gives the first; for the second, use the "
                           "row for %2.")
                .arg(FormatUtcOffset(reading.offset.offsetSeconds),
                     FormatUtcOffset(reading.laterOffset.offsetSeconds), row);
    } else if (recommendation.errorSeconds != 0) {
        const QString what =
            target.offsetSeconds % 60 != 0
                ? QStringLiteral("local mean time of %1").arg(FormatUtcOffset(target.offsetSeconds))
                : QStringLiteral("%1 (%2)").arg(FormatUtcOffset(target.offsetSeconds),
                                                target.abbreviation);
        recommendation.note =
            QStringLiteral("The clocks kept %1 on that date, which no row of the zone list gives. "
                           "The nearest is %2, %3 minutes %4.")
                .arg(what, row, Minutes(recommendation.errorSeconds),
                     recommendation.errorSeconds > 0 ? QStringLiteral("ahead")
                                                     : QStringLiteral("behind"));
    } else {
        recommendation.exact = true;
    }
    return recommendation;
}

ZoneCorrection ZoneCorrectionForOffset(int offsetSeconds) {
    const int magnitudeMinutes = (std::abs(offsetSeconds) + 30) / 60;
    const int sign = offsetSeconds > 0 ? -1 : 1;
    return ZoneCorrection{sign * (magnitudeMinutes / 60), sign * (magnitudeMinutes % 60)};
}
