#include "app/WindowController.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"

#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "support/Capture.h"
#include "support/DecanateLookup.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// Birth data as a person enters it.
struct Birth {
    const char* name;
    const char* month;
    const char* day;
    const char* year;
    const char* hour;
    const char* minute;
    const char* lonDegrees;
    const char* lonMinutes;
    bool east;
    const char* latDegrees;
    const char* latMinutes;
    bool south;
    const char* zone;
    bool daylightSaving;
};

const Birth delhi1990 = {"Asha",
                         "August",
                         "15",
                         "1990",
                         "10",
                         "30",
                         "77",
                         "13",
                         true,
                         "28",
                         "39",
                         false,
                         "Indian Time, IST, +5.3",
                         false};

QString element(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

frmDisplay* visibleDisplay() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmDisplay" && widget->isVisible()) {
            return qobject_cast<frmDisplay*>(widget);
        }
    }
    return nullptr;
}

// Deletes what closing has unloaded.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class MainCalculationTest : public ::testing::Test {
  public:
    void SetUp() override {
        controller = std::make_unique<WindowController>();
        controller->start();
        window = FindWindow<frmMain>("frmMain");
    }
    void TearDown() override {
        controller.reset(); // unloads every window it still has
    }

    template <typename Widget>
    Widget* child(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }
    void type(const char* box, const char* text) {
        auto* line = child<QLineEdit>(box);
        line->clear();
        QTest::keyClicks(line, QString::fromLatin1(text));
    }
    void pick(const char* list, const char* item) {
        auto* combo = child<QComboBox>(list);
        const int index = combo->findText(QString::fromLatin1(item));
        ASSERT_GE(index, 0) << list << " has no " << item;
        combo->setCurrentIndex(index);
    }
    void enter(const Birth& birth) {
        type("txtName", birth.name);
        pick("cboMonth", birth.month);
        pick("cboDate", birth.day);
        pick("cboYear", birth.year);
        pick("cboHH", birth.hour);
        pick("cboMM", birth.minute);
        type("txtLonD", birth.lonDegrees);
        type("txtLonM", birth.lonMinutes);
        QTest::mouseClick(child<QRadioButton>(birth.east ? "optLong_0" : "optLong_1"),
                          Qt::LeftButton);
        type("txtLatD", birth.latDegrees);
        type("txtLatM", birth.latMinutes);
        QTest::mouseClick(child<QRadioButton>(birth.south ? "optLat_1" : "optLat_0"),
                          Qt::LeftButton);
        pick("cmbTimeZone", birth.zone);
        child<QCheckBox>("chkDST")->setChecked(birth.daylightSaving);
    }
    void calculate() { child<QPushButton>("cmdRashi")->click(); }

    std::unique_ptr<WindowController> controller;
    QPointer<frmMain> window;
};

// The chart the core computes for the same birth data, without any window.
ChartState expectedChart(const Birth& birth, int monthPosition, int zonePosition) {
    ChartInput input;
    input.monthPosition = monthPosition;
    input.day = QString::fromLatin1(birth.day).toInt();
    input.year = QString::fromLatin1(birth.year).toInt();
    input.hour = QString::fromLatin1(birth.hour).toInt();
    input.minute = QString::fromLatin1(birth.minute).toInt();
    input.longitudeDegrees = QString::fromLatin1(birth.lonDegrees).toInt();
    input.longitudeMinutes = QString::fromLatin1(birth.lonMinutes).toInt();
    input.latitudeDegrees = QString::fromLatin1(birth.latDegrees).toInt();
    input.latitudeMinutes = QString::fromLatin1(birth.latMinutes).toInt();
    input.east = birth.east;
    input.south = birth.south;
    input.daylightSaving = birth.daylightSaving;
    input.timeZonePosition = zonePosition;
    ChartState chart;
    LoadChartInput(chart, input);
    CalculateChart(chart);
    return chart;
}

