#include "places/BirthTime.h"

#include "chart/InputTexts.h"
#include "chart/TimeZones.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
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

ZoneOffset OffsetFrom(const QTimeZone::OffsetData& data) {
    ZoneOffset offset;
    offset.offsetSeconds = data.offsetFromUtc;
    offset.abbreviation = data.abbreviation;
    return offset;
}

// The folders the system's zone files live in, in the order Qt's reader on Linux tries them;
// TZDIR first, as glibc reads it (tzset(3)).
QStringList ZoneFolders() {
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("TZDIR");
    if (!fromEnvironment.isEmpty()) {
        folders << fromEnvironment;
    }
    folders << QStringLiteral("/usr/share/zoneinfo") << QStringLiteral("/usr/lib/zoneinfo")
            << QStringLiteral("/usr/share/lib/zoneinfo");
    return folders;
}

// A name of the time-zone database's form ("Asia/Kolkata", "Etc/GMT+5", "EST5EDT") with a zone
// file of that name. Qt reads any other text as a POSIX rule ("abc" gives +0:00, "IST-5:30"
// gives +5:30), which is a rule, not a zone the system has, so it is not taken.
bool IsZoneFileName(const QByteArray& ianaId) {
    if (ianaId.isEmpty() || ianaId.startsWith('/') || ianaId.contains("..")) {
        return false;
    }
    for (const char letter : ianaId) {
        const bool allowed = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z') ||
                             (letter >= '0' && letter <= '9') || letter == '/' || letter == '_' ||
                             letter == '-' || letter == '+' || letter == '.';
        if (!allowed) {
            return false;
        }
    }
    const QString name = QString::fromLatin1(ianaId);
    for (const QString& folder : ZoneFolders()) {
        if (QFileInfo(QDir(folder), name).isFile()) {
            return true;
        }
    }
    return false;
}

// The one period of a zone whose offset never changes: "UTC", and the "UTC+05:30" names that Qt
// answers itself without a zone file (it reads "UTC+5:30" the same way). Qt gives no offset
// data for these, only the offset.
std::vector<ZoneHistory::Period> FixedOffsetPeriods(const QTimeZone& zone, const QDateTime& at) {
    ZoneOffset offset;
    offset.offsetSeconds = zone.offsetFromUtc(at);
    offset.abbreviation = zone.abbreviation(at);
    if (offset.abbreviation.isEmpty()) {
        offset.abbreviation = QString::fromLatin1(zone.id());
    }
    return {{std::numeric_limits<qint64>::min(), offset}};
}

// The local calendar year of an instant at an offset.
int LocalYear(qint64 universalSeconds, int offsetSeconds) {
    const qint64 localDays = (universalSeconds + offsetSeconds -
                              (universalSeconds + offsetSeconds < 0 ? secondsPerDay - 1 : 0)) /
                             secondsPerDay;
    return QDate::fromJulianDay(localDays + unixEpochJulianDay).year();
}

// The universal instant at which a local year begins at an offset.
qint64 LocalYearStart(int year, int offsetSeconds) {
    return (QDate(year, 1, 1).toJulianDay() - unixEpochJulianDay) * secondsPerDay - offsetSeconds;
}

// Splits the periods at each local New Year and marks daylight saving as people mean it: the
// clocks stand ahead of the lowest offset the zone kept in that local year. The database's own
// flag is not used: it gives Irish winter time and Namibian winter time as negative daylight
// saving, and the summer time London kept all through 1941 as daylight saving.
std::vector<ZoneHistory::Period> MarkDaylightSaving(const std::vector<ZoneHistory::Period>& read,
                                                    qint64 endUniversalSeconds) {
    std::vector<ZoneHistory::Period> periods;
    for (std::size_t at = 0; at < read.size(); ++at) {
        const ZoneHistory::Period& period = read[at];
        const qint64 periodEnd =
            at + 1 < read.size() ? read[at + 1].startUniversalSeconds : endUniversalSeconds;
        periods.push_back(period);
        const qint64 from = std::max(period.startUniversalSeconds,
                                     LocalYearStart(historyStart.year(), 0) - widestOffsetSeconds);
        for (int year = LocalYear(from, period.offset.offsetSeconds) + 1;; ++year) {
            const qint64 newYear = LocalYearStart(year, period.offset.offsetSeconds);
            if (newYear >= periodEnd || newYear >= endUniversalSeconds) {
                break;
            }
            if (newYear > periods.back().startUniversalSeconds) {
                periods.push_back({newYear, period.offset});
            }
        }
    }
    // The lowest offset of each local year, then each period against its year's.
    QHash<int, int> lowest;
    const auto yearOf = [](const ZoneHistory::Period& period) {
        return period.startUniversalSeconds == std::numeric_limits<qint64>::min()
                   ? historyStart.year() - 1
                   : LocalYear(period.startUniversalSeconds, period.offset.offsetSeconds);
    };
    for (const ZoneHistory::Period& period : periods) {
        const int year = yearOf(period);
        const auto found = lowest.constFind(year);
        if (found == lowest.constEnd() || period.offset.offsetSeconds < *found) {
            lowest.insert(year, period.offset.offsetSeconds);
        }
    }
    for (ZoneHistory::Period& period : periods) {
        period.offset.daylightSaving = period.offset.offsetSeconds > lowest.value(yearOf(period));
    }
    return periods;
}

