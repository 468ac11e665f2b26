// The chart as a table and as JSON, and the zone list, from known birth data.

#include "cli/ChartOutput.h"
#include "support/Births.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

namespace {

QStringList Lines(const QString& text) {
    QStringList lines = text.split(u'\n');
    EXPECT_EQ(lines.takeLast(), QString()) << "output does not end with a newline";
    return lines;
}

QStringList Columns(const QString& line) {
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    return line.split(gap);
}

TEST(FormatChartTable, BodiesWithTheirDecanatesThenTheFourPoints) {
    const QStringList withUsedInput = Lines(FormatChartTable(ComputeChart(Greenwich2000())));
    ASSERT_EQ(withUsedInput.size(), 3 + 2 + 10 + 1 + 4)
        << FormatChartTable(ComputeChart(Greenwich2000())).toStdString();
    EXPECT_EQ(withUsedInput[0] + u'\n', FormatUsedInput(ComputeChart(Greenwich2000())));
    EXPECT_EQ(withUsedInput[1], QStringLiteral("Calculation: Korvani 1.20 rules"));
    EXPECT_EQ(withUsedInput[2], QString());
    const QStringList lines = withUsedInput.mid(3);
    EXPECT_EQ(Columns(lines[0]),
              QStringList({"Body", "Position", "Decanate", "Decanate sign", "Ruling planet",
                           "Ruling element", "Constellation", "Keyword", "Tree zodiac"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[- ]+$")).match(lines[1]).hasMatch());
    // Sun at 16 Sag 31: the second decanate of Sagittarius.
    EXPECT_EQ(Columns(lines[2]),
              QStringList({"Sun", "16 Sag 31", "Second Decanate", "Aries", "Mars", "Fire",
                           "Eridanus", "Exaltation", "Service tree"}));
    // Moon at 19 Lib 27: the second decanate of Libra.
    EXPECT_EQ(Columns(lines[3]),
              QStringList({"Moon", "19 Lib 27", "Second Decanate", "Aquarius", "Uranus and Saturn",
                           "Air", "Pegasus", "Inspiration", "Poplar-tree"}));
    const QStringList bodies = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
    for (int body = 0; body < 10; ++body) {
        const QStringList columns = Columns(lines[2 + body]);
        EXPECT_EQ(columns.size(), 9) << "row " << lines[2 + body].toStdString();
        EXPECT_EQ(columns.value(0), bodies[body]) << "row " << body;
        // Every column starts where its heading starts.
        EXPECT_EQ(lines[2 + body].indexOf(columns.value(2)), lines[0].indexOf(u"Decanate"))
            << "row " << body;
    }
    EXPECT_EQ(lines[12], QString());
    EXPECT_EQ(lines[13], QStringLiteral("Ascendant  00 Ari 26"));
    EXPECT_EQ(lines[14], QStringLiteral("Midheaven  15 Sag 45"));
    EXPECT_TRUE(lines[15].startsWith(QStringLiteral("Rahu       "))) << lines[15].toStdString();
    EXPECT_TRUE(lines[16].startsWith(QStringLiteral("Ketu       "))) << lines[16].toStdString();
    for (const QString& line : lines) {
        EXPECT_FALSE(line.endsWith(u' ')) << "trailing blank in " << line.toStdString();
    }
}

TEST(FormatChartJson, ParsesBackWithEveryKey) {
    const ChartResult result = ComputeChart(Greenwich2000());
    const QByteArray json = FormatChartJson(result);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(document.isObject());
    const QJsonObject object = document.object();
    EXPECT_EQ(object.keys(), QStringList({"ascendantText", "bodies", "chartSiderealCorrection",
                                          "charts", "decanates", "input", "midheavenText",
                                          "moonPositionText", "positionText", "settings",
                                          "zoneCorrectionHours", "zoneCorrectionMinutes"}));
    // The 1.20 rules by default, their ayanamsa the negative of the sidereal correction.
    const QJsonObject settings = object["settings"].toObject();
    EXPECT_EQ(settings.keys(), QStringList({"ayanamsa", "ayanamsaDegrees", "drekkana", "engine",
                                            "nodes", "summary"}));
    EXPECT_EQ(settings["engine"].toString(), "1.20");
    EXPECT_EQ(settings["ayanamsa"].toString(), "Korvani 1.20 (Lahiri-type)");
    EXPECT_EQ(settings["ayanamsaDegrees"].toDouble(), -result.chart.chartSiderealCorrection);
    EXPECT_EQ(settings["nodes"].toString(), "rule");
    EXPECT_EQ(settings["drekkana"].toString(), "parashara");
    EXPECT_EQ(settings["summary"].toString(), "Korvani 1.20 rules");

    const QJsonArray positions = object["positionText"].toArray();
    ASSERT_EQ(positions.size(), 14);
    EXPECT_EQ(positions[0].toString(), "16 Sag 31");
    EXPECT_EQ(positions[1].toString(), "19 Lib 27");
    EXPECT_EQ(positions[10].toString(), "00 Ari 26");
    EXPECT_EQ(positions[11].toString(), "15 Sag 45");
    EXPECT_EQ(object["moonPositionText"].toString(), QString::fromUtf8("19° 27' 45\" Lib"));
    EXPECT_EQ(object["ascendantText"].toString(), QString::fromUtf8("0° 26' 38\" Ari"));
    EXPECT_EQ(object["midheavenText"].toString(), QString::fromUtf8("15° 45' 37\" Sag"));
    // The degree mark travels as UTF-8, not as an escape.
    EXPECT_TRUE(json.contains("\"19\xC2\xB0 27' 45\\\" Lib\"")) << json.toStdString();

    ASSERT_TRUE(object["chartSiderealCorrection"].isDouble());
    EXPECT_EQ(object["chartSiderealCorrection"].toDouble(), result.chart.chartSiderealCorrection)
        << "the correction must survive the round trip exactly";
    EXPECT_EQ(object["zoneCorrectionHours"].toInt(-99), 0);
    EXPECT_EQ(object["zoneCorrectionMinutes"].toInt(-99), 0);

    const QJsonArray decanates = object["decanates"].toArray();
    ASSERT_EQ(decanates.size(), 10);
    const QStringList bodies = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};
    for (int body = 0; body < 10; ++body) {
        const QJsonObject decanate = decanates[body].toObject();
        EXPECT_EQ(decanate.keys(), QStringList({"body", "constellation", "decanateName",
                                                "decanateSign", "description", "keyword",
                                                "rulingElement", "rulingPlanet", "treeZodiac"}))
            << "body " << body;
        EXPECT_EQ(decanate["body"].toString(), bodies[body]);
        EXPECT_FALSE(decanate["description"].toString().isEmpty()) << "body " << body;
    }
    const QJsonObject sun = decanates[0].toObject();
    EXPECT_EQ(sun["decanateName"].toString(), "Second Decanate");
    EXPECT_EQ(sun["decanateSign"].toString(), "Aries");
    EXPECT_EQ(sun["rulingPlanet"].toString(), "Mars");
    EXPECT_EQ(sun["rulingElement"].toString(), "Fire");
    EXPECT_EQ(sun["constellation"].toString(), "Eridanus");
    EXPECT_EQ(sun["keyword"].toString(), "Exaltation");
    EXPECT_EQ(sun["treeZodiac"].toString(), "Service tree");
    EXPECT_EQ(sun["description"].toString(),
              "You will be interested in the opposite sex. You will waste time in useless "
              "pleasures and friends. You may be good looking.");
}

TEST(FormatChartJson, ZoneCorrectionOfIndianTime) {
    ChartInput input = Greenwich2000();
    input.timeZonePosition = 34;
    const QJsonObject object =
        QJsonDocument::fromJson(FormatChartJson(ComputeChart(input))).object();
    EXPECT_EQ(object["zoneCorrectionHours"].toInt(), -5);
    EXPECT_EQ(object["zoneCorrectionMinutes"].toInt(), -30);
}

TEST(FormatZoneList, SeventyOneNumberedZones) {
    const QStringList lines = Lines(FormatZoneList());
    ASSERT_EQ(lines.size(), 71);
    for (int position = 0; position < 71; ++position) {
        EXPECT_TRUE(lines[position].startsWith(QStringLiteral("%1  ").arg(position, 2)))
            << "line " << lines[position].toStdString();
    }
    EXPECT_EQ(lines[0], QStringLiteral(" 0  Alaska/Hawaii Daylight Time,AHDT,-9.0"));
    EXPECT_EQ(lines[29], QStringLiteral("29  Greenwich Mean Time,GMT,0.0"));
    EXPECT_EQ(lines[34], QStringLiteral("34  Indian Time, IST, +5.3"));
    EXPECT_EQ(lines[70], QStringLiteral("70  Yukon War Time,YWT,-8.0"));
}

} // namespace
