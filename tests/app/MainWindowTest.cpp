#include "app/frmMain.h"

#include "app/ImageList.h"
#include "chart/TimeZones.h"
#include "links/modHelp.h"
#include "support/Capture.h"
#include "support/Layout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

class MainWindowTest : public ::testing::Test {
  public:
    void SetUp() override {
        window = new frmMain;
        window->show();
        QApplication::setActiveWindow(window);
    }
    void TearDown() override { delete window.data(); }

    template <typename Widget>
    Widget* child(const char* name) const {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control " << name;
        return widget;
    }
    QLineEdit* box(const char* name) const { return child<QLineEdit>(name); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QString focusName() const {
        return window->focusWidget() ? window->focusWidget()->objectName() : QString();
    }
    void fillValidEntries() {
        QTest::keyClicks(box("txtName"), "Asha");
        QTest::keyClicks(box("txtLonD"), "77");
        QTest::keyClicks(box("txtLonM"), "13");
        QTest::keyClicks(box("txtLatD"), "28");
        QTest::keyClicks(box("txtLatM"), "39");
    }

    QPointer<frmMain> window;
};

QStringList itemsOf(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->itemText(i);
    }
    return items;
}

QStringList numbers(int first, int last) {
    QStringList texts;
    for (int n = first; n <= last; ++n) {
        texts << QString::number(n);
    }
    return texts;
}

TEST_F(MainWindowTest, CaptionAndControlTexts) {
    EXPECT_EQ(window->objectName(), "frmMain");
    EXPECT_EQ(window->windowTitle(), "Korvani v1.20");
    EXPECT_EQ(child<QRadioButton>("optLong_0")->text().remove('&'), "East");
    EXPECT_EQ(child<QRadioButton>("optLong_1")->text().remove('&'), "West");
    EXPECT_EQ(child<QRadioButton>("optLat_0")->text().remove('&'), "North");
    EXPECT_EQ(child<QRadioButton>("optLat_1")->text().remove('&'), "South");
    EXPECT_EQ(child<QCheckBox>("chkDST")->text().remove('&'), "Daylight Saving Time");
    EXPECT_EQ(child<QPushButton>("cmdRashi")->text(), "Get My Vedic Astrology Decanates");
    // "&&" shows a single ampersand and leaves the button without an access key.
    auto* browser = child<QPushButton>("cmdBrowser");
    EXPECT_EQ(browser->text(), "Click Here To Find Latitude && Longitude");
    EXPECT_TRUE(QKeySequence::mnemonic(browser->text()).isEmpty());
    EXPECT_EQ(child<QLabel>("Label2")->text(),
              "Why are people born under the same zodiac sign so different from each other? How "
              "can astrology guide you in knowing the finer attributes of ones' personality? "
              "Korvani can help you understand your physical and physiological qualities that "
              "influence one's body, mind and soul.");
    EXPECT_TRUE(child<QLabel>("Label61")->text().contains(MakerSiteText()));
    EXPECT_EQ(child<QLabel>("lblCobrand")->text(),
              "Co-brand this software for your site.  Increase loyalty and traffic to your site. "
              "Put your site's name &  link here. See \"Help\" for details.    Click Here for "
              "more info on co-branding.");
    EXPECT_EQ(child<QLabel>("lblFullBrand")->text(),
              "Home Business Opportunity. Start your own Internet business and make money online. "
              "Get this software fully branded for your website. Click here for more details.");
    // The body pictures the result window takes, entries 1 to 10.
    auto* pictures = window->findChild<ImageList*>(QStringLiteral("IMGPlanet"));
    ASSERT_NE(pictures, nullptr);
    EXPECT_EQ(pictures->count(), 10);
}