// What reading a zone gave: its history, or why there is none.
struct ZoneRead {
    std::shared_ptr<const ZoneHistory> history;
    QString refusal;
};

ZoneRead ReadZoneHistory(const QByteArray& ianaId) {
    const QString quoted = QStringLiteral("\"%1\"").arg(QString::fromLatin1(ianaId));
    const ZoneRead unknown{nullptr, QStringLiteral("unknown time zone %1").arg(quoted)};
    if (ianaId.isEmpty()) {
        return unknown; // Qt would take an empty name as UTC
    }
    const QTimeZone zone(ianaId);
    if (!zone.isValid()) {
        return unknown;
    }
    const QDateTime from(historyStart, QTime(0, 0), Qt::UTC);
    const QDateTime to(historyEnd, QTime(0, 0), Qt::UTC);
    std::vector<ZoneHistory::Period> periods;
    const QTimeZone::OffsetData first = zone.offsetData(from);
    if (!first.atUtc.isValid()) {
        // Qt's own fixed-offset zones ("UTC", "UTC+05:30") have no offset data to give.
        if (!zone.id().startsWith("UTC")) {
            return unknown;
        }
        periods = FixedOffsetPeriods(zone, from);
    } else {
        if (!IsZoneFileName(ianaId)) {
            return unknown;
        }
        periods.push_back({std::numeric_limits<qint64>::min(), OffsetFrom(first)});
        // One change after another. The database lists a zone's changes up to 2037 and gives a
        // rule for the years after. Qt 6.4 follows that rule in nextTransition(), but asked from
        // the instant of the last listed change it answers nothing; asked from one second later
        // it gives the rule's changes (New York's of 2045 are tested).
        for (QTimeZone::OffsetData change = zone.nextTransition(from);
             change.atUtc.isValid() && change.atUtc < to;) {
            const qint64 start = change.atUtc.toSecsSinceEpoch();
            if (start <= periods.back().startUniversalSeconds) {
                break; // no progress; never loop
            }
            periods.push_back({start, OffsetFrom(change)});
            const QDateTime changed = change.atUtc;
            change = zone.nextTransition(changed);
            if (!change.atUtc.isValid()) {
                change = zone.nextTransition(changed.addSecs(1));
            }
        }
        const qint64 end = to.toSecsSinceEpoch();
        periods = MarkDaylightSaving(periods, end);
    }
    // No zone has been more than 15 hours from universal time; an offset past that is a fault
    // of the name or of the database, never a chart.
    for (const ZoneHistory::Period& period : periods) {
        if (std::abs(period.offset.offsetSeconds) > widestOffsetSeconds) {
            return {nullptr,
                    QStringLiteral("time zone %1 gives an offset of %2, more than 15 hours "
                                   "from universal time")
                        .arg(quoted, FormatUtcOffset(period.offset.offsetSeconds))};
        }
    }
    return {std::make_shared<const ZoneHistory>(ianaId, std::move(periods)), QString()};
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

// Whether a row's title names one of the place's names (case-folded): the name's words begin
// a run of the title's words, each word the beginning of the other's, the shorter of at least
// four letters unless the whole word. "Brazil Zone 2" names Brazil, "Indian Time" India,
// "Hawaiian Standard Time" Hawaii, "Eastern European Time" Eastern Europe and "West Africa Time"
// Western Africa.
bool NamesAnyOf(const ZoneRowWords& row, const QList<QStringList>& foldedNames) {
    constexpr qsizetype shortestShortenedWord = 4;
    const QStringList title = row.foldedTitle.split(u' ', Qt::SkipEmptyParts);
    const auto sameWord = [](const QString& one, const QString& other) {
        const QString& shorter = one.size() <= other.size() ? one : other;
        const QString& longer = one.size() <= other.size() ? other : one;
        return longer.startsWith(shorter) &&
               (shorter.size() == longer.size() || shorter.size() >= shortestShortenedWord);
    };
    // A compass word alone names no place of its own ("Central", a district of Botswana).
    static const QStringList compassWords{QStringLiteral("central"),  QStringLiteral("eastern"),
                                          QStringLiteral("western"),  QStringLiteral("northern"),
                                          QStringLiteral("southern"), QStringLiteral("north"),
                                          QStringLiteral("south"),    QStringLiteral("east"),
                                          QStringLiteral("west"),     QStringLiteral("middle")};
    for (const QStringList& name : foldedNames) {
        if (name.isEmpty() || name.join(u' ').size() < 3 ||
            (name.size() == 1 && compassWords.contains(name.first()))) {
            continue;
        }
        for (qsizetype start = 0; start + name.size() <= title.size(); ++start) {
            qsizetype word = 0;
            while (word < name.size() && sameWord(name[word], title[start + word])) {
                ++word;
            }
            if (word == name.size()) {
                return true;
            }
        }
    }
    return false;
}

// The abbreviation of a clock's standard time, from that of its daylight saving time: "EDT"
// gives "EST", "CEST" gives "CET". Empty when the abbreviation has neither form.
QString StandardTimeAbbreviation(const QString& daylightAbbreviation) {
    if (daylightAbbreviation.endsWith(QStringLiteral("DT"))) {
        return daylightAbbreviation.left(daylightAbbreviation.size() - 2) + QStringLiteral("ST");
    }
    if (daylightAbbreviation.size() == 4 && daylightAbbreviation.endsWith(QStringLiteral("ST"))) {
        return daylightAbbreviation.left(2) + u'T';
    }
    return {};
}

QString RowWords(int zonePosition, bool box) {
    return QStringLiteral("\"%1\" %2 the Daylight Saving box")
        .arg(QString::fromLatin1(timeZoneTable[zonePosition].listText),
             box ? QStringLiteral("with") : QStringLiteral("without"));
}

} // namespace

