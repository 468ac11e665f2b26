#include "charts/ChartGeometry.h"

#include "astro/PositionText.h"
#include "chart/InputTexts.h"

#include <initializer_list>

namespace {

// South Indian cells: a quarter of the chart each, (column, row) of every sign from Aries.
constexpr double southCellSide = 0.25;
constexpr std::array<std::array<int, 2>, 12> southCellOfSign = {{
    {{1, 0}},
    {{2, 0}},
    {{3, 0}},
    {{3, 1}},
    {{3, 2}},
    {{3, 3}}, // Aries .. Virgo
    {{2, 3}},
    {{1, 3}},
    {{0, 3}},
    {{0, 2}},
    {{0, 1}},
    {{0, 0}}, // Libra .. Pisces
}};
// The ascendant's mark cuts this much off the cell's top left corner; the labels stay below it.
constexpr double southMarkLength = 0.05;
constexpr double southTextInset = 0.015;
// The sign's corner label: beside the mark's band, as high as the band.
constexpr double southSignLabelWidth = 0.07;

ChartGeometry SouthIndian(std::optional<int> ascendantSign) {
    ChartGeometry geometry;
    geometry.style = ChartStyle::SouthIndian;
    for (int sign = 0; sign < signCount; ++sign) {
        const auto [column, row] = southCellOfSign[static_cast<std::size_t>(sign)];
        const double left = column * southCellSide;
        const double top = row * southCellSide;
        const double right = left + southCellSide;
        const double bottom = top + southCellSide;
        ChartCellGeometry& cell = geometry.cells[static_cast<std::size_t>(sign)];
        cell.sign = sign;
        cell.polygon = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        const double textTop = top + southMarkLength + southTextInset / 2;
        cell.textBox = {left + southTextInset, textTop, southCellSide - 2 * southTextInset,
                        bottom - southTextInset - textTop};
        cell.signLabelBox =
            UnitRect{right - southTextInset / 2 - southSignLabelWidth, top + southTextInset / 2,
                     southSignLabelWidth, southMarkLength};
    }
    geometry.centreBox =
        UnitRect{southCellSide + southTextInset, southCellSide + southTextInset,
                 2 * southCellSide - 2 * southTextInset, 2 * southCellSide - 2 * southTextInset};
    // The frame, the full grid lines, and the half lines that leave the centre open.
    geometry.lines = {
        {{0, 0}, {1, 0}},        {{1, 0}, {1, 1}},        {{1, 1}, {0, 1}},
        {{0, 1}, {0, 0}},        {{0, 0.25}, {1, 0.25}},  {{0, 0.75}, {1, 0.75}},
        {{0.25, 0}, {0.25, 1}},  {{0.75, 0}, {0.75, 1}},  {{0, 0.5}, {0.25, 0.5}},
        {{0.75, 0.5}, {1, 0.5}}, {{0.5, 0}, {0.5, 0.25}}, {{0.5, 0.75}, {0.5, 1}},
    };
    if (ascendantSign) {
        const UnitPoint corner =
            geometry.cells[static_cast<std::size_t>(*ascendantSign)].polygon[0];
        geometry.ascendantMark = UnitLine{{corner.x, corner.y + southMarkLength},
                                          {corner.x + southMarkLength, corner.y}};
    }
    return geometry;
}

// North Indian houses 1, 2 and 3; every further three are these turned a quarter
// counter-clockwise about the centre.
struct HouseShape {
    std::vector<UnitPoint> polygon;
    UnitRect textBox;
    UnitRect numberBox;
};

const std::array<HouseShape, 3>& FirstHouseShapes() {
    static const std::array<HouseShape, 3> shapes = {{
        // House 1: the top centre diamond. A box with half sides a, b fits when a + b <= 0.25.
        {{{0.5, 0}, {0.25, 0.25}, {0.5, 0.5}, {0.75, 0.25}},
         {0.36, 0.15, 0.28, 0.2},
         {0.465, 0.395, 0.07, 0.07}},
        // House 2: the triangle on the top edge's left half, apex at (0.25, 0.25).
        {{{0, 0}, {0.25, 0.25}, {0.5, 0}}, {0.14, 0.01, 0.22, 0.12}, {0.22, 0.15, 0.06, 0.06}},
        // House 3: house 2 mirrored in the diagonal, on the left edge's top half.
        {{{0, 0}, {0, 0.5}, {0.25, 0.25}}, {0.01, 0.14, 0.12, 0.22}, {0.15, 0.22, 0.06, 0.06}},
    }};
    return shapes;
}

// A quarter turn counter-clockwise on the page (y downwards) about the centre (0.5, 0.5).
UnitPoint TurnQuarter(UnitPoint point) {
    return {point.y, 1.0 - point.x};
}

UnitRect TurnQuarter(const UnitRect& rect) {
    return {rect.top, 1.0 - (rect.left + rect.width), rect.height, rect.width};
}

ChartGeometry NorthIndian(std::optional<int> ascendantSign) {
    ChartGeometry geometry;
    geometry.style = ChartStyle::NorthIndian;
    const int firstSign = ascendantSign.value_or(0);
    for (int house = 1; house <= signCount; ++house) {
        HouseShape shape = FirstHouseShapes()[static_cast<std::size_t>((house - 1) % 3)];
        for (int turn = 0; turn < (house - 1) / 3; ++turn) {
            for (UnitPoint& point : shape.polygon) {
                point = TurnQuarter(point);
            }
            shape.textBox = TurnQuarter(shape.textBox);
            shape.numberBox = TurnQuarter(shape.numberBox);
        }
        const int sign = NorthIndianHouseSign(house, firstSign);
        ChartCellGeometry& cell = geometry.cells[static_cast<std::size_t>(sign)];
        cell.sign = sign;
        cell.house = house;
        cell.polygon = std::move(shape.polygon);
        cell.textBox = shape.textBox;
        cell.numberBox = shape.numberBox;
    }
    // The frame, both diagonals and the diamond through the sides' midpoints.
    geometry.lines = {
        {{0, 0}, {1, 0}},     {{1, 0}, {1, 1}},     {{1, 1}, {0, 1}},     {{0, 1}, {0, 0}},
        {{0, 0}, {1, 1}},     {{1, 0}, {0, 1}},     {{0.5, 0}, {1, 0.5}}, {{1, 0.5}, {0.5, 1}},
        {{0.5, 1}, {0, 0.5}}, {{0, 0.5}, {0.5, 0}},
    };
    return geometry;
}

} // namespace

