#include "chartview/ChartPainter.h"
#include "chartview/Contrast.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <map>

namespace {

ChartState ChartAt(const std::array<const char*, 11>& positions) {
    ChartState chart;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        chart.positionText[i] = positions[i];
    }
    return chart;
}

// Ten of eleven in Leo: the birth chart's Leo cell holds ten labels.
const ChartState crowdedChart =
    ChartAt({"28 Leo 10", "18 Leo 40", "02 Leo 11", "15 Leo 00", "12 Leo 05", "07 Leo 30",
             "22 Leo 01", "11 Leo 12", "19 Leo 44", "25 Leo 10", "05 Leo 00"});
const ChartState spreadChart =
    ChartAt({"28 Leo 10", "18 Tau 40", "02 Vir 11", "15 Can 00", "12 Ari 05", "07 Sag 30",
             "22 Cap 01", "11 Sco 12", "19 Sag 44", "25 Lib 10", "05 Leo 00"});

QFont FontOf(double points) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    return font;
}

struct CrowdCase {
    ChartStyle style;
    double side; // pixels
    double points;
};

void PrintTo(const CrowdCase& c, std::ostream* out) {
    *out << (c.style == ChartStyle::SouthIndian ? "south " : "north ") << c.side << "px "
         << c.points << "pt";
}

class CrowdedCellTest : public ::testing::TestWithParam<CrowdCase> {};

// However small the chart, every label stays inside its cell's text box (North Indian: its
// outline) without touching its neighbours, what a cell shows plus its "+n" accounts for every
// entry, every label takes the same size, and highlighting a body (Pluto) changes neither the
// order nor the places of the labels.
TEST_P(CrowdedCellTest, LabelsStayInsideAndAccountForEveryEntry) {
    const CrowdCase& c = GetParam();
    const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    const ChartContents contents = ComputeChartContents(crowdedChart, ChartKind::Birth);
    const ChartDrawingLayout layout = LayOutChartDrawing(
        contents, {c.style, 9, {}, {}}, QRectF(0, 0, c.side, c.side), FontOf(c.points), &device);
    std::map<int, int> accounted;
    bool highlightShown = false;
    int bodiesShownInLeo = 0;
    for (const ChartLabel& label : layout.labels) {
        const ChartCellGeometry& cell = layout.geometry.cells[static_cast<std::size_t>(label.sign)];
        if (c.style == ChartStyle::SouthIndian) {
            const UnitRect& unit = cell.textBox;
            const QRectF box(ToDevice(layout, {unit.left, unit.top}),
                             QSizeF(unit.width, unit.height) * layout.chartSquare.width());
            EXPECT_TRUE(box.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(label.box))
                << label.text.toStdString() << " leaves sign " << label.sign;
        } else {
            const QRectF& square = layout.chartSquare;
            for (const QPointF corner : {label.box.topLeft(), label.box.topRight(),
                                         label.box.bottomLeft(), label.box.bottomRight()}) {
                EXPECT_TRUE(
                    PolygonContains(cell.polygon, {(corner.x() - square.left()) / square.width(),
                                                   (corner.y() - square.top()) / square.height()}))
                    << label.text.toStdString() << " leaves sign " << label.sign;
            }
        }
        const QFontMetricsF metrics(label.font, const_cast<QImage*>(&device));
        EXPECT_LE(metrics.horizontalAdvance(label.text), label.box.width() + 1e-6)
            << label.text.toStdString();
        for (const ChartLabel& other : layout.labels) {
            if (&other != &label) {
                EXPECT_FALSE(other.box.intersects(label.box))
                    << label.text.toStdString() << " overlaps " << other.text.toStdString();
            }
        }
        highlightShown = highlightShown || (label.highlighted && label.body == 9);
        if (label.body >= 0) {
            bodiesShownInLeo += label.sign == 4 ? 1 : 0;
            ++accounted[label.sign];
        } else {
            ASSERT_TRUE(label.text.startsWith(QLatin1Char('+'))) << label.text.toStdString();
            accounted[label.sign] += label.text.mid(1).toInt();
        }
    }
    const bool leoOverflowed =
        std::find(layout.overflowedSigns.begin(), layout.overflowedSigns.end(), 4) !=
        layout.overflowedSigns.end();
    if (!leoOverflowed || accounted[4] > 0) {
        EXPECT_EQ(accounted[4], 11) << "Leo's entries";
    }
    const ChartDrawingLayout plain = LayOutChartDrawing(
        contents, {c.style, -1, {}, {}}, QRectF(0, 0, c.side, c.side), FontOf(c.points), &device);
    ASSERT_EQ(plain.labels.size(), layout.labels.size());
    for (std::size_t i = 0; i < plain.labels.size(); ++i) {
        EXPECT_EQ(plain.labels[i].body, layout.labels[i].body) << "label " << i;
        EXPECT_EQ(plain.labels[i].box, layout.labels[i].box) << "label " << i;
        EXPECT_EQ(layout.labels[i].font, layout.labels[0].font) << "label " << i;
    }
    if (bodiesShownInLeo == 11) {
        EXPECT_TRUE(highlightShown);
    }
    // A large chart shows everything; the smallest one cannot.
    if (c.side >= 600) {
        EXPECT_FALSE(leoOverflowed);
    }
    if (c.side <= 150) {
        EXPECT_TRUE(leoOverflowed);
    }
}