ZoneHistory::ZoneHistory(QByteArray ianaId, std::vector<Period> periods)
    : id_(std::move(ianaId)), periods_(std::move(periods)) {}

namespace {

// The process's zone histories, and the names that no zone answers. A zone is read outside the
// lock, so that no thread waits while another reads a file; two threads that ask for the same
// new zone at once both read it, and the first answer kept is the one both use.
struct ZoneCache {
    std::mutex mutex;
    QHash<QByteArray, std::shared_ptr<const ZoneHistory>> zones;
    QHash<QByteArray, QString> refused; // name → why
};

ZoneCache& Cache() {
    static ZoneCache cache;
    return cache;
}

// At most this many histories and this many refused names are remembered; past that, a name is
// read each time. The system has about 600 zone names, but "UTC+05:30"-style names and unknown
// ones have no end.
constexpr qsizetype mostZonesRemembered = 4096;
constexpr qsizetype mostRefusalsRemembered = 1000;

ZoneRead CachedZone(const QByteArray& ianaId) {
    ZoneCache& cache = Cache();
    {
        const std::lock_guard lock(cache.mutex);
        if (const auto found = cache.zones.constFind(ianaId); found != cache.zones.constEnd()) {
            return {*found, QString()};
        }
        if (const auto found = cache.refused.constFind(ianaId); found != cache.refused.constEnd()) {
            return {nullptr, *found};
        }
    }
    ZoneRead read = ReadZoneHistory(ianaId);
    const std::lock_guard lock(cache.mutex);
    if (read.history) {
        if (const auto found = cache.zones.constFind(ianaId); found != cache.zones.constEnd()) {
            return {*found, QString()}; // another thread was first
        }
        if (cache.zones.size() < mostZonesRemembered) {
            cache.zones.insert(ianaId, read.history);
        }
    } else if (cache.refused.size() < mostRefusalsRemembered) {
        cache.refused.insert(ianaId, read.refusal);
    }
    return read;
}

} // namespace

std::shared_ptr<const ZoneHistory> ZoneHistory::ForZone(const QByteArray& ianaId) {
    return CachedZone(ianaId).history;
}

QString ZoneHistory::Refusal(const QByteArray& ianaId) {
    return CachedZone(ianaId).refusal;
}

