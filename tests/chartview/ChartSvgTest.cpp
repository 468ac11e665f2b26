#include "chartview/ChartPainter.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTransform>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// What the SVG holds, every position with its group transforms applied.
struct SvgText {
    QPointF anchor;
    QString text;
};
struct SvgLine {
    QPointF from;
    QPointF to;
    double strokeWidth = 0.0;
};
struct SvgContent {
    std::vector<SvgText> texts;
    std::vector<SvgLine> lines;
};

QTransform ParseTransform(const QString& attribute) {
    static const QRegularExpression matrix(QStringLiteral("matrix\\(([^)]*)\\)"));
    const QRegularExpressionMatch match = matrix.match(attribute);
    if (!match.hasMatch()) {
        return {};
    }
    const QStringList v = match.captured(1).split(QLatin1Char(','));
    if (v.size() != 6) {
        ADD_FAILURE() << "unexpected transform " << attribute.toStdString();
        return {};
    }
    return QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(),
                      v[4].toDouble(), v[5].toDouble());
}

SvgContent ParseSvg(const QByteArray& svg) {
    SvgContent content;
    QXmlStreamReader reader(svg);
    std::vector<QTransform> transforms = {QTransform()};
    std::vector<double> strokeWidths = {1.0};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto attributes = reader.attributes();
            const QTransform own = ParseTransform(attributes.value("transform").toString());
            const QTransform current = own * transforms.back();
            const double width = attributes.hasAttribute("stroke-width")
                                     ? attributes.value("stroke-width").toDouble()
                                     : strokeWidths.back();
            if (reader.name() == QLatin1String("text")) {
                const QPointF at(attributes.value("x").toDouble(),
                                 attributes.value("y").toDouble());
                content.texts.push_back({current.map(at), reader.readElementText()});
                continue; // readElementText consumed the end element
            }
            if (reader.name() == QLatin1String("polyline")) {
                const QStringList points = attributes.value("points").toString().split(
                    QLatin1Char(' '), Qt::SkipEmptyParts);
                for (qsizetype i = 0; i + 1 < points.size(); ++i) {
                    const auto xy = [](const QString& p) {
                        const QStringList c = p.split(QLatin1Char(','));
                        return QPointF(c[0].toDouble(), c[1].toDouble());
                    };
                    content.lines.push_back(
                        {current.map(xy(points[i])), current.map(xy(points[i + 1])), width});
                }
            }
            transforms.push_back(current);
            strokeWidths.push_back(width);
        } else if (reader.isEndElement()) {
            transforms.pop_back();
            strokeWidths.pop_back();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return content;
}

std::vector<UnitPoint> Scaled(const std::vector<UnitPoint>& polygon, const QRectF& square) {
    std::vector<UnitPoint> out;
    for (const UnitPoint& p : polygon) {
        out.push_back({square.left() + p.x * square.width(), square.top() + p.y * square.height()});
    }
    return out;
}

// The body a label names by its abbreviation; -1 for "+n" and numbers.
int BodyOfLabel(const QString& label) {
    const QString abbreviation = label.section(QLatin1Char(' '), 0, 0);
    if (abbreviation == QLatin1String(ascendantAbbreviation)) {
        return chartAscendantBody;
    }
    for (int body = 0; body < displayedBodyCount; ++body) {
        if (abbreviation == QLatin1String(bodyAbbreviations[static_cast<std::size_t>(body)])) {
            return body;
        }
    }
    return -1;
}

struct SvgCase {
    const char* name;
    ChartStyle style;
    // Position texts of Sun..Pluto and the Ascendant (index 10).
    std::array<const char*, 11> positions;
    // Expected sign (0 Aries .. 11 Pisces) of Sun..Pluto and the Ascendant in D-1 and in D-3.
    std::array<int, 11> birthSigns;
    std::array<int, 11> decanateSigns;
};

const std::array<const char*, 11> spread = {"28 Leo 10", "18 Tau 40", "02 Vir 11", "15 Can 00",
                                            "12 Ari 05", "07 Sag 30", "22 Cap 01", "11 Sco 12",
                                            "19 Sag 44", "25 Lib 10", "05 Leo 00"};
const std::array<int, 11> spreadBirth = {4, 1, 5, 3, 0, 8, 9, 7, 8, 6, 4};
const std::array<int, 11> spreadDecanate = {0, 5, 5, 7, 4, 8, 5, 11, 0, 2, 4};
// Nine of eleven in Leo.
const std::array<const char*, 11> crowded = {"28 Leo 10", "18 Leo 40", "02 Leo 11", "15 Leo 00",
                                             "12 Leo 05", "07 Leo 30", "22 Leo 01", "11 Leo 12",
                                             "19 Sag 44", "25 Leo 10", "05 Leo 00"};
