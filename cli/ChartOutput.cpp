#include "cli/ChartOutput.h"

#include "astro/ChartCalculation.h"
#include "astro/PositionText.h"
#include "chart/TimeZones.h"
#include "places/BirthTime.h"

#include <QJsonDocument>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// --- Writing JSON and CSV straight into UTF-8 bytes ------------------------------------------
// A batch writes a million charts; these appenders avoid building a document per chart.

// Whether any byte of an 8-byte word needs a JSON escape: a control character below 0x20, a
// quote or a backslash. Exact for the word as a whole (bit tricks from "Bit Twiddling Hacks",
// Sean Eron Anderson, Stanford: "Determine if a word has a zero byte" and "... has a byte less
// than n").
constexpr std::uint64_t everyByte = 0x0101010101010101ULL;
constexpr std::uint64_t highBits = 0x8080808080808080ULL;

bool WordNeedsEscape(std::uint64_t word) {
    const auto hasZero = [](std::uint64_t value) {
        return (value - everyByte) & ~value & highBits;
    };
    const std::uint64_t below20 = (word - everyByte * 0x20) & ~word & highBits;
    return (below20 | hasZero(word ^ (everyByte * '"')) | hasZero(word ^ (everyByte * '\\'))) != 0;
}

bool ByteNeedsEscape(char character) {
    return character == '"' || character == '\\' || static_cast<unsigned char>(character) < 0x20;
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    // Runs of characters that need no escape go in whole; the scan looks at 8 bytes a step.
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t runStart = 0;
    std::size_t at = 0;
    while (at < size) {
        if (at + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + at, sizeof word);
            if (!WordNeedsEscape(word)) {
                at += 8;
                continue;
            }
        }
        const std::size_t stop = std::min(size, at + 8);
        while (at < stop && !ByteNeedsEscape(data[at])) {
            ++at;
        }
        if (at == stop) {
            continue;
        }
        out.append(data + runStart, at - runStart);
        const char character = data[at];
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += '\\';
            out += character;
        }
        ++at;
        runStart = at;
    }
    out.append(data + runStart, size - runStart);
    out += '"';
}