int NorthIndianHouseSign(int house, int ascendantSign) {
    return (ascendantSign + house - 1) % signCount;
}

ChartGeometry LayOutChart(ChartStyle style, std::optional<int> ascendantSign) {
    return style == ChartStyle::SouthIndian ? SouthIndian(ascendantSign)
                                            : NorthIndian(ascendantSign);
}

bool PolygonContains(const std::vector<UnitPoint>& polygon, UnitPoint point) {
    // Inside a convex polygon the point lies on the same side of every edge, whichever way
    // round the corners run; a small tolerance keeps points on an edge inside.
    constexpr double onEdge = 1e-9;
    bool anyLeft = false;
    bool anyRight = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const UnitPoint a = polygon[i];
        const UnitPoint b = polygon[(i + 1) % polygon.size()];
        const double cross = (b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x);
        anyLeft = anyLeft || cross > onEdge;
        anyRight = anyRight || cross < -onEdge;
    }
    return !(anyLeft && anyRight);
}

std::array<int, 12> ReadingOrder(ChartStyle style, std::optional<int> ascendantSign) {
    std::array<int, 12> order{};
    for (int i = 0; i < signCount; ++i) {
        order[static_cast<std::size_t>(i)] =
            style == ChartStyle::SouthIndian
                ? i
                : NorthIndianHouseSign(i + 1, ascendantSign.value_or(0));
    }
    return order;
}

std::string ChartDescription(const ChartContents& contents, ChartStyle style) {
    std::string text;
    const std::array<int, 12> order = ReadingOrder(style, contents.ascendantSign);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::vector<ChartEntry>& entries = contents.cells[static_cast<std::size_t>(order[i])];
        if (entries.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        if (style == ChartStyle::NorthIndian) {
            text += "House " + std::to_string(i + 1) + ", ";
        }
        text += signNames[static_cast<std::size_t>(order[i])];
        text += ": ";
        for (std::size_t k = 0; k < entries.size(); ++k) {
            text += (k == 0 ? "" : ", ") + EntrySpokenText(entries[k]);
        }
        text += '.';
    }
    return text.empty() ? "No bodies." : text;
}

std::vector<std::string> ChartTextLines(const ChartContents& contents) {
    std::vector<std::string> lines;
    for (int sign = 0; sign < signCount; ++sign) {
        const std::vector<ChartEntry>& entries = contents.cells[static_cast<std::size_t>(sign)];
        std::string line = std::string(signNames[static_cast<std::size_t>(sign)]) + ":";
        if (entries.empty()) {
            line += " -";
        }
        for (std::size_t k = 0; k < entries.size(); ++k) {
            line += (k == 0 ? " " : ", ") + EntryLabel(entries[k]);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ChartTitle(const std::string& person, const std::string& date,
                       const std::string& place) {
    std::string title;
    for (const std::string* part : {&person, &date, &place}) {
        if (part->empty()) {
            continue;
        }
        title += (title.empty() ? "" : ", ") + *part;
    }
    return title;
}

namespace {

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string Coordinate(int degrees, int minutes, char hemisphere) {
    return std::to_string(degrees) + std::string(degreeMark) + TwoDigits(minutes) + "\u2032" +
           hemisphere;
}

} // namespace

std::string BirthCaption(const ChartState& chart, const std::string& name,
                         const std::string& place) {
    std::string date;
    if (chart.birthMonth >= 1 && chart.birthMonth <= 12) {
        date = std::to_string(chart.birthDay) + ' ' +
               monthNames[static_cast<std::size_t>(chart.birthMonth - 1)] + ' ' +
               std::to_string(chart.birthYear) + ' ' + TimeText(chart.birthHour, chart.birthMinute);
    }
    const std::string coordinates = Coordinate(chart.latitudeDegrees, chart.latitudeMinutes,
                                               chart.latitudeSouthFlag != 0 ? 'S' : 'N') +
                                    ' ' +
                                    Coordinate(chart.longitudeDegrees, chart.longitudeMinutes,
                                               chart.longitudeEastFlag != 0 ? 'E' : 'W');
    // The correction is what local clock time needs to reach universal time; the offset is its
    // negative, an hour more with daylight saving.
    constexpr int secondsPerMinute = 60;
    constexpr int secondsPerHour = 3600;
    const int offsetSeconds =
        -((chart.zoneCorrectionHours * 60 + chart.zoneCorrectionMinutes) * secondsPerMinute +
          chart.zoneCorrectionSeconds) +
        (chart.daylightSaving != 0 ? secondsPerHour : 0);
    const std::string offset = UtcOffsetText(offsetSeconds);
    std::string caption;
    for (const std::string* part :
         std::initializer_list<const std::string*>{&name, &date, &place, &coordinates, &offset}) {
        if (!part->empty()) {
            caption += (caption.empty() ? "" : ", ") + *part;
        }
    }
    return caption;
}