const std::array<int, 11> crowdedBirth = {4, 4, 4, 4, 4, 4, 4, 4, 8, 4, 4};
const std::array<int, 11> crowdedDecanate = {0, 8, 4, 8, 8, 4, 0, 8, 0, 0, 4};

void PrintTo(const SvgCase& c, std::ostream* out) {
    *out << c.name;
}

class ChartSvgTest : public ::testing::TestWithParam<SvgCase> {};

// Every label's anchor lies in the cell of its body's sign, as the plain layout gives the cell;
// every body shows once; North Indian numbers stand in their sign's house; the ascendant's mark
// stands in its cell.
TEST_P(ChartSvgTest, LabelsStandInTheirCells) {
    const SvgCase& c = GetParam();
    ChartState chart;
    for (std::size_t i = 0; i < c.positions.size(); ++i) {
        chart.positionText[i] = c.positions[i];
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteChartsSvg(buffer, ComputeChartContents(chart, ChartKind::Birth),
                               ComputeChartContents(chart, ChartKind::Decanate), c.style,
                               QStringLiteral("Ravi, 12 March 1980 14:30, Pune")));
    const SvgContent svg = ParseSvg(buffer.data());
    ASSERT_FALSE(svg.lines.empty());

    // Each chart's square is the bounds of its lines; the birth chart is the left one.
    double middle = 0;
    for (const SvgLine& line : svg.lines) {
        middle = std::max({middle, line.from.x(), line.to.x()});
    }
    middle /= 2;
    std::array<QRectF, 2> squares;
    for (const SvgLine& line : svg.lines) {
        QRectF& square = squares[line.from.x() < middle ? 0 : 1];
        const QRectF span = QRectF(line.from, line.to).normalized();
        square = square.isNull() ? span : square.united(span);
    }
    const std::array<const std::array<int, 11>*, 2> signs = {&c.birthSigns, &c.decanateSigns};
    for (std::size_t k = 0; k < 2; ++k) {
        const int ascendant = (*signs[k])[chartAscendantBody];
        const ChartGeometry geometry = LayOutChart(c.style, ascendant);
        std::map<int, int> seen;
        int numbers = 0;
        for (const SvgText& text : svg.texts) {
            if ((text.anchor.x() < middle) != (k == 0) || text.anchor.y() < squares[k].top()) {
                continue; // the other chart, or the caption and title
            }
            bool isNumber = false;
            const int number = text.text.toInt(&isNumber);
            const int body = BodyOfLabel(text.text);
            int sign = -1;
            if (isNumber) {
                sign = number - 1;
                ++numbers;
            } else if (body >= 0) {
                sign = (*signs[k])[static_cast<std::size_t>(body)];
                ++seen[body];
            } else {
                ADD_FAILURE() << c.name << ": unexpected text " << text.text.toStdString();
                continue;
            }
            ASSERT_TRUE(sign >= 0 && sign < 12) << c.name << " " << text.text.toStdString();
            const auto polygon =
                Scaled(geometry.cells[static_cast<std::size_t>(sign)].polygon, squares[k]);
            EXPECT_TRUE(PolygonContains(polygon, {text.anchor.x(), text.anchor.y()}))
                << c.name << " chart " << k << ": " << text.text.toStdString() << " at "
                << text.anchor.x() << "," << text.anchor.y() << " outside sign " << sign;
        }
        for (int body = 0; body <= chartAscendantBody; ++body) {
            EXPECT_EQ(seen[body], 1) << c.name << " chart " << k << " body " << body;
        }
        EXPECT_EQ(numbers, c.style == ChartStyle::NorthIndian ? 12 : 0) << c.name;

        // The mark: the only line drawn thicker than the grid.
        int marks = 0;
        for (const SvgLine& line : svg.lines) {
            if ((line.from.x() < middle) != (k == 0) || line.strokeWidth <= 1.5) {
                continue;
            }
            ++marks;
            const QPointF mid = (line.from + line.to) / 2;
            const auto polygon =
                Scaled(geometry.cells[static_cast<std::size_t>(ascendant)].polygon, squares[k]);
            EXPECT_TRUE(PolygonContains(polygon, {mid.x(), mid.y()})) << c.name << " chart " << k;
        }
        EXPECT_EQ(marks, c.style == ChartStyle::SouthIndian ? 1 : 0) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothStyles, ChartSvgTest,
    ::testing::Values(
        SvgCase{"southSpread", ChartStyle::SouthIndian, spread, spreadBirth, spreadDecanate},
        SvgCase{"northSpread", ChartStyle::NorthIndian, spread, spreadBirth, spreadDecanate},
        SvgCase{"southCrowded", ChartStyle::SouthIndian, crowded, crowdedBirth, crowdedDecanate},
        SvgCase{"northCrowded", ChartStyle::NorthIndian, crowded, crowdedBirth, crowdedDecanate}),
    [](const ::testing::TestParamInfo<SvgCase>& info) { return info.param.name; });

} // namespace
