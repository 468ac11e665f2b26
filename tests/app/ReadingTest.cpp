#include "app/Reading.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

ChartState Chart(int day, int month, int year, int hour, int minute, bool east, bool south,
                 bool daylightSaving) {
    ChartState chart;
    chart.birthDay = static_cast<int16_t>(day);
    chart.birthMonth = static_cast<int16_t>(month);
    chart.birthYear = static_cast<int16_t>(year);
    chart.birthHour = static_cast<int16_t>(hour);
    chart.birthMinute = static_cast<int16_t>(minute);
    chart.longitudeDegrees = 77;
    chart.longitudeMinutes = 3;
    chart.latitudeDegrees = 8;
    chart.latitudeMinutes = 39;
    chart.longitudeEastFlag = east ? chartTrue : chartFalse;
    chart.latitudeSouthFlag = south ? chartTrue : chartFalse;
    chart.daylightSaving = daylightSaving ? chartTrue : chartFalse;
    return chart;
}

// The header as the chart was entered: a row's text alone when nothing else is known; the place,
// the offset used and, when a row was used where the place kept another offset, both offsets.
// Catches a header that hides that the chart was computed at another offset than the place kept.
TEST(ChartHeader, NamesTheChartAsItWasEntered) {
    struct Row {
        const char* name;
        ChartState chart;
        ChartHeaderFields fields;
        const char* expected;
    };
    const auto fields = [](const char* zone, const char* place = "",
                           std::optional<int> offsetSeconds = std::nullopt,
                           std::optional<int> keptSeconds = std::nullopt) {
        return ChartHeaderFields{QStringLiteral("ASHA"), QString::fromUtf8(zone),
                                 QString::fromUtf8(place), offsetSeconds, keptSeconds};
    };
    const Row rows[] = {
        {"eastNorthNoDaylightSaving", Chart(15, 8, 1990, 10, 30, true, false, false),
         fields("Indian Time, IST, +5.3"),
         "ASHA · 15 August 1990 · 10:30 · 77°03′E 8°39′N · Indian Time, IST, +5.3"},
        {"westSouthDaylightSavingMidnight", Chart(1, 1, 1901, 0, 5, false, true, true),
         fields("Eastern Standard Time,EST,-5.0"),
         "ASHA · 1 January 1901 · 00:05 · 77°03′W 8°39′S · Eastern Standard Time,EST,-5.0 · "
         "Daylight Saving Time"},
        {"lastMonth", Chart(31, 12, 2050, 23, 59, true, true, false),
         fields("Greenwich Mean Time,GMT,0.0"),
         "ASHA · 31 December 2050 · 23:59 · 77°03′E 8°39′S · Greenwich Mean Time,GMT,0.0"},
        {"placeOwnTimeNamesPlaceZoneAndOffset", Chart(15, 8, 1990, 10, 30, true, false, false),
         fields("Asia/Kathmandu", "Kathmandu, Nepal", 20700, 20700),
         "ASHA · 15 August 1990 · 10:30 · Kathmandu, Nepal · 77°03′E 8°39′N · Asia/Kathmandu · "
         "+5:45"},
        {"rowUsedWherePlaceKeptAnother", Chart(15, 8, 1990, 10, 30, true, false, false),
         fields("Indian Time, IST, +5.3", "Kathmandu, Nepal", 19800, 20700),
         "ASHA · 15 August 1990 · 10:30 · Kathmandu, Nepal · 77°03′E 8°39′N · Indian Time, IST, "
         "+5.3 · +5:30 · computed at +5:30; the place kept +5:45"},
        {"meanTimeSecondsRoundedToTheMinute", Chart(1, 3, 1905, 12, 0, true, false, false),
         fields("Asia/Kolkata", "Kolkata", 19260, 19270),
         "ASHA · 1 March 1905 · 12:00 · Kolkata · 77°03′E 8°39′N · Asia/Kolkata · +5:21 · "
         "computed at +5:21; the place kept +5:21:10"},
        {"rowWithTheBoxGivesTheHourMore", Chart(15, 7, 1990, 12, 0, false, false, true),
         fields("Greenwich Mean Time,GMT,0.0", "Dublin, Ireland", 3600, 3600),
         "ASHA · 15 July 1990 · 12:00 · Dublin, Ireland · 77°03′W 8°39′N · Greenwich Mean "
         "Time,GMT,0.0 · +1:00 · Daylight Saving Time"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChartHeaderText(row.fields, row.chart).toStdString(), row.expected) << row.name;
    }
}

Reading TwoBodies() {
    Reading reading;
    reading.header = QStringLiteral("A & B <co> · 1 January 1901");
    for (const char* body : {"Sun", "Moon"}) {
        BodyReading tab{QString::fromLatin1(body), {}};
        for (std::size_t field = 0; field < tab.values.size(); ++field) {
            tab.values[field] = QStringLiteral("%1 value %2 <&>").arg(body).arg(field);
        }
        reading.bodies.push_back(tab);
    }
    return reading;
}

