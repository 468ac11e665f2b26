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
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QThreadPool>
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

QString Line(const QString& cell, int line) {
    return cell.section(u'\n', line, line);
}

struct RowCase {
    const char* name;
    int place; // into FinderPlaces()
    QDate date;
    QTime time;
    const char* region;
    const char* coordinates;
    const char* offset;
    bool exact;
    const char* noteHas; // for a row that is not exact, or whose name is only the row's
};

// Cases that catch a sign turned round (west, south), two hours of summer time, a quarter hour
// no row gives and daylight saving on either side of a clock change.
const RowCase rowCases[] = {
    {"delhi1990",
     0,
     {1990, 1, 1},
     {0, 0},
     "Delhi, India",
     "28°39′N\n77°13′E",
     "+5:30, no daylight saving",
     true,
     ""},
    {"kathmandu",
     1,
     {2000, 6, 1},
     {12, 0},
     "Central Region, Nepal",
     "27°42′N\n85°19′E",
     "+5:45, no daylight saving",
     false,
     "No row of the list gives +5:45; the place's own time is used."},
    {"londonDoubleSummer",
     2,
     {1941, 6, 1},
     {12, 0},
     "England, United Kingdom",
     "51°31′N\n0°08′W",
     "+2:00, daylight saving",
     true,
     ""},
    {"newYorkWinter",
     3,
     {1975, 1, 15},
     {12, 0},
     "New York, United States",
     "40°43′N\n74°00′W",
     "-5:00, no daylight saving",
     true,
     ""},
    {"newYorkSummer",
     3,
     {1975, 7, 15},
     {12, 0},
     "New York, United States",
     "40°43′N\n74°00′W",
     "-4:00, daylight saving",
     true,
     ""},
    {"newYorkSpringGap",
     3,
     {1975, 2, 23},
     {2, 30},
     "New York, United States",
     "40°43′N\n74°00′W",
     "-5:00 or -4:00",
     false,
     "did not exist"},
    {"buenosAires",
     4,
     {2000, 1, 1},
     {12, 0},
     "Buenos Aires F.D., Argentina",
     "34°37′S\n58°23′W",
     "-3:00, no daylight saving",
     true,
     "its name is only the row's"},
};

class FinderRows : public ::testing::TestWithParam<RowCase> {};

