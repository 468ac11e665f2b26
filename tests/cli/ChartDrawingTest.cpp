// The charts of the command: the `charts` cells of its JSON, and the SVG that --svg writes, read
// back and laid against the plain layout.

#include "RunChart.h"
#include "charts/ChartCells.h"
#include "cli/ChartCommand.h"
#include "cli/ChartOutput.h"
#include "support/ChartSvgCheck.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

QStringList ChartArguments(const QString& date, const QString& time) {
    return {"--date", date, "--time", time, "--lon", "077:13E", "--lat", "28:39N", "--zone", "34"};
}

ChartResult ComputeFromArguments(const QStringList& arguments) {
    const ParsedCommand command = ParseCommandLine(QStringList{"korvani-chart"} + arguments);
    const auto* single = std::get_if<SingleChartRequest>(&command);
    if (single == nullptr) {
        ADD_FAILURE() << "not a chart: " << arguments.join(' ').toStdString();
        return {};
    }
    return ComputeChart(single->chart.input, &single->chart.used);
}

EntrySigns SignsOf(const ChartContents& contents) {
    EntrySigns signs;
    signs.fill(-1);
    for (int sign = 0; sign < 12; ++sign) {
        for (const ChartEntry& entry : contents.cells[static_cast<std::size_t>(sign)]) {
            signs[static_cast<std::size_t>(entry.body)] = sign;
        }
    }
    return signs;
}

// The `charts` object of a chart's JSON agrees with the plain cell contents, sign by sign, in the
// birth chart, the decanate chart and the Navamsa; names each of Sun..Pluto, the Ascendant, Rahu
// and Ketu exactly once per chart; lists as retrograde in a cell exactly the bodies there that
// `bodies[]` marks retrograde: over a sweep of dates and hours, and in a batch line only when
// asked for.
TEST(ChartCellsJson, AgreesWithTheCellContents) {
    int charts = 0;
    int retrogradeSeen = 0;
    for (int year = 1903; year <= 2049; year += 7) {
        const QString date = QStringLiteral("%1-%2-%3")
                                 .arg(year)
                                 .arg(1 + year % 12, 2, 10, QLatin1Char('0'))
                                 .arg(1 + year % 28, 2, 10, QLatin1Char('0'));
        const QString time = QStringLiteral("%1:17").arg(year % 24, 2, 10, QLatin1Char('0'));
        const ChartResult result = ComputeFromArguments(ChartArguments(date, time));
        const QJsonObject json = QJsonDocument::fromJson(FormatChartJson(result)).object();
        ASSERT_TRUE(json.contains("charts")) << date.toStdString();
        QStringList markedInBodies;
        for (const QJsonValue& body : json["bodies"].toArray()) {
            const QJsonObject object = body.toObject();
            const QString name = object["name"].toString();
            const bool planet = name != "Sun" && name != "Moon" && name != "Ascendant" &&
                                name != "Midheaven" && name != "Rahu" && name != "Ketu";
            EXPECT_EQ(object.contains("retrograde"), planet) << name.toStdString();
            if (object["retrograde"].toBool()) {
                markedInBodies.append(name);
            }
        }
        markedInBodies.sort();
        retrogradeSeen += static_cast<int>(markedInBodies.size());
        const QJsonObject cells = json["charts"].toObject();
        EXPECT_EQ(cells.keys(), (QStringList{"birth", "decanate", "navamsa"}));
        for (const auto& [kind, key] : {std::pair{ChartKind::Birth, "birth"},
                                        {ChartKind::Decanate, "decanate"},
                                        {ChartKind::Navamsa, "navamsa"}}) {
            const ChartContents contents = ComputeChartContents(result.chart, kind);
            const QJsonArray signs = cells[key].toArray();
            ASSERT_EQ(signs.size(), 12) << date.toStdString();
            QStringList named;
            QStringList marked;
            for (int sign = 0; sign < 12; ++sign) {
                const QJsonObject cell = signs[sign].toObject();
                EXPECT_EQ(cell["sign"].toString().toStdString(), signNames[sign]);
                QStringList expected;
                for (const ChartEntry& entry : contents.cells[static_cast<std::size_t>(sign)]) {
                    expected.append(bodyNames[static_cast<std::size_t>(entry.body)]);
                }
                QStringList bodies;
                for (const QJsonValue& body : cell["bodies"].toArray()) {
                    bodies.append(body.toString());
                }
                EXPECT_EQ(bodies, expected) << date.toStdString() << " sign " << sign;
                named += bodies;
                for (const QJsonValue& body : cell["retrograde"].toArray()) {
                    EXPECT_TRUE(bodies.contains(body.toString())) << body.toString().toStdString();
                    marked.append(body.toString());
                }
            }
            named.sort();
            QStringList everyEntry;
            for (const int body :
                 {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, chartAscendantBody, chartRahuBody, chartKetuBody}) {
                everyEntry.append(bodyNames[static_cast<std::size_t>(body)]);
            }
            everyEntry.sort();
            EXPECT_EQ(named, everyEntry) << date.toStdString();
            marked.sort();
            EXPECT_EQ(marked, markedInBodies) << date.toStdString() << " " << key;
        }

        // The same cells end a JSON line that asks for them, and only such a line.
        QByteArray with;
        QByteArray without;
        AppendChartJsonLine(with, result, 1, true);
        AppendChartJsonLine(without, result, 1);
        EXPECT_FALSE(QJsonDocument::fromJson(without).object().contains("charts"));
        EXPECT_EQ(QJsonDocument::fromJson(with).object()["charts"].toObject(), cells);
        EXPECT_GT(with.indexOf("\"charts\""), with.indexOf("\"decanates\""));
        ++charts;
    }
    EXPECT_EQ(charts, 21);
    EXPECT_GT(retrogradeSeen, 0);
}

