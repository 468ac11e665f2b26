#include "cli/ChartRequest.h"

#include "chart/TimeZones.h"
#include "chart/Validation.h"
#include "places/BirthTime.h"
#include "places/Coordinates.h"

#include <QChar>
#include <QDate>
#include <QTime>

#include <algorithm>
#include <string>

namespace {

// The window needs a name; the command does not ask for one.
const QString commandLineName = QStringLiteral("KORVANI CHART");

const QString dateFormat = QStringLiteral("expected YYYY-MM-DD with a year from 1901 to 2050");
const QString timeFormat =
    QStringLiteral("expected HH:MM or HH:MM:SS with hours 00 to 23 and minutes and seconds 00 "
                   "to 59");
const QString longitudeFormat =
    QStringLiteral("expected DDD:MM followed by E or W, with degrees 0 to 179 and minutes 0 to 59");
const QString latitudeFormat =
    QStringLiteral("expected DD:MM followed by N or S, with degrees 0 to 89 and minutes 0 to 59");
const QString zoneFormat =
    QStringLiteral("expected a zone list position from 0 to 70, a zone text or its abbreviation "
                   "(see --list-zones)");

// The same as text.toStdString(), without the UTF-8 copy in between for ASCII text.
std::string StdText(const QString& text) {
    std::string ascii(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at].unicode();
        if (unit >= 0x80) {
            return text.toStdString();
        }
        ascii[static_cast<std::size_t>(at)] = static_cast<char>(unit);
    }
    return ascii;
}

QString Malformed(const QString& option, const QString& expected, const QString& value) {
    return QStringLiteral("--%1: %2 (got %3)").arg(option, expected, Quoted(value));
}

QString OutOfRange(const QString& option, const QString& part, const QString& range,
                   const QString& value) {
    return QStringLiteral("--%1: the %2 must be from %3 (got %4)").arg(option, part, range, value);
}

// ASCII digits only: a digit of another script is not a digit here.
bool IsDigit(QChar character) {
    return character >= u'0' && character <= u'9';
}

// The value of `count` ASCII digits at `at`, or -1.
int Digits(QStringView text, qsizetype at, qsizetype count) {
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (qsizetype index = at; index < at + count; ++index) {
        if (!IsDigit(text[index])) {
            return -1;
        }
        value = value * 10 + (text[index].unicode() - u'0');
    }
    return value;
}

QString Two(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

struct DateValue {
    int year = 0;
    int month = 0;
    int day = 0;
};

// A date in the input window's lists: year 1901..2050, month 1..12, day 1..31. Whether the
// month has that day is left to the window's validation.
std::variant<DateValue, Refusal> ReadDate(const QString& value) {
    const bool shaped = value.size() == 10 && value[4] == u'-' && value[7] == u'-';
    const DateValue date{shaped ? Digits(value, 0, 4) : -1, shaped ? Digits(value, 5, 2) : -1,
                         shaped ? Digits(value, 8, 2) : -1};
    if (date.year < 0 || date.month < 0 || date.day < 0) {
        return Refusal{Malformed(QStringLiteral("date"), dateFormat, value)};
    }
    if (date.year < firstEntryYear || date.year > lastEntryYear) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("year"),
                                  QStringLiteral("1901 to 2050"), value.left(4))};
    }
    if (date.month < 1 || date.month > 12) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("month"),
                                  QStringLiteral("01 to 12"), Two(date.month))};
    }
    if (date.day < 1 || date.day > 31) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("day"),
                                  QStringLiteral("01 to 31"), Two(date.day))};
    }
    return date;
}

struct TimeValue {
    int hour = 0;
    int minute = 0;
};