// Each row shows the place with its region, its coordinates as the boxes take them, the
// database's offset with daylight saving and the zone, and the zone-list row and box whose
// universal time is the database's whenever the row is exact.
TEST_P(FinderRows, CoordinatesOffsetAndRecommendedRow) {
    const RowCase& c = GetParam();
    const Place place = FinderPlaces()[c.place];
    const FinderRow row = MakeFinderRow(place, place.name, c.date, c.time);
    ASSERT_EQ(row.columns.size(), static_cast<int>(FinderColumn::Count));
    EXPECT_EQ(Column(row, FinderColumn::Place), place.name + u'\n' + QString::fromUtf8(c.region));
    EXPECT_EQ(Column(row, FinderColumn::Coordinates), QString::fromUtf8(c.coordinates));
    EXPECT_EQ(Column(row, FinderColumn::Offset),
              QString::fromLatin1(c.offset) + u'\n' + QString::fromLatin1(place.zoneId));
    EXPECT_EQ(row.exact, c.exact);
    ASSERT_TRUE(row.choice.zoneKnown);
    const QString zoneRow = Column(row, FinderColumn::ZoneRow);
    EXPECT_EQ(Line(zoneRow, 0), row.choice.placeOwnTime ? QStringLiteral("Place's own time")
                                                        : ZoneText(row.choice.zonePosition));
    EXPECT_TRUE(
        Line(zoneRow, 1).startsWith(row.choice.daylightSaving ? "— box ticked" : "— box unticked"))
        << zoneRow.toStdString();
    if (c.exact) {
        // The row and box give the clock the database has, in local minus universal seconds.
        const LocalTimeReading reading =
            ZoneHistory::ForZone(place.zoneId)->ReadLocalTime(c.date, c.time);
        EXPECT_EQ(ZoneRowOffsetSeconds(row.choice.zonePosition, row.choice.daylightSaving),
                  reading.offset.offsetSeconds);
        // Only a row whose name names neither the place nor its clock has a note, and says so.
        EXPECT_EQ(row.note.isEmpty(), std::string_view(c.noteHas).empty())
            << row.note.toStdString();
        EXPECT_TRUE(row.note.contains(QString::fromUtf8(c.noteHas))) << row.note.toStdString();
    } else {
        EXPECT_TRUE(row.note.contains(QString::fromUtf8(c.noteHas))) << row.note.toStdString();
        EXPECT_TRUE(
            Line(zoneRow, 1).contains(row.choice.placeOwnTime ? "no row gives it" : "nearest"))
            << zoneRow.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Places, FinderRows, ::testing::ValuesIn(rowCases),
                         [](const auto& info) { return std::string(info.param.name); });

// No two captions can be taken for one another: none holds another's words.
TEST(FinderColumns, CaptionsAreDistinct) {
    const QStringList captions = FinderColumnCaptions();
    ASSERT_EQ(captions.size(), static_cast<int>(FinderColumn::Count));
    for (const QString& one : captions) {
        for (const QString& other : captions) {
            if (&one != &other) {
                EXPECT_FALSE(one.contains(other, Qt::CaseInsensitive))
                    << one.toStdString() << " / " << other.toStdString();
            }
        }
    }
}

// Without a calendar day, or without a zone the system loads, the row leaves the zone alone and
// its note says why; the coordinates are still given.
TEST(FinderRowsWithoutAnOffset, LeaveTheZoneAloneAndSaySo) {
    Place unknownZone = FinderPlaces()[0];
    unknownZone.zoneId = "Nowhere/Atlantis";
    const struct {
        const char* name;
        Place place;
        QDate date;
        const char* noteHas;
    } cases[] = {
        {"noCalendarDay", FinderPlaces()[0], QDate(1990, 2, 31), "not a calendar day"},
        {"unknownZone", unknownZone, QDate(1990, 2, 1), "unknown time zone \"Nowhere/Atlantis\""},
    };
    for (const auto& c : cases) {
        const FinderRow row = MakeFinderRow(c.place, c.place.name, c.date, QTime(12, 0));
        EXPECT_FALSE(row.choice.zoneKnown) << c.name;
        EXPECT_TRUE(Column(row, FinderColumn::ZoneRow).isEmpty()) << c.name;
        EXPECT_TRUE(row.note.contains(QLatin1String(c.noteHas))) << row.note.toStdString();
        EXPECT_EQ(Column(row, FinderColumn::Coordinates), QString::fromUtf8("28°39′N\n77°13′E"));
    }
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
    EXPECT_EQ(Line(cell(finder, 0, FinderColumn::Place), 0), QString::fromUtf8(c.city));
    const QStringList untouched = {"txtName", "txtMCity", "txtMState", "txtMCountry"};
    QStringList before;
    for (const QString& box : untouched) {
        before << in<QLineEdit>(input, box.toLatin1().constData())->text();
    }
    const QDate dateBefore = qobject_cast<frmMain*>(input)->birthDate();

    in<QPushButton>(finder, "cmdUsePlace")->click();

    EXPECT_FALSE(finder->isVisible()) << "Use This Place closes the finder";
    EXPECT_TRUE(QTest::qWaitForWindowActive(input))
        << "and the input window has the keyboard again";
    EXPECT_EQ(in<QLineEdit>(input, "txtLonD")->text(), c.lonD);
    EXPECT_EQ(in<QLineEdit>(input, "txtLonM")->text(), c.lonM);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatD")->text(), c.latD);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatM")->text(), c.latM);
    EXPECT_EQ(in<QRadioButton>(input, "optLong_1")->isChecked(), c.west);
    EXPECT_EQ(in<QRadioButton>(input, "optLong_0")->isChecked(), !c.west);
    EXPECT_EQ(in<QRadioButton>(input, "optLat_1")->isChecked(), c.south);
    EXPECT_EQ(in<QRadioButton>(input, "optLat_0")->isChecked(), !c.south);
    const QString zoneRow = cell(finder, 0, FinderColumn::ZoneRow);
    // Where no row gives the offset, the finder names the place's own time, and it is chosen.
    const bool ownTime = Line(zoneRow, 0) == "Place's own time";
    const QString offsetCell = cell(finder, 0, FinderColumn::Offset);
    const QString zoneShown =
        ownTime ? QStringLiteral("Place's own time: %1, %2 on this date")
                      .arg(Line(offsetCell, 1), Line(offsetCell, 0).section(u',', 0, 0))
                : Line(zoneRow, 0);
    EXPECT_EQ(in<QComboBox>(input, "cmbTimeZone")->currentText(), zoneShown);
    const bool box = !ownTime && Line(zoneRow, 1).startsWith("— box ticked");
    EXPECT_EQ(in<QCheckBox>(input, "chkDST")->isChecked(), box);
    EXPECT_EQ(in<QCheckBox>(input, "chkDST")->isEnabled(), !ownTime);
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
    const QString coordinates = cell(finder, 0, FinderColumn::Coordinates);
    const QString zoneInHeader = ownTime ? Line(offsetCell, 1) + QStringLiteral(" · ") +
                                               Line(offsetCell, 0).section(u',', 0, 0)
                                         : Line(zoneRow, 0);
    for (const QString& shown : {Line(coordinates, 0), Line(coordinates, 1), zoneInHeader}) {
        EXPECT_TRUE(header.contains(shown))
            << header.toStdString() << " lacks " << shown.toStdString();
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
    const int york = Line(cell(finder, 0, FinderColumn::Place), 0) == "New York City" ? 0 : 1;
    QTreeWidgetItem* item = list->topLevelItem(york);
    list->scrollToItem(item);
    const QRect place = list->visualItemRect(item);
    // A double click is a press, a release and a second press read as double.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(in<QLineEdit>(input, "txtLonD")->text(), "74");
    EXPECT_TRUE(in<QRadioButton>(input, "optLong_1")->isChecked());
    EXPECT_FALSE(finder->isVisible());
}

