#pragma once

#include "chart/ChartInput.h"
#include "places/BirthTime.h"
#include "places/Place.h"
#include "places/PlaceIndex.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <variant>

// Where the chart's zone correction came from.
enum class ZoneSource { List, Tz, Place };

// What the command used for a chart, beyond the numbers of ChartInput: reported in the JSON
// `input` object and the CSV row.
struct UsedInput {
    QByteArray name; // UTF-8, written out as it came in
    ZoneSource zoneSource = ZoneSource::List;
    QByteArray zoneId;             // the IANA zone, for Tz and Place
    int offsetSeconds = 0;         // local clock minus universal time, as the chart used it
    int databaseOffsetSeconds = 0; // for Tz and Place: the database's
    bool daylightSaving = false;   // the box for List; otherwise whether the clock stood ahead
                                   // of the lowest offset the zone kept that year
    std::optional<Place> place;
};

// The name of a chart the command makes: the window needs one, the command does not ask for it.
inline constexpr std::string_view commandLineChartName = "KORVANI CHART";
// The same as UTF-8 bytes, without a copy.
QByteArray CommandLineChartName();

// The input cannot be used; the message says why, naming the option and its allowed range or
// quoting the input window's own validation message.
struct Refusal {
    QString message;
};

// The values of one chart as the options (or the columns of a batch row) give them: valid UTF-8
// viewed in the caller's storage; a value not given is empty.
struct ChartFields {
    std::optional<QByteArrayView> name;
    std::optional<QByteArrayView> date;
    std::optional<QByteArrayView> time;
    std::optional<QByteArrayView> longitude;
    std::optional<QByteArrayView> latitude;
    std::optional<QByteArrayView> zone;
    std::optional<QByteArrayView> tz;
    std::optional<QByteArrayView> place;
    bool daylightSaving = false;
};

// A chart to compute from validated birth data, and what it used.
struct ChartRequest {
    ChartInput input;
    UsedInput used;
};

// One thread's remembered answers about places and zones, which a batch asks again on many rows,
// over the place index, loaded on first use and kept for the rest of the run. A null loader, or
// one that returns null, means this build has no place list. Answers made with ForAnotherThread
// share the index (loaded once, whichever thread asks first) and remember their own answers.
class RememberedPlaceAnswers {
  public:
    using Loader = std::function<std::shared_ptr<const PlaceIndex>()>;
    explicit RememberedPlaceAnswers(Loader loader);
    // No remembered answers yet, over the same index, for another thread.
    RememberedPlaceAnswers ForAnotherThread() const;
    const PlaceIndex* Index();
    // ZoneHistory::ForZone, remembered by name (UTF-8) for the rest of the run: a batch names
    // the same few zones on every row.
    std::shared_ptr<const ZoneHistory> Zone(QByteArrayView ianaId);
    // The place a text (UTF-8) names in the index, or why none; remembered by the text for the
    // rest of the run, as a batch names the same places on many rows.
    std::variant<const Place*, Refusal> Find(QByteArrayView typed);
    // ReadZone, remembered by the value for the rest of the run.
    std::variant<int, Refusal> ZoneRow(QByteArrayView value);

  private:
    struct SharedIndex {
        Loader loader;
        std::once_flag loaded;
        std::shared_ptr<const PlaceIndex> index;
    };
    RememberedPlaceAnswers() = default;

    std::shared_ptr<SharedIndex> shared_;
    QHash<QByteArray, std::shared_ptr<const ZoneHistory>> zones_;
    QHash<QByteArray, std::variant<const Place*, Refusal>> places_;
    QHash<QByteArray, std::variant<int, Refusal>> zoneRows_;
};

// The system's place list (libgeonames), or null without it.
RememberedPlaceAnswers::Loader SystemPlaceLoader();

// Text from the command line made safe for a message: control and unprintable characters
// shown as '?', whole characters counted (one outside the Basic Multilingual Plane is one
// character), long texts cut short with "...".
QString Shown(const QString& text, qsizetype longest);

// A refusal's message as a batch row gives it: the column named where the command names the
// option ("date: ..." for "--date: ...").
QString ColumnMessage(const QString& message);

// An input value quoted for a message.
QString Quoted(const QString& value);

inline constexpr QByteArrayView utf8ByteOrderMark = "\xEF\xBB\xBF";

// Valid UTF-8 as text. Unlike QString::fromUtf8, a leading byte-order mark is kept (as the
// character U+FEFF): the bytes may be a piece from the middle of a line.
QString Utf8Text(QByteArrayView utf8);

// Valid UTF-8 without the white space at either end, as QString::trimmed judges it (Unicode
// spaces such as U+00A0 and U+3000 included).
QByteArrayView TrimmedUtf8(QByteArrayView utf8);

// Reads the fields of one chart by the command's rules: what is missing, what may not be
// combined, each value's form, the input window's own validation, then the place and the time
// zone at the local birth time.
std::variant<ChartRequest, Refusal> ResolveChartRequest(const ChartFields& fields,
                                                        RememberedPlaceAnswers& places);

// A zone given to --zone (UTF-8): its list position, the list text, or an abbreviation that
// names one row only.
std::variant<int, Refusal> ReadZone(QByteArrayView value);
