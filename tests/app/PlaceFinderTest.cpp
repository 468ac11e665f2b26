// The offline place finder: its rows, Use This Place, the birth date changing under it, no match
// and the web search without a place list.

#include "app/PlaceFinderRows.h"
#include "app/WindowController.h"
#include "app/frmMain.h"
#include "app/frmPlaceFinder.h"
#include "chart/TimeZones.h"
#include "links/modHelp.h"
#include "places/BirthTime.h"
#include "places/PlaceSource.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Coordinates chosen so that each rounds differently: to the minute below, above, to 0° and
// west or south.
QList<Place> FinderPlaces() {
    return {
        {"New Delhi", "Delhi", "India", "IN", "Asia/Kolkata", 28.65, 77.2167, 317797},
        {"Kathmandu", "Central Region", "Nepal", "NP", "Asia/Kathmandu", 27.70169, 85.3206,
         1442271},
        {"London", "England", "United Kingdom", "GB", "Europe/London", 51.50853, -0.12574, 7556900},
        {"New York City", "New York", "United States", "US", "America/New_York", 40.71427,
         -74.00597, 8175133},
        {"Buenos Aires", "Buenos Aires F.D.", "Argentina", "AR", "America/Argentina/Buenos_Aires",
         -34.61315, -58.37723, 13076300},
    };
}

QString Column(const FinderRow& row, FinderColumn column) {
    return row.columns[static_cast<int>(column)];
}

QString ZoneText(int position) {
    return QString::fromLatin1(timeZoneTable[static_cast<std::size_t>(position)].listText);
}

struct RowCase {
    const char* name;
    int place; // into FinderPlaces()
    QDate date;
    QTime time;
    const char* latitude;
    const char* longitude;
    const char* offset;
    bool daylightSaving;
    bool exact;
    const char* noteHas; // for a row that is not exact
};

// Cases that catch a sign turned round (west, south), two hours of summer time, a quarter hour
// no row gives and daylight saving on either side of a clock change.
const RowCase rowCases[] = {
    {"delhi1990", 0, {1990, 1, 1}, {0, 0}, "28°39′N", "77°13′E", "+5:30", false, true, ""},
    {"delhiWarTime", 0, {1943, 1, 15}, {12, 0}, "28°39′N", "77°13′E", "+6:30", true, true, ""},
    {"kathmandu",
     1,
     {2000, 6, 1},
     {12, 0},
     "27°42′N",
     "85°19′E",
     "+5:45",
     false,
     false,
     "15 minutes"},
    {"londonDoubleSummer", 2, {1941, 6, 1}, {12, 0}, "51°31′N", "0°08′W", "+2:00", true, true, ""},
    {"newYorkWinter", 3, {1975, 1, 15}, {12, 0}, "40°43′N", "74°00′W", "-5:00", false, true, ""},
    {"newYorkSummer", 3, {1975, 7, 15}, {12, 0}, "40°43′N", "74°00′W", "-4:00", true, true, ""},
    {"newYorkSpringGap",
     3,
     {1975, 2, 23},
     {2, 30},
     "40°43′N",
     "74°00′W",
     "-5:00 or -4:00",
     false,
     false,
     "did not exist"},
    {"buenosAires", 4, {2000, 1, 1}, {12, 0}, "34°37′S", "58°23′W", "-3:00", false, true, ""},
};

class FinderRows : public ::testing::TestWithParam<RowCase> {};