// --charts reaches the batch's lines.
TEST(ChartCellsJson, BatchLinesCarryThemWithTheOption) {
    for (const bool asked : {false, true}) {
        QBuffer input;
        input.setData("name,date,time,lon,lat,zone,tz,place,dst\n"
                      "A,1962-02-05,06:00,077:13E,28:39N,34,,,\n"
                      "B,1990-08-15,10:30,077:13E,28:39N,34,,,\n");
        input.open(QIODevice::ReadOnly);
        CommandEnvironment environment;
        environment.standardInput = &input;
        QStringList arguments{"korvani-chart", "--batch", "-", "--jobs", "2"};
        if (asked) {
            arguments.append("--charts");
        }
        const CommandOutput output = RunCommand(arguments, environment);
        ASSERT_EQ(output.exitStatus, 0) << output.standardError.toStdString();
        const QList<QByteArray> lines = output.standardOutput.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2);
        for (const QByteArray& line : lines) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            EXPECT_EQ(object.contains("charts"), asked) << line.toStdString();
            EXPECT_EQ(object["charts"]["birth"].toArray().size(), asked ? 12 : 0);
        }
    }
}

// Options that do not fit are refused, naming the option, before anything is drawn.
TEST(ChartDrawingOptions, RefusedNamingTheOption) {
    const QStringList chart = ChartArguments("1990-08-15", "10:30");
    const struct {
        QStringList arguments;
        const char* named;
    } cases[] = {
        {{"--batch", "-", "--svg", "out.svg"}, "--svg"},
        {{"--batch", "-", "--charts", "--format", "csv"}, "--charts"},
        {chart + QStringList{"--svg", "out.svg", "--chart-style", "east"}, "--chart-style"},
        {chart + QStringList{"--svg", "out.svg", "--chart-style", ""}, "--chart-style"},
        {chart + QStringList{"--chart-style", "north"}, "--chart-style"},
        {chart + QStringList{"--svg", "a.svg", "--svg", "b.svg"}, "--svg"},
        {chart + QStringList{"--charts"}, "--charts"},
        {chart + QStringList{"--second-chart", "d9"}, "--second-chart"},
        {chart + QStringList{"--svg", "out.svg", "--second-chart", "d5"}, "--second-chart"},
    };
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(directory.path()));
    for (const auto& c : cases) {
        const CommandOutput output = RunCommand(QStringList{"korvani-chart"} + c.arguments);
        EXPECT_EQ(output.exitStatus, refusedExitStatus) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(output.standardError.contains(c.named)) << output.standardError.toStdString();
        EXPECT_TRUE(output.standardOutput.isEmpty());
    }
    EXPECT_TRUE(QDir(directory.path()).isEmpty(QDir::Files)) << "a refused run drew";
    QDir::setCurrent(before);
}