qsizetype ZoneHistory::RememberedRefusals() {
    ZoneCache& cache = Cache();
    const std::lock_guard lock(cache.mutex);
    return cache.refused.size();
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
    return QString::fromStdString(UtcOffsetText(offsetSeconds));
}

int ZoneRowOffsetSeconds(int zonePosition, bool daylightSavingBox) {
    const TimeZoneEntry& entry = timeZoneTable[static_cast<std::size_t>(zonePosition)];
    const int correctionSeconds =
        entry.zoneCorrectionHours * 3600 + entry.zoneCorrectionMinutes * 60;
    return -correctionSeconds + (daylightSavingBox ? 3600 : 0);
}

const std::array<ZoneRowWords, timeZoneCount>& ZoneListWords() {
    static const std::array<ZoneRowWords, timeZoneCount> words = [] {
        std::array<ZoneRowWords, timeZoneCount> made;
        for (int position = 0; position < timeZoneCount; ++position) {
            ZoneRowWords& row = made[static_cast<std::size_t>(position)];
            row.listText = QLatin1StringView(timeZoneTable[position].listText);
            const QString text(row.listText);
            row.title = text.section(u',', 0, 0);
            row.foldedTitle = u' ' + row.title.toCaseFolded();
            row.abbreviation = text.section(u',', 1, 1).trimmed();
            row.warTime = row.title.contains(QStringLiteral("War"));
            row.standardTime = !row.warTime && !row.title.contains(QStringLiteral("Daylight")) &&
                               !row.title.contains(QStringLiteral("Summer"));
        }
        return made;
    }();
    return words;
}

ZoneRecommendation RecommendZoneRow(const LocalTimeReading& reading,
                                    const QStringList& placeNames) {
    const ZoneOffset& target = reading.offset;
    const bool databaseSaysWarTime = target.abbreviation.endsWith(QStringLiteral("WT"));
    const QString standardAbbreviation =
        target.daylightSaving ? StandardTimeAbbreviation(target.abbreviation) : QString();
    // Rank every row and box: the smallest error, then the rules in the order the header gives,
    // then the list order.
    struct Rank {
        int error;
        int boxAgainstClock; // the box says otherwise than the clock
        int namesNoPlace;
        int databaseName; // 0: the database's abbreviation; 1: its standard time's, ticked
        int notStandardTime;
        int unwantedWarTime;
        int position;
        int box;
        auto operator<=>(const Rank&) const = default;
    };
    Rank best{};
    bool haveBest = false;
    QList<QStringList> foldedNames;
    for (const QString& name : placeNames) {
        foldedNames.append(name.trimmed().toCaseFolded().split(
            QRegularExpression(QStringLiteral("[\\s-]+")), Qt::SkipEmptyParts));
    }
    const auto& rows = ZoneListWords();
    for (int position = 0; position < timeZoneCount; ++position) {
        const ZoneRowWords& row = rows[static_cast<std::size_t>(position)];
        const bool namesPlace = NamesAnyOf(row, foldedNames);
        for (const bool box : {false, true}) {
            const int error = ZoneRowOffsetSeconds(position, box) - target.offsetSeconds;
            const bool databaseName =
                !box && row.abbreviation.compare(target.abbreviation, Qt::CaseInsensitive) == 0;
            const bool standardName =
                box && !standardAbbreviation.isEmpty() &&
                row.abbreviation.compare(standardAbbreviation, Qt::CaseInsensitive) == 0;
            const Rank rank{std::abs(error),
                            box == target.daylightSaving || databaseName ? 0 : 1,
                            namesPlace ? 0 : 1,
                            databaseName ? 0 : (standardName ? 1 : 2),
                            row.standardTime ? 0 : 1,
                            row.warTime && !databaseSaysWarTime ? 1 : 0,
                            position,
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
        if (best.namesNoPlace != 0 && best.databaseName == 2) {
            recommendation.nameNote =
                QStringLiteral("%1 gives the offset the clocks kept, %2 (%3); its name is only "
                               "the row's and names neither this place nor its clock.")
                    .arg(row, FormatUtcOffset(target.offsetSeconds), target.abbreviation);
        }
    }
    return recommendation;
}

ZoneCorrection ZoneCorrectionForOffset(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    const int sign = offsetSeconds > 0 ? -1 : 1;
    return ZoneCorrection{sign * (magnitude / 3600), sign * (magnitude / 60 % 60),
                          sign * (magnitude % 60)};
}
