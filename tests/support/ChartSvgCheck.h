#pragma once

// Reads the painter's own SVG (both charts side by side, the birth chart left) and checks that
// every label stands in its body's cell as the plain layout gives the cell.

#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

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

inline QTransform ParseSvgTransform(const QString& attribute) {
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

inline SvgContent ParseSvg(const QByteArray& svg) {
    SvgContent content;
    QXmlStreamReader reader(svg);
    std::vector<QTransform> transforms = {QTransform()};
    std::vector<double> strokeWidths = {1.0};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto attributes = reader.attributes();
            const QTransform own = ParseSvgTransform(attributes.value("transform").toString());
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

inline std::vector<UnitPoint> ScaledPolygon(const std::vector<UnitPoint>& polygon,
                                            const QRectF& square) {
    std::vector<UnitPoint> out;
    for (const UnitPoint& p : polygon) {
        out.push_back({square.left() + p.x * square.width(), square.top() + p.y * square.height()});
    }
    return out;
}

// The body a label names by its abbreviation; -1 for "+n" and numbers.
inline int BodyOfLabel(const QString& label) {
    QString abbreviation = label.section(QLatin1Char(' '), 0, 0);
    for (const char* mark : {retrogradeSymbol, retrogradeFallback}) {
        if (abbreviation.endsWith(QString::fromUtf8(mark))) {
            abbreviation.chop(QString::fromUtf8(mark).size());
        }
    }
    if (abbreviation == QLatin1String(ascendantAbbreviation)) {
        return chartAscendantBody;
    }
    for (const int body : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, chartRahuBody, chartKetuBody}) {
        if (abbreviation == QLatin1String(bodyAbbreviations[static_cast<std::size_t>(body)])) {
            return body;
        }
    }
    return -1;
}

// Sign (0 Aries .. 11 Pisces) of each body index (Sun..Pluto, the Ascendant at 10, Rahu at 12,
// Ketu at 13) in one chart; -1 for a body the chart does not hold.
using EntrySigns = std::array<int, positionCount>;

// The signs of Sun..Pluto and the Ascendant, for a chart without the nodes.
inline EntrySigns WithoutNodes(const std::array<int, 11>& signs) {
    EntrySigns all;
    all.fill(-1);
    std::copy(signs.begin(), signs.end(), all.begin());
    return all;
}

// Every label's anchor in the birth chart (signs[0]) and the decanate chart (signs[1]) lies in
// the cell of its body's sign; every body shows once; North Indian numbers stand in their sign's
// house, South Indian corner labels (Ar ... Pi) in their sign's cell; the South Indian ascendant's
// mark (the only line drawn thicker than the grid) stands in its cell. `name` labels the failures.
inline void ExpectLabelsInCells(const SvgContent& svg, ChartStyle style,
                                const std::array<EntrySigns, 2>& signs, const std::string& name) {
    ASSERT_FALSE(svg.lines.empty()) << name;

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
    for (std::size_t k = 0; k < 2; ++k) {
        const int ascendant = signs[k][chartAscendantBody];
        const ChartGeometry geometry = LayOutChart(style, ascendant);
        std::map<int, int> seen;
        int numbers = 0;
        int cornerLabels = 0;
        for (const SvgText& text : svg.texts) {
            if ((text.anchor.x() < middle) != (k == 0) || text.anchor.y() < squares[k].top()) {
                continue; // the other chart, or the caption and title
            }
            bool isNumber = false;
            const int number = text.text.toInt(&isNumber);
            const int body = BodyOfLabel(text.text);
            const auto shortName =
                std::find_if(signShortNames.begin(), signShortNames.end(),
                             [&](const char* name) { return text.text == QLatin1String(name); });
            const QRectF centre(squares[k].left() + squares[k].width() / 4,
                                squares[k].top() + squares[k].height() / 4, squares[k].width() / 2,
                                squares[k].height() / 2);
            int sign = -1;
            if (style == ChartStyle::SouthIndian && centre.contains(text.anchor)) {
                continue; // the caption and the title in the open centre
            }
            if (style == ChartStyle::SouthIndian && shortName != signShortNames.end()) {
                sign = static_cast<int>(shortName - signShortNames.begin());
                ++cornerLabels;
            } else if (isNumber) {
                sign = number - 1;
                ++numbers;
            } else if (body >= 0) {
                sign = signs[k][static_cast<std::size_t>(body)];
                ++seen[body];
            } else {
                ADD_FAILURE() << name << ": unexpected text " << text.text.toStdString();
                continue;
            }
            ASSERT_TRUE(sign >= 0 && sign < 12) << name << " " << text.text.toStdString();
            const auto polygon =
                ScaledPolygon(geometry.cells[static_cast<std::size_t>(sign)].polygon, squares[k]);
            EXPECT_TRUE(PolygonContains(polygon, {text.anchor.x(), text.anchor.y()}))
                << name << " chart " << k << ": " << text.text.toStdString() << " at "
                << text.anchor.x() << "," << text.anchor.y() << " outside sign " << sign;
        }
        for (int body = 0; body < positionCount; ++body) {
            EXPECT_EQ(seen[body], signs[k][static_cast<std::size_t>(body)] >= 0 ? 1 : 0)
                << name << " chart " << k << " body " << body;
        }
        EXPECT_EQ(numbers, style == ChartStyle::NorthIndian ? 12 : 0) << name;
        EXPECT_EQ(cornerLabels, style == ChartStyle::SouthIndian ? 12 : 0) << name;

        int marks = 0;
        for (const SvgLine& line : svg.lines) {
            if ((line.from.x() < middle) != (k == 0) || line.strokeWidth <= 1.5) {
                continue;
            }
            ++marks;
            const QPointF mid = (line.from + line.to) / 2;
            const auto polygon = ScaledPolygon(
                geometry.cells[static_cast<std::size_t>(ascendant)].polygon, squares[k]);
            EXPECT_TRUE(PolygonContains(polygon, {mid.x(), mid.y()})) << name << " chart " << k;
        }
        EXPECT_EQ(marks, style == ChartStyle::SouthIndian ? 1 : 0) << name;
    }
}
