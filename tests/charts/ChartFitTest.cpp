#include "charts/ChartFit.h"
#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "charts/ChartGeometry.h"
#include "support/Births.h"
#include "support/CalculatedChart.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int CodePoints(const std::string& text) {
    int count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// A plain model of a proportional font: sizes from 13 px down to 9 px (about 7 pt on a 96 dpi
// screen), each character 0.6 of the size wide, lines 1.2 of it high, labels padded by a fifth of
// the size. `firstSize` drops the larger sizes, to ask whether the next larger one would do.
TextMeasure ModelFont(int firstSize = 0) {
    constexpr int largestPixels = 13;
    constexpr int smallestPixels = 9;
    const auto pixels = [firstSize](int size) {
        return static_cast<double>(largestPixels - firstSize - size);
    };
    TextMeasure measure;
    measure.sizeCount = largestPixels - smallestPixels + 1 - firstSize;
    measure.labelWidth = [pixels](const std::string& text, int size) {
        return CodePoints(text) * 0.6 * pixels(size) + 0.2 * pixels(size);
    };
    measure.lineHeight = [pixels](int size) { return 1.2 * pixels(size); };
    measure.columnGap = [pixels](int size) { return 0.2 * pixels(size); };
    return measure;
}

// The South Indian cells' text boxes; the North Indian cells' shapes, kept 1 px plus a
// hundredth of the side from their lines.
std::array<CellRoom, 12> Rooms(const ChartGeometry& geometry, double side) {
    std::array<CellRoom, 12> rooms;
    for (std::size_t sign = 0; sign < 12; ++sign) {
        const ChartCellGeometry& cell = geometry.cells[sign];
        rooms[sign] = geometry.style == ChartStyle::NorthIndian
                          ? ShapedRoom(cell, side, 1.0 + 0.01 * side)
                          : CellRoom{cell.textBox.width * side, cell.textBox.height * side, {}, {}};
    }
    return rooms;
}

bool Overlap(const UnitRect& a, const UnitRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// A shaped cell's labels: each box holds its text at the size, lies inside the cell's outline
// and clear of its number, and meets no other box; the boxes run in reading order, row by row
// from the top, left to right (catches a label over the cell's lines or its number, and bodies
// set out of the order of longitude).
void ExpectInsideShape(const CellSetting& cell, const ChartCellGeometry& geometry, double side,
                       const TextMeasure& measure, int size, const std::string& where) {
    ASSERT_EQ(cell.boxes.size(), cell.texts.size()) << where;
    const UnitRect number{geometry.numberBox->left * side, geometry.numberBox->top * side,
                          geometry.numberBox->width * side, geometry.numberBox->height * side};
    for (std::size_t i = 0; i < cell.boxes.size(); ++i) {
        const UnitRect& box = cell.boxes[i];
        const std::string what = where + " " + cell.texts[i];
        EXPECT_GE(box.width + 1e-9, measure.labelWidth(cell.texts[i], size)) << what;
        EXPECT_DOUBLE_EQ(box.height, measure.lineHeight(size)) << what;
        for (const double x : {box.left, box.left + box.width}) {
            for (const double y : {box.top, box.top + box.height}) {
                EXPECT_TRUE(PolygonContains(geometry.polygon, {x / side, y / side})) << what;
            }
        }
        EXPECT_FALSE(Overlap(box, number)) << what;
        if (i > 0) {
            const UnitRect& before = cell.boxes[i - 1];
            const bool sameRow = before.top == box.top;
            EXPECT_TRUE(sameRow ? before.left + before.width <= box.left
                                : before.top + before.height <= box.top + 1e-9)
                << what;
        }
    }
}

// Over chart sides from 180 to 600 px, in both layouts and all three charts of the crowded birth
// (North Indian cells by their shapes):
// - every body is drawn or counted in its cell's "+n" (catches a cut that loses bodies);
// - "+n" appears only at the smallest size (catches cutting while room is left);
// - the size is the largest that fits: one size larger, some cell has no form that fits
//   (catches a size smaller than needed, and sizes chosen cell by cell);
// - every drawn cell fits its room at that size, in the columns it says (catches two columns
//   that overflow, and minutes kept where only whole degrees fit);
// - a North Indian cell's labels stay inside its outline (ExpectInsideShape).
TEST(ChartFit, CrowdedChartOverSizes) {
    const ChartState chart = CalculatedChart(CrowdedDelhiBirth());
    for (const ChartKind kind : {ChartKind::Birth, ChartKind::Decanate, ChartKind::Navamsa}) {
        const ChartContents contents = ComputeChartContents(chart, kind);
        if (kind == ChartKind::Birth) {
            ASSERT_EQ(contents.cells[9].size(), 8u);
        }
        for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
            const ChartGeometry geometry = LayOutChart(style, contents.ascendantSign);
            for (int side = 180; side <= 600; side += 20) {
                const std::array<CellRoom, 12> rooms = Rooms(geometry, side);
                const TextMeasure measure = ModelFont();
                const ChartFit fit = FitChartText(contents, rooms, measure);
                const std::string where =
                    std::string(ChartCaption(kind)) +
                    (style == ChartStyle::SouthIndian ? " south " : " north ") +
                    std::to_string(side) + " px";
                for (std::size_t sign = 0; sign < 12; ++sign) {
                    const CellSetting& cell = fit.cells[sign];
                    const int count = static_cast<int>(contents.cells[sign].size());
                    int counted = cell.shown;
                    const bool cut = cell.shown < count;
                    if (cut) {
                        ASSERT_FALSE(cell.texts.empty()) << where;
                        ASSERT_EQ(cell.texts.back().front(), '+') << where;
                        counted += std::stoi(cell.texts.back().substr(1));
                        EXPECT_EQ(fit.size, measure.sizeCount - 1) << where;
                        EXPECT_FALSE(fit.fits) << where;
                    }
                    EXPECT_EQ(counted, count) << where << " sign " << sign;
                    if (style == ChartStyle::NorthIndian) {
                        ExpectInsideShape(cell, geometry.cells[sign], side, measure, fit.size,
                                          where + " sign " + std::to_string(sign));
                    } else if (fit.fits) {
                        const double line = measure.lineHeight(fit.size);
                        const int rows = (count + cell.columns - 1) / cell.columns;
                        EXPECT_LE(rows * line, rooms[sign].height + 1e-9) << where;
                        const double columnWidth =
                            cell.columns == 1
                                ? rooms[sign].width
                                : (rooms[sign].width - measure.columnGap(fit.size)) / 2;
                        for (const std::string& text : cell.texts) {
                            EXPECT_LE(measure.labelWidth(text, fit.size), columnWidth + 1e-9)
                                << where << " " << text;
                        }
                    }
                }
                if (fit.fits && fit.size > 0) {
                    const ChartFit larger = FitChartText(contents, rooms, ModelFont(fit.size - 1));
                    EXPECT_FALSE(larger.fits && larger.size == 0) << where;
                }
            }
        }
    }
}