TEST_F(MainCalculationTest, DelhiChartShowsTheMoonInTheSecondDecanateOfTaurus) {
    enter(delhi1990);
    MessageCapture messages;
    calculate();
    EXPECT_TRUE(messages.messages.empty());

    const ChartState& chart = window->chartState();
    EXPECT_EQ(chart.zoneCorrectionHours, -5);
    EXPECT_EQ(chart.zoneCorrectionMinutes, -30);
    EXPECT_EQ(chart.zoneHours, 5);
    EXPECT_EQ(chart.zoneMinutes, 30);
    EXPECT_EQ(chart.birthMonth, 8);
    EXPECT_EQ(chart.birthDay, 15);
    EXPECT_EQ(chart.birthYear, 1990);
    EXPECT_EQ(chart.longitudeEastFlag, -1);
    EXPECT_EQ(chart.latitudeSouthFlag, 0);
    EXPECT_EQ(chart.daylightSaving, 0);

    // The windows swap: the result shows, the input window hides, the exit window stays away.
    frmDisplay* display = visibleDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(IsShown("frmExit"));

    auto caption = [display](const char* name, int body) {
        const QLabel* label = display->findChild<QLabel*>(element(name, body));
        return label ? label->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(caption("lblPosition", 1), "18 Tau 54");
    EXPECT_EQ(caption("lblDecanateName", 1), "Second Decanate");
    EXPECT_EQ(caption("lblDecanateSign", 1), "Virgo");
    EXPECT_EQ(caption("lblRulingPlanet", 1),
              QString::fromStdString(LookUpDecanate("18 Tau 54")->rulingPlanet));

    const ChartState expected = expectedChart(delhi1990, 7, 34);
    for (int body = 0; body < displayedBodyCount; ++body) {
        EXPECT_EQ(caption("lblPosition", body),
                  QString::fromStdString(expected.positionText[static_cast<std::size_t>(body)]))
            << "body " << body;
        const QLabel* picture = display->findChild<QLabel*>(element("picPlanet", body));
        ASSERT_NE(picture, nullptr) << "body " << body;
        EXPECT_FALSE(picture->pixmap().isNull()) << "body " << body;
    }
}

TEST_F(MainCalculationTest, BackReturnsWithTheEntriesAndASecondCalculationReplacesEveryTab) {
    enter(delhi1990);
    calculate();
    ASSERT_NE(visibleDisplay(), nullptr);

    visibleDisplay()->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    settle();
    EXPECT_EQ(visibleDisplay(), nullptr);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(IsShown("frmExit"));
    EXPECT_EQ(child<QLineEdit>("txtName")->text(), "ASHA");
    EXPECT_EQ(child<QLineEdit>("txtLonD")->text(), "77");
    EXPECT_EQ(child<QComboBox>("cmbTimeZone")->currentText(), "Indian Time, IST, +5.3");
    EXPECT_EQ(child<QComboBox>("cboYear")->currentText(), "1990");

    const Birth london = {"Ben",
                          "January",
                          "1",
                          "2000",
                          "0",
                          "0",
                          "0",
                          "7",
                          false,
                          "51",
                          "30",
                          false,
                          "Greenwich Mean Time,GMT,0.0",
                          false};
    enter(london);
    calculate();
    frmDisplay* display = visibleDisplay();
    ASSERT_NE(display, nullptr);
    const ChartState first = expectedChart(delhi1990, 7, 34);
    const ChartState second = expectedChart(london, 0, 29);
    for (int body = 0; body < displayedBodyCount; ++body) {
        const auto index = static_cast<std::size_t>(body);
        const QString shown = display->findChild<QLabel*>(element("lblPosition", body))->text();
        EXPECT_EQ(shown, QString::fromStdString(second.positionText[index])) << "body " << body;
        EXPECT_NE(second.positionText[index], first.positionText[index])
            << "body " << body << ": the two charts must differ for this test to mean anything";
    }
    EXPECT_EQ(window->chartState().longitudeEastFlag, 0);
}

TEST_F(MainCalculationTest, TheFileMenuItemBehavesAsTheButton) {
    enter(delhi1990);
    child<QAction>("mnuNext")->trigger();
    frmDisplay* display = visibleDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(display->findChild<QLabel*>(QStringLiteral("lblPosition_1"))->text(), "18 Tau 54");
}

TEST_F(MainCalculationTest, TheFileMenuItemValidatesToo) {
    MessageCapture messages;
    child<QAction>("mnuNext")->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please Enter Name");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(visibleDisplay(), nullptr);
}

TEST_F(MainCalculationTest, SecondsTakeNoPartInTheCalculation) {
    enter(delhi1990);
    pick("cboSS", "45");
    calculate();
    const ChartState expected = expectedChart(delhi1990, 7, 34);
    EXPECT_EQ(window->chartState().positionText, expected.positionText);
}

struct FlagCase {
    const char* name;
    bool east;
    bool south;
    bool daylightSaving;
    int16_t eastFlag;
    int16_t southFlag;
    int16_t daylightFlag;
};

void PrintTo(const FlagCase& c, std::ostream* out) {
    *out << c.name;
}

class FlagTest : public MainCalculationTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTest, OptionsAndTickBoxBecomeChartFlags) {
    const FlagCase& c = GetParam();
    Birth birth = delhi1990;
    birth.east = c.east;
    birth.south = c.south;
    birth.daylightSaving = c.daylightSaving;
    enter(birth);
    calculate();
    EXPECT_EQ(window->chartState().longitudeEastFlag, c.eastFlag) << "case " << c.name;
    EXPECT_EQ(window->chartState().latitudeSouthFlag, c.southFlag) << "case " << c.name;
    EXPECT_EQ(window->chartState().daylightSaving, c.daylightFlag) << "case " << c.name;
    // Daylight saving is the stages' business; the zone correction stays the zone's.
    EXPECT_EQ(window->chartState().zoneCorrectionHours, -5) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Flags, FlagTest,
                         ::testing::Values(FlagCase{"westNorth", false, false, false, 0, 0, 0},
                                           FlagCase{"eastSouth", true, true, false, -1, -1, 0},
                                           FlagCase{"daylightSaving", true, false, true, -1, 0,
                                                    -1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BoundaryCase {
    const char* name;
    Birth birth;
};

void PrintTo(const BoundaryCase& c, std::ostream* out) {
    *out << c.name;
}

class AcceptedBoundaryTest : public MainCalculationTest,
                             public ::testing::WithParamInterface<BoundaryCase> {};

TEST_P(AcceptedBoundaryTest, EntriesAtTheLimitsAreCalculated) {
    const BoundaryCase& c = GetParam();
    enter(c.birth);
    MessageCapture messages;
    calculate();
    EXPECT_TRUE(messages.messages.empty())
        << "case " << c.name << ": "
        << (messages.messages.empty() ? std::string() : messages.messages[0].text.toStdString());
    EXPECT_NE(visibleDisplay(), nullptr) << "case " << c.name;
    EXPECT_FALSE(window->chartState().positionText[0].empty()) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, AcceptedBoundaryTest,
    ::testing::Values(BoundaryCase{"longitude179Latitude89",
                                   {"A", "June", "1", "1950", "12", "0", "179", "59", false, "89",
                                    "59", true, "Int'l Date Line West,IDLW,-12.0", false}},
                      BoundaryCase{"zeroPlace",
                                   {"A", "March", "31", "1901", "0", "0", "0", "0", true, "0", "0",
                                    false, "Greenwich Mean Time,GMT,0.0", false}},
                      BoundaryCase{"leapDay2000",
                                   {"A", "February", "29", "2000", "23", "59", "10", "0", true,
                                    "10", "0", false, "Japan Standard Time,JST,+9.0", true}},
                      BoundaryCase{"leapDay1904",
                                   {"A", "February", "29", "1904", "6", "15", "3", "30", false,
                                    "40", "0", false, "Eastern Standard Time,EST,-5.0", false}},
                      BoundaryCase{"lastDay2050",
                                   {"A", "December", "31", "2050", "23", "59", "151", "12", true,
                                    "33", "52", true, "Australian Eastern Standard Time,AEST,+10.0",
                                    false}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