TEST_F(MainWindowTest, ListsHoldTheirItemsAndStartAtTheDefaults) {
    const QStringList months = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
    EXPECT_EQ(itemsOf(child<QComboBox>("cboMonth")), months);
    EXPECT_EQ(itemsOf(child<QComboBox>("cboDate")), numbers(1, 31));
    EXPECT_EQ(itemsOf(child<QComboBox>("cboYear")), numbers(1901, 2050));
    EXPECT_EQ(itemsOf(child<QComboBox>("cboHH")), numbers(0, 23));
    EXPECT_EQ(itemsOf(child<QComboBox>("cboMM")), numbers(0, 59));
    EXPECT_EQ(itemsOf(child<QComboBox>("cboSS")), numbers(0, 59));
    QStringList zones;
    for (const TimeZoneEntry& zone : timeZoneTable) {
        zones << QString::fromLatin1(zone.listText);
    }
    EXPECT_EQ(itemsOf(child<QComboBox>("cmbTimeZone")), zones);

    for (const char* name : {"cboMonth", "cboDate", "cboYear", "cboHH", "cboMM", "cboSS"}) {
        EXPECT_EQ(child<QComboBox>(name)->currentIndex(), 0) << "list " << name;
        EXPECT_FALSE(child<QComboBox>(name)->isEditable()) << "list " << name;
    }
    EXPECT_FALSE(child<QComboBox>("cmbTimeZone")->isEditable());
    EXPECT_EQ(child<QComboBox>("cmbTimeZone")->currentText(), "Greenwich Mean Time,GMT,0.0");
    EXPECT_EQ(child<QComboBox>("cmbTimeZone")->currentIndex(), 29);
    EXPECT_TRUE(child<QRadioButton>("optLong_0")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optLong_1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optLat_0")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optLat_1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chkDST")->isChecked());
    for (const char* name : {"txtName", "txtLonD", "txtLonM", "txtLatD", "txtLatM", "txtMCity",
                             "txtMState", "txtMCountry"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << "box " << name;
    }
    EXPECT_EQ(box("txtLonD")->maxLength(), 3);
    EXPECT_EQ(box("txtLonM")->maxLength(), 2);
    EXPECT_EQ(box("txtLatD")->maxLength(), 2);
    EXPECT_EQ(box("txtLatM")->maxLength(), 2);
}