// Local clock time; seconds are checked like the window's seconds list and then dropped.
std::variant<TimeValue, Refusal> ReadTime(const QString& value) {
    const bool shaped =
        (value.size() == 5 || (value.size() == 8 && value[5] == u':')) && value[2] == u':';
    const int hour = shaped ? Digits(value, 0, 2) : -1;
    const int minute = shaped ? Digits(value, 3, 2) : -1;
    const int seconds = shaped && value.size() == 8 ? Digits(value, 6, 2) : 0;
    if (hour < 0 || minute < 0 || seconds < 0) {
        return Refusal{Malformed(QStringLiteral("time"), timeFormat, value)};
    }
    if (hour > 23) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("hour"),
                                  QStringLiteral("00 to 23"), Two(hour))};
    }
    if (minute > 59) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("minute"),
                                  QStringLiteral("00 to 59"), Two(minute))};
    }
    if (seconds > 59) {
        return Refusal{OutOfRange(QStringLiteral("time"), QStringLiteral("seconds"),
                                  QStringLiteral("00 to 59"), Two(seconds))};
    }
    return TimeValue{hour, minute};
}

// A coordinate as the window's boxes hold it: the degree and minute texts as typed (at most as
// many digits as the box takes) and the hemisphere. The ranges are checked by the window's
// validation, with its messages.
struct CoordinateTexts {
    QString degrees;
    QString minutes;
    bool secondHemisphere = false; // West for a longitude, South for a latitude
};

std::variant<CoordinateTexts, Refusal> ReadCoordinate(const QString& option,
                                                      const QString& expected, int degreeDigits,
                                                      char first, char second,
                                                      const QString& value) {
    const qsizetype colon = value.indexOf(u':');
    const auto allDigits = [](QStringView text) {
        return std::all_of(text.begin(), text.end(), IsDigit);
    };
    // The hemisphere letter in either case, ASCII only: no Unicode case folding lets another
    // letter pass for one of them.
    const QChar letter = value.isEmpty() ? QChar() : value.back();
    const char ascii = letter.unicode() < 128 ? static_cast<char>(letter.unicode() & ~0x20) : 0;
    const QStringView degrees = QStringView(value).left(colon < 0 ? 0 : colon);
    const QStringView minutes =
        colon < 0 ? QStringView() : QStringView(value).mid(colon + 1, value.size() - colon - 2);
    if (colon < 0 || (ascii != first && ascii != second) || degrees.isEmpty() ||
        degrees.size() > degreeDigits || minutes.isEmpty() || minutes.size() > 2 ||
        !allDigits(degrees) || !allDigits(minutes)) {
        return Refusal{Malformed(option, expected, value)};
    }
    return CoordinateTexts{degrees.toString(), minutes.toString(), ascii == second};
}

// The second field of a zone text, its abbreviation: "IST" of "Indian Time, IST, +5.3".
QString RowAbbreviation(int position) {
    return QString::fromLatin1(timeZoneTable[position].listText).section(u',', 1, 1).trimmed();
}

CoordinateTexts BoxTexts(const BoxCoordinate& box) {
    return {QString::number(box.degrees), QString::number(box.minutes), box.secondHemisphere};
}

QString PlaceWords(const Place& place) {
    QStringList words{place.name};
    if (!place.state.isEmpty()) {
        words.append(place.state);
    }
    words.append(place.country);
    return words.join(QStringLiteral(", "));
}

std::variant<const Place*, Refusal> FindPlace(const QString& typed, PlaceLookup& places) {
    const PlaceIndex* index = places.Index();
    if (index == nullptr) {
        return Refusal{QStringLiteral("--place: this build has no place list; give --lon, --lat "
                                      "and --zone or --tz instead")};
    }
    const PlaceResolution resolution = ResolvePlace(*index, ParsePlaceQuery(typed));
    switch (resolution.outcome) {
    case PlaceResolution::Outcome::Found:
        return resolution.place;
    case PlaceResolution::Outcome::Ambiguous: {
        QStringList candidates;
        for (const Place* candidate : resolution.candidates) {
            candidates.append(PlaceWords(*candidate));
        }
        return Refusal{QStringLiteral("--place: %1 names more than one place; add the state or "
                                      "country: %2")
                           .arg(Quoted(typed), candidates.join(QStringLiteral("; ")))};
    }
    case PlaceResolution::Outcome::NotFound:
        break;
    }
    return Refusal{QStringLiteral("--place: no place matches %1 (give \"City, State, Country\" or "
                                  "use --lon and --lat)")
                       .arg(Quoted(typed))};
}