TEST_F(FinderFlow, ChangingTheBirthDateRecomputesTheOffsets) {
    setBirth({1975, 1, 15}, {12, 0});
    frmPlaceFinder* finder = lookUp("New York City", "NY", "US");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(Line(cell(finder, 0, FinderColumn::Offset), 0), "-5:00, no daylight saving");
    EXPECT_TRUE(note(finder).contains("15 January 1975 at 12:00")) << note(finder).toStdString();
    in<QComboBox>(input, "cboMonth")->setCurrentIndex(6); // July
    // The rows are made again in a worker; the window shows them when they come.
    ASSERT_TRUE(QTest::qWaitFor([finder] { return finder->ready(); }, 20000));
    EXPECT_EQ(Line(cell(finder, 0, FinderColumn::Offset), 0), "-4:00, daylight saving");
    EXPECT_TRUE(note(finder).contains("15 July 1975 at 12:00")) << note(finder).toStdString();
    choose("cboHH", QStringLiteral("3"));
    ASSERT_TRUE(QTest::qWaitFor([finder] { return finder->ready(); }, 20000));
    EXPECT_TRUE(note(finder).contains("15 July 1975 at 03:00")) << note(finder).toStdString();
    // Changes faster than the rows come: only the last one's rows are shown, whichever worker
    // finishes first.
    in<QComboBox>(input, "cboMonth")->setCurrentIndex(0);
    in<QComboBox>(input, "cboMonth")->setCurrentIndex(7);
    ASSERT_TRUE(QTest::qWaitFor([finder] { return finder->ready(); }, 20000));
    EXPECT_EQ(Line(cell(finder, 0, FinderColumn::Offset), 0), "-4:00, daylight saving");
    EXPECT_TRUE(note(finder).contains("15 August 1975")) << note(finder).toStdString();
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

// Like a dialog: the list has the keyboard, Return uses the selected place, Escape closes.
TEST_F(FinderFlow, KeyboardReturnUsesThePlaceAndEscapeCloses) {
    frmPlaceFinder* finder = lookUp("London", "England", "UK");
    ASSERT_NE(finder, nullptr);
    QApplication::setActiveWindow(finder);
    EXPECT_EQ(QApplication::focusWidget(), in<QTreeWidget>(finder, "lstPlaces"));
    QTest::keyClick(in<QTreeWidget>(finder, "lstPlaces"), Qt::Key_Return);
    EXPECT_EQ(in<QLineEdit>(input, "txtLatD")->text(), "51");
    EXPECT_FALSE(finder->isVisible());

    finder = lookUp("New", "", "");
    ASSERT_NE(finder, nullptr);
    QApplication::setActiveWindow(finder);
    in<QPushButton>(input, "cmdBrowser")->setFocus(); // where the keyboard was, in the input
    QTest::keyClick(in<QTreeWidget>(finder, "lstPlaces"), Qt::Key_Escape);
    EXPECT_FALSE(finder->isVisible());
}

// The selected row's note is shown whole below the list: the nearest row, its error and what
// to do.
TEST_F(FinderFlow, TheSelectedRowsNoteIsShownWhole) {
    setBirth({2000, 6, 1}, {12, 0});
    frmPlaceFinder* finder = lookUp("Kathmandu", "Central", "Nepal");
    ASSERT_NE(finder, nullptr);
    const QString shown = note(finder);
    EXPECT_TRUE(shown.contains(
        MakeFinderRow(FinderPlaces()[1], FinderPlaces()[1].name, {2000, 6, 1}, {12, 0}).note))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("the place's own time is used")) << shown.toStdString();
}

