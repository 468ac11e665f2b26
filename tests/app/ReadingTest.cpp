#include "app/Reading.h"

#include <QTextDocument>

#include <gtest/gtest.h>

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

TEST(ChartHeader, NamesTheChartAsItWasEntered) {
    struct Row {
        const char* name;
        ChartState chart;
        const char* zone;
        const char* expected;
    };
    const Row rows[] = {
        {"eastNorthNoDaylightSaving", Chart(15, 8, 1990, 10, 30, true, false, false),
         "Indian Time, IST, +5.3",
         "ASHA · 15 August 1990 · 10:30 · 77°03′E 8°39′N · Indian Time, IST, +5.3"},
        {"westSouthDaylightSavingMidnight", Chart(1, 1, 1901, 0, 5, false, true, true),
         "Eastern Standard Time,EST,-5.0",
         "ASHA · 1 January 1901 · 00:05 · 77°03′W 8°39′S · Eastern Standard Time,EST,-5.0 · "
         "Daylight Saving Time"},
        {"lastMonth", Chart(31, 12, 2050, 23, 59, true, true, false), "Greenwich Mean Time,GMT,0.0",
         "ASHA · 31 December 2050 · 23:59 · 77°03′E 8°39′S · Greenwich Mean Time,GMT,0.0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChartHeaderText({QStringLiteral("ASHA"), QString::fromUtf8(row.zone)}, row.chart),
                  QString::fromUtf8(row.expected))
            << row.name;
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

} // namespace