TEST_F(MainWindowTest, TheTwoOptionPairsAreIndependent) {
    QTest::mouseClick(child<QRadioButton>("optLong_1"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>("optLat_1"), Qt::LeftButton);
    EXPECT_TRUE(child<QRadioButton>("optLong_1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optLong_0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optLat_1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("optLat_0")->isChecked());
    QTest::mouseClick(child<QRadioButton>("optLat_0"), Qt::LeftButton);
    EXPECT_TRUE(child<QRadioButton>("optLong_1")->isChecked()) << "North must not reset West";
}

TEST_F(MainWindowTest, TypedNameIsHeldInCapitalsAndADigitIsRefused) {
    MessageCapture messages;
    QTest::keyClicks(box("txtName"), "ravi k");
    EXPECT_EQ(box("txtName")->text(), "RAVI K");
    EXPECT_TRUE(messages.messages.empty());

    QTest::keyClick(box("txtName"), Qt::Key_7);
    EXPECT_EQ(box("txtName")->text(), "RAVI K");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please Enter only Letters");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);

    // Keys that type nothing keep working: Backspace, arrows, Delete, select all.
    QTest::keyClick(box("txtName"), Qt::Key_Backspace);
    QTest::keyClick(box("txtName"), Qt::Key_Home);
    QTest::keyClick(box("txtName"), Qt::Key_Delete);
    EXPECT_EQ(box("txtName")->text(), "AVI ");
    QTest::keyClick(box("txtName"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box("txtName"), "b");
    EXPECT_EQ(box("txtName")->text(), "B");
    EXPECT_EQ(messages.messages.size(), 1u);
}

class CoordinateBoxTest : public MainWindowTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(CoordinateBoxTest, OnlyDigitsAreTyped) {
    QLineEdit* coordinate = box(GetParam());
    MessageCapture messages;
    QTest::keyClicks(coordinate, "12");
    EXPECT_EQ(coordinate->text(), "12");
    EXPECT_TRUE(messages.messages.empty());

    // Each refused key: letter, blank, minus, point, Enter.
    coordinate->clear();
    QTest::keyClicks(coordinate, "a -.");
    QTest::keyClick(coordinate, Qt::Key_Return);
    QTest::keyClick(coordinate, Qt::Key_Enter);
    EXPECT_TRUE(coordinate->text().isEmpty()) << "box " << GetParam();
    ASSERT_EQ(messages.messages.size(), 6u) << "one message per refused key";
    for (const auto& message : messages.messages) {
        EXPECT_EQ(message.text, "Only Numbers Are Accepted");
        EXPECT_EQ(message.icon, MessageIcon::Error);
    }

    // The length limit holds for typing.
    QTest::keyClicks(coordinate, "12345");
    EXPECT_EQ(coordinate->text().size(), coordinate->maxLength());
}

INSTANTIATE_TEST_SUITE_P(Boxes, CoordinateBoxTest,
                         ::testing::Values("txtLonD", "txtLonM", "txtLatD", "txtLatM"));

TEST_F(MainWindowTest, PastedNameComesInCapitalsWithRefusedCharactersLeftOut) {
    MessageCapture messages;
    QGuiApplication::clipboard()->setText(QStringLiteral("mary-ann 2"));
    QTest::keyClick(box("txtName"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box("txtName")->text(), "MARYANN ");
    ASSERT_EQ(messages.messages.size(), 1u) << "the message is shown once per paste";
    EXPECT_EQ(messages.messages[0].text, "Please Enter only Letters");
}

TEST_F(MainWindowTest, CoordinatePasteIsAllDigitsOrNothing) {
    MessageCapture messages;
    QLineEdit* degrees = box("txtLonD");
    QGuiApplication::clipboard()->setText(QStringLiteral("7a"));
    QTest::keyClick(degrees, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(degrees->text().isEmpty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Only Numbers Are Accepted");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);

    QGuiApplication::clipboard()->setText(QStringLiteral("17799"));
    QTest::keyClick(degrees, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(degrees->text(), "177") << "the length limit holds for a paste";
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(MainWindowTest, ContextMenuPasteFollowsTheSameRule) {
    MessageCapture messages;
    QLineEdit* minutes = box("txtLatM");
    QGuiApplication::clipboard()->setText(QStringLiteral("3 9"));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2),
                              minutes->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(minutes, &request);
    QMenu* menu = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<QMenu*>(widget); candidate && candidate->isVisible()) {
            menu = candidate;
        }
    }
    ASSERT_NE(menu, nullptr);
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    EXPECT_TRUE(minutes->text().isEmpty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Only Numbers Are Accepted");
}

// Drags the data over the box and drops it there.
void drop(QWidget* target, const QMimeData& data) {
    const QPoint point(2, 2);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
}

TEST_F(MainWindowTest, DroppedTextFollowsTheSameRule) {
    MessageCapture messages;
    QMimeData name;
    name.setText(QStringLiteral("dev 1"));
    drop(box("txtName"), name);
    EXPECT_EQ(box("txtName")->text(), "DEV ");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Please Enter only Letters");

    QMimeData number;
    number.setText(QStringLiteral("4x"));
    drop(box("txtLatD"), number);
    EXPECT_TRUE(box("txtLatD")->text().isEmpty());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, "Only Numbers Are Accepted");
}

class ValidationTest;

struct FaultCase {
    const char* name;
    std::function<void(ValidationTest&)> change; // applied to valid entries
    const char* message;
    MessageIcon icon;
    const char* focus; // the box that gets the focus; empty when the focus stays
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class ValidationTest : public MainWindowTest, public ::testing::WithParamInterface<FaultCase> {
  public:
    void setText(const char* name, const QString& text) {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void pick(const char* list, const QString& item) {
        auto* combo = child<QComboBox>(list);
        combo->setCurrentIndex(combo->findText(item));
    }
};

TEST_P(ValidationTest, FirstFaultIsReportedAndTheFocusMoves) {
    const FaultCase& c = GetParam();
    fillValidEntries();
    c.change(*this);
    box("txtMCity")->setFocus(); // somewhere neutral
    MessageCapture messages;
    child<QPushButton>("cmdRashi")->click();

    ASSERT_EQ(messages.messages.size(), 1u) << "case " << c.name;
    EXPECT_EQ(messages.messages[0].text, c.message) << "case " << c.name;
    EXPECT_EQ(messages.messages[0].icon, c.icon) << "case " << c.name;
    const QString expectedFocus =
        *c.focus ? QString::fromLatin1(c.focus) : QStringLiteral("txtMCity");
    EXPECT_EQ(focusName(), expectedFocus) << "case " << c.name;
    if (*c.focus) {
        // The wrong value is selected, ready to be typed over.
        EXPECT_EQ(box(c.focus)->selectedText(), box(c.focus)->text()) << "case " << c.name;
    }
    // Nothing else happens: the window stays, no result window, the chart is untouched.
    EXPECT_TRUE(window->isVisible()) << "case " << c.name;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_NE(widget->objectName(), "frmDisplay") << "case " << c.name;
    }
    EXPECT_TRUE(window->chartState().positionText[0].empty()) << "case " << c.name;
    EXPECT_EQ(window->chartState().birthYear, 0) << "case " << c.name;
}

const char* const lonDegreesMessage =
    "Please Enter Value Between 0 And 179 in the Degree of Longitude";
const char* const lonMinutesMessage =
    "Please Enter Value Between 0 And 59 in the  Minute of Longitude";
const char* const latDegreesMessage =
    "Please Enter Value Between 0 And 89 in the Degree of Latitude";
const char* const latMinutesMessage =
    "Please Enter Value Between 0 And 59 in the  Minute of Latitude";

INSTANTIATE_TEST_SUITE_P(
    Faults, ValidationTest,
    ::testing::Values(
        FaultCase{"emptyName", [](auto& t) { t.box("txtName")->clear(); }, "Please Enter Name",
                  MessageIcon::Error, "txtName"},
        FaultCase{"blanksOnlyName", [](auto& t) { t.setText("txtName", "   "); },
                  "Please Enter Name", MessageIcon::Error, "txtName"},
        FaultCase{"blankNameBeforeBadDate",
                  [](auto& t) {
                      t.box("txtName")->clear();
                      t.pick("cboMonth", "April");
                      t.pick("cboDate", "31");
                  },
                  "Please Enter Name", MessageIcon::Error, "txtName"},
        FaultCase{"emptyLongitudeDegrees", [](auto& t) { t.box("txtLonD")->clear(); },
                  lonDegreesMessage, MessageIcon::Error, "txtLonD"},
        FaultCase{"longitudeDegrees180", [](auto& t) { t.setText("txtLonD", "180"); },
                  lonDegreesMessage, MessageIcon::Error, "txtLonD"},
        FaultCase{"longitudeMinutes60", [](auto& t) { t.setText("txtLonM", "60"); },
                  lonMinutesMessage, MessageIcon::Error, "txtLonM"},
        FaultCase{"emptyLongitudeMinutes", [](auto& t) { t.box("txtLonM")->clear(); },
                  lonMinutesMessage, MessageIcon::Error, "txtLonM"},
        FaultCase{"latitudeDegrees90", [](auto& t) { t.setText("txtLatD", "90"); },
                  latDegreesMessage, MessageIcon::Error, "txtLatD"},
        FaultCase{"emptyLatitudeDegrees", [](auto& t) { t.box("txtLatD")->clear(); },
                  latDegreesMessage, MessageIcon::Error, "txtLatD"},
        FaultCase{"latitudeMinutes60", [](auto& t) { t.setText("txtLatM", "60"); },
                  latMinutesMessage, MessageIcon::Error, "txtLatM"},
        FaultCase{"february29In1901",
                  [](auto& t) {
                      t.pick("cboMonth", "February");
                      t.pick("cboDate", "29");
                  },
                  "Please Enter Correct Date Or Month!", MessageIcon::Information, ""},
        FaultCase{"february30In2000",
                  [](auto& t) {
                      t.pick("cboMonth", "February");
                      t.pick("cboDate", "30");
                      t.pick("cboYear", "2000");
                  },
                  "Please Enter Correct Date Or Month!", MessageIcon::Information, ""},
        FaultCase{"april31",
                  [](auto& t) {
                      t.pick("cboMonth", "April");
                      t.pick("cboDate", "31");
                  },
                  "Please Enter Correct Date Or Month !", MessageIcon::Information, ""},
        FaultCase{"november31",
                  [](auto& t) {
                      t.pick("cboMonth", "November");
                      t.pick("cboDate", "31");
                  },
                  "Please Enter Correct Date Or Month !", MessageIcon::Information, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct LookupCase {
    const char* name;
    const char* city;
    const char* state;
    const char* country;
    const char* message;
    const char* focus;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.name;
}

class PlaceLookupTest : public MainWindowTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(PlaceLookupTest, EachPlaceBoxIsRequiredInTurn) {
    const LookupCase& c = GetParam();
    QTest::keyClicks(box("txtMCity"), c.city);
    QTest::keyClicks(box("txtMState"), c.state);
    QTest::keyClicks(box("txtMCountry"), c.country);
    box("txtName")->setFocus();
    MessageCapture messages;
    UrlCapture urls;
    child<QPushButton>("cmdBrowser")->click();
    ASSERT_EQ(messages.messages.size(), 1u) << "case " << c.name;
    EXPECT_EQ(messages.messages[0].text, c.message) << "case " << c.name;
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information) << "case " << c.name;
    EXPECT_EQ(focusName(), c.focus) << "case " << c.name;
    EXPECT_TRUE(urls.urls.empty()) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Missing, PlaceLookupTest,
    ::testing::Values(LookupCase{"allEmpty", "", "", "", "Please Enter City", "txtMCity"},
                      LookupCase{"noState", "Pune", "", "India", "Please Enter State", "txtMState"},
                      LookupCase{"noCountry", "Pune", "Maharashtra", "", "Please Enter Country",
                                 "txtMCountry"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, PlaceLookupSearchesTheWebForThePlace) {
    QTest::keyClicks(box("txtMCity"), "New Delhi");
    QTest::keyClicks(box("txtMState"), "Delhi & NCR");
    QTest::keyClicks(box("txtMCountry"), "India");
    MessageCapture messages;
    UrlCapture urls;
    child<QPushButton>("cmdBrowser")->click();
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(urls.urls.size(), 1u);
    const QString searchText = QStringLiteral("New Delhi Delhi & NCR India Latitude Longitude");
    EXPECT_EQ(urls.urls[0], WebSearchUrl(searchText));
    EXPECT_EQ(QUrlQuery(urls.urls[0]).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
              searchText);
    // The lookup writes nothing into the window.
    for (const char* name : {"txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << "box " << name;
    }
}

TEST_F(MainWindowTest, PlaceOfBlanksCountsAsFilled) {
    QTest::keyClicks(box("txtMCity"), " ");
    QTest::keyClicks(box("txtMState"), " ");
    QTest::keyClicks(box("txtMCountry"), " ");
    MessageCapture messages;
    UrlCapture urls;
    child<QPushButton>("cmdBrowser")->click();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(urls.urls.size(), 1u);
}

TEST_F(MainWindowTest, MenusInOrderWithTheirAccessKeys) {
    QStringList bar;
    for (QAction* item : window->menuBar()->actions()) {
        bar << item->text();
    }
    EXPECT_EQ(bar, (QStringList{"&File", "&Tools", "&Help", "&Donate", "Make Money &Online"}));
    QStringList tools;
    for (QAction* item : child<QMenu>("mnuTools")->actions()) {
        tools << item->objectName() + '=' + item->text();
    }
    EXPECT_EQ(tools, QStringList{QString::fromUtf8("mnuSettings=&Calculation Settings…")});
    EXPECT_EQ(action("mnuDonate")->text(), "&Donate");
    EXPECT_EQ(action("mkmoney")->text(), "Make Money &Online");

    QStringList file;
    for (QAction* item : child<QMenu>("mnuFile")->actions()) {
        file << item->objectName() + '=' + item->text();
    }
    EXPECT_EQ(file, (QStringList{"mnuNext=Get My Vedic Astrology Decanates",
                                 "mnuBirthsSep1=", "mnuSaveBirth=&Save Birth",
                                 QString::fromUtf8("mnuOpenBirth=&Open Birth…"),
                                 "mnuRecentBirthsItem=Recent &Births", "mnuBirthsSep3=",
                                 QString::fromUtf8("mnuImportBirths=&Import Births…"),
                                 QString::fromUtf8("mnuExportBirths=&Export Births…"),
                                 QString::fromUtf8("mnuBackupBirths=Back &Up Births…"),
                                 QString::fromUtf8("mnuRestoreBirths=&Restore Births…"),
                                 "mnuBirthsSep2=", "mnuExit=E&xit"}));

    QStringList help;
    for (QAction* item : child<QMenu>("mnuHelp")->actions()) {
        help << (item->isSeparator() ? QStringLiteral("-")
                                     : item->objectName() + '=' + item->text());
    }
    EXPECT_EQ(help, (QStringList{"mnuOnline=&Online Help", "mnuVisit=&Visit Us Online", "-",
                                 "mnuUpdate=Check for Software &Update", "-",
                                 "mnuAbout=&About Software"}));
}

TEST_F(MainWindowTest, EachLinkOpensItsOnePage) {
    const std::pair<const char*, WebPage> menuLinks[] = {{"mnuOnline", WebPage::OnlineHelp},
                                                         {"mnuVisit", WebPage::HomePage},
                                                         {"mnuUpdate", WebPage::Download},
                                                         {"mnuDonate", WebPage::Donate},
                                                         {"mkmoney", WebPage::FullyBranded}};
    for (const auto& [name, page] : menuLinks) {
        UrlCapture urls;
        action(name)->trigger();
        ASSERT_EQ(urls.urls.size(), 1u) << "menu " << name;
        EXPECT_EQ(urls.urls[0], WebPageUrl(page)) << "menu " << name;
    }
    const std::pair<const char*, WebPage> labelLinks[] = {{"Label61", WebPage::HomePage},
                                                          {"lblCobrand", WebPage::CoBrand},
                                                          {"lblFullBrand", WebPage::FullyBranded}};
    for (const auto& [name, page] : labelLinks) {
        UrlCapture urls;
        QTest::mouseClick(child<QLabel>(name), Qt::LeftButton);
        ASSERT_EQ(urls.urls.size(), 1u) << "label " << name;
        EXPECT_EQ(urls.urls[0], WebPageUrl(page)) << "label " << name;
    }
    // The explanatory paragraph is no link.
    UrlCapture urls;
    QTest::mouseClick(child<QLabel>("Label2"), Qt::LeftButton);
    EXPECT_TRUE(urls.urls.empty());
}

TEST_F(MainWindowTest, AccessKeysMoveTheFocusToTheirControls) {
    window->activateWindow();
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_N, "txtName"},    {Qt::Key_B, "cboMonth"},  {Qt::Key_T, "cboHH"},
        {Qt::Key_E, "txtLonD"},    {Qt::Key_M, "txtLonM"},   {Qt::Key_G, "txtLatD"},
        {Qt::Key_I, "txtLatM"},    {Qt::Key_S, "optLong_0"}, {Qt::Key_W, "optLong_1"},
        {Qt::Key_R, "optLat_0"},   {Qt::Key_U, "optLat_1"},  {Qt::Key_Z, "cmbTimeZone"},
        {Qt::Key_V, "chkDST"},     {Qt::Key_C, "txtMCity"},  {Qt::Key_A, "txtMState"},
        {Qt::Key_Y, "txtMCountry"}};
    for (const auto& [key, target] : keys) {
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), key,
                        Qt::AltModifier);
        EXPECT_EQ(focusName(), target) << "Alt+" << QKeySequence(key).toString().toStdString();
    }
}

TEST_F(MainWindowTest, AnAltKeyNoShortcutTakesTypesNothing) {
    // After a message box closes the window may not be active yet, so an access key reaches the
    // box itself: it must neither type its letter nor count as a refused key.
    for (const char* name : {"txtLonD", "txtName"}) {
        MessageCapture messages;
        box(name)->setFocus();
        QApplication::setActiveWindow(nullptr);
        QTest::keyClick(box(name), Qt::Key_E, Qt::AltModifier);
        EXPECT_EQ(box(name)->text(), QString()) << name;
        EXPECT_TRUE(messages.messages.empty()) << name;
        QApplication::setActiveWindow(window);
    }
}

TEST_F(MainWindowTest, EveryFieldKeepsItsRoomAtTheSmallestWindowSize) {
    // The paragraphs wrap to more lines as the window narrows; the fields must not be squeezed.
    window->resize(1, 1);
    QApplication::processEvents();
    EXPECT_EQ(clippedLabels(*window), QStringList());
    for (const char* name : {"txtLonD", "txtLonM", "txtLatD", "txtLatM", "txtMCity"}) {
        EXPECT_GE(box(name)->height(), box(name)->minimumSizeHint().height()) << name;
    }
    const auto* zone = child<QComboBox>("cmbTimeZone");
    EXPECT_GE(zone->height(), zone->minimumSizeHint().height());
}

TEST_F(MainWindowTest, TabWalksTheFieldsInScreenOrder) {
    const char* const order[] = {"txtName",  "cboMonth",  "cboDate",     "cboYear",     "cboHH",
                                 "cboMM",    "cboSS",     "txtLonD",     "txtLonM",     "optLong_0",
                                 "txtLatD",  "txtLatM",   "optLat_0",    "cmbTimeZone", "chkDST",
                                 "txtMCity", "txtMState", "txtMCountry", "cmdBrowser",  "cmdRashi"};
    box("txtName")->setFocus();
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget* next = window->focusWidget()->nextInFocusChain();
        // The checked option of a pair takes the Tab stop; skip the other one.
        while (next && (next->focusPolicy() & Qt::TabFocus) == 0) {
            next = next->nextInFocusChain();
        }
        auto* radio = qobject_cast<QRadioButton*>(next);
        while (radio && !radio->isChecked()) {
            next = next->nextInFocusChain();
            radio = qobject_cast<QRadioButton*>(next);
        }
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->objectName(), order[i]) << "after " << order[i - 1];
        next->setFocus();
    }
}

} // namespace