// The database's offset at the local birth time, or a refusal at a gap or a repeated hour.
std::variant<ZoneOffset, Refusal> OffsetAtBirth(const QString& option, const ZoneHistory& zone,
                                                QDate date, QTime time) {
    const LocalTimeReading reading = zone.ReadLocalTime(date, time);
    if (reading.kind == LocalTimeReading::Kind::Unique) {
        return reading.offset;
    }
    const QString when =
        QStringLiteral("%1 on %2")
            .arg(time.toString(QStringLiteral("HH:mm")), date.toString(Qt::ISODate));
    const QString zoneName = QString::fromLatin1(zone.id());
    if (reading.kind == LocalTimeReading::Kind::Gap) {
        return Refusal{QStringLiteral("--%1: %2 did not exist in %3: the clocks went forward from "
                                      "%4 to %5; check the time, or give --zone and --dst")
                           .arg(option, when, zoneName,
                                FormatUtcOffset(reading.offset.offsetSeconds),
                                FormatUtcOffset(reading.laterOffset.offsetSeconds))};
    }
    return Refusal{QStringLiteral("--%1: %2 happened twice in %3, first at %4 and then at %5; give "
                                  "the offset with --zone and --dst instead")
                       .arg(option, when, zoneName, FormatUtcOffset(reading.offset.offsetSeconds),
                            FormatUtcOffset(reading.laterOffset.offsetSeconds))};
}

} // namespace

const PlaceIndex* PlaceLookup::Index() {
    if (!loaded_) {
        loaded_ = true;
        index_ = loader_ ? loader_() : nullptr;
    }
    return index_.get();
}

std::shared_ptr<const ZoneHistory> PlaceLookup::Zone(const QString& ianaId) {
    // Enough for every zone there is; names past it (mostly unknown ones) are not remembered.
    constexpr qsizetype mostRemembered = 1024;
    if (const auto found = zones_.constFind(ianaId); found != zones_.constEnd()) {
        return *found;
    }
    std::shared_ptr<const ZoneHistory> history = ZoneHistory::ForZone(ianaId.toUtf8());
    if (zones_.size() < mostRemembered) {
        zones_.insert(ianaId, history);
    }
    return history;
}

PlaceLookup::Loader SystemPlaceLoader() {
    return []() -> std::shared_ptr<const PlaceIndex> {
        const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
        return source ? LoadPlaceIndex(*source) : nullptr;
    };
}

QString Shown(const QString& text, qsizetype longest) {
    QString shown;
    qsizetype count = 0;
    const QStringView view(text);
    qsizetype at = 0;
    while (at < view.size() && count < longest) {
        char32_t character = view[at].unicode();
        qsizetype width = 1;
        if (view[at].isHighSurrogate() && at + 1 < view.size() && view[at + 1].isLowSurrogate()) {
            character = QChar::surrogateToUcs4(view[at], view[at + 1]);
            width = 2;
        }
        if (QChar::isPrint(character)) {
            shown += view.mid(at, width);
        } else {
            shown += u'?';
        }
        at += width;
        ++count;
    }
    if (at < view.size()) {
        shown += QStringLiteral("...");
    }
    return shown;
}

QString Quoted(const QString& value) {
    return u'"' + Shown(value, 40) + u'"';
}