// The plain text and the printed document carry the same reading, every field under its caption,
// and markup in a text stays text.
TEST(Reading, TextAndDocumentCarryEveryFieldOfEveryBody) {
    const Reading reading = TwoBodies();
    const QString text = ReadingText(reading);
    QTextDocument document;
    document.setHtml(ReadingHtml(reading));
    const QString printed = document.toPlainText();

    EXPECT_TRUE(text.startsWith(reading.header + u'\n'));
    EXPECT_TRUE(printed.startsWith(reading.header)) << printed.left(80).toStdString();
    for (const BodyReading& body : reading.bodies) {
        for (std::size_t field = 0; field < body.values.size(); ++field) {
            const QString caption = QString::fromLatin1(readingFieldCaptions[field]);
            EXPECT_TRUE(text.contains(caption + QStringLiteral(": ") + body.values[field] + u'\n'))
                << body.bodyName.toStdString() << " " << field;
            EXPECT_TRUE(printed.contains(body.values[field]))
                << body.bodyName.toStdString() << " " << field;
            EXPECT_TRUE(printed.contains(caption)) << caption.toStdString();
        }
    }
    // The bodies in order, each after the one before.
    EXPECT_LT(text.indexOf(QStringLiteral("\nSun\n")), text.indexOf(QStringLiteral("\nMoon\n")));
    EXPECT_LT(printed.indexOf(QStringLiteral("Sun value 8")),
              printed.indexOf(QStringLiteral("Moon value 0")));
}

TEST(ReadingFileStem, NameAndBirthDateAsAFileName) {
    struct Row {
        const char* name;
        int day, month, year;
        const char* expected;
    };
    const Row rows[] = {
        {"ASHA VERMA", 15, 8, 1990, "ASHA VERMA 1990-08-15"},
        {"  RAVI  ", 1, 1, 901, "RAVI 0901-01-01"},
        {"A/B:C*D?", 31, 12, 2050, "A B C D 2050-12-31"},
        {"R\tK\\\"L|<M>", 9, 10, 2000, "R K L M 2000-10-09"},
        {"", 2, 3, 1950, "1950-03-02"},
        {"///", 2, 3, 1950, "1950-03-02"},
        {"ÉLODIE Ñ", 28, 2, 1960, "ÉLODIE Ñ 1960-02-28"},
    };
    for (const Row& row : rows) {
        const ChartState chart = Chart(row.day, row.month, row.year, 0, 0, true, false, false);
        EXPECT_EQ(ReadingFileStem(QString::fromUtf8(row.name), chart),
                  QString::fromUtf8(row.expected))
            << row.name;
    }
}

// Ten bodies as the result window shows them, with a paragraph of description each.
Reading TenBodies() {
    Reading reading;
    reading.header = QStringLiteral("ASHA VERMA · 15 August 1990 · 10:30 · 77°13′E 28°39′N");
    for (int body = 0; body < 10; ++body) {
        BodyReading tab{QStringLiteral("Body %1").arg(body), {}};
        for (std::size_t field = 0; field + 1 < tab.values.size(); ++field) {
            tab.values[field] = QStringLiteral("Value %1").arg(field);
        }
        tab.values.back() = QStringLiteral("A description of the sign, long enough to wrap. ")
                                .repeated(2 + body % 4);
        reading.bodies.push_back(tab);
    }
    return reading;
}

// The page of each block's top, from a heading up to the next heading.
std::vector<std::vector<int>> PagesOfBodies(QTextDocument& document) {
    std::vector<std::vector<int>> bodies;
    const qreal pageHeight = document.pageSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2) {
            bodies.emplace_back();
        }
        if (!bodies.empty() && !block.text().isEmpty()) {
            const QRectF box = document.documentLayout()->blockBoundingRect(block);
            bodies.back().push_back(int(box.top() / pageHeight));
            bodies.back().push_back(int((box.bottom() - 1) / pageHeight));
        }
    }
    return bodies;
}

// Over a sweep of page heights, every body (heading, fields and description) lies on one page;
// without the moves some would not, so the sweep does reach the page ends.
TEST(ReadingPrintout, NoBodyIsPartedFromItsHeadingByAPageBreak) {
    const Reading reading = TenBodies();
    int partedWithoutMoves = 0;
    for (int pageHeight = 400; pageHeight <= 1200; pageHeight += 20) {
        for (const bool moved : {false, true}) {
            QTextDocument document;
            document.setPageSize(QSizeF(500, pageHeight));
            document.setHtml(ReadingHtml(reading));
            if (moved) {
                KeepBodiesTogether(document);
            }
            const auto bodies = PagesOfBodies(document);
            // The layout moved is the layout printed: laying the document out afresh moves
            // nothing.
            document.markContentsDirty(0, document.characterCount());
            EXPECT_EQ(PagesOfBodies(document), bodies) << "page height " << pageHeight;
            ASSERT_EQ(bodies.size(), reading.bodies.size());
            for (std::size_t body = 0; body < bodies.size(); ++body) {
                const auto [first, last] =
                    std::minmax_element(bodies[body].begin(), bodies[body].end());
                if (!moved) {
                    partedWithoutMoves += *first != *last ? 1 : 0;
                    continue;
                }
                EXPECT_EQ(*first, *last) << "page height " << pageHeight << ", body " << body;
            }
        }
    }
    EXPECT_GT(partedWithoutMoves, 10);
}

// In the printout each caption has at least two letters' width of space before its value.
TEST(ReadingPrintout, CaptionsStandClearOfTheirValues) {
    QTextDocument document;
    document.setHtml(ReadingHtml(TenBodies()));
    document.setTextWidth(600);
    const qreal letter = QFontMetricsF(document.defaultFont()).horizontalAdvance(u'M');
    int rows = 0;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->columns(), 2);
        for (int row = 0; row < table->rows(); ++row) {
            const QTextBlock caption = table->cellAt(row, 0).firstCursorPosition().block();
            const QTextBlock value = table->cellAt(row, 1).firstCursorPosition().block();
            const qreal captionEnd = document.documentLayout()->blockBoundingRect(caption).left() +
                                     caption.layout()->lineAt(0).naturalTextWidth();
            const qreal valueStart = document.documentLayout()->blockBoundingRect(value).left();
            EXPECT_GE(valueStart - captionEnd, 2 * letter) << caption.text().toStdString();
            ++rows;
        }
    }
    EXPECT_EQ(rows, 10 * 8);
}

} // namespace