// Hand-worked cells in a 40 x 30 room with 10-px and 5-px model text (6 and 3 px a character,
// lines 12 and 6 px): the size goes down only when neither column count fits.
TEST(ChartFit, TwoColumnsBeforeASmallerSize) {
    TextMeasure measure;
    measure.sizeCount = 2;
    const double pixels[] = {10.0, 5.0};
    measure.labelWidth = [&](const std::string& text, int size) {
        return CodePoints(text) * 0.6 * pixels[size];
    };
    measure.lineHeight = [&](int size) { return 1.2 * pixels[size]; };
    measure.columnGap = [](int) { return 0.0; };
    ChartContents contents;
    contents.kind = ChartKind::Decanate;
    std::array<CellRoom, 12> rooms;
    rooms.fill({40.0, 30.0, {}, {}});
    const auto withBodies = [&](int count) {
        contents.cells[0].clear();
        for (int body = 0; body < count; ++body) {
            ChartEntry entry;
            entry.body = body;
            contents.cells[0].push_back(entry);
        }
        return FitChartText(contents, rooms, measure);
    };
    // Two labels of 12 px: two rows of 12 px in 30 px, one column, at the larger size.
    ChartFit fit = withBodies(2);
    EXPECT_EQ(fit.size, 0);
    EXPECT_EQ(fit.cells[0].columns, 1);
    // Four: four rows would need 48 px; two rows of two 12-px labels in 20-px halves fit.
    fit = withBodies(4);
    EXPECT_EQ(fit.size, 0);
    EXPECT_EQ(fit.cells[0].columns, 2);
    // Six: three rows of 12 px are 36 px; at 5 px six rows of 6 px are 36 px too, two columns of
    // three rows fit.
    fit = withBodies(6);
    EXPECT_EQ(fit.size, 1);
    EXPECT_EQ(fit.cells[0].columns, 2);
    EXPECT_TRUE(fit.fits);
    // Thirteen at 5 px: 5 rows, 2 columns = 10 places, 9 labels and "+4".
    fit = withBodies(13);
    EXPECT_FALSE(fit.fits);
    EXPECT_EQ(fit.cells[0].shown, 9);
    EXPECT_EQ(fit.cells[0].texts.back(), "+4");
}

} // namespace