std::variant<int, Refusal> ReadZone(const QString& value) {
    if (!value.isEmpty() && std::all_of(value.begin(), value.end(), IsDigit)) {
        bool converted = false;
        const int position = value.toInt(&converted);
        if (converted && position < timeZoneCount) {
            return position;
        }
        return Refusal{Malformed(QStringLiteral("zone"), zoneFormat, value)};
    }
    for (int position = 0; position < timeZoneCount; ++position) {
        if (value.compare(QLatin1StringView(timeZoneTable[position].listText),
                          Qt::CaseInsensitive) == 0) {
            return position;
        }
    }
    QList<int> named;
    for (int position = 0; position < timeZoneCount; ++position) {
        if (!value.isEmpty() &&
            value.compare(RowAbbreviation(position), Qt::CaseInsensitive) == 0) {
            named.append(position);
        }
    }
    if (named.size() == 1) {
        return named.constFirst();
    }
    if (named.size() > 1) {
        QStringList rows;
        for (const int position : named) {
            rows.append(QStringLiteral("%1 %2").arg(position).arg(
                QLatin1StringView(timeZoneTable[position].listText)));
        }
        return Refusal{QStringLiteral("--zone: %1 names more than one zone; give its position: %2")
                           .arg(Quoted(value), rows.join(QStringLiteral("; ")))};
    }
    return Refusal{Malformed(QStringLiteral("zone"), zoneFormat, value)};
}

