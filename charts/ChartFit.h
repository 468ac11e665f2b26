#pragma once

#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Which text size a chart's labels take and how each cell sets them: one size for the whole
// chart, the largest at which every cell's labels fit.

// Room for a cell's labels, in device units: a rectangle, or a shaped cell.
struct CellRoom {
    double width = 0.0;
    double height = 0.0;
    // A shaped cell (North Indian): the convex outline the labels stay inside, in the chart
    // square's device units (UnitPoint and UnitRect scaled by the side), and the box of the
    // sign's number they keep clear of. The labels go in rows across the outline, each row as
    // wide as the outline is at that height. Empty: the rectangle above.
    std::vector<UnitPoint> outline;
    std::optional<UnitRect> keepClear;
};

// Text measured at one of the candidate sizes (0 the largest, each next one smaller).
struct TextMeasure {
    int sizeCount = 1;
    std::function<double(const std::string& text, int size)> labelWidth; // padding included
    std::function<double(int size)> lineHeight;
    std::function<double(int size)> columnGap;
};

// How one cell sets its labels.
struct CellSetting {
    LabelDetail detail = LabelDetail::Minutes;
    int columns = 1;                // 1 or 2
    std::vector<std::string> texts; // as drawn, in cell order; the last may be "+n"
    int shown = 0;                  // entries drawn in full; the rest are counted in the "+n"
    std::vector<UnitRect> boxes;    // shaped cells: each text's box, in the outline's units
};

struct ChartFit {
    int size = 0;     // index of the candidate size every label takes
    bool fits = true; // false: even the smallest size needs "+n" or a cut label somewhere
    std::array<CellSetting, 12> cells;
};

// The room of a North Indian cell drawn in a square of `side` device units: its outline moved
// `inset` inwards from its lines, keeping clear of its number's box.
CellRoom ShapedRoom(const ChartCellGeometry& cell, double side, double inset);

// Sets the labels of `contents` in `rooms` (by sign). For each size from the largest: a cell tries
// its forms from the most detailed (degrees and minutes, then whole degrees, then the name alone
// in the D-1; the name in the D-3 and D-9), each in one column and then two (in a shaped cell: in
// the fewest rows, each holding as many labels in order as its width takes), and the size is taken
// when every cell has a form that fits. When none does, the smallest size is taken and a cell that
// still cannot fit shows the labels that have room, the last place saying "+n" for the rest.
ChartFit FitChartText(const ChartContents& contents, const std::array<CellRoom, 12>& rooms,
                      const TextMeasure& measure, const char* retrogradeMark = retrogradeSymbol);