// A drawing that cannot be written is a failure with nothing on standard output.
TEST(ChartSvgFile, UnwritablePathFails) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    for (const QString& path : {directory.filePath("missing/chart.svg"), directory.path()}) {
        const ProcessRun run =
            RunChart(ChartArguments("1990-08-15", "10:30") + QStringList{"--svg", path});
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.exitCode, failureExitStatus) << path.toStdString();
        EXPECT_TRUE(run.standardOutput.isEmpty());
        EXPECT_TRUE(run.standardError.contains("--svg: cannot write"))
            << run.standardError.toStdString();
    }
}

struct SvgRun {
    const char* name;
    const char* style;
    const char* date;
    const char* time;
    int crowdedAtLeast;      // the most entries in one cell of the birth chart, at least
    const char* second;      // --second-chart: d3 or d9
    const char* captionDate; // the date and time as the caption writes them
    const char* drekkana = "parashara";
    const char* calculation = "Korvani 1.20 rules"; // as the caption names it
};

class ChartSvgFileTest : public ::testing::TestWithParam<SvgRun> {};

// The command's SVG, read back: every label in its cell (the second chart the decanate chart or
// the Navamsa as asked), the ascendant's mark in its cell, and over each chart the one caption
// with the person, the date and time, the coordinates, the zone's offset and the calculation.
TEST_P(ChartSvgFileTest, LabelsStandInTheirCells) {
    const SvgRun& c = GetParam();
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath("chart.svg");
    const QStringList arguments = ChartArguments(c.date, c.time);
    const ProcessRun run =
        RunChart(arguments + QStringList{"--svg", path, "--chart-style", c.style, "--second-chart",
                                         c.second, "--format", "csv", "--drekkana", c.drekkana});
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_TRUE(run.standardOutput.startsWith("line,error,name")) << "the chart is still written";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));

    const ChartResult result = ComputeFromArguments(arguments);
    const ChartContents birth = ComputeChartContents(result.chart, ChartKind::Birth);
    std::size_t crowdest = 0;
    for (const auto& cell : birth.cells) {
        crowdest = std::max(crowdest, cell.size());
    }
    ASSERT_GE(crowdest, static_cast<std::size_t>(c.crowdedAtLeast));

    const SvgContent svg = ParseSvg(file.readAll());
    const ChartStyle style =
        std::string(c.style) == "north" ? ChartStyle::NorthIndian : ChartStyle::SouthIndian;
    const ChartKind second =
        std::string(c.second) == "d9" ? ChartKind::Navamsa : ChartKind::Decanate;
    const DrekkanaScheme scheme = *DrekkanaSchemeOfKey(c.drekkana);
    ExpectLabelsInCells(
        svg, style,
        {SignsOf(birth), SignsOf(ComputeChartContents(result.chart, second, {}, scheme))}, c.name);
    QStringList texts;
    for (const SvgText& text : svg.texts) {
        texts << text.text;
    }
    const QString caption =
        QStringLiteral("KORVANI CHART, %1, 28\u00B039\u2032N 77\u00B013\u2032E, +5:30 \u00B7 %2")
            .arg(QString::fromUtf8(c.captionDate), QString::fromUtf8(c.calculation));
    EXPECT_EQ(texts.join(' ').count(caption), 2) << texts.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BothStyles, ChartSvgFileTest,
    ::testing::Values(
        SvgRun{"south", "south", "1990-08-15", "10:30", 1, "d3", "15 August 1990 10:30"},
        SvgRun{"north", "north", "1990-08-15", "10:30", 1, "d3", "15 August 1990 10:30"},
        // Eight of eleven in Capricorn: the conjunction of February 1962.
        SvgRun{"southCrowded", "south", "1962-02-05", "06:00", 8, "d3", "5 February 1962 06:00"},
        SvgRun{"northCrowded", "north", "1962-02-05", "06:00", 8, "d3", "5 February 1962 06:00"},
        SvgRun{"southNavamsa", "south", "1962-02-05", "06:00", 8, "d9", "5 February 1962 06:00"},
        SvgRun{"northNavamsa", "north", "1990-08-15", "10:30", 1, "d9", "15 August 1990 10:30"},
        // The decanate chart cast by the scheme asked for, and the caption naming it.
        SvgRun{"southSomanatha", "south", "1962-02-05", "06:00", 8, "d3", "5 February 1962 06:00",
               "somanatha", "Korvani 1.20 rules, Somanātha drekkana"}),
    [](const ::testing::TestParamInfo<SvgRun>& info) { return info.param.name; });

} // namespace
