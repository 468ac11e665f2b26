#include "astro/ChartCalculation.h"
#include "astro/Retrograde.h"
#include "chart/ChartInput.h"
#include "chartview/ChartPainter.h"
#include "support/Births.h"
#include "support/CalculatedChart.h"
#include "support/ChartSvgCheck.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// The side of each chart in the result window on a 1280 x 720 screen, with the default font
// (DejaVu Sans 9 pt) and the window as the window manager first places it.
constexpr int windowSideAt1280By720 = 276;

// The crowded chart drawn from 180 to 600 px in DejaVu Sans 10 pt, both layouts, all three
// charts. Catches sizes chosen cell by cell, a body lost from a cut cell, and a label cut with
// "…" or "+n" while a smaller size was still allowed. At the window's side on a 1280 x 720 screen
// the birth chart cuts nothing: its Capricorn holds eight bodies (catches a North Indian cell
// whose labels keep to a rectangle too small for them).
TEST(ChartSizes, CrowdedChartFromSmallToLarge) {
    const ChartState chart = CalculatedChart(CrowdedDelhiBirth());
    const RetrogradeFlags retrograde = RetrogradeBodies(chart);
    ASSERT_TRUE(retrograde[2]) << "Mercury turned back on 27 January 1962";
    const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.0);
    for (const ChartKind kind : {ChartKind::Birth, ChartKind::Decanate, ChartKind::Navamsa}) {
        const ChartContents contents = ComputeChartContents(chart, kind, retrograde);
        for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
            std::vector<int> sides = {windowSideAt1280By720};
            for (int side = 180; side <= 600; side += 20) {
                sides.push_back(side);
            }
            for (const int side : sides) {
                const ChartDrawingLayout layout = LayOutChartDrawing(
                    contents, {style, -1, {}, {}}, QRectF(0, 0, side, side), font, &device);
                const std::string where =
                    std::string(ChartCaption(kind)) +
                    (style == ChartStyle::SouthIndian ? " south " : " north ") +
                    std::to_string(side) + " px";
                ASSERT_FALSE(layout.labels.empty()) << where;
                const QFont size = layout.labels.front().font;
                EXPECT_GE(size.pointSizeF(), smallestLabelPoints) << where;
                const bool smallest = size.pointSizeF() == smallestLabelPoints;
                std::array<int, 12> accounted{};
                for (const ChartLabel& label : layout.labels) {
                    EXPECT_EQ(label.font, size) << where << " " << label.text.toStdString();
                    const bool elided = label.text.contains(QChar(0x2026));
                    const bool more = label.body < 0;
                    if (elided || more) {
                        EXPECT_TRUE(smallest) << where << " " << label.text.toStdString();
                    }
                    accounted[static_cast<std::size_t>(label.sign)] +=
                        more ? label.text.mid(1).toInt() : 1;
                }
                for (std::size_t sign = 0; sign < 12; ++sign) {
                    EXPECT_EQ(accounted[sign], static_cast<int>(contents.cells[sign].size()))
                        << where << " sign " << sign;
                }
                if (side == windowSideAt1280By720 && kind == ChartKind::Birth) {
                    EXPECT_TRUE(layout.overflowedSigns.empty())
                        << where << ": all eight bodies of Capricorn in full";
                }
            }
        }
    }
}

// A caption too long for one line wraps and keeps every word: the saved SVG holds the whole
// caption, above the North Indian charts and in the South Indian centre.
TEST(ChartSizes, LongCaptionWrapsAndIsNeverCut) {
    const ChartState chart = CalculatedChart(CrowdedDelhiBirth());
    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth);
    const QString title = QStringLiteral(
        "SRIMATI ANANTHALAKSHMI VENKATARAMANAN, 4 February 1962 05:30, New Delhi, National Capital "
        "Territory of Delhi, India, 28\u00B039\u2032N 77\u00B013\u2032E, +5:30");
    for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WriteChartsSvg(buffer, {&birth}, style, SvgChartFont(), title));
        QStringList texts;
        for (const SvgText& text : ParseSvg(buffer.data()).texts) {
            texts << text.text;
        }
        const QString all = texts.join(QLatin1Char(' '));
        EXPECT_TRUE(all.contains(title)) << all.toStdString();
        EXPECT_FALSE(all.contains(QChar(0x2026))) << all.toStdString();
    }
}

} // namespace