// Each row shows the place's coordinates as the boxes take them, the database's offset and a
// zone-list row whose universal time is the database's whenever the row is exact.
TEST_P(FinderRows, CoordinatesOffsetAndRecommendedRow) {
    const RowCase& c = GetParam();
    const Place place = FinderPlaces()[c.place];
    const FinderRow row = MakeFinderRow(place, c.date, c.time);
    ASSERT_EQ(row.columns.size(), static_cast<int>(FinderColumn::Count));
    EXPECT_EQ(Column(row, FinderColumn::Place), place.name);
    EXPECT_EQ(Column(row, FinderColumn::Country), place.country);
    EXPECT_EQ(Column(row, FinderColumn::Latitude), QString::fromUtf8(c.latitude));
    EXPECT_EQ(Column(row, FinderColumn::Longitude), QString::fromUtf8(c.longitude));
    EXPECT_EQ(Column(row, FinderColumn::Zone), QString::fromLatin1(place.zoneId));
    EXPECT_EQ(Column(row, FinderColumn::Offset), QString::fromLatin1(c.offset));
    EXPECT_EQ(Column(row, FinderColumn::DaylightSaving), c.daylightSaving ? "Yes" : "No");
    EXPECT_EQ(row.exact, c.exact);
    ASSERT_TRUE(row.choice.zoneKnown);
    EXPECT_EQ(Column(row, FinderColumn::ZoneRow), ZoneText(row.choice.zonePosition));
    EXPECT_EQ(Column(row, FinderColumn::DaylightSavingBox),
              row.choice.daylightSaving ? "Yes" : "No");
    if (c.exact) {
        // The row and box give the clock the database has, in local minus universal seconds.
        const LocalTimeReading reading =
            ZoneHistory::ForZone(place.zoneId)->ReadLocalTime(c.date, c.time);
        EXPECT_EQ(ZoneRowOffsetSeconds(row.choice.zonePosition, row.choice.daylightSaving),
                  reading.offset.offsetSeconds);
        EXPECT_TRUE(Column(row, FinderColumn::Note).isEmpty());
    } else {
        EXPECT_TRUE(Column(row, FinderColumn::Note).contains(QLatin1String(c.noteHas)))
            << Column(row, FinderColumn::Note).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Places, FinderRows, ::testing::ValuesIn(rowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FinderRowsWithoutADay, LeaveTheZoneAloneAndSaySo) {
    const FinderRow row = MakeFinderRow(FinderPlaces()[0], QDate(1990, 2, 31), QTime(12, 0));
    EXPECT_FALSE(row.choice.zoneKnown);
    EXPECT_TRUE(Column(row, FinderColumn::Offset).isEmpty());
    EXPECT_FALSE(Column(row, FinderColumn::Note).isEmpty());
    EXPECT_EQ(Column(row, FinderColumn::Latitude), QString::fromUtf8("28°39′N"));
    EXPECT_TRUE(FinderMomentNote(QDate(1990, 2, 31), QTime(12, 0)).contains("not a day"));
}

// The program with a small place list: the input window, and the finder once a lookup ran.
class FinderFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        controller.usePlaceSource(std::make_shared<ListPlaceSource>(FinderPlaces()));
        controller.start();
        input = FindWindow("frmMain");
        ASSERT_NE(input, nullptr);
    }

    template <typename Widget>
    Widget* in(QWidget* window, const char* name) {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void choose(const char* list, const QString& text) {
        auto* box = in<QComboBox>(input, list);
        const int position = box->findText(text);
        ASSERT_GE(position, 0) << list << " " << text.toStdString();
        box->setCurrentIndex(position);
    }
    void setBirth(QDate date, QTime time) {
        in<QComboBox>(input, "cboMonth")->setCurrentIndex(date.month() - 1);
        choose("cboDate", QString::number(date.day()));
        choose("cboYear", QString::number(date.year()));
        choose("cboHH", QString::number(time.hour()));
        choose("cboMM", QString::number(time.minute()));
    }
    // Types the place and presses the place lookup; the finder once it shows the matches.
    frmPlaceFinder* lookUp(const char* city, const char* state, const char* country) {
        QTest::keyClicks(in<QLineEdit>(input, "txtMCity"), QString::fromUtf8(city));
        QTest::keyClicks(in<QLineEdit>(input, "txtMState"), QString::fromUtf8(state));
        QTest::keyClicks(in<QLineEdit>(input, "txtMCountry"), QString::fromUtf8(country));
        in<QPushButton>(input, "cmdBrowser")->click();
        auto* finder = FindWindow<frmPlaceFinder>("frmPlaceFinder");
        EXPECT_NE(finder, nullptr);
        if (finder) {
            EXPECT_TRUE(finder->isVisible());
            EXPECT_TRUE(QTest::qWaitFor([finder] { return finder->ready(); }, 20000));
        }
        return finder;
    }
    QString cell(frmPlaceFinder* finder, int row, FinderColumn column) {
        QTreeWidgetItem* item = in<QTreeWidget>(finder, "lstPlaces")->topLevelItem(row);
        return item ? item->text(static_cast<int>(column)) : QString();
    }
    QString note(frmPlaceFinder* finder) { return in<QLabel>(finder, "lblFinderNote")->text(); }

    WindowController controller;
    QWidget* input = nullptr;
};

struct UseCase {
    const char* name;
    const char* city;
    const char* state;
    const char* country;
    QDate date;
    QTime time;
    const char* lonD;
    const char* lonM;
    bool west;
    const char* latD;
    const char* latM;
    bool south;
};

class UseThisPlace : public FinderFlow, public ::testing::WithParamInterface<UseCase> {};

// Use This Place types the row's coordinates, zone row and box into the input window and nothing
// else; the calculation then shows the same place and zone in its header.
TEST_P(UseThisPlace, FillsTheBoxesAndTheResultAgreesWithTheRow) {
    const UseCase& c = GetParam();
    setBirth(c.date, c.time);
    QTest::keyClicks(in<QLineEdit>(input, "txtName"), QStringLiteral("Asha"));
    frmPlaceFinder* finder = lookUp(c.city, c.state, c.country);
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(cell(finder, 0, FinderColumn::Place), QString::fromUtf8(c.city));
    const QStringList untouched = {"txtName", "txtMCity", "txtMState", "txtMCountry"};
    QStringList before;
    for (const QString& box : untouched) {
        before << in<QLineEdit>(input, box.toLatin1().constData())->text();
    }
    const QDate dateBefore = qobject_cast<frmMain*>(input)->birthDate();

    in<QPushButton>(finder, "cmdUsePlace")->click();

    EXPECT_EQ(in<QLineEdit>(input, "txtLonD")->text(), c.lonD);
    EXPECT_EQ(in<QLineEdit>(input, "txtLonM")->text(), c.lonM);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatD")->text(), c.latD);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatM")->text(), c.latM);
    EXPECT_EQ(in<QRadioButton>(input, "optLong_1")->isChecked(), c.west);
    EXPECT_EQ(in<QRadioButton>(input, "optLong_0")->isChecked(), !c.west);
    EXPECT_EQ(in<QRadioButton>(input, "optLat_1")->isChecked(), c.south);
    EXPECT_EQ(in<QRadioButton>(input, "optLat_0")->isChecked(), !c.south);
    EXPECT_EQ(in<QComboBox>(input, "cmbTimeZone")->currentText(),
              cell(finder, 0, FinderColumn::ZoneRow));
    const bool box = cell(finder, 0, FinderColumn::DaylightSavingBox) == "Yes";
    EXPECT_EQ(in<QCheckBox>(input, "chkDST")->isChecked(), box);
    QStringList after;
    for (const QString& name : untouched) {
        after << in<QLineEdit>(input, name.toLatin1().constData())->text();
    }
    EXPECT_EQ(after, before) << "only the coordinates and the zone change";
    EXPECT_EQ(qobject_cast<frmMain*>(input)->birthDate(), dateBefore);

    in<QPushButton>(input, "cmdRashi")->click();
    QWidget* result = FindWindow("frmDisplay");
    ASSERT_TRUE(result && result->isVisible());
    const QString header = in<QLabel>(result, "lblChartHeader")->text();
    for (FinderColumn column :
         {FinderColumn::Latitude, FinderColumn::Longitude, FinderColumn::ZoneRow}) {
        EXPECT_TRUE(header.contains(cell(finder, 0, column)))
            << header.toStdString() << " lacks " << cell(finder, 0, column).toStdString();
    }
    EXPECT_EQ(header.contains("Daylight Saving Time"), box);
}