std::vector<CrowdCase> CrowdCases() {
    std::vector<CrowdCase> cases;
    for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        for (const double side : {600.0, 300.0, 200.0, 150.0}) {
            for (const double points : {10.0, 15.0}) {
                cases.push_back({style, side, points});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, CrowdedCellTest, ::testing::ValuesIn(CrowdCases()));

// In a chart with room, labels keep the given font, so they grow with it, and show their whole
// text at every size; every label is found again at its centre, and the empty middle holds no
// body.
TEST(ChartLayout, FontScalesAndHitTestingFindsEveryLabel) {
    const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    for (const ChartStyle style : {ChartStyle::SouthIndian, ChartStyle::NorthIndian}) {
        for (const ChartKind kind : {ChartKind::Birth, ChartKind::Decanate}) {
            const ChartContents contents = ComputeChartContents(spreadChart, kind);
            std::map<double, double> labelHeight;
            for (double points = 6.0; points <= 24.0; points += 0.5) {
                const double side = 80 * points; // room for every label at full size
                const ChartDrawingLayout layout =
                    LayOutChartDrawing(contents, {style, 5, {}, {}}, QRectF(0, 0, side, side),
                                       FontOf(points), &device);
                EXPECT_TRUE(layout.overflowedSigns.empty());
                ASSERT_EQ(layout.labels.size(), 11u);
                for (const ChartLabel& label : layout.labels) {
                    EXPECT_EQ(label.font.pointSizeF(), points) << label.text.toStdString();
                    const auto& cell = contents.cells[static_cast<std::size_t>(label.sign)];
                    const auto entry = std::find_if(cell.begin(), cell.end(), [&](const auto& e) {
                        return e.body == label.body;
                    });
                    ASSERT_NE(entry, cell.end());
                    EXPECT_EQ(label.text.toStdString(), EntryLabel(*entry)) << points << " pt";
                    EXPECT_EQ(BodyAt(layout, label.box.center()), label.body);
                    EXPECT_EQ(SignAt(layout, label.box.center()), label.sign);
                    EXPECT_EQ(label.highlighted, label.body == 5);
                    labelHeight[points] = label.box.height();
                }
                // The centre of the South Indian chart is empty; in the North Indian one it is
                // the meeting point of four houses, which holds no label either.
                EXPECT_FALSE(BodyAt(layout, layout.chartSquare.center()));
            }
            EXPECT_NEAR(labelHeight[15.0] / labelHeight[10.0], 1.5, 0.15);
        }
    }
}

// Lines, labels and numbers against the background, and the highlighted label against its fill,
// reach 4.5:1 in light and dark themes, including themes whose own selection colours do not.
TEST(ChartColours, ReadableInEveryTheme) {
    struct Theme {
        const char* name;
        QColor base, text, highlight, highlightedText;
    };
    const Theme themes[] = {
        {"light", Qt::white, Qt::black, QColor(0x30, 0x8c, 0xc6), Qt::white},
        {"dark", QColor(0x2a, 0x2a, 0x2a), Qt::white, QColor(0x2a, 0x82, 0xda), Qt::white},
        {"paleSelection", QColor(0xf5, 0xf5, 0xf5), QColor(0x60, 0x60, 0x60),
         QColor(0xff, 0xff, 0x99), Qt::white},
        {"greyText", QColor(0x40, 0x40, 0x40), QColor(0x70, 0x70, 0x70), QColor(0x80, 0x80, 0x80),
         QColor(0x80, 0x80, 0x80)},
    };
    for (const Theme& theme : themes) {
        QPalette palette;
        palette.setColor(QPalette::Base, theme.base);
        palette.setColor(QPalette::Text, theme.text);
        palette.setColor(QPalette::Highlight, theme.highlight);
        palette.setColor(QPalette::HighlightedText, theme.highlightedText);
        const ChartColours colours = ChartColoursOf(palette);
        EXPECT_EQ(colours.background, theme.base) << theme.name;
        EXPECT_GE(ContrastRatio(colours.ink, colours.background), 4.5) << theme.name;
        EXPECT_GE(ContrastRatio(colours.highlightInk, colours.highlightFill), 4.5) << theme.name;

        // The drawing uses them: the highlighted label's box shows the fill, the rest the ink.
        QImage image(400, 400, QImage::Format_RGB32);
        image.fill(theme.base);
        QPainter painter(&image);
        const ChartDrawingLayout layout =
            DrawChart(painter, image.rect(), ComputeChartContents(spreadChart, ChartKind::Birth),
                      {ChartStyle::SouthIndian, 5, {}, {}}, palette, FontOf(10));
        painter.end();
        // The drawn ink that stands out most in a region, as a reader sees it.
        const auto strongest = [&image](const QRect& region, const QColor& under) {
            double best = 1.0;
            for (int y = region.top(); y <= region.bottom(); ++y) {
                for (int x = region.left(); x <= region.right(); ++x) {
                    best = std::max(best, ContrastRatio(image.pixelColor(x, y), under));
                }
            }
            return best;
        };
        int fillPixels = 0;
        for (const ChartLabel& label : layout.labels) {
            const QRect box = label.box.toAlignedRect() & image.rect();
            if (label.highlighted) {
                for (int y = box.top(); y <= box.bottom(); ++y) {
                    for (int x = box.left(); x <= box.right(); ++x) {
                        fillPixels += image.pixelColor(x, y) == colours.highlightFill ? 1 : 0;
                    }
                }
                EXPECT_GE(strongest(box, colours.highlightFill), 4.5) << theme.name;
            } else {
                EXPECT_GE(strongest(box, theme.base), 4.5)
                    << theme.name << " " << label.text.toStdString();
            }
        }
        EXPECT_GT(fillPixels, 20) << theme.name;
        const QRect frame =
            QRectF(layout.chartSquare.topLeft() + QPointF(5, -2), QSizeF(40, 4)).toAlignedRect() &
            image.rect();
        EXPECT_GE(strongest(frame, theme.base), 4.5) << theme.name;
    }
}

} // namespace