// The finder opens on the input window's screen, within its available area, beside or over the
// input window; at its own size its four columns fit without scrolling sideways. CTest runs this
// once more on an offscreen screen of 800 x 600 (SmallScreen.json), where the finder shrinks.
TEST_F(FinderFlow, OpensOnTheInputWindowsScreenAndFits) {
    frmPlaceFinder* finder = lookUp("Buenos Aires", "Buenos Aires", "Argentina");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(finder->screen(), input->screen());
    const QRect available = input->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(finder->frameGeometry()))
        << "frame " << finder->frameGeometry().width() << "x" << finder->frameGeometry().height()
        << " within " << available.width() << "x" << available.height();
    const QRect inputFrame = input->frameGeometry();
    EXPECT_TRUE(finder->frameGeometry().intersects(inputFrame.adjusted(-1, -1, 1, 1)))
        << "beside or over the input window";
    EXPECT_TRUE(finder->isActiveWindow());

    frmPlaceFinder alone(std::make_shared<ListPlaceSource>(FinderPlaces()));
    alone.showRequest({QString(), ParsePlaceQuery(u"Buenos Aires"), {2000, 1, 1}, {12, 0}});
    alone.show();
    ASSERT_TRUE(QTest::qWaitFor([&alone] { return alone.ready(); }, 20000));
    EXPECT_LE(alone.width(), 900);
    auto* list = in<QTreeWidget>(&alone, "lstPlaces");
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
    for (int column = 0; column < list->columnCount(); ++column) {
        const QString text = list->topLevelItem(0)->text(column);
        const QFontMetrics metrics(list->font());
        for (const QString& line : text.split(u'\n')) {
            EXPECT_LE(metrics.horizontalAdvance(line), list->columnWidth(column))
                << "column " << column << " cuts \"" << line.toStdString() << '"';
        }
    }
}

