// The command's calculation options (--engine, --ayanamsa, --nodes, --drekkana), from the command
// line to what it writes. Which combinations are refused and how each choice calculates are
// tested in tests/precise and tests/decanates; here, that each reaches the output.

#include "RunChart.h"
#include "cli/ChartCommand.h"
#include "precise/PreciseEngine.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Sun at 16 Sag 31, the Moon at 19 Lib 27 by the 1.20 rules.
QStringList Greenwich2000Json(const QStringList& calculation) {
    return QStringList{"korvani-chart", "--date", "2000-01-01", "--time", "12:00", "--lon",
                       "000:00W",       "--lat",  "51:30N",     "--zone", "29",    "--json"} +
           calculation;
}

QJsonObject ChartJson(const QStringList& calculation) {
    const CommandOutput output = RunCommand(Greenwich2000Json(calculation));
    EXPECT_EQ(output.exitStatus, 0) << output.standardError.toStdString();
    return QJsonDocument::fromJson(output.standardOutput).object();
}

double Longitude(const QJsonObject& chart, int body) {
    return chart["bodies"].toArray()[body].toObject()["longitudeDegrees"].toDouble();
}

QStringList DecanateCell(const QJsonObject& chart, int sign) {
    QStringList bodies;
    for (const QJsonValue& body :
         chart["charts"].toObject()["decanate"].toArray()[sign].toObject()["bodies"].toArray()) {
        bodies << body.toString();
    }
    return bodies;
}

constexpr int sun = 0;
constexpr int rahu = 12;
constexpr int aries = 0;
constexpr int taurus = 1;

struct RefusedCase {
    const char* name;
    QStringList options;
    const char* message;
};

class RefusedCalculationTest : public ::testing::TestWithParam<RefusedCase> {};