INSTANTIATE_TEST_SUITE_P(Places, UseThisPlace,
                         ::testing::Values(UseCase{"delhi",
                                                   "New Delhi",
                                                   "Delhi",
                                                   "India",
                                                   {1990, 1, 1},
                                                   {0, 0},
                                                   "77",
                                                   "13",
                                                   false,
                                                   "28",
                                                   "39",
                                                   false},
                                           UseCase{"londonDoubleSummer",
                                                   "London",
                                                   "England",
                                                   "UK",
                                                   {1941, 6, 1},
                                                   {12, 0},
                                                   "0",
                                                   "8",
                                                   true,
                                                   "51",
                                                   "31",
                                                   false},
                                           UseCase{"kathmanduNoExactRow",
                                                   "Kathmandu",
                                                   "Central",
                                                   "Nepal",
                                                   {2000, 6, 1},
                                                   {12, 0},
                                                   "85",
                                                   "19",
                                                   false,
                                                   "27",
                                                   "42",
                                                   false},
                                           UseCase{"buenosAires",
                                                   "Buenos Aires",
                                                   "Buenos Aires",
                                                   "Argentina",
                                                   {2000, 1, 1},
                                                   {12, 0},
                                                   "58",
                                                   "23",
                                                   true,
                                                   "34",
                                                   "37",
                                                   true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FinderFlow, ADoubleClickOnARowUsesThatPlace) {
    frmPlaceFinder* finder = lookUp("New", "x", "x"); // New Delhi and New York City
    ASSERT_NE(finder, nullptr);
    auto* list = in<QTreeWidget>(finder, "lstPlaces");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const int york = cell(finder, 0, FinderColumn::Place) == "New York City" ? 0 : 1;
    QTreeWidgetItem* item = list->topLevelItem(york);
    list->scrollToItem(item);
    const QRect place = list->visualItemRect(item);
    // A double click is a press, a release and a second press read as double.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(in<QLineEdit>(input, "txtLonD")->text(), "74");
    EXPECT_TRUE(in<QRadioButton>(input, "optLong_1")->isChecked());
}

TEST_F(FinderFlow, ChangingTheBirthDateRecomputesTheOffsets) {
    setBirth({1975, 1, 15}, {12, 0});
    frmPlaceFinder* finder = lookUp("New York City", "NY", "US");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(cell(finder, 0, FinderColumn::Offset), "-5:00");
    EXPECT_TRUE(note(finder).contains("15 January 1975 at 12:00")) << note(finder).toStdString();
    in<QComboBox>(input, "cboMonth")->setCurrentIndex(6); // July
    EXPECT_EQ(cell(finder, 0, FinderColumn::Offset), "-4:00");
    EXPECT_EQ(cell(finder, 0, FinderColumn::DaylightSaving), "Yes");
    EXPECT_TRUE(note(finder).contains("15 July 1975 at 12:00")) << note(finder).toStdString();
    choose("cboHH", QStringLiteral("3"));
    EXPECT_TRUE(note(finder).contains("15 July 1975 at 03:00")) << note(finder).toStdString();
}

TEST_F(FinderFlow, NoMatchSaysSoAndSearchTheWebOpensTheSearch) {
    frmPlaceFinder* finder = lookUp("Atlantis", "Deep", "Ocean");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(in<QTreeWidget>(finder, "lstPlaces")->topLevelItemCount(), 0);
    EXPECT_TRUE(note(finder).contains("No place called \"Atlantis\""))
        << note(finder).toStdString();
    EXPECT_FALSE(in<QPushButton>(finder, "cmdUsePlace")->isEnabled());
    UrlCapture urls;
    in<QPushButton>(finder, "cmdSearchWeb")->click();
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_EQ(urls.urls[0], WebSearchUrl(QStringLiteral("Atlantis Deep Ocean Latitude Longitude")));
}

TEST_F(FinderFlow, TheLookupItselfWritesNothingAndOpensNoPage) {
    UrlCapture urls;
    frmPlaceFinder* finder = lookUp("London", "England", "UK");
    ASSERT_NE(finder, nullptr);
    EXPECT_TRUE(urls.urls.empty());
    for (const char* box : {"txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
        EXPECT_TRUE(in<QLineEdit>(input, box)->text().isEmpty()) << box;
    }
    EXPECT_EQ(in<QComboBox>(input, "cmbTimeZone")->currentIndex(), defaultTimeZonePosition);
}

TEST_F(FinderFlow, EscapeClosesAndReturnPressesTheFocusedButton) {
    frmPlaceFinder* finder = lookUp("London", "England", "UK");
    ASSERT_NE(finder, nullptr);
    QApplication::setActiveWindow(finder);
    in<QPushButton>(finder, "cmdUsePlace")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatD")->text(), "51");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(finder->isVisible());
}

// Without a place list the lookup opens the web search with the same text, as before.
TEST(FinderFallback, WithoutAPlaceListTheLookupSearchesTheWeb) {
    WindowController controller;
    controller.usePlaceSource(nullptr);
    controller.start();
    QWidget* input = FindWindow("frmMain");
    ASSERT_NE(input, nullptr);
    QTest::keyClicks(input->findChild<QLineEdit*>("txtMCity"), "New Delhi");
    QTest::keyClicks(input->findChild<QLineEdit*>("txtMState"), "Delhi & NCR");
    QTest::keyClicks(input->findChild<QLineEdit*>("txtMCountry"), "India");
    UrlCapture urls;
    input->findChild<QPushButton*>("cmdBrowser")->click();
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_EQ(urls.urls[0],
              WebSearchUrl(QStringLiteral("New Delhi Delhi & NCR India Latitude Longitude")));
    EXPECT_EQ(FindWindow("frmPlaceFinder"), nullptr);
}

} // namespace