// The finder says what it is in its title, and the owner puts it where the placement rule puts
// it for the input window's frame and the boxes it fills (ClearOfFrameGeometry has the rule's
// cases), on the test's 800 x 600 screen made shorter to stay clear of them. Catches a finder
// placed by another rule, told the wrong boxes, or not allowed to shrink.
TEST_F(FinderFlow, OpensClearOfTheBoxesItFillsUnderItsOwnTitle) {
    frmPlaceFinder* finder = lookUp("Buenos Aires", "Buenos Aires", "Argentina");
    ASSERT_NE(finder, nullptr);
    EXPECT_EQ(finder->windowTitle().toStdString(), "Find Place — Korvani");
    auto* window = static_cast<frmMain*>(input);
    const QRect boxes = window->placeBoxesOnScreen();
    EXPECT_TRUE(boxes.contains(in<QWidget>(input, "cmbTimeZone")->mapToGlobal(QPoint(1, 1))));
    EXPECT_TRUE(boxes.contains(in<QWidget>(input, "txtLonD")->mapToGlobal(QPoint(1, 1))));
    EXPECT_EQ(finder->frameGeometry().topLeft(),
              ClearOfFrameGeometry(input->frameGeometry(), boxes, finder->frameGeometry().size(),
                                   finder->frameGeometry().height(),
                                   input->screen()->availableGeometry())
                  .topLeft());
    EXPECT_FALSE(finder->frameGeometry().intersects(boxes));
}

// Where the births window's frame goes: beside the input window when there is room on its right,
// else on its left, else centred over it; always inside the screen's available area.
TEST(FinderPlacement, BesideOrOverTheInputWindow) {
    const QRect large(0, 0, 1280, 800);
    const QRect small(0, 0, 800, 600);
    const QRect second(1280, 30, 1920, 1050); // a second screen, right of the first
    const struct {
        const char* name;
        QRect input;
        QSize finder;
        QRect available;
        QPoint expected;
    } cases[] = {
        {"rightWhenItFits", {100, 100, 400, 500}, {700, 480}, large, {500, 100}},
        {"rightExactlyFits", {80, 100, 500, 500}, {700, 480}, large, {580, 100}},
        {"leftWhenOnlyThatFits", {700, 100, 400, 500}, {600, 480}, large, {100, 100}},
        {"leftExactlyFits", {600, 100, 400, 500}, {600, 480}, large, {0, 100}},
        {"overWhenNeitherFits", {300, 100, 500, 500}, {700, 480}, large, {199, 109}},
        {"smallScreenOverAndInside", {50, 50, 500, 450}, {800, 560}, small, {0, 0}},
        {"keptAboveTheBottom", {100, 500, 400, 250}, {700, 480}, large, {500, 320}},
        {"onTheSecondScreen", {1400, 100, 400, 500}, {700, 480}, second, {1800, 100}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(BesideFrameTopLeft(row.input, row.finder, row.available), row.expected)
            << row.name;
    }
}

// A finder closed while its workers run: they stop, and what they finish reports nowhere.
TEST(FinderWorkers, AFinderDeletedWhileReadingLeavesNothingBehind) {
    for (int round = 0; round < 5; ++round) {
        auto finder =
            std::make_unique<frmPlaceFinder>(std::make_shared<ListPlaceSource>(FinderPlaces()));
        finder->showRequest({QString(), ParsePlaceQuery(u"New"), {1990, 1, 1}, {12, 0}});
        if (round % 2 == 1) {
            ASSERT_TRUE(QTest::qWaitFor([&finder] { return finder->ready(); }, 20000));
            finder->setBirthMoment({1990, 7, 1}, {12, 0}); // rows being made again
        }
        finder.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    // What matters is that nothing touched a deleted window, which the sanitizer run checks.
    EXPECT_EQ(FindWindow("frmPlaceFinder"), nullptr);
}

// Without a place list the lookup opens the web search with the typed text.
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