// Catches a path (one chart, a batch, a saved birth) that skips the settings' refusal and
// calculates by the 1.20 rules what was asked of the precise engine.
TEST_P(RefusedCalculationTest, NamesTheOption) {
    const ParsedCommand command =
        ParseCommandLine(QStringList{"korvani-chart"} + GetParam().options);
    ASSERT_TRUE(std::holds_alternative<Refusal>(command));
    EXPECT_EQ(std::get<Refusal>(command).message.toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, RefusedCalculationTest,
    ::testing::Values(RefusedCase{"chartAyanamsaWithoutPrecise",
                                  {"--date", "2000-01-01", "--time", "12:00", "--lon", "000:00W",
                                   "--lat", "51:30N", "--zone", "29", "--ayanamsa", "raman"},
                                  "--ayanamsa needs --engine precise"},
                      RefusedCase{"batchTrueNodeWithoutPrecise",
                                  {"--batch", "-", "--jobs", "2", "--nodes", "true"},
                                  "--nodes true needs --engine precise"},
                      RefusedCase{"savedRuleNodeWithPrecise",
                                  {"--saved", "Asha", "--engine", "precise", "--nodes", "rule"},
                                  "--nodes rule needs --engine 1.20"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Catches the drekkana scheme left out of the JSON's decanate chart: the Sun in the middle part of
// Sagittarius falls in Aries by Parāśara (the 5th from Sagittarius) and in Taurus by Parivṛtti
// (the 26th of the 36 parts from Aries).
TEST(CalculationOptions, DrekkanaSchemeCastsTheDecanateChart) {
    const QJsonObject parashara = ChartJson({});
    const QJsonObject parivritti = ChartJson({"--drekkana", "parivritti"});
    EXPECT_TRUE(DecanateCell(parashara, aries).contains("Sun"));
    EXPECT_TRUE(DecanateCell(parivritti, taurus).contains("Sun"));
    EXPECT_EQ(parivritti["settings"].toObject()["summary"].toString(),
              QString::fromUtf8("Korvani 1.20 rules, Parivṛtti drekkana"));
}

// Catches --nodes mean not reaching the 1.20 stages: their Rahu is the mean node less 1°.
TEST(CalculationOptions, MeanNodeDropsTheRulesDegree) {
    const QJsonObject rule = ChartJson({});
    const QJsonObject mean = ChartJson({"--nodes", "mean"});
    EXPECT_NEAR(Longitude(mean, rahu) - Longitude(rule, rahu), 1.0, 1e-9);
    EXPECT_EQ(Longitude(mean, sun), Longitude(rule, sun));
    EXPECT_EQ(mean["settings"].toObject()["nodes"].toString(), "mean");
}

// Catches the precise engine's ayanamsa or node chosen but not passed on: Krishnamurti's
// ayanamsa moves every body by its difference from Lahiri's, the true node moves Rahu alone.
TEST(CalculationOptions, PreciseChoicesReachThePositions) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    const QJsonObject lahiri = ChartJson({"--engine", "precise"});
    const QJsonObject krishnamurti =
        ChartJson({"--engine", "precise", "--ayanamsa", "krishnamurti"});
    const QJsonObject trueNode = ChartJson({"--engine", "precise", "--nodes", "true"});
    const QJsonObject lahiriSettings = lahiri["settings"].toObject();
    const QJsonObject krishnamurtiSettings = krishnamurti["settings"].toObject();
    EXPECT_EQ(lahiriSettings["engine"].toString(), "precise");
    EXPECT_TRUE(lahiriSettings["summary"].toString().startsWith("Swiss Ephemeris, Lahiri "));
    EXPECT_EQ(krishnamurtiSettings["ayanamsa"].toString(), "Krishnamurti");
    const double ayanamsaApart = lahiriSettings["ayanamsaDegrees"].toDouble() -
                                 krishnamurtiSettings["ayanamsaDegrees"].toDouble();
    EXPECT_GT(std::fabs(ayanamsaApart), 1.0 / 60.0);
    EXPECT_NEAR(Longitude(krishnamurti, sun) - Longitude(lahiri, sun), ayanamsaApart, 1e-9);
    EXPECT_EQ(Longitude(trueNode, sun), Longitude(lahiri, sun));
    EXPECT_NE(Longitude(trueNode, rahu), Longitude(lahiri, rahu));
    EXPECT_EQ(trueNode["settings"].toObject()["nodes"].toString(), "true");
}

// Catches the batch's worker threads calculating by the defaults: every line of a batch on two
// threads carries the settings asked for.
TEST(CalculationOptions, BatchLinesCarryTheSettings) {
    QByteArray rows = "name,date,time,lon,lat,zone,tz,place,dst\n";
    for (int row = 0; row < 40; ++row) {
        rows += "A,2000-01-01,12:00,000:00W,51:30N,29,,,\n";
    }
    QBuffer input(&rows);
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    CommandEnvironment environment;
    environment.standardInput = &input;
    const CommandOutput output = RunCommand({"korvani-chart", "--batch", "-", "--jobs", "2",
                                             "--nodes", "mean", "--drekkana", "somanatha"},
                                            environment);
    ASSERT_EQ(output.exitStatus, 0) << output.standardError.toStdString();
    const QList<QByteArray> lines = output.standardOutput.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 40);
    for (const QByteArray& line : lines) {
        const QJsonObject settings = QJsonDocument::fromJson(line).object()["settings"].toObject();
        EXPECT_EQ(settings["nodes"].toString(), "mean") << line.toStdString();
        EXPECT_EQ(settings["drekkana"].toString(), "somanatha") << line.toStdString();
    }
}

// Catches a missing precise engine answered by the 1.20 rules or a crash: the command beside no
// module says what to install and ends with status 1, writing no chart.
TEST(CalculationOptions, MissingPreciseEngineFailsNamingWhatIsMissing) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString lonely = directory.filePath("korvani-chart");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANI_CHART_PATH), lonely));
    QProcess process;
    process.start(lonely, Greenwich2000Json({"--engine", "precise"}).mid(1));
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    const QString error = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(error.startsWith("korvani-chart: --engine precise: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("korvani-precise.so") || error.contains("libswe2.0"))
        << error.toStdString();
}

} // namespace
