#include "request/ChartRequest.h"

#include "chart/TimeZones.h"
#include "chart/Validation.h"
#include "places/BirthTime.h"
#include "places/Coordinates.h"
#include "places/PlaceOwnTime.h"

#include <QChar>
#include <QDate>
#include <QStringDecoder>
#include <QTime>

#include <algorithm>
#include <array>
#include <string>

namespace {

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

QString Malformed(const QString& option, const QString& expected, QByteArrayView value) {
    return QStringLiteral("--%1: %2 (got %3)").arg(option, expected, Quoted(Utf8Text(value)));
}

QString OutOfRange(const QString& option, const QString& part, const QString& range,
                   const QString& value) {
    return QStringLiteral("--%1: the %2 must be from %3 (got %4)").arg(option, part, range, value);
}

// ASCII digits only: a digit of another script is not a digit here.
bool IsDigit(char character) {
    return character >= '0' && character <= '9';
}

// The value of `count` ASCII digits at `at`, or -1.
int Digits(QByteArrayView text, qsizetype at, qsizetype count) {
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (qsizetype index = at; index < at + count; ++index) {
        if (!IsDigit(text[index])) {
            return -1;
        }
        value = value * 10 + (text[index] - '0');
    }
    return value;
}

// The character of valid UTF-8 that starts at `at`; `length` is set to its bytes.
char32_t CharacterAt(QByteArrayView utf8, qsizetype at, qsizetype& length) {
    const auto byte = [utf8](qsizetype index) {
        return static_cast<char32_t>(static_cast<uchar>(utf8[index]));
    };
    const char32_t lead = byte(at);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    if (lead < 0xE0) {
        length = 2;
        return (lead & 0x1F) << 6 | (byte(at + 1) & 0x3F);
    }
    if (lead < 0xF0) {
        length = 3;
        return (lead & 0x0F) << 12 | (byte(at + 1) & 0x3F) << 6 | (byte(at + 2) & 0x3F);
    }
    length = 4;
    return (lead & 0x07) << 18 | (byte(at + 1) & 0x3F) << 12 | (byte(at + 2) & 0x3F) << 6 |
           (byte(at + 3) & 0x3F);
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
std::variant<DateValue, Refusal> ReadDate(QByteArrayView value) {
    const bool shaped = value.size() == 10 && value[4] == '-' && value[7] == '-';
    const DateValue date{shaped ? Digits(value, 0, 4) : -1, shaped ? Digits(value, 5, 2) : -1,
                         shaped ? Digits(value, 8, 2) : -1};
    if (date.year < 0 || date.month < 0 || date.day < 0) {
        return Refusal{Malformed(QStringLiteral("date"), dateFormat, value)};
    }
    if (date.year < firstEntryYear || date.year > lastEntryYear) {
        return Refusal{OutOfRange(QStringLiteral("date"), QStringLiteral("year"),
                                  QStringLiteral("1901 to 2050"),
                                  QString::fromLatin1(value.first(4)))};
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
std::variant<TimeValue, Refusal> ReadTime(QByteArrayView value) {
    const bool shaped =
        (value.size() == 5 || (value.size() == 8 && value[5] == ':')) && value[2] == ':';
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
// many digits as the box takes), and the numbers they spell with the hemisphere. The ranges are
// checked by the window's validation, with its messages.
struct CoordinateTexts {
    std::string degrees;
    std::string minutes;
    BoxCoordinate value; // what the texts spell, once the window's validation has passed
};

std::variant<CoordinateTexts, Refusal> ReadCoordinate(const QString& option,
                                                      const QString& expected, int degreeDigits,
                                                      char first, char second,
                                                      QByteArrayView value) {
    const qsizetype colon = std::find(value.begin(), value.end(), ':') - value.begin();
    const auto allDigits = [](QByteArrayView text) {
        return std::all_of(text.begin(), text.end(), [](char byte) { return IsDigit(byte); });
    };
    // The hemisphere letter in either case, ASCII only: no Unicode case folding lets another
    // letter pass for one of them (the last byte of a longer UTF-8 character is not ASCII).
    const auto letter = static_cast<uchar>(value.isEmpty() ? 0 : value.back());
    const char ascii = letter < 128 ? static_cast<char>(letter & ~0x20) : 0;
    const bool hasColon = colon < value.size();
    const QByteArrayView degrees = value.first(hasColon ? colon : 0);
    const QByteArrayView minutes =
        hasColon ? value.sliced(colon + 1, std::max<qsizetype>(value.size() - colon - 2, 0))
                 : QByteArrayView();
    if (!hasColon || (ascii != first && ascii != second) || degrees.isEmpty() ||
        degrees.size() > degreeDigits || minutes.isEmpty() || minutes.size() > 2 ||
        !allDigits(degrees) || !allDigits(minutes)) {
        return Refusal{Malformed(option, expected, value)};
    }
    return CoordinateTexts{
        std::string(degrees.begin(), degrees.end()),
        std::string(minutes.begin(), minutes.end()),
        {Digits(degrees, 0, degrees.size()), Digits(minutes, 0, minutes.size()), ascii == second}};
}

CoordinateTexts BoxTexts(const BoxCoordinate& box) {
    return {std::to_string(box.degrees), std::to_string(box.minutes), box};
}

std::variant<const Place*, Refusal> FindPlace(const QString& typed, const PlaceIndex* index) {
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

// The option that a fault of the window's validation concerns: the box it puts the focus in.
QString OptionOfFault(FocusTarget focus, bool fromPlace) {
    switch (focus) {
    case FocusTarget::LongitudeDegrees:
    case FocusTarget::LongitudeMinutes:
        return fromPlace ? QStringLiteral("place") : QStringLiteral("lon");
    case FocusTarget::LatitudeDegrees:
    case FocusTarget::LatitudeMinutes:
        return fromPlace ? QStringLiteral("place") : QStringLiteral("lat");
    case FocusTarget::Name:
        return QStringLiteral("name");
    case FocusTarget::None: // the day does not exist in the month
    case FocusTarget::City:
    case FocusTarget::State:
    case FocusTarget::Country:
        break;
    }
    return QStringLiteral("date");
}

// The answer remembered for `key`, or else `answer()`, remembered while fewer than `most` are.
template <typename Value, typename Answer>
Value Remembered(QHash<QByteArray, Value>& memory, QByteArrayView key, qsizetype most,
                 const Answer& answer) {
    // The lookup borrows the bytes; only a key that is remembered is copied.
    if (const auto found = memory.constFind(QByteArray::fromRawData(key.data(), key.size()));
        found != memory.constEnd()) {
        return *found;
    }
    Value value = answer();
    if (memory.size() < most) {
        memory.insert(key.toByteArray(), value);
    }
    return value;
}

// The place's own time at the local birth time, or a refusal at a gap or a repeated hour.
std::variant<PlaceOwnTime, Refusal> OwnTimeAtBirth(const QString& option, const ZoneHistory& zone,
                                                   QDate date, QTime time) {
    const PlaceOwnTime own = ReadPlaceOwnTime(zone, date, time);
    if (own.reading.kind == LocalTimeReading::Kind::Unique) {
        return own;
    }
    return Refusal{own.reading.kind == LocalTimeReading::Kind::Gap
                       ? QStringLiteral("--%1: %2; check the time, or give --zone and --dst")
                             .arg(option, own.clockChange)
                       : QStringLiteral("--%1: %2; give the offset with --zone and --dst instead")
                             .arg(option, own.clockChange)};
}

} // namespace

QByteArray CommandLineChartName() {
    return QByteArray::fromRawData(commandLineChartName.data(), commandLineChartName.size());
}

RememberedPlaceAnswers::RememberedPlaceAnswers(Loader loader)
    : shared_(std::make_shared<SharedIndex>()) {
    shared_->loader = std::move(loader);
}

RememberedPlaceAnswers RememberedPlaceAnswers::ForAnotherThread() const {
    RememberedPlaceAnswers other;
    other.shared_ = shared_;
    return other;
}

const PlaceIndex* RememberedPlaceAnswers::Index() {
    SharedIndex& shared = *shared_;
    std::call_once(shared.loaded,
                   [&shared] { shared.index = shared.loader ? shared.loader() : nullptr; });
    return shared.index.get();
}

std::shared_ptr<const ZoneHistory> RememberedPlaceAnswers::Zone(QByteArrayView ianaId) {
    // Enough for every zone there is; names past it (mostly unknown ones) are not remembered.
    constexpr qsizetype mostRemembered = 1024;
    return Remembered(zones_, ianaId, mostRemembered,
                      [ianaId] { return ZoneHistory::ForZone(ianaId.toByteArray()); });
}

std::variant<const Place*, Refusal> RememberedPlaceAnswers::Find(QByteArrayView typed) {
    constexpr qsizetype mostRemembered = 4096;
    return Remembered(places_, typed, mostRemembered,
                      [this, typed] { return FindPlace(Utf8Text(typed), Index()); });
}

std::variant<int, Refusal> RememberedPlaceAnswers::ZoneRow(QByteArrayView value) {
    constexpr qsizetype mostRemembered = 1024;
    return Remembered(zoneRows_, value, mostRemembered, [value] { return ReadZone(value); });
}

RememberedPlaceAnswers::Loader SystemPlaceLoader() {
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

QString ColumnMessage(const QString& message) {
    // "--date: ..." becomes "date: ...": only the lead, so a quoted input value stays as given.
    qsizetype at = 2;
    while (message.startsWith(u"--") && at < message.size() && message[at] >= u'a' &&
           message[at] <= u'z') {
        ++at;
    }
    return at > 2 && message.sliced(at).startsWith(u':') ? message.mid(2) : message;
}

QString Quoted(const QString& value) {
    return u'"' + Shown(value, 40) + u'"';
}

QString Utf8Text(QByteArrayView utf8) {
    if (!utf8.startsWith(utf8ByteOrderMark)) {
        return QString::fromUtf8(utf8); // the same text, sooner
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

QByteArrayView TrimmedUtf8(QByteArrayView utf8) {
    qsizetype first = 0;
    while (first < utf8.size()) {
        qsizetype length = 1;
        const auto lead = static_cast<uchar>(utf8[first]);
        if (!QChar::isSpace(lead < 0x80 ? lead : CharacterAt(utf8, first, length))) {
            break;
        }
        first += length;
    }
    qsizetype end = utf8.size();
    while (end > first) {
        qsizetype last = end - 1;
        const auto byte = static_cast<uchar>(utf8[last]);
        char32_t character = byte;
        if (byte >= 0x80) {
            while ((static_cast<uchar>(utf8[last]) & 0xC0) == 0x80) {
                --last; // back to the first byte of the character
            }
            qsizetype length = 0;
            character = CharacterAt(utf8, last, length);
        }
        if (!QChar::isSpace(character)) {
            break;
        }
        end = last;
    }
    return utf8.sliced(first, end - first);
}

std::variant<int, Refusal> ReadZone(QByteArrayView value) {
    if (!value.isEmpty() && std::all_of(value.begin(), value.end(), IsDigit)) {
        bool converted = false;
        const int position = value.toInt(&converted);
        if (converted && position < timeZoneCount) {
            return position;
        }
        return Refusal{Malformed(QStringLiteral("zone"), zoneFormat, value)};
    }
    // Compared as text, as Unicode case folding may match a letter outside ASCII; texts of other
    // lengths never compare equal.
    const QString text = Utf8Text(value);
    const auto& zoneRows = ZoneListWords();
    for (int position = 0; position < timeZoneCount; ++position) {
        const QLatin1StringView listText = zoneRows[static_cast<std::size_t>(position)].listText;
        if (text.size() == listText.size() && text.compare(listText, Qt::CaseInsensitive) == 0) {
            return position;
        }
    }
    QList<int> named;
    for (int position = 0; position < timeZoneCount; ++position) {
        const QString& abbreviation = zoneRows[static_cast<std::size_t>(position)].abbreviation;
        if (!text.isEmpty() && text.size() == abbreviation.size() &&
            text.compare(abbreviation, Qt::CaseInsensitive) == 0) {
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
                           .arg(Quoted(text), rows.join(QStringLiteral("; ")))};
    }
    return Refusal{Malformed(QStringLiteral("zone"), zoneFormat, value)};
}

namespace {

// What must be given, and what may not be given together.
std::optional<Refusal> GivenFieldsRefusal(const ChartFields& fields) {
    if (!fields.date) {
        return Refusal{QStringLiteral("--date: missing; give the date of birth as YYYY-MM-DD")};
    }
    if (!fields.time) {
        return Refusal{QStringLiteral("--time: missing; give the local time of birth as "
                                      "HH:MM[:SS]")};
    }
    if (fields.place && (fields.longitude || fields.latitude)) {
        return Refusal{QStringLiteral("--place: cannot be combined with --lon or --lat; the place "
                                      "gives the coordinates")};
    }
    if (!fields.place && !fields.longitude) {
        return Refusal{QStringLiteral("--lon: missing; give DDD:MM(E|W) with --lat, or --place "
                                      "PLACE instead of both")};
    }
    if (!fields.place && !fields.latitude) {
        return Refusal{QStringLiteral("--lat: missing; give DD:MM(N|S) with --lon, or --place "
                                      "PLACE instead of both")};
    }
    if (fields.zone && fields.tz) {
        return Refusal{QStringLiteral("--tz: cannot be combined with --zone; give one of them")};
    }
    if (!fields.zone && !fields.tz && !fields.place) {
        return Refusal{QStringLiteral(
            "--zone: missing; give --zone N (see --list-zones), --tz ZONE or --place PLACE")};
    }
    if (fields.daylightSaving && !fields.zone) {
        return Refusal{QStringLiteral("--dst: cannot be combined with %1; the time-zone database "
                                      "says whether daylight saving was in force")
                           .arg(fields.tz ? QStringLiteral("--tz") : QStringLiteral("--place"))};
    }
    return std::nullopt;
}

// The given fields read by their forms: each value as the window's controls would hold it.
struct ReadFields {
    DateValue date;
    TimeValue time;
    const Place* place = nullptr; // for --place
    CoordinateTexts longitude;
    CoordinateTexts latitude;
    int zonePosition = defaultTimeZonePosition; // for --zone
    std::shared_ptr<const ZoneHistory> history; // for --tz and --place
    QString zoneOption = QStringLiteral("tz");  // the option that named the history's zone
};

std::variant<ReadFields, Refusal> ReadGivenFields(const ChartFields& fields,
                                                  RememberedPlaceAnswers& places) {
    ReadFields read;
    const auto date = ReadDate(*fields.date);
    if (const auto* refusal = std::get_if<Refusal>(&date)) {
        return *refusal;
    }
    read.date = std::get<DateValue>(date);
    const auto time = ReadTime(*fields.time);
    if (const auto* refusal = std::get_if<Refusal>(&time)) {
        return *refusal;
    }
    read.time = std::get<TimeValue>(time);
    if (fields.place) {
        const auto found = places.Find(*fields.place);
        if (const auto* refusal = std::get_if<Refusal>(&found)) {
            return *refusal;
        }
        read.place = std::get<const Place*>(found);
        read.longitude = BoxTexts(LongitudeForBoxes(read.place->longitudeDegrees));
        read.latitude = BoxTexts(LatitudeForBoxes(read.place->latitudeDegrees));
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
        read.longitude = std::get<CoordinateTexts>(longitude);
        read.latitude = std::get<CoordinateTexts>(latitude);
    }
    if (fields.zone) {
        const auto zone = places.ZoneRow(*fields.zone);
        if (const auto* refusal = std::get_if<Refusal>(&zone)) {
            return *refusal;
        }
        read.zonePosition = std::get<int>(zone);
    } else {
        const QByteArrayView zoneName = fields.tz ? *fields.tz : QByteArrayView(read.place->zoneId);
        read.zoneOption = fields.tz ? QStringLiteral("tz") : QStringLiteral("place");
        read.history = places.Zone(zoneName);
        if (!read.history) {
            // A zone that is known but lies too far from universal time says so.
            const QString why = ZoneHistory::Refusal(zoneName.toByteArray());
            if (why.contains(QStringLiteral("more than 15 hours"))) {
                return Refusal{QStringLiteral("--%1: %2").arg(read.zoneOption, why)};
            }
            return Refusal{QStringLiteral("--%1: unknown time zone %2 (expected a name of the "
                                          "time-zone database such as Asia/Kolkata)")
                               .arg(read.zoneOption, Quoted(Utf8Text(zoneName)))};
        }
    }
    return read;
}

// The input window's own validation, then the chart input and what was used with a list zone.
std::variant<ChartRequest, Refusal> ValidatedRequest(const ChartFields& fields, ReadFields& read) {
    const auto& [year, month, day] = read.date;
    BirthDataEntry entry;
    entry.name = commandLineChartName;
    entry.longitudeDegrees = std::move(read.longitude.degrees);
    entry.longitudeMinutes = std::move(read.longitude.minutes);
    entry.latitudeDegrees = std::move(read.latitude.degrees);
    entry.latitudeMinutes = std::move(read.latitude.minutes);
    entry.monthPosition = month - 1;
    entry.dayPosition = day - 1;
    entry.year = year;
    if (const auto fault = ValidateBirthData(entry)) {
        // The window's own words, after the option they concern.
        return Refusal{QStringLiteral("--%1: %2")
                           .arg(OptionOfFault(fault->focus, read.place != nullptr),
                                QString::fromStdString(fault->message))};
    }

    // Validation has passed, so the coordinates are in range.
    ChartRequest request;
    ChartInput& input = request.input;
    input.monthPosition = entry.monthPosition;
    input.day = day;
    input.year = year;
    input.hour = read.time.hour;
    input.minute = read.time.minute;
    input.longitudeDegrees = read.longitude.value.degrees;
    input.longitudeMinutes = read.longitude.value.minutes;
    input.latitudeDegrees = read.latitude.value.degrees;
    input.latitudeMinutes = read.latitude.value.minutes;
    input.east = !read.longitude.value.secondHemisphere;
    input.south = read.latitude.value.secondHemisphere;
    input.daylightSaving = fields.daylightSaving;
    input.timeZonePosition = read.zonePosition;

    UsedInput& used = request.used;
    used.name = fields.name && !fields.name->isEmpty() ? fields.name->toByteArray()
                                                       : CommandLineChartName();
    if (read.place != nullptr) {
        used.place = *read.place;
    }
    used.zoneSource = ZoneSource::List;
    used.offsetSeconds = ZoneRowOffsetSeconds(read.zonePosition, input.daylightSaving);
    used.daylightSaving = input.daylightSaving;
    return request;
}

// For --tz and --place: the zone's offset at the local birth time becomes the chart's
// correction, or the time is refused at a clock change.
std::optional<Refusal> ApplyZoneAtBirth(const ChartFields& fields, const ReadFields& read,
                                        ChartRequest& request) {
    ChartInput& input = request.input;
    UsedInput& used = request.used;
    // The local time as given, seconds included: they decide a reading at a clock change.
    const QByteArrayView timeText = *fields.time;
    const QTime clock(input.hour, input.minute, timeText.size() == 8 ? Digits(timeText, 6, 2) : 0);
    const auto& [year, month, day] = read.date;
    const auto atBirth =
        OwnTimeAtBirth(read.zoneOption, *read.history, QDate(year, month, day), clock);
    if (const auto* refusal = std::get_if<Refusal>(&atBirth)) {
        return *refusal;
    }
    const PlaceOwnTime& own = std::get<PlaceOwnTime>(atBirth);
    input.zoneCorrection = own.correction;
    used.zoneSource = fields.tz ? ZoneSource::Tz : ZoneSource::Place;
    // The name as the user or the place list wrote it.
    used.zoneId = fields.tz ? fields.tz->toByteArray() : read.place->zoneId;
    used.databaseOffsetSeconds = own.reading.offset.offsetSeconds;
    used.offsetSeconds = own.offsetSeconds;
    used.daylightSaving = own.reading.offset.daylightSaving;
    return std::nullopt;
}

} // namespace

std::variant<ChartRequest, Refusal> ResolveChartRequest(const ChartFields& fields,
                                                        RememberedPlaceAnswers& places) {
    if (auto refusal = GivenFieldsRefusal(fields)) {
        return *refusal;
    }
    auto read = ReadGivenFields(fields, places);
    if (auto* refusal = std::get_if<Refusal>(&read)) {
        return *refusal;
    }
    auto request = ValidatedRequest(fields, std::get<ReadFields>(read));
    if (auto* refusal = std::get_if<Refusal>(&request)) {
        return *refusal;
    }
    if (std::get<ReadFields>(read).history) {
        if (auto refusal = ApplyZoneAtBirth(fields, std::get<ReadFields>(read),
                                            std::get<ChartRequest>(request))) {
            return *refusal;
        }
    }
    return request;
}
