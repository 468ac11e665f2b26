// Batches on several threads, batches longer than the read buffer and the output chunk, the
// edges of the CSV lines, the processors a batch may use, and a sample whose output bytes are
// fixed.

#include "cli/BatchRun.h"
#include "cli/ChartCommand.h"
#include "cli/TestPlaces.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <pthread.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <thread>

namespace {

const QByteArray header = "name,date,time,lon,lat,zone,tz,place,dst";

CommandOutput RunBatchText(const QByteArray& csv, const QStringList& extra = {}) {
    QBuffer input;
    input.setData(csv);
    input.open(QIODevice::ReadOnly);
    return RunCommand(QStringList{"korvani-chart", "--batch", "-"} + extra, WithPlaces(&input));
}

// Rows of every kind, the same zones, places and zone-list values named again and again, each
// line ended by one of LF, CR LF or CR: charts from the zone list, from tz names and from places,
// refusals of every stage, blank lines and names that need escapes.
QList<QByteArray> MixedRows(int count) {
    const char* const kinds[] = {
        "Asha %1,1990-08-15,10:%2,077:13E,28:39N,34,,,",
        "\"Smith, J %1\",1976-07-04,23:%2,074:00W,40:43N,EST,,,yes",
        "Tz %1,19%2-03-10,04:30,074:00W,40:43N,,America/New_York,,",
        "Place %1,2001-01-%2,12:00,,,,,\"New Delhi, India\",",
        "Kath %1,1985-05-%2,06:15,,,,,Kathmandu,no",
        "Bad date %1,1990-02-30,10:%2,077:13E,28:39N,34,,,",
        "Gap %1,1976-04-25,02:30,074:00W,40:43N,,America/New_York,,",
        "Ambiguous %1,1990-01-%2,10:00,,,,,Springfield,",
        "Unknown %1,1990-01-%2,10:00,077:13E,28:39N,,Asia/Atlantis,,",
        "Quote \"\"%1\"\",1950-06-%2,09:00,010:00E,50:00N,IST,,,",
        "Tab\t%1,2040-12-%2,23:59,179:59W,89:59S,70,,,TRUE",
        "   ",
        "short,row %1",
        "Bad dst %1,1990-08-15,10:%2,077:13E,28:39N,34,,,maybe",
    };
    const char* const lineEnds[] = {"\n", "\r\n", "\r"};
    QList<QByteArray> rows;
    for (int row = 0; row < count; ++row) {
        const QString text = QString::fromLatin1(kinds[row % std::size(kinds)])
                                 .arg(row)
                                 .arg(10 + row % 18, 2, 10, QChar(u'0'));
        rows.append(text.toUtf8() + lineEnds[row / 7 % 3]);
    }
    return rows;
}

// The number of the first line of a JSON line or a CSV row, and the line with it taken out.
std::pair<int, QByteArray> WithoutLineNumber(const QByteArray& line) {
    const qsizetype end = line.indexOf(',');
    const qsizetype start = line.startsWith("{\"line\":") ? 8 : 0;
    return {line.mid(start, end - start).toInt(), line.left(start) + line.mid(end)};
}

// Longer than the 256 KiB read buffer and than many output chunks: the output on four threads is
// the output on one, byte for byte, and every sampled row is answered as it is alone, its zone
// and place named again long after the buffer was refilled.
TEST(BatchJobs, FourThreadsWriteWhatOneWritesAndEachRowAsAlone) {
    const QList<QByteArray> rows = MixedRows(12000);
    const QByteArray csv = header + '\n' + rows.join();
    ASSERT_GT(csv.size(), 2 * 256 * 1024);
    for (const char* format : {"json", "csv"}) {
        const CommandOutput one = RunBatchText(csv, {"--format", format, "--jobs", "1"});
        const CommandOutput four = RunBatchText(csv, {"--format", format, "--jobs", "4"});
        EXPECT_EQ(one.exitStatus, refusedExitStatus) << format;
        EXPECT_EQ(four.exitStatus, one.exitStatus) << format;
        EXPECT_EQ(four.standardError, one.standardError) << format;
        ASSERT_EQ(four.standardOutput, one.standardOutput) << format;

        QList<QByteArray> lines = one.standardOutput.split('\n');
        ASSERT_TRUE(lines.takeLast().isEmpty()) << format;
        if (QByteArrayView(format) == "csv") {
            lines.removeFirst(); // the header
        }
        // The blank rows are no rows; every other row has its line, in input order.
        qsizetype at = 0;
        for (qsizetype row = 0; row < rows.size(); ++row) {
            if (rows[row].trimmed().isEmpty()) {
                continue;
            }
            ASSERT_LT(at, lines.size()) << format;
            const auto [number, rest] = WithoutLineNumber(lines[at++]);
            ASSERT_EQ(number, row + 2) << format;
            if (row % 97 != 0 && row < rows.size() - 20) {
                continue;
            }
            const CommandOutput alone =
                RunBatchText(header + '\n' + rows[row], {"--format", format, "--jobs", "1"});
            QList<QByteArray> aloneLines = alone.standardOutput.split('\n');
            const QByteArray aloneLine = aloneLines.value(QByteArrayView(format) == "csv" ? 1 : 0);
            EXPECT_EQ(WithoutLineNumber(aloneLine).second, rest)
                << format << ", row " << row << ": " << rows[row].toStdString();
        }
        EXPECT_EQ(at, lines.size()) << format;
    }
}

// Lines at the edges of the CSV rules, one table row each: what each data line becomes, chart
// (an empty error) or refusal, with the line numbers the input gives them.
TEST(BatchLines, EdgesOfTheCsvRules) {
    const QByteArray good = "ok,1990-08-15,10:30,077:13E,28:39N,34,,,";
    const struct {
        const char* name;
        QByteArray csv;
        QList<std::pair<int, const char*>> answers; // line and error; "" for a chart
    } cases[] = {
        {"crEndsAnUnquotedField",
         header + "\nA\r" + good + "\n",
         {{2, "expected 9 columns (name,date,time,lon,lat,zone,tz,place,dst), found 1"}, {3, ""}}},
        {"crInsideQuotesEndsTheLine",
         header + "\n\"A\rB\"," + good + "\n",
         {{2, "unbalanced quotes: a quoted value is not closed on its line"},
          {3, "unbalanced quotes: a quote inside an unquoted value"}}},
        {"doubledQuotesInsideQuotes",
         header + "\n\"Ann \"\"Q\"\"\"" + good.mid(2) + "\n",
         {{2, ""}}},
        {"quoteInsideUnquoted",
         header + "\nAnn \"Q\"" + good.mid(2) + "\n",
         {{2, "unbalanced quotes: a quote inside an unquoted value"}}},
        {"lineOfBlanksIsNoRow", header + "\n \t  \n" + good + "\n", {{3, ""}}},
        {"headerInCapitals", header.toUpper() + "\n" + good + "\n", {{2, ""}}},
        {"headerWithBlanksAndCrOnly",
         " Name , DATE,time,lon,lat,zone,tz,place,dst \r" + good,
         {{2, ""}}},
        {"crOnlyLineEnds", header + "\r" + good + "\r\r" + good + "\r", {{2, ""}, {4, ""}}},
        {"dstNoInCapitals", header + "\n" + good + "NO\n", {{2, ""}}},
        {"dstYesWithZoneRow", header + "\n" + good + "yes\n", {{2, ""}}},
        {"dstWithTz",
         header + "\nok,1990-08-15,10:30,077:13E,28:39N,,Asia/Kolkata,,no\n" + good + "1\n",
         {{2, ""}, {3, ""}}},
        {"columnNamedInTheError",
         header + "\nok,1990-08-15,10:30,180:00E,28:39N,34,,,\n",
         {{2, "lon: Please Enter Value Between 0 And 179 in the Degree of Longitude"}}},
    };
    for (const auto& row : cases) {
        const CommandOutput output = RunBatchText(row.csv);
        QList<QByteArray> lines = output.standardOutput.split('\n');
        ASSERT_TRUE(lines.takeLast().isEmpty()) << row.name;
        ASSERT_EQ(lines.size(), row.answers.size()) << row.name << "\n"
                                                    << output.standardOutput.toStdString();
        for (qsizetype at = 0; at < lines.size(); ++at) {
            const QJsonObject object = QJsonDocument::fromJson(lines[at]).object();
            EXPECT_EQ(object["line"].toInt(), row.answers[at].first) << row.name;
            EXPECT_EQ(object["error"].toString().toStdString(), row.answers[at].second)
                << row.name << ", line " << row.answers[at].first;
        }
    }
    // The daylight-saving words reach the chart.
    const auto daylightSaving = [&](const char* word) {
        const CommandOutput output = RunBatchText(header + "\n" + good + word + "\n");
        return QJsonDocument::fromJson(output.standardOutput)
            .object()["input"]
            .toObject()["daylightSaving"]
            .toBool();
    };
    EXPECT_FALSE(daylightSaving("no"));
    EXPECT_FALSE(daylightSaving("No"));
    EXPECT_TRUE(daylightSaving("yes"));
    EXPECT_TRUE(daylightSaving("True"));
}

// A line of exactly the longest length is read, one byte more is refused, whatever ends it; the
// line after it is read either way.
TEST(BatchLines, LongestLineAndOneByteMore) {
    const QByteArray good = "ok,1990-08-15,10:30,077:13E,28:39N,34,,,";
    const QByteArray tail = ",1990-08-15,10:30,077:13E,28:39N,34,,,";
    for (const char* lineEnd : {"\n", "\r\n", "\r", ""}) {
        for (const qsizetype extra : {0, 1}) {
            const QByteArray name(longestBatchLineBytes - tail.size() + extra, 'n');
            const QByteArray line = name + tail;
            QByteArray csv = header + "\n" + line;
            if (*lineEnd != '\0') {
                csv += lineEnd + good + "\n";
            }
            const CommandOutput output = RunBatchText(csv);
            const QList<QByteArray> lines = output.standardOutput.split('\n');
            const QJsonObject first = QJsonDocument::fromJson(lines.value(0)).object();
            const std::string where = "line end " +
                                      QByteArray(lineEnd).toPercentEncoding().toStdString() + ", " +
                                      std::to_string(line.size()) + " bytes";
            EXPECT_EQ(first["line"].toInt(), 2) << where;
            if (extra == 0) {
                EXPECT_FALSE(first.contains("error"))
                    << where << ": " << first["error"].toString().toStdString();
                EXPECT_EQ(first["input"].toObject()["name"].toString().size(), name.size())
                    << where;
            } else {
                EXPECT_EQ(first["error"].toString(), "the line is longer than 65536 bytes")
                    << where;
            }
            if (*lineEnd != '\0') {
                const QJsonObject second = QJsonDocument::fromJson(lines.value(1)).object();
                EXPECT_EQ(second["line"].toInt(), 3) << where;
                EXPECT_FALSE(second.contains("error")) << where;
            }
        }
    }
}

// The threads that compute rows hold Ctrl+C and SIGTERM blocked, so that a stop signal is taken
// on the thread that writes the output, between its lines; that thread's own mask is as it was.
TEST(BatchJobs, RowsAreComputedWithStopSignalsBlocked) {
    const auto stopSignalsBlocked = [] {
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        return sigismember(&mask, SIGINT) == 1 && sigismember(&mask, SIGTERM) == 1;
    };
    ASSERT_FALSE(stopSignalsBlocked());
    QBuffer input;
    input.setData(header + "\nPlace,2001-01-01,12:00,,,,,\"New Delhi, India\",\n");
    input.open(QIODevice::ReadOnly);
    CommandEnvironment environment = WithPlaces(&input);
    // The place list is loaded on the thread that meets the first place.
    std::optional<std::pair<std::thread::id, bool>> loadedOn;
    environment.places = [&loadedOn, stopSignalsBlocked, load = environment.places] {
        loadedOn.emplace(std::this_thread::get_id(), stopSignalsBlocked());
        return load();
    };
    const CommandOutput output =
        RunCommand({"korvani-chart", "--batch", "-", "--jobs", "2"}, environment);
    EXPECT_EQ(output.exitStatus, 0) << output.standardError.toStdString();
    ASSERT_TRUE(loadedOn);
    EXPECT_NE(loadedOn->first, std::this_thread::get_id());
    EXPECT_TRUE(loadedOn->second);
    EXPECT_FALSE(stopSignalsBlocked());
}

TEST(UsableProcessors, ControlGroupLimitRoundedUp) {
    const struct {
        const char* cpuMax;
        std::optional<int> processors;
    } rows[] = {
        {"max 100000\n", std::nullopt}, {"200000 100000\n", 2},
        {"150000 100000", 2},           {"50000 100000", 1},
        {"100000 100000", 1},           {"", std::nullopt},
        {"-1 100000", std::nullopt},    {"abc def", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ProcessorsOfCpuMax(row.cpuMax), row.processors) << row.cpuMax;
    }
    EXPECT_GE(UsableProcessorCount(), 1);
}

// A small mixed sample whose output must keep every byte: keys, their order, number texts,
// escapes and the CSV columns. After a change that is meant to alter the output, renew the files
// with KORVANI_RENEW_GOLDEN=1 and read the difference before committing it.
TEST(BatchGolden, SampleKeepsEveryByte) {
    QFile inputFile(QStringLiteral(KORVANI_CLI_GOLDEN_DIR "/sample.csv"));
    ASSERT_TRUE(inputFile.open(QIODevice::ReadOnly));
    const QByteArray csv = inputFile.readAll();
    for (const auto& [format, name] :
         {std::pair{"json", "sample.jsonl"}, {"csv", "sample.out.csv"}}) {
        const CommandOutput output = RunBatchText(csv, {"--format", format});
        const QString path = QStringLiteral(KORVANI_CLI_GOLDEN_DIR "/") + QLatin1StringView(name);
        QFile expected(path);
        if (std::getenv("KORVANI_RENEW_GOLDEN") != nullptr) {
            ASSERT_TRUE(expected.open(QIODevice::WriteOnly));
            expected.write(output.standardOutput);
            continue;
        }
        ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_EQ(output.standardOutput, expected.readAll()) << name;
        EXPECT_EQ(output.standardError, QByteArray("korvani-chart: 5 of 13 rows refused\n"))
            << name;
    }
}

} // namespace
