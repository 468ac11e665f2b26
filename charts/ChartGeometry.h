#pragma once

#include "charts/ChartCells.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The plain geometry of the two chart layouts in unit coordinates: the chart is the square
// [0, 1] x [0, 1], x to the right and y downwards (as on a screen or page). Every drawing of a
// chart scales these figures to its square; no output lays a chart out by itself.

enum class ChartStyle {
    SouthIndian, // 4 x 4 square, fixed sign cells, Pisces top left, clockwise
    NorthIndian, // diamond, fixed houses, house 1 top centre, counter-clockwise
};

struct UnitPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const UnitPoint&) const = default;
};

// An axis-aligned rectangle; `left` + `width` is its right side, `top` + `height` its bottom.
struct UnitRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// One sign's cell in a layout.
struct ChartCellGeometry {
    int sign = 0;                         // 0 Aries ... 11 Pisces
    std::optional<int> house;             // North Indian: 1..12; South Indian: none
    std::vector<UnitPoint> polygon;       // the cell's outline, convex, corners in drawing order
    UnitRect textBox;                     // inside the polygon: where the cell's labels go
    std::optional<UnitRect> numberBox;    // North Indian: inside the polygon, where the sign's
                                          // number (1 Aries ... 12 Pisces) goes
    std::optional<UnitRect> signLabelBox; // South Indian: the top right corner, above the text
                                          // box, where the sign's short name (Ar ... Pi) goes
};

// A straight line marking the ascendant's cell (South Indian: across the cell's top left corner).
struct UnitLine {
    UnitPoint from;
    UnitPoint to;
};

struct ChartGeometry {
    ChartStyle style = ChartStyle::SouthIndian;
    std::array<ChartCellGeometry, 12> cells; // by sign, 0 Aries ... 11 Pisces
    std::vector<UnitLine> lines;             // every line of the drawing, the frame included
    std::optional<UnitLine> ascendantMark;   // South Indian only, in the ascendant's cell
    std::optional<UnitRect> centreBox;       // South Indian: the open centre, for the chart's
                                             // title and the birth
};

// The layout of a chart for a style and the ascendant's sign (0 Aries ... 11 Pisces; only the
// North Indian layout depends on it, and without an ascendant it starts house 1 at Aries).
ChartGeometry LayOutChart(ChartStyle style, std::optional<int> ascendantSign);

// North Indian: the sign (0..11) in house `house` (1..12) when the ascendant stands in
// `ascendantSign`: house 1 holds the ascendant's sign, each following house the next sign.
int NorthIndianHouseSign(int house, int ascendantSign);

// Whether a point lies inside (or on) a convex polygon given corner by corner.
bool PolygonContains(const std::vector<UnitPoint>& polygon, UnitPoint point);

// The signs in the order a reader takes the cells: from Aries in the South Indian layout, from
// the first house in the North Indian one.
std::array<int, 12> ReadingOrder(ChartStyle style, std::optional<int> ascendantSign);

// The text a screen reader gives for a chart: its occupied cells in reading order, each as the
// sign's name, a colon and the entries' full names with their degrees, the cells ended by full
// stops ("Aries: Mars 12°. Taurus: Moon 18°, Sun 3°."); in the North Indian layout each cell
// starts with its house ("House 1, Leo: Ascendant 5°."). "No bodies." for an empty chart.
std::string ChartDescription(const ChartContents& contents, ChartStyle style);

// The cells as plain-text lines for the clipboard, in sign order from Aries, one line per sign:
// "Aries: Asc 12°, Ma 12°", or "Gemini: -" for an empty cell.
std::vector<std::string> ChartTextLines(const ChartContents& contents);

// A chart's title line from its person, date and place, the given parts joined with ", ".
std::string ChartTitle(const std::string& person, const std::string& date,
                       const std::string& place);

// Month names in list order, as the input window offers them and the caption writes them.
inline constexpr std::array<const char*, 12> monthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The one caption of a chart's drawings, in the window and in every export: the name, the date
// with the month by name and the time, the place when known, the coordinates latitude first, and
// the zone's offset from universal time with daylight saving included:
// "NAME, 15 August 1990 10:30, Delhi, 28°39′N 77°13′E, +5:30". Empty parts are left out.
std::string BirthCaption(const ChartState& chart, const std::string& name,
                         const std::string& place);