std::variant<ChartRequest, Refusal> ResolveChartRequest(const ChartFields& fields,
                                                        PlaceLookup& places) {
    // What must be given, and what may not be given together.
    if (!fields.date) {
        return Refusal{QStringLiteral("missing option --date YYYY-MM-DD (or use --list-zones)")};
    }
    if (!fields.time) {
        return Refusal{QStringLiteral("missing option --time HH:MM[:SS] (or use --list-zones)")};
    }
    if (fields.place && (fields.longitude || fields.latitude)) {
        return Refusal{QStringLiteral("--place gives the coordinates; it cannot be combined with "
                                      "--lon or --lat")};
    }
    if (!fields.place && !fields.longitude) {
        return Refusal{QStringLiteral("missing option --lon DDD:MM(E|W) (or use --list-zones)")};
    }
    if (!fields.place && !fields.latitude) {
        return Refusal{QStringLiteral("missing option --lat DD:MM(N|S) (or use --list-zones)")};
    }
    if (fields.zone && fields.tz) {
        return Refusal{QStringLiteral("--zone and --tz cannot be combined; give one of them")};
    }
    if (!fields.zone && !fields.tz && !fields.place) {
        return Refusal{QStringLiteral(
            "missing option --zone N, --tz ZONE or --place PLACE (or use --list-zones)")};
    }
    const bool zoneFromDatabase = !fields.zone;
    if (fields.daylightSaving && zoneFromDatabase) {
        return Refusal{QStringLiteral("--dst cannot be combined with %1: the time-zone database "
                                      "says whether daylight saving was in force")
                           .arg(fields.tz ? QStringLiteral("--tz") : QStringLiteral("--place"))};
    }

    // Each value's form.
    const auto date = ReadDate(*fields.date);
    if (const auto* refusal = std::get_if<Refusal>(&date)) {
        return *refusal;
    }
    const auto time = ReadTime(*fields.time);
    if (const auto* refusal = std::get_if<Refusal>(&time)) {
        return *refusal;
    }
    const Place* place = nullptr;
    CoordinateTexts lon;
    CoordinateTexts lat;
    if (fields.place) {
        const auto found = FindPlace(*fields.place, places);
        if (const auto* refusal = std::get_if<Refusal>(&found)) {
            return *refusal;
        }
        place = std::get<const Place*>(found);
        lon = BoxTexts(LongitudeForBoxes(place->longitudeDegrees));
        lat = BoxTexts(LatitudeForBoxes(place->latitudeDegrees));
    } else {
        const auto longitude =
            ReadCoordinate(QStringLiteral("lon"), longitudeFormat, 3, 'E', 'W', *fields.longitude);
        if (const auto* refusal = std::get_if<Refusal>(&longitude)) {
            return *refusal;
        }
        const auto latitude =
            ReadCoordinate(QStringLiteral("lat"), latitudeFormat, 2, 'N', 'S', *fields.latitude);
        if (const auto* refusal = std::get_if<Refusal>(&latitude)) {
            return *refusal;
        }
        lon = std::get<CoordinateTexts>(longitude);
        lat = std::get<CoordinateTexts>(latitude);
    }
    int zonePosition = defaultTimeZonePosition;
    std::shared_ptr<const ZoneHistory> history;
    QString zoneOption = QStringLiteral("tz");
    if (fields.zone) {
        const auto zone = ReadZone(*fields.zone);
        if (const auto* refusal = std::get_if<Refusal>(&zone)) {
            return *refusal;
        }
        zonePosition = std::get<int>(zone);
    } else {
        const QString zoneName = fields.tz ? *fields.tz : QString::fromLatin1(place->zoneId);
        zoneOption = fields.tz ? QStringLiteral("tz") : QStringLiteral("place");
        history = places.Zone(zoneName);
        if (!history) {
            return Refusal{QStringLiteral("--%1: unknown time zone %2 (expected a name of the "
                                          "time-zone database such as Asia/Kolkata)")
                               .arg(zoneOption, Quoted(zoneName))};
        }
    }

    // The input window's own validation.
    const auto& [year, month, day] = std::get<DateValue>(date);
    BirthDataEntry entry;
    entry.name = StdText(commandLineName);
    entry.longitudeDegrees = StdText(lon.degrees);
    entry.longitudeMinutes = StdText(lon.minutes);
    entry.latitudeDegrees = StdText(lat.degrees);
    entry.latitudeMinutes = StdText(lat.minutes);
    entry.monthPosition = month - 1;
    entry.dayPosition = day - 1;
    entry.year = year;
    if (const auto fault = ValidateBirthData(entry)) {
        return Refusal{QString::fromStdString(fault->message)};
    }

    // Validation has passed, so every coordinate text spells a number in range.
    ChartRequest request;
    ChartInput& input = request.input;
    input.monthPosition = entry.monthPosition;
    input.day = day;
    input.year = year;
    input.hour = std::get<TimeValue>(time).hour;
    input.minute = std::get<TimeValue>(time).minute;
    input.longitudeDegrees = static_cast<int>(*CoordinateValue(entry.longitudeDegrees));
    input.longitudeMinutes = static_cast<int>(*CoordinateValue(entry.longitudeMinutes));
    input.latitudeDegrees = static_cast<int>(*CoordinateValue(entry.latitudeDegrees));
    input.latitudeMinutes = static_cast<int>(*CoordinateValue(entry.latitudeMinutes));
    input.east = !lon.secondHemisphere;
    input.south = lat.secondHemisphere;
    input.daylightSaving = fields.daylightSaving;
    input.timeZonePosition = zonePosition;

    UsedInput& used = request.used;
    used.name = fields.name && !fields.name->isEmpty() ? *fields.name : commandLineName;
    if (place != nullptr) {
        used.place = *place;
    }
    if (history) {
        // The local time as given, seconds included: they decide a reading at a clock change.
        const QString& timeText = *fields.time;
        const QTime clock(input.hour, input.minute,
                          timeText.size() == 8 ? Digits(timeText, 6, 2) : 0);
        const auto offset = OffsetAtBirth(zoneOption, *history, QDate(year, month, day), clock);
        if (const auto* refusal = std::get_if<Refusal>(&offset)) {
            return *refusal;
        }
        const ZoneOffset& zoneOffset = std::get<ZoneOffset>(offset);
        input.zoneCorrection = ZoneCorrectionForOffset(zoneOffset.offsetSeconds);
        used.zoneSource = fields.tz ? ZoneSource::Tz : ZoneSource::Place;
        used.zoneId = history->id();
        used.databaseOffsetSeconds = zoneOffset.offsetSeconds;
        used.offsetSeconds =
            -(input.zoneCorrection->hours * 3600 + input.zoneCorrection->minutes * 60);
        used.daylightSaving = zoneOffset.daylightSaving;
    } else {
        used.zoneSource = ZoneSource::List;
        used.offsetSeconds = ZoneRowOffsetSeconds(zonePosition, input.daylightSaving);
        used.daylightSaving = input.daylightSaving;
    }
    return request;
}