void AppendJsonString(std::string& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    AppendJsonString(out, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

// "key": in one piece; the key's length is known from the literal.
template <std::size_t length>
void AppendKey(std::string& out, const char (&key)[length]) {
    char quoted[length + 2];
    quoted[0] = '"';
    std::memcpy(quoted + 1, key, length - 1);
    quoted[length] = '"';
    quoted[length + 1] = ':';
    out.append(quoted, length + 2);
}

void AppendKeyText(std::string& out, const char* key) {
    out += '"';
    out += key;
    out += "\":";
}

// The shortest text that reads back as the same double.
void AppendNumber(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendNumber(std::string& out, qint64 value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// A CSV field: quoted when it holds a comma, quote or line break.
void AppendCsvField(std::string& out, std::string_view text) {
    const bool plain = std::none_of(text.begin(), text.end(), [](char character) {
        return character == ',' || character == '"' || character == '\r' || character == '\n';
    });
    if (plain) {
        out.append(text.data(), static_cast<qsizetype>(text.size()));
        return;
    }
    out += '"';
    for (const char character : text) {
        if (character == '"') {
            out += '"';
        }
        out += character;
    }
    out += '"';
}

void AppendCsvField(std::string& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    AppendCsvField(out, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

// The numbers of a position text in order (degrees, minutes and, in the long form, seconds)
// and its sign; nothing when the text is not a position.
struct PositionParts {
    int numbers[3] = {0, 0, 0};
    int sign = -1;
};

bool IsDigitCharacter(char character) {
    return character >= '0' && character <= '9';
}

// The display form "07 Ari 30" read at its fixed columns; nothing for any other text.
std::optional<PositionParts> ReadDisplayForm(const std::string& text) {
    if (text.size() != 9 || text[2] != ' ' || text[6] != ' ' || !IsDigitCharacter(text[0]) ||
        !IsDigitCharacter(text[1]) || !IsDigitCharacter(text[7]) || !IsDigitCharacter(text[8])) {
        return std::nullopt;
    }
    PositionParts parts;
    parts.numbers[0] = (text[0] - '0') * 10 + (text[1] - '0');
    parts.numbers[1] = (text[7] - '0') * 10 + (text[8] - '0');
    parts.sign = SignOfAbbreviation(text.data() + 3);
    if (parts.sign < 0 || parts.numbers[0] >= 30 || parts.numbers[1] >= 60) {
        return std::nullopt;
    }
    return parts;
}

std::optional<PositionParts> ReadPositionParts(const std::string& text) {
    if (const std::optional<PositionParts> display = ReadDisplayForm(text)) {
        return display;
    }
    PositionParts parts;
    int numberCount = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const char character = text[at];
        if (IsDigitCharacter(character)) {
            if (numberCount == 3) {
                return std::nullopt;
            }
            int value = 0;
            while (at < text.size() && IsDigitCharacter(text[at]) && value < 1000) {
                value = value * 10 + (text[at] - '0');
                ++at;
            }
            parts.numbers[numberCount++] = value;
        } else if (parts.sign < 0 && character >= 'A' && character <= 'Z' &&
                   at + 3 <= text.size()) {
            parts.sign = SignOfAbbreviation(text.data() + at);
            at += 3;
        } else {
            ++at;
        }
    }
    if (parts.sign < 0 || numberCount < 2 || parts.numbers[0] >= 30 || parts.numbers[1] >= 60 ||
        parts.numbers[2] >= 60) {
        return std::nullopt;
    }
    return parts;
}

double LongitudeOfParts(const PositionParts& parts) {
    return parts.sign * 30.0 + parts.numbers[0] + parts.numbers[1] / 60.0 +
           parts.numbers[2] / 3600.0;
}

// A position's longitude as AppendNumber writes it, 0 for a text that is no position. A whole
// minute has one of 21,600 values; their texts are made once and kept.
void AppendLongitudeOf(std::string& out, const std::string& text) {
    const std::optional<PositionParts> parts = ReadPositionParts(text);
    if (!parts) {
        AppendNumber(out, 0.0);
        return;
    }
    if (parts->numbers[2] != 0) {
        AppendNumber(out, LongitudeOfParts(*parts));
        return;
    }
    constexpr std::size_t minutesInCircle = 360 * 60;
    static thread_local std::vector<std::string> wholeMinuteTexts(minutesInCircle);
    std::string& known = wholeMinuteTexts[static_cast<std::size_t>(
        (parts->sign * 30 + parts->numbers[0]) * 60 + parts->numbers[1])];
    if (known.empty()) {
        AppendNumber(known, LongitudeOfParts(*parts));
    }
    out += known;
}

// "+5:30", "-4:00", "+5:21:10": the text of FormatUtcOffset, made without a QString.
std::string OffsetText(int offsetSeconds) {
    const int magnitude = std::abs(offsetSeconds);
    std::string text;
    text += offsetSeconds < 0 ? '-' : '+';
    AppendNumber(text, qint64(magnitude / 3600));
    const auto appendTwoDigits = [&text](int value) {
        text += ':';
        text += static_cast<char>('0' + value / 10);
        text += static_cast<char>('0' + value % 10);
    };
    appendTwoDigits(magnitude / 60 % 60);
    if (magnitude % 60 != 0) {
        appendTwoDigits(magnitude % 60);
    }
    return text;
}

// The input as the options take it, in ASCII: "1990-08-15", "10:30", "077:13E", "28:39N".
// `digits` places of a number that is not negative, with zeros in front.
void AppendDigits(std::string& text, int value, int digits) {
    char buffer[12];
    for (int place = digits - 1; place >= 0; --place) {
        buffer[place] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(buffer, static_cast<std::size_t>(digits));
}

std::string DateText(const ChartInput& input) {
    std::string text;
    AppendDigits(text, input.year % 10000, 4);
    text += '-';
    AppendDigits(text, (input.monthPosition + 1) % 100, 2);
    text += '-';
    AppendDigits(text, input.day % 100, 2);
    return text;
}

std::string TimeText(const ChartInput& input) {
    std::string text;
    AppendDigits(text, input.hour % 100, 2);
    text += ':';
    AppendDigits(text, input.minute % 100, 2);
    return text;
}

// Degrees with `degreeDigits` places, a colon, two places of minutes, then the hemisphere.
std::string CoordinateText(int degrees, int degreeDigits, int minutes, char hemisphere) {
    std::string text;
    AppendDigits(text, degrees % (degreeDigits == 3 ? 1000 : 100), degreeDigits);
    text += ':';
    AppendDigits(text, minutes % 100, 2);
    text += hemisphere;
    return text;
}

std::string LongitudeText(const ChartInput& input) {
    return CoordinateText(input.longitudeDegrees, 3, input.longitudeMinutes,
                          input.east ? 'E' : 'W');
}

std::string LatitudeText(const ChartInput& input) {
    return CoordinateText(input.latitudeDegrees, 2, input.latitudeMinutes, input.south ? 'S' : 'N');
}

void AppendJsonString(std::string& out, const std::string& ascii) {
    AppendJsonString(out, std::string_view(ascii));
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

// The text that gives a body's longitude most exactly: the long forms that the chart keeps for
// the Moon, the Ascendant and the Midheaven (to the second), the display form for the others
// (to the minute).
const std::string& FinestPositionText(const ChartState& chart, int body) {
    switch (body) {
    case 1:
        return chart.moonPositionText;
    case 10:
        return chart.ascendantText;
    case 11:
        return chart.midheavenText;
    default:
        return chart.positionText[static_cast<std::size_t>(body)];
    }
}

void AppendInputJson(std::string& out, const ChartResult& result) {
    const ChartInput& input = result.input;
    const UsedInput& used = result.used;
    out += '{';
    AppendKey(out, "name");
    AppendJsonString(out, std::string_view(used.name.constData(), used.name.size()));
    out += ',';
    AppendKey(out, "date");
    AppendJsonString(out, DateText(input));
    out += ',';
    AppendKey(out, "time");
    AppendJsonString(out, TimeText(input));
    out += ',';
    AppendKey(out, "longitude");
    AppendJsonString(out, LongitudeText(input));
    out += ',';
    AppendKey(out, "latitude");
    AppendJsonString(out, LatitudeText(input));
    out += ',';
    AppendKey(out, "zone");
    out += '{';
    AppendKey(out, "source");
    AppendJsonString(out, std::string_view(SourceName(used.zoneSource)));
    out += ',';
    if (used.zoneSource == ZoneSource::List) {
        AppendKey(out, "position");
        AppendNumber(out, qint64(input.timeZonePosition));
        out += ',';
        AppendKey(out, "text");
        AppendJsonString(out, std::string_view(timeZoneTable[input.timeZonePosition].listText));
    } else {
        AppendKey(out, "id");
        AppendJsonString(out, std::string_view(used.zoneId.constData()));
        out += ',';
        AppendKey(out, "databaseOffset");
        AppendJsonString(out, OffsetText(used.databaseOffsetSeconds));
    }
    out += "},";
    AppendKey(out, "offset");
    AppendJsonString(out, OffsetText(used.offsetSeconds));
    out += ',';
    AppendKey(out, "daylightSaving");
    out += used.daylightSaving ? "true" : "false";
    out += ',';
    AppendKey(out, "place");
    if (!used.place) {
        out += "null";
    } else {
        const Place& place = *used.place;
        out += '{';
        AppendKey(out, "name");
        AppendJsonString(out, place.name);
        out += ',';
        AppendKey(out, "state");
        AppendJsonString(out, place.state);
        out += ',';
        AppendKey(out, "country");
        AppendJsonString(out, place.country);
        out += ',';
        AppendKey(out, "countryCode");
        AppendJsonString(out, place.countryCode);
        out += ',';
        AppendKey(out, "zone");
        AppendJsonString(out, std::string_view(place.zoneId.constData()));
        out += ',';
        AppendKey(out, "latitudeDegrees");
        AppendNumber(out, place.latitudeDegrees);
        out += ',';
        AppendKey(out, "longitudeDegrees");
        AppendNumber(out, place.longitudeDegrees);
        out += ',';
        AppendKey(out, "population");
        AppendNumber(out, place.population);
        out += '}';
    }
    out += '}';
}

void AppendDecanateFields(std::string& out, const DecanateResult& decanate, bool description) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"decanateName", &decanate.decanateName},
        {"decanateSign", &decanate.decanateSign},
        {"rulingPlanet", &decanate.rulingPlanet},
        {"rulingElement", &decanate.rulingElement},
        {"constellation", &decanate.constellationName},
        {"keyword", &decanate.keyword},
        {"treeZodiac", &decanate.treeZodiac}};
    for (const auto& [key, value] : fields) {
        out += ',';
        AppendKeyText(out, key);
        AppendJsonString(out, *value);
    }
    if (description) {
        out += ',';
        AppendKey(out, "description");
        AppendJsonString(out, decanate.description);
    }
}

// The decanate fields of a body as the writers give them.
struct DecanateTexts {
    DecanateResult decanate;
    std::string bodyJson; // in `bodies`: without the description
    std::string fullJson; // in `decanates`: with it
    std::string csv;      // the seven CSV fields, each after a comma
};

void AppendDecanateCsvFields(std::string& out, const DecanateResult& decanate) {
    for (const std::string* field :
         {&decanate.decanateName, &decanate.decanateSign, &decanate.rulingPlanet,
          &decanate.rulingElement, &decanate.constellationName, &decanate.keyword,
          &decanate.treeZodiac}) {
        out += ',';
        AppendCsvField(out, *field);
    }
}

void WriteDecanateTexts(DecanateTexts& texts, const DecanateResult& decanate) {
    texts.decanate = decanate;
    texts.bodyJson.clear();
    texts.fullJson.clear();
    texts.csv.clear();
    AppendDecanateFields(texts.bodyJson, decanate, false);
    AppendDecanateFields(texts.fullJson, decanate, true);
    AppendDecanateCsvFields(texts.csv, decanate);
}

// Made once for each of the 36 decanates, and once with every field empty for a text that names
// no sign (never made by the calculation).
const DecanateTexts& TextsOf(const std::string& positionText) {
    static const std::vector<DecanateTexts> table = [] {
        const std::size_t decanateCount = decanateNames.size();
        std::vector<DecanateTexts> texts(decanateCount * signCount + 1);
        for (std::size_t decanate = 0; decanate < decanateCount; ++decanate) {
            for (std::size_t sign = 0; sign < signCount; ++sign) {
                DecanateResult result;
                AssignDecanate(result, {decanate, sign});
                WriteDecanateTexts(texts[decanate * signCount + sign], result);
            }
        }
        WriteDecanateTexts(texts.back(), DecanateResult{});
        return texts;
    }();
    const std::optional<DecanatePlace> place = FindDecanate(positionText);
    return place ? table[place->decanate * signCount + place->sign] : table.back();
}

QStringList BodyRow(const ChartResult& result, int body) {
    const DecanateResult& decanate = TextsOf(result.chart.positionText[body]).decanate;
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

void AppendChartJsonObject(std::string& out, const ChartResult& result, qint64 line) {
    const ChartState& chart = result.chart;
    out += '{';
    if (line > 0) {
        AppendKey(out, "line");
        AppendNumber(out, line);
        out += ',';
    }
    AppendKey(out, "input");
    AppendInputJson(out, result);
    out += ',';
    AppendKey(out, "bodies");
    out += '[';
    for (int body = 0; body < positionCount; ++body) {
        if (body > 0) {
            out += ',';
        }
        out += '{';
        AppendKey(out, "name");
        AppendJsonString(out, std::string_view(bodyNames[body]));
        out += ',';
        AppendKey(out, "position");
        AppendJsonString(out, chart.positionText[static_cast<std::size_t>(body)]);
        out += ',';
        AppendKey(out, "longitudeDegrees");
        AppendLongitudeOf(out, FinestPositionText(chart, body));
        if (body < displayedBodyCount) {
            out += TextsOf(chart.positionText[static_cast<std::size_t>(body)]).bodyJson;
        }
        out += '}';
    }
    out += "],";
    AppendKey(out, "positionText");
    out += '[';
    for (std::size_t body = 0; body < chart.positionText.size(); ++body) {
        if (body > 0) {
            out += ',';
        }
        AppendJsonString(out, chart.positionText[body]);
    }
    out += "],";
    AppendKey(out, "ascendantText");
    AppendJsonString(out, chart.ascendantText);
    out += ',';
    AppendKey(out, "midheavenText");
    AppendJsonString(out, chart.midheavenText);
    out += ',';
    AppendKey(out, "moonPositionText");
    AppendJsonString(out, chart.moonPositionText);
    out += ',';
    AppendKey(out, "chartSiderealCorrection");
    AppendNumber(out, chart.chartSiderealCorrection);
    out += ',';
    AppendKey(out, "zoneCorrectionHours");
    AppendNumber(out, qint64(chart.zoneCorrectionHours));
    out += ',';
    AppendKey(out, "zoneCorrectionMinutes");
    AppendNumber(out, qint64(chart.zoneCorrectionMinutes));
    out += ',';
    AppendKey(out, "decanates");
    out += '[';
    for (int body = 0; body < displayedBodyCount; ++body) {
        if (body > 0) {
            out += ',';
        }
        out += '{';
        AppendKey(out, "body");
        AppendJsonString(out, std::string_view(bodyNames[body]));
        out += TextsOf(chart.positionText[static_cast<std::size_t>(body)]).fullJson;
        out += '}';
    }
    out += "]}";
}

// The appenders build each line in a reused string, then copy it out in one piece.
std::string& LineBuffer() {
    static thread_local std::string buffer;
    buffer.clear();
    return buffer;
}

void Flush(QByteArray& out, const std::string& text) {
    out.append(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void ComputeChartInto(ChartResult& result, const ChartInput& input, const UsedInput* used) {
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
    CalculateChart(result.chart);
}

QByteArray CommandLineChartName() {
    return QByteArray::fromRawData(commandLineChartName.data(), commandLineChartName.size());
}

ChartResult ComputeChart(const ChartInput& input, const UsedInput* used) {
    ChartResult result;
    ComputeChartInto(result, input, used);
    return result;
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

    QString table = TableLine(header, widths) + TableLine(rule, widths);
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
    std::string compact;
    AppendChartJsonObject(compact, result, 0);
    return QJsonDocument::fromJson(QByteArray::fromStdString(compact))
        .toJson(QJsonDocument::Indented);
}

void AppendChartJsonLine(QByteArray& out, const ChartResult& result, qint64 line) {
    std::string& text = LineBuffer();
    AppendChartJsonObject(text, result, line);
    text += '\n';
    Flush(out, text);
}

void AppendErrorJsonLine(QByteArray& out, qint64 line, const QString& message) {
    std::string& text = LineBuffer();
    text += '{';
    AppendKey(text, "line");
    AppendNumber(text, line);
    text += ',';
    AppendKey(text, "error");
    AppendJsonString(text, message);
    text += "}\n";
    Flush(out, text);
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
void AppendBodyCsvColumns(std::string& out, const ChartState& chart, int body) {
    const std::string& position = chart.positionText[static_cast<std::size_t>(body)];
    out += ',';
    AppendCsvField(out, position);
    out += ',';
    AppendLongitudeOf(out, FinestPositionText(chart, body));
    if (body < displayedBodyCount) {
        out += TextsOf(position).csv;
    }
}

// The same columns. Where the longitude comes from the display form, they depend on that text
// alone, which has one of 21,600 values (whole minutes of the circle): each set of columns is
// written once, with and without the decanate fields, and kept.
void AppendBodyCsv(std::string& out, const ChartState& chart, int body) {
    const std::string& position = chart.positionText[static_cast<std::size_t>(body)];
    const std::optional<PositionParts> parts =
        &FinestPositionText(chart, body) == &position ? ReadDisplayForm(position) : std::nullopt;
    if (!parts) {
        AppendBodyCsvColumns(out, chart, body);
        return;
    }
    constexpr std::size_t minutesInCircle = 360 * 60;
    static thread_local std::vector<std::string> known(2 * minutesInCircle);
    const auto minuteOfCircle =
        static_cast<std::size_t>((parts->sign * 30 + parts->numbers[0]) * 60 + parts->numbers[1]);
    std::string& columns = known[2 * minuteOfCircle + (body < displayedBodyCount ? 1 : 0)];
    if (columns.empty()) {
        AppendBodyCsvColumns(columns, chart, body);
    }
    out += columns;
}

void AppendChartCsvRowText(std::string& out, const ChartResult& result, qint64 line) {
    const ChartInput& input = result.input;
    const UsedInput& used = result.used;
    AppendNumber(out, line);
    out += ",,";
    AppendCsvField(out, std::string_view(used.name.constData(), used.name.size()));
    out += ',';
    out += DateText(input);
    out += ',';
    out += TimeText(input);
    out += ',';
    out += LongitudeText(input);
    out += ',';
    out += LatitudeText(input);
    out += ',';
    out += SourceName(used.zoneSource);
    out += ',';
    if (used.zoneSource == ZoneSource::List) {
        AppendCsvField(out, std::string_view(timeZoneTable[input.timeZonePosition].listText));
    } else {
        AppendCsvField(out, std::string_view(used.zoneId.constData()));
    }
    out += ',';
    out += OffsetText(used.offsetSeconds);
    out += used.daylightSaving ? ",1," : ",0,";
    if (used.place) {
        AppendCsvField(out, used.place->name);
        out += ',';
        AppendCsvField(out, used.place->state);
        out += ',';
        AppendCsvField(out, used.place->country);
    } else {
        out += ",,"; // place, state and country left empty
    }
    for (int body = 0; body < positionCount; ++body) {
        AppendBodyCsv(out, result.chart, body);
    }
    out += '\n';
}

} // namespace

void AppendChartCsvRow(QByteArray& out, const ChartResult& result, qint64 line) {
    std::string& text = LineBuffer();
    AppendChartCsvRowText(text, result, line);
    Flush(out, text);
}

void AppendErrorCsvRow(QByteArray& out, qint64 line, const QString& message) {
    std::string& text = LineBuffer();
    AppendNumber(text, line);
    text += ',';
    AppendCsvField(text, message);
    // One empty field for every column after `error`: the header's commas less the two used.
    static const qsizetype emptyColumns = ChartCsvHeader().count(',') - 1;
    text.append(static_cast<std::size_t>(emptyColumns), ',');
    text += '\n';
    Flush(out, text);
}

std::optional<double> LongitudeOfPositionText(const std::string& text) {
    const std::optional<PositionParts> parts = ReadPositionParts(text);
    if (!parts) {
        return std::nullopt;
    }
    return LongitudeOfParts(*parts);
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
