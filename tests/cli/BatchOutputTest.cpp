// The batch writers' own text making: JSON strings, offsets, longitudes and a result reused
// from one chart to the next.

#include "chart/TimeZones.h"
#include "cli/BatchRun.h"
#include "cli/ChartOutput.h"
#include "places/BirthTime.h"
#include "support/Births.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>
#include <vector>

namespace {

QJsonObject ParseLine(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return document.object();
}

// A chart's CSV row by column name; a name the header does not have reads as empty.
std::map<QByteArray, QString> CsvRowByColumn(const ChartResult& result) {
    QByteArray row;
    AppendChartCsvRow(row, result, 1);
    const QByteArray headerLine = ChartCsvHeader().trimmed();
    const QByteArray rowLine = row.trimmed();
    CsvFields header;
    CsvFields fields;
    EXPECT_FALSE(SplitCsvLine(headerLine, header));
    EXPECT_FALSE(SplitCsvLine(rowLine, fields));
    EXPECT_EQ(fields.values.size(), header.values.size());
    std::map<QByteArray, QString> byColumn;
    for (std::size_t column = 0; column < std::min(header.values.size(), fields.values.size());
         ++column) {
        byColumn[header.values[column].toByteArray()] = QString::fromUtf8(fields.values[column]);
    }
    return byColumn;
}

// A character that needs an escape, or a multi-byte one, at every place of texts of up to 26
// characters: the text reads back unchanged.
TEST(BatchJson, EveryCharacterReadsBackWhereverItStands) {
    const std::vector<QString> specials = {QStringLiteral("\""),     QStringLiteral("\\"),
                                           QStringLiteral("\n"),     QStringLiteral("\t"),
                                           QString(QChar(0x01)),     QString(QChar(0x1F)),
                                           QStringLiteral("\u00E9"), QStringLiteral("\u20AC")};
    for (const QString& special : specials) {
        for (int length = 0; length <= 25; ++length) {
            for (int at = 0; at <= length; ++at) {
                const QString text = QString(at, u'a') + special + QString(length - at, u'b');
                QByteArray line;
                AppendErrorJsonLine(line, 7, text);
                ASSERT_TRUE(line.endsWith('\n'));
                for (const char byte : line.chopped(1)) {
                    ASSERT_GE(static_cast<unsigned char>(byte), 0x20)
                        << "a raw control character in " << line.toStdString();
                }
                EXPECT_EQ(ParseLine(line).value(u"error").toString(), text)
                    << "length " << length << ", at " << at;
            }
        }
    }
}

// The chart's name goes through the same writer inside a whole chart line.
TEST(BatchJson, NameReadsBackInAChartLine) {
    UsedInput used;
    used.name = QStringLiteral("Ann \"Q\" \\ Zo\u00EB\ttab").toUtf8();
    const ChartResult result = ComputeChart(Greenwich2000(), &used);
    QByteArray line;
    AppendChartJsonLine(line, result, 3);
    const QJsonObject object = ParseLine(line);
    EXPECT_EQ(object.value(u"line").toInt(), 3);
    EXPECT_EQ(object.value(u"input").toObject().value(u"name").toString(),
              QString::fromUtf8(used.name));
}

// The offsets in a CSV row and a JSON line are FormatUtcOffset's, over whole hours, half hours,
// odd minutes and seconds of both signs.
TEST(BatchOffsets, SameTextAsFormatUtcOffset) {
    std::vector<int> offsets = {0,     1,      -1,    59,    -59,   60,    3599,   3600,      -3600,
                                19800, -16200, 20700, 19270, 46800, 50400, -43200, 36000 + 61};
    for (int seconds = -50000; seconds <= 50000; seconds += 997) {
        offsets.push_back(seconds);
    }
    for (const int offset : offsets) {
        UsedInput used;
        used.zoneSource = ZoneSource::Tz;
        used.zoneId = "Etc/Test";
        used.offsetSeconds = offset;
        used.databaseOffsetSeconds = -offset;
        const ChartResult result = ComputeChart(Greenwich2000(), &used);

        QByteArray line;
        AppendChartJsonLine(line, result, 1);
        const QJsonObject input = ParseLine(line).value(u"input").toObject();
        EXPECT_EQ(input.value(u"offset").toString(), FormatUtcOffset(offset)) << offset;
        EXPECT_EQ(input.value(u"zone").toObject().value(u"databaseOffset").toString(),
                  FormatUtcOffset(-offset))
            << offset;

        EXPECT_EQ(CsvRowByColumn(result)["offset"], FormatUtcOffset(offset)) << offset;
    }
}

// Charts over a spread of dates: each body's longitude in the JSON line is the number the
// calculation made, a result reused from chart to chart writes what a new one writes, and the CSV
// row gives each body what the JSON line gives.
TEST(BatchCharts, ReusedResultAndLongitudesAsFresh) {
    ChartResult reused;
    for (int step = 0; step < 60; ++step) {
        const ChartInput input = Birth(1901 + step * 5 % 150, 1 + step % 12, 1 + step * 7 % 28,
                                       step % 24, step * 13 % 60, step % timeZoneCount,
                                       step % 3 == 0, {step * 3 % 180, step % 60, step % 2 == 0});
        const ChartResult fresh = ComputeChart(input);
        ComputeChartInto(reused, input, nullptr);
        QByteArray freshLine;
        QByteArray reusedLine;
        AppendChartJsonLine(freshLine, fresh, step + 2);
        AppendChartJsonLine(reusedLine, reused, step + 2);
        ASSERT_EQ(reusedLine, freshLine) << "step " << step;

        const QJsonArray bodies = ParseLine(freshLine).value(u"bodies").toArray();
        ASSERT_EQ(bodies.size(), positionCount);
        for (int body = 0; body < positionCount; ++body) {
            // The number itself, every bit of it.
            EXPECT_EQ(bodies[body].toObject().value(u"longitudeDegrees").toDouble(),
                      fresh.longitudes[body])
                << "step " << step << ", body " << body;
        }

        std::map<QByteArray, QString> csv = CsvRowByColumn(reused);
        const std::pair<const char*, const char*> columns[] = {{"Position", "position"},
                                                               {"Decanate", "decanateName"},
                                                               {"DecanateSign", "decanateSign"},
                                                               {"RulingPlanet", "rulingPlanet"},
                                                               {"RulingElement", "rulingElement"},
                                                               {"Constellation", "constellation"},
                                                               {"Keyword", "keyword"},
                                                               {"TreeZodiac", "treeZodiac"}};
        for (int body = 0; body < positionCount; ++body) {
            const QByteArray name = QByteArray(bodyNames[body]).toLower();
            const QJsonObject object = bodies[body].toObject();
            EXPECT_EQ(csv[name + "Longitude"].toDouble(),
                      object.value(u"longitudeDegrees").toDouble())
                << "step " << step << ", body " << body;
            for (const auto& [suffix, key] : columns) {
                EXPECT_EQ(csv[name + suffix], object.value(QLatin1StringView(key)).toString())
                    << "step " << step << ", body " << body << ", " << suffix;
            }
        }
    }
}

} // namespace
