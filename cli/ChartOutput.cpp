#include "cli/ChartOutput.h"

#include "astro/PositionText.h"
#include "astro/Retrograde.h"
#include "chart/TimeZones.h"
#include "charts/ChartCells.h"
#include "places/BirthTime.h"
#include "precise/PreciseEngine.h"
#include "request/CsvRows.h"

#include <QList>
#include <QStringList>

#include <fmt/format.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Columns joined by two blanks, each padded to its width; no blanks at the end of the line.
QString TableLine(const QStringList& cells, const QList<qsizetype>& widths) {
    QString line;
    for (qsizetype column = 0; column < cells.size(); ++column) {
        if (column > 0) {
            line += QStringLiteral("  ");
        }
        line += cells[column].leftJustified(widths[column]);
    }
    while (line.endsWith(u' ')) {
        line.chop(1);
    }
    return line + u'\n';
}

// --- Writing JSON and CSV --------------------------------------------------------------------
// A batch writes a million charts: JSON through RapidJSON's writer, texts through {fmt}, each
// line into a reused buffer and then onto the output in one piece.

// The batch's lines are written compact, one chart's JSON indented; the same functions write both.
using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;
using IndentedJsonWriter = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

template <typename Writer>
void JsonKey(Writer& writer, std::string_view key) {
    writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

template <typename Writer>
void JsonString(Writer& writer, std::string_view text) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

// The shortest text that reads back as the same double (std::to_chars), as a JSON number.
template <typename Writer>
void JsonNumber(Writer& writer, double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    writer.RawValue(text, static_cast<std::size_t>(end - text), rapidjson::kNumberType);
}

std::string_view View(const QByteArray& utf8) {
    return std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

const char* SourceName(ZoneSource source) {
    switch (source) {
    case ZoneSource::Tz:
        return "tz";
    case ZoneSource::Place:
        return "place";
    case ZoneSource::List:
        break;
    }
    return "list";
}

template <typename Writer>
void WriteInputJson(Writer& writer, const ChartResult& result) {
    const ChartInput& input = result.input;
    const UsedInput& used = result.used;
    writer.StartObject();
    JsonKey(writer, "name");
    JsonString(writer, View(used.name));
    JsonKey(writer, "date");
    JsonString(writer, DateText(input));
    JsonKey(writer, "time");
    JsonString(writer, TimeText(input));
    JsonKey(writer, "longitude");
    JsonString(writer, LongitudeText(input));
    JsonKey(writer, "latitude");
    JsonString(writer, LatitudeText(input));
    JsonKey(writer, "zone");
    writer.StartObject();
    JsonKey(writer, "source");
    JsonString(writer, SourceName(used.zoneSource));
    if (used.zoneSource == ZoneSource::List) {
        JsonKey(writer, "position");
        writer.Int(input.timeZonePosition);
        JsonKey(writer, "text");
        JsonString(writer, timeZoneTable[input.timeZonePosition].listText);
    } else {
        JsonKey(writer, "id");
        JsonString(writer, View(used.zoneId));
        JsonKey(writer, "databaseOffset");
        JsonString(writer, UtcOffsetText(used.databaseOffsetSeconds));
    }
    writer.EndObject();
    JsonKey(writer, "offset");
    JsonString(writer, UtcOffsetText(used.offsetSeconds));
    JsonKey(writer, "daylightSaving");
    writer.Bool(used.daylightSaving);
    JsonKey(writer, "place");
    if (!used.place) {
        writer.Null();
    } else {
        const Place& place = *used.place;
        writer.StartObject();
        JsonKey(writer, "name");
        JsonString(writer, View(place.name.toUtf8()));
        JsonKey(writer, "state");
        JsonString(writer, View(place.state.toUtf8()));
        JsonKey(writer, "country");
        JsonString(writer, View(place.country.toUtf8()));
        JsonKey(writer, "countryCode");
        JsonString(writer, View(place.countryCode.toUtf8()));
        JsonKey(writer, "zone");
        JsonString(writer, View(place.zoneId));
        JsonKey(writer, "latitudeDegrees");
        JsonNumber(writer, place.latitudeDegrees);
        JsonKey(writer, "longitudeDegrees");
        JsonNumber(writer, place.longitudeDegrees);
        JsonKey(writer, "population");
        writer.Int64(place.population);
        writer.EndObject();
    }
    writer.EndObject();
}

// What the chart was calculated with: the engine, the nodes and the drekkana scheme as the
// command's options spell them, the ayanamsa's name and value, and the line that names them all.
template <typename Writer>
void WriteSettingsJson(Writer& writer, const ChartResult& result) {
    const CalculationSettings& settings = result.settings;
    writer.StartObject();
    JsonKey(writer, "engine");
    JsonString(writer, EngineKey(settings.engine));
    JsonKey(writer, "ayanamsa");
    JsonString(writer, settings.engine == Engine::Precise ? AyanamsaName(settings.ayanamsa)
                                                          : rulesAyanamsaName);
    JsonKey(writer, "ayanamsaDegrees");
    JsonNumber(writer, result.ayanamsaDegrees);
    JsonKey(writer, "nodes");
    JsonString(writer, NodesKey(settings.nodes));
    JsonKey(writer, "drekkana");
    JsonString(writer, DrekkanaSchemeKey(settings.drekkana));
    JsonKey(writer, "summary");
    JsonString(writer, SettingsSummary(settings, result.ayanamsaDegrees));
    writer.EndObject();
}

// The decanate of each of the 36 places, and one with every field empty for a text that names
// no sign (never made by the calculation): looked up, not assigned afresh for every chart.
const DecanateResult& DecanateOf(const std::string& positionText) {
    static const std::vector<DecanateResult> table = [] {
        const std::size_t decanateCount = decanateNames.size();
        std::vector<DecanateResult> results(decanateCount * signCount + 1);
        for (std::size_t decanate = 0; decanate < decanateCount; ++decanate) {
            for (std::size_t sign = 0; sign < signCount; ++sign) {
                AssignDecanate(results[decanate * signCount + sign], {decanate, sign});
            }
        }
        return results;
    }();
    const std::optional<DecanatePlace> place = FindDecanate(positionText);
    return place ? table[place->decanate * signCount + place->sign] : table.back();
}

// The decanate fields in the order of both writers, without the description.
std::array<std::pair<std::string_view, const std::string*>, 7>
DecanateFields(const DecanateResult& decanate) {
    return {{{"decanateName", &decanate.decanateName},
             {"decanateSign", &decanate.decanateSign},
             {"rulingPlanet", &decanate.rulingPlanet},
             {"rulingElement", &decanate.rulingElement},
             {"constellation", &decanate.constellationName},
             {"keyword", &decanate.keyword},
             {"treeZodiac", &decanate.treeZodiac}}};
}

template <typename Writer>
void WriteDecanateFields(Writer& writer, const DecanateResult& decanate, bool description) {
    for (const auto& [key, value] : DecanateFields(decanate)) {
        JsonKey(writer, key);
        JsonString(writer, *value);
    }
    if (description) {
        JsonKey(writer, "description");
        JsonString(writer, decanate.description);
    }
}

// The birth, decanate and Navamsa charts' cells in sign order from Aries, each with its sign, the
// full names of the entries standing there as the drawn charts hold them, and the names of those
// among them that are retrograde.
template <typename Writer>
void WriteChartsJson(Writer& writer, const ChartState& chart, const RetrogradeFlags& retrograde,
                     DrekkanaScheme drekkana) {
    writer.StartObject();
    constexpr std::pair<ChartKind, const char*> kinds[] = {{ChartKind::Birth, "birth"},
                                                           {ChartKind::Decanate, "decanate"},
                                                           {ChartKind::Navamsa, "navamsa"}};
    for (const auto& [kind, key] : kinds) {
        JsonKey(writer, key);
        const ChartContents contents = ComputeChartContents(chart, kind, retrograde, drekkana);
        writer.StartArray();
        for (std::size_t sign = 0; sign < contents.cells.size(); ++sign) {
            writer.StartObject();
            JsonKey(writer, "sign");
            JsonString(writer, signNames[sign]);
            JsonKey(writer, "bodies");
            writer.StartArray();
            for (const ChartEntry& entry : contents.cells[sign]) {
                JsonString(writer, bodyNames[static_cast<std::size_t>(entry.body)]);
            }
            writer.EndArray();
            JsonKey(writer, "retrograde");
            writer.StartArray();
            for (const ChartEntry& entry : contents.cells[sign]) {
                if (entry.retrograde) {
                    JsonString(writer, bodyNames[static_cast<std::size_t>(entry.body)]);
                }
            }
            writer.EndArray();
            writer.EndObject();
        }
        writer.EndArray();
    }
    writer.EndObject();
}

template <typename Writer>
void WriteChartJson(Writer& writer, const ChartResult& result, qint64 line, bool withCharts) {
    const ChartState& chart = result.chart;
    const RetrogradeFlags retrograde = RetrogradeBodies(chart);
    writer.StartObject();
    if (line > 0) {
        JsonKey(writer, "line");
        writer.Int64(line);
    }
    JsonKey(writer, "input");
    WriteInputJson(writer, result);
    JsonKey(writer, "settings");
    WriteSettingsJson(writer, result);
    JsonKey(writer, "bodies");
    writer.StartArray();
    for (int body = 0; body < positionCount; ++body) {
        const auto index = static_cast<std::size_t>(body);
        writer.StartObject();
        JsonKey(writer, "name");
        JsonString(writer, bodyNames[index]);
        JsonKey(writer, "position");
        JsonString(writer, chart.positionText[index]);
        JsonKey(writer, "longitudeDegrees");
        JsonNumber(writer, result.longitudes[index]);
        if (body < displayedBodyCount) {
            WriteDecanateFields(writer, DecanateOf(chart.positionText[index]), false);
        }
        constexpr int mercury = 2;
        if (body >= mercury && body < displayedBodyCount) {
            JsonKey(writer, "retrograde");
            writer.Bool(retrograde[index]);
        }
        writer.EndObject();
    }
    writer.EndArray();
    JsonKey(writer, "positionText");
    writer.StartArray();
    for (const std::string& text : chart.positionText) {
        JsonString(writer, text);
    }
    writer.EndArray();
    JsonKey(writer, "ascendantText");
    JsonString(writer, chart.ascendantText);
    JsonKey(writer, "midheavenText");
    JsonString(writer, chart.midheavenText);
    JsonKey(writer, "moonPositionText");
    JsonString(writer, chart.moonPositionText);
    JsonKey(writer, "chartSiderealCorrection");
    JsonNumber(writer, chart.chartSiderealCorrection);
    JsonKey(writer, "zoneCorrectionHours");
    writer.Int(chart.zoneCorrectionHours);
    JsonKey(writer, "zoneCorrectionMinutes");
    writer.Int(chart.zoneCorrectionMinutes);
    JsonKey(writer, "decanates");
    writer.StartArray();
    for (int body = 0; body < displayedBodyCount; ++body) {
        writer.StartObject();
        JsonKey(writer, "body");
        JsonString(writer, bodyNames[static_cast<std::size_t>(body)]);
        WriteDecanateFields(writer, DecanateOf(chart.positionText[static_cast<std::size_t>(body)]),
                            true);
        writer.EndObject();
    }
    writer.EndArray();
    if (withCharts) {
        JsonKey(writer, "charts");
        WriteChartsJson(writer, chart, retrograde, result.settings.drekkana);
    }
    writer.EndObject();
}

// One JSON document written by `write` into this thread's reused buffer, then appended to `out`
// with `end` after it.
template <typename Write>
void AppendJson(QByteArray& out, const Write& write, std::string_view end) {
    static thread_local rapidjson::StringBuffer buffer;
    static thread_local JsonWriter writer;
    buffer.Clear();
    writer.Reset(buffer);
    write(writer);
    out.append(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
    out.append(end.data(), static_cast<qsizetype>(end.size()));
}

// A CSV row written into this thread's reused buffer, then appended to `out`.
template <typename Write>
void AppendCsv(QByteArray& out, const Write& write) {
    static thread_local std::string text;
    text.clear();
    write(text);
    out.append(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList BodyRow(const ChartResult& result, int body) {
    const DecanateResult& decanate = DecanateOf(result.chart.positionText[body]);
    return {QString::fromLatin1(bodyNames[body]),
            Text(result.chart.positionText[body]),
            Text(decanate.decanateName),
            Text(decanate.decanateSign),
            Text(decanate.rulingPlanet),
            Text(decanate.rulingElement),
            Text(decanate.constellationName),
            Text(decanate.keyword),
            Text(decanate.treeZodiac)};
}

} // namespace

std::optional<QString> ComputeChartInto(ChartResult& result, const ChartInput& input,
                                        const UsedInput* used,
                                        const CalculationSettings& settings) {
    result.input = input;
    if (used != nullptr) {
        result.used = *used;
    } else {
        result.used = UsedInput{};
        result.used.name = CommandLineChartName();
        result.used.daylightSaving = input.daylightSaving;
        if (input.timeZonePosition >= 0 && input.timeZonePosition < timeZoneCount) {
            result.used.offsetSeconds =
                ZoneRowOffsetSeconds(input.timeZonePosition, input.daylightSaving);
        }
    }
    result.chart = ChartState{};
    LoadChartInput(result.chart, input);
    result.settings = settings;
    if (auto problem = CalculateChartWith(result.chart, settings, &result.longitudes,
                                          result.ayanamsaDegrees)) {
        return QString::fromStdString(*problem);
    }
    return std::nullopt;
}

ChartResult ComputeChart(const ChartInput& input, const UsedInput* used) {
    ChartResult result;
    ComputeChartInto(result, input, used);
    return result;
}

QString CalculationLine(const ChartResult& result) {
    return QString::fromStdString(SettingsSummary(result.settings, result.ayanamsaDegrees));
}

QString FormatUsedInput(const ChartResult& result) {
    const UsedInput& used = result.used;
    const ChartInput& input = result.input;
    const QString zone = used.zoneSource == ZoneSource::List
                             ? QString::fromLatin1(timeZoneTable[input.timeZonePosition].listText)
                             : QString::fromUtf8(used.zoneId);
    const QString place = used.place ? PlaceWords(*used.place) : QStringLiteral("none");
    return QStringLiteral("Used: %1; %2 %3; %4 %5; zone %6 (%7), offset %8; daylight saving: %9; "
                          "place: %10\n")
        .arg(QString::fromUtf8(used.name), Text(DateText(input)), Text(TimeText(input)),
             Text(LongitudeText(input)), Text(LatitudeText(input)), zone,
             QLatin1StringView(SourceName(used.zoneSource)),
             Text(UtcOffsetText(used.offsetSeconds)),
             used.daylightSaving ? QStringLiteral("yes") : QStringLiteral("no"))
        .arg(place);
}

QString FormatChartTable(const ChartResult& result) {
    const QStringList header = {QStringLiteral("Body"),          QStringLiteral("Position"),
                                QStringLiteral("Decanate"),      QStringLiteral("Decanate sign"),
                                QStringLiteral("Ruling planet"), QStringLiteral("Ruling element"),
                                QStringLiteral("Constellation"), QStringLiteral("Keyword"),
                                QStringLiteral("Tree zodiac")};
    QList<QStringList> rows;
    for (int body = 0; body < displayedBodyCount; ++body) {
        rows.append(BodyRow(result, body));
    }

    QList<qsizetype> widths;
    for (const QString& title : header) {
        widths.append(title.size());
    }
    for (const QStringList& row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    QStringList rule;
    for (const qsizetype width : widths) {
        rule.append(QString(width, u'-'));
    }

    QString table = FormatUsedInput(result) + QStringLiteral("Calculation: ") +
                    CalculationLine(result) + QStringLiteral("\n\n") + TableLine(header, widths) +
                    TableLine(rule, widths);
    for (const QStringList& row : rows) {
        table += TableLine(row, widths);
    }

    // Ascendant, Midheaven, Rahu and Ketu: positions only, they have no decanate.
    table += u'\n';
    qsizetype nameWidth = 0;
    for (int body = displayedBodyCount; body < positionCount; ++body) {
        nameWidth = std::max(nameWidth, qsizetype(qstrlen(bodyNames[body])));
    }
    for (int body = displayedBodyCount; body < positionCount; ++body) {
        table +=
            TableLine({QString::fromLatin1(bodyNames[body]), Text(result.chart.positionText[body])},
                      {nameWidth, 0});
    }
    return table;
}

QByteArray FormatChartJson(const ChartResult& result) {
    rapidjson::StringBuffer buffer;
    IndentedJsonWriter writer(buffer);
    WriteChartJson(writer, result, 0, true);
    QByteArray json(buffer.GetString(), static_cast<qsizetype>(buffer.GetSize()));
    json += '\n';
    return json;
}

void AppendChartJsonLine(QByteArray& out, const ChartResult& result, qint64 line, bool withCharts) {
    AppendJson(
        out, [&](JsonWriter& writer) { WriteChartJson(writer, result, line, withCharts); }, "\n");
}

void AppendErrorJsonLine(QByteArray& out, qint64 line, const QString& message) {
    AppendJson(
        out,
        [&](JsonWriter& writer) {
            writer.StartObject();
            JsonKey(writer, "line");
            writer.Int64(line);
            JsonKey(writer, "error");
            JsonString(writer, View(message.toUtf8()));
            writer.EndObject();
        },
        "\n");
}

QByteArray ChartCsvHeader() {
    QByteArray header = "line,error,name,date,time,longitude,latitude,zoneSource,zone,offset,"
                        "daylightSaving,place,state,country";
    for (int body = 0; body < positionCount; ++body) {
        const QByteArray name = QByteArray(bodyNames[body]).toLower();
        header += ',' + name + "Position," + name + "Longitude";
        if (body < displayedBodyCount) {
            for (const char* field : {"Decanate", "DecanateSign", "RulingPlanet", "RulingElement",
                                      "Constellation", "Keyword", "TreeZodiac"}) {
                header += ',' + name + field;
            }
        }
    }
    return header + '\n';
}

namespace {

// A body's columns: a comma and its position, a comma and its longitude, then for Sun to Pluto
// the seven decanate fields.
void AppendBodyCsv(std::string& out, const ChartResult& result, int body) {
    const auto index = static_cast<std::size_t>(body);
    const std::string& position = result.chart.positionText[index];
    out += ',';
    AppendCsvField(out, position);
    fmt::format_to(std::back_inserter(out), ",{}", result.longitudes[index]);
    if (body < displayedBodyCount) {
        for (const auto& field : DecanateFields(DecanateOf(position))) {
            out += ',';
            AppendCsvField(out, *field.second);
        }
    }
}

void AppendChartCsvRowText(std::string& out, const ChartResult& result, qint64 line) {
    const ChartInput& input = result.input;
    const UsedInput& used = result.used;
    fmt::format_to(std::back_inserter(out), "{},,", line);
    AppendCsvField(out, View(used.name));
    fmt::format_to(std::back_inserter(out), ",{},{},{},{},{},", DateText(input), TimeText(input),
                   LongitudeText(input), LatitudeText(input), SourceName(used.zoneSource));
    if (used.zoneSource == ZoneSource::List) {
        AppendCsvField(out, timeZoneTable[input.timeZonePosition].listText);
    } else {
        AppendCsvField(out, View(used.zoneId));
    }
    fmt::format_to(std::back_inserter(out), ",{},{},", UtcOffsetText(used.offsetSeconds),
                   used.daylightSaving ? 1 : 0);
    if (used.place) {
        AppendCsvField(out, View(used.place->name.toUtf8()));
        out += ',';
        AppendCsvField(out, View(used.place->state.toUtf8()));
        out += ',';
        AppendCsvField(out, View(used.place->country.toUtf8()));
    } else {
        out += ",,"; // place, state and country left empty
    }
    for (int body = 0; body < positionCount; ++body) {
        AppendBodyCsv(out, result, body);
    }
    out += '\n';
}

} // namespace

void AppendChartCsvRow(QByteArray& out, const ChartResult& result, qint64 line) {
    AppendCsv(out, [&](std::string& text) { AppendChartCsvRowText(text, result, line); });
}

void AppendErrorCsvRow(QByteArray& out, qint64 line, const QString& message) {
    // One empty field for every column after `error`: the header's commas less the one used.
    static const qsizetype emptyColumns = ChartCsvHeader().count(',') - 1;
    AppendCsv(out, [&](std::string& text) {
        fmt::format_to(std::back_inserter(text), "{},", line);
        AppendCsvField(text, View(message.toUtf8()));
        text.append(static_cast<std::size_t>(emptyColumns), ',');
        text += '\n';
    });
}

QString FormatZoneList() {
    QString list;
    for (int position = 0; position < timeZoneCount; ++position) {
        list += QStringLiteral("%1  %2\n")
                    .arg(position, 2)
                    .arg(QString::fromLatin1(timeZoneTable[position].listText));
    }
    return list;
}
