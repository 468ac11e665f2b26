#include "app/ImageList.h"
#include "app/frmDisplay.h"
#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "links/modHelp.h"
#include "support/Births.h"
#include "support/Capture.h"
#include "support/DecanateLookup.h"
#include "support/ProgramWindows.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <array>
#include <memory>
#include <string>

namespace {

// The value labels of a tab, in the order their captions stand on it.
constexpr std::array<const char*, 9> valueLabelNames = {
    "lblPosition",     "lblDecanateName",  "lblDecanateSign",
    "lblRulingPlanet", "lblRulingElement", "lblConstellationName",
    "lblKeyword",      "lblTreeZodiac",    "lblDecanateSignDesc"};

constexpr std::array<const char*, 10> fixedCaptions = {
    "Planet Name",    "Position",           "Decanate Name", "Decanate Sign", "Ruling Planet",
    "Ruling Element", "Constellation Name", "Keyword",       "Tree Zodiac",   "More About Sign"};

QString element(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QString bodyNameLabel(int body) {
    return body == 5 ? QStringLiteral("Label19") : element("lblBodyName", body);
}

QLabel* label(const QWidget& window, const QString& name) {
    return window.findChild<QLabel*>(name);
}

QString caption(const QWidget& window, const char* name, int body) {
    const QLabel* found = label(window, element(name, body));
    return found ? found->text() : QStringLiteral("<missing %1>").arg(element(name, body));
}

// The eight decanate captions of a tab, in the order of DecanateResult.
DecanateResult shownOnTab(const QWidget& window, int body) {
    const auto text = [&](const char* name) { return caption(window, name, body).toStdString(); };
    return {text("lblDecanateName"), text("lblDecanateSign"),  text("lblDecanateSignDesc"),
            text("lblRulingPlanet"), text("lblRulingElement"), text("lblConstellationName"),
            text("lblKeyword"),      text("lblTreeZodiac")};
}

ChartState chartWithPositions(const std::array<std::string, displayedBodyCount>& positions) {
    ChartState chart;
    for (int body = 0; body < displayedBodyCount; ++body) {
        chart.positionText[static_cast<std::size_t>(body)] =
            positions[static_cast<std::size_t>(body)];
    }
    return chart;
}

ChartState delhi1990() {
    const ChartInput input = DelhiBirth();
    ChartState chart;
    LoadChartInput(chart, input);
    CalculateChart(chart);
    return chart;
}

class DisplayWindow : public ::testing::Test {
  protected:
    void SetUp() override { window = std::make_unique<frmDisplay>(); }
    std::unique_ptr<frmDisplay> window;
};

TEST_F(DisplayWindow, CaptionBannerAndTabs) {
    EXPECT_EQ(window->objectName(), "frmDisplay");
    EXPECT_EQ(window->windowTitle(), "Korvani v1.20");

    const QLabel* banner = label(*window, "Label61");
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->text().contains(MakerSiteText())) << banner->text().toStdString();
    EXPECT_TRUE(banner->text().contains("Qorvex")) << banner->text().toStdString();
    EXPECT_FALSE(banner->text().contains('\n'));

    const auto* tabs = window->findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), displayedBodyCount);
    for (int body = 0; body < displayedBodyCount; ++body) {
        EXPECT_EQ(tabs->tabText(body), bodyNames[static_cast<std::size_t>(body)]) << "tab " << body;
    }
}

TEST_F(DisplayWindow, CommandStrip) {
    const auto* back = window->findChild<QPushButton*>("cmdOK");
    const auto* exitButton = window->findChild<QPushButton*>("cmdExit");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(exitButton, nullptr);
    EXPECT_EQ(back->text(), "&Back");
    EXPECT_EQ(exitButton->text(), "&Exit");
    ASSERT_NE(label(*window, "lblFullBrand"), nullptr);
    EXPECT_EQ(label(*window, "lblFullBrand")->text(),
              "Home Business Opportunity. Start your own Internet business and make money "
              "online. Get this software fully branded for your website. Click here for more "
              "details.");
    ASSERT_NE(label(*window, "lblCobrand"), nullptr);
    EXPECT_EQ(label(*window, "lblCobrand")->text(),
              "Co-brand this software for your site.  Increase loyalty and traffic to your site. "
              "Put your site's name &  link here. See \"Help\" for details.    Click Here for "
              "more info on co-branding.");
}

TEST_F(DisplayWindow, MenusInOrderWithTheirCaptions) {
    struct Item {
        const char* name;
        const char* caption;
    };
    const std::array<Item, 5> bar = {{{"mnuFile", "&File"},
                                      {"mnuTools", "&Tools"},
                                      {"mnuHelp", "&Help"},
                                      {"mnuDonate", "&Donate"},
                                      {"mkmoney", "Make Money &Online"}}};
    const QList<QAction*> barActions = window->menuBar()->actions();
    ASSERT_EQ(barActions.size(), static_cast<qsizetype>(bar.size()));
    for (std::size_t i = 0; i < bar.size(); ++i) {
        QAction* action = barActions[static_cast<qsizetype>(i)];
        EXPECT_EQ(action->text(), bar[i].caption) << "menu bar item " << i;
        const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
        EXPECT_EQ(name, bar[i].name) << "menu bar item " << i;
        EXPECT_TRUE(action->isVisible() && action->isEnabled()) << bar[i].name;
    }
    // The two items that act from the bar itself have no drop-down.
    EXPECT_EQ(barActions[3]->menu(), nullptr);
    EXPECT_EQ(barActions[4]->menu(), nullptr);

    const auto checkMenu = [&](const char* menuName, const std::vector<Item>& items) {
        const auto* menu = window->findChild<QMenu*>(menuName);
        ASSERT_NE(menu, nullptr) << menuName;
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size())) << menuName;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const QAction* action = actions[static_cast<qsizetype>(i)];
            EXPECT_EQ(action->objectName(), items[i].name) << menuName << " item " << i;
            if (std::string(items[i].caption) == "-") {
                EXPECT_TRUE(action->isSeparator()) << items[i].name;
            } else {
                EXPECT_FALSE(action->isSeparator()) << items[i].name;
                EXPECT_EQ(action->text(), items[i].caption) << items[i].name;
            }
        }
    };
    checkMenu("mnuFile", {{"mnuFileBack", "&Back"},
                          {"mnuBirthsSep1", "-"},
                          {"mnuSaveBirth", "&Save Birth"},
                          {"mnuReadingSep1", "-"},
                          {"mnuCopyReading", "&Copy Reading"},
                          {"mnuPrint", "&Print…"},
                          {"mnuReadingSep2", "-"},
                          {"mnuExit", "E&xit"}});
    checkMenu("mnuHelp", {{"mnuOnline", "&Online Help"},
                          {"mnuVisit", "&Visit Us Online"},
                          {"mnuFileSep1", "-"},
                          {"mnuUpdate", "&Check for Software Update"},
                          {"mnuFileSep2", "-"},
                          {"mnuAbout", "&About Software"}});
}

// Every tab carries the same controls, element i of each array, inside its own frame.
class DisplayTab : public ::testing::TestWithParam<int> {};

TEST_P(DisplayTab, HoldsItsControlsAndCaptions) {
    const int body = GetParam();
    frmDisplay window;
    const auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    QWidget* page = tabs->widget(body);
    ASSERT_NE(page, nullptr);
    const auto* frame = page->findChild<QFrame*>(element("Frame3", body));
    ASSERT_NE(frame, nullptr) << "Frame3 on tab " << body;

    const QLabel* picture = frame->findChild<QLabel*>(element("picPlanet", body));
    ASSERT_NE(picture, nullptr) << "picPlanet on tab " << body;
    EXPECT_LE(std::abs(picture->width() - 40), 8) << "picture about 40 pixels square";

    const QLabel* name = frame->findChild<QLabel*>(bodyNameLabel(body));
    ASSERT_NE(name, nullptr) << "body name on tab " << body;
    EXPECT_EQ(name->text(), bodyNames[static_cast<std::size_t>(body)]);

    for (const char* valueName : valueLabelNames) {
        const QLabel* value = frame->findChild<QLabel*>(element(valueName, body));
        ASSERT_NE(value, nullptr) << valueName << " on tab " << body;
        EXPECT_FALSE(value->text().isEmpty()) << valueName << " has a design-time placeholder";
        EXPECT_EQ(value->font().families().value(0), "Verdana") << valueName;
        EXPECT_EQ(value->font().styleHint(), QFont::SansSerif) << valueName;
    }
    for (const char* fixed : fixedCaptions) {
        int found = 0;
        for (const QLabel* candidate : frame->findChildren<QLabel*>()) {
            found += candidate->text() == QLatin1String(fixed) ? 1 : 0;
        }
        EXPECT_EQ(found, 1) << "caption \"" << fixed << "\" on tab " << body;
    }
    // No control of another tab strays onto this one.
    for (int other = 0; other < displayedBodyCount; ++other) {
        if (other != body) {
            EXPECT_EQ(page->findChild<QLabel*>(element("lblPosition", other)), nullptr);
        }
    }
    // Once its tab is shown, every value can be selected with the mouse and copied.
    const_cast<QTabWidget*>(tabs)->setCurrentIndex(body);
    for (const char* valueName : valueLabelNames) {
        EXPECT_TRUE(frame->findChild<QLabel*>(element(valueName, body))->textInteractionFlags() &
                    Qt::TextSelectableByMouse)
            << valueName << " on tab " << body;
    }
}

INSTANTIATE_TEST_SUITE_P(TenBodies, DisplayTab, ::testing::Range(0, displayedBodyCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(bodyNames[static_cast<std::size_t>(info.param)]);
                         });

TEST_F(DisplayWindow, PositionCaptionByIndex) {
    window->setPositionCaption(3, "07 Ari 30");
    EXPECT_EQ(caption(*window, "lblPosition", 3), "07 Ari 30");
    std::array<QString, displayedBodyCount> before;
    for (int body = 0; body < displayedBodyCount; ++body) {
        before[static_cast<std::size_t>(body)] = caption(*window, "lblPosition", body);
    }
    window->setPositionCaption(-1, "xx");
    window->setPositionCaption(10, "xx");
    for (int body = 0; body < displayedBodyCount; ++body) {
        EXPECT_EQ(caption(*window, "lblPosition", body), before[static_cast<std::size_t>(body)]);
    }
}

TEST_F(DisplayWindow, FilledChartShowsEveryBodysDecanateAndPicture) {
    const ChartState chart = delhi1990();
    ASSERT_EQ(chart.positionText[1], "18 Tau 54") << "the worked Moon of this chart";
    std::unique_ptr<ImageList> pictures(ImageList::bodyPictures(nullptr));
    DecanateResults results{};
    fillDecanates(chart, results, *window, pictures.get());

    for (int body = 0; body < displayedBodyCount; ++body) {
        const auto expected = LookUpDecanate(chart.positionText[static_cast<std::size_t>(body)]);
        ASSERT_TRUE(expected.has_value()) << "body " << body;
        EXPECT_EQ(shownOnTab(*window, body), *expected) << "body " << body;
        EXPECT_EQ(results[static_cast<std::size_t>(body)], *expected) << "body " << body;
        const QLabel* picture = label(*window, element("picPlanet", body));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->pixmap().toImage(), pictures->picture(body + 1).toImage())
            << "picture of body " << body;
    }
    EXPECT_EQ(caption(*window, "lblDecanateName", 1), "Second Decanate");
    EXPECT_EQ(caption(*window, "lblDecanateSign", 1), "Virgo");
    EXPECT_EQ(caption(*window, "lblRulingPlanet", 1), "Mercury");
    EXPECT_EQ(caption(*window, "lblConstellationName", 1), "Hercules");
}

TEST_F(DisplayWindow, BodiesInOneDecanateShowIdenticalTexts) {
    const ChartState chart =
        chartWithPositions({"01 Ari 00", "12 Leo 00", "05 Ari 10", "29 Pis 59", "19 Leo 59",
                            "10 Gem 00", "20 Sco 00", "09 Tau 59", "00 Ari 00", "25 Aqu 00"});
    DecanateResults results{};
    fillDecanates(chart, results, *window, nullptr);
    EXPECT_EQ(shownOnTab(*window, 1), shownOnTab(*window, 4)) << "Moon and Mars, Leo second";
    EXPECT_EQ(shownOnTab(*window, 0), shownOnTab(*window, 2)) << "Sun and Mercury, Aries first";
    EXPECT_EQ(shownOnTab(*window, 0), shownOnTab(*window, 8)) << "Sun and Neptune, Aries first";
    EXPECT_NE(shownOnTab(*window, 1), shownOnTab(*window, 0));
    EXPECT_EQ(caption(*window, "lblDecanateSign", 1), "Sagittarius");
}

TEST_F(DisplayWindow, SecondFillReplacesEveryCaption) {
    DecanateResults results{};
    const ChartState first =
        chartWithPositions({"05 Ari 10", "05 Ari 10", "05 Ari 10", "05 Ari 10", "05 Ari 10",
                            "05 Ari 10", "05 Ari 10", "05 Ari 10", "05 Ari 10", "05 Ari 10"});
    fillDecanates(first, results, *window, nullptr);
    const ChartState second =
        chartWithPositions({"25 Can 00", "15 Vir 00", "25 Cap 00", "15 Aqu 00", "15 Pis 00",
                            "25 Gem 00", "15 Sco 00", "25 Lib 00", "15 Tau 00", "25 Tau 00"});
    fillDecanates(second, results, *window, nullptr);
    const DecanateResult old = *LookUpDecanate("05 Ari 10");
    for (int body = 0; body < displayedBodyCount; ++body) {
        const DecanateResult shown = shownOnTab(*window, body);
        EXPECT_EQ(shown, *LookUpDecanate(second.positionText[static_cast<std::size_t>(body)]))
            << "body " << body;
        // Every one of the eight captions has changed, not just some.
        EXPECT_NE(shown.decanateName, old.decanateName) << "body " << body;
        EXPECT_NE(shown.decanateSign, old.decanateSign) << "body " << body;
        EXPECT_NE(shown.description, old.description) << "body " << body;
        EXPECT_NE(shown.rulingPlanet, old.rulingPlanet) << "body " << body;
        EXPECT_NE(shown.rulingElement, old.rulingElement) << "body " << body;
        EXPECT_NE(shown.constellationName, old.constellationName) << "body " << body;
        EXPECT_NE(shown.keyword, old.keyword) << "body " << body;
        EXPECT_NE(shown.treeZodiac, old.treeZodiac) << "body " << body;
    }
}

TEST_F(DisplayWindow, UnrecognisedSignKeepsWhatTheTabShowed) {
    DecanateResults results{};
    std::array<std::string, displayedBodyCount> positions;
    positions.fill("05 Ari 10");
    fillDecanates(chartWithPositions(positions), results, *window, nullptr);
    const DecanateResult before = shownOnTab(*window, 3);

    positions.fill("25 Can 00");
    positions[3] = "10 tau 00"; // sign in lower case: not one of the abbreviations
    fillDecanates(chartWithPositions(positions), results, *window, nullptr);
    EXPECT_EQ(shownOnTab(*window, 3), before);
    EXPECT_EQ(shownOnTab(*window, 2), *LookUpDecanate("25 Can 00"));
    EXPECT_EQ(shownOnTab(*window, 4), *LookUpDecanate("25 Can 00"));
}

TEST_F(DisplayWindow, UnrecognisedSignOnTheFirstFillShowsTheEmptyRecord) {
    DecanateResults results{};
    std::array<std::string, displayedBodyCount> positions;
    positions.fill("12 Leo 00");
    positions[7] = "12 LEO 00";
    fillDecanates(chartWithPositions(positions), results, *window, nullptr);
    EXPECT_EQ(shownOnTab(*window, 7), DecanateResult{});
    EXPECT_EQ(shownOnTab(*window, 6), *LookUpDecanate("12 Leo 00"));
}

TEST_F(DisplayWindow, MissingPictureSkipsOnlyThePicture) {
    // Entry 3 (Mercury) cannot be had; entries past the list do not exist at all.
    ImageList pictures;
    QPixmap sample(8, 8);
    sample.fill(Qt::red);
    pictures.add(sample);
    pictures.add(sample);
    pictures.add(QPixmap());
    pictures.add(sample);
    std::array<std::string, displayedBodyCount> positions;
    positions.fill("12 Leo 00");
    DecanateResults results{};
    fillDecanates(chartWithPositions(positions), results, *window, &pictures);
    for (int body = 0; body < displayedBodyCount; ++body) {
        const bool expectPicture = body < 4 && body != 2;
        EXPECT_EQ(!label(*window, element("picPlanet", body))->pixmap().isNull(), expectPicture)
            << "body " << body;
        EXPECT_EQ(shownOnTab(*window, body), *LookUpDecanate("12 Leo 00")) << "body " << body;
    }

    frmDisplay noPictures;
    fillDecanates(chartWithPositions(positions), results, noPictures, nullptr);
    EXPECT_EQ(shownOnTab(noPictures, 0), *LookUpDecanate("12 Leo 00"));
    EXPECT_TRUE(label(noPictures, "picPlanet_0")->pixmap().isNull());
}

// The description label holds every paragraph whole, at the default size and larger.
TEST_F(DisplayWindow, DescriptionShowsEveryParagraphWhole) {
    window->show();
    const QSize defaultSize = window->size();
    for (const QSize size :
         {defaultSize, defaultSize * 3 / 2, QSize(defaultSize.width() * 2, defaultSize.height())}) {
        window->resize(size);
        QApplication::sendPostedEvents();
        for (int body : {0, 9}) {
            QLabel* description = label(*window, element("lblDecanateSignDesc", body));
            ASSERT_NE(description, nullptr);
            ASSERT_TRUE(description->wordWrap());
            description->parentWidget()->layout()->activate();
            for (std::size_t decanate = 0; decanate < decanateTables.size(); ++decanate) {
                for (std::size_t sign = 0; sign < signCount; ++sign) {
                    description->setText(decanateTables[decanate][sign].description);
                    EXPECT_LE(description->heightForWidth(description->width()),
                              description->height())
                        << "decanate " << decanate << " sign " << sign << " window " << size.width()
                        << "x" << size.height();
                }
            }
        }
    }
}

// Each link opens exactly the one page it names.
struct LinkCase {
    const char* name;
    enum Kind { Label, MenuItem, BarItem } kind;
    WebPage page;
};

class DisplayLink : public ::testing::TestWithParam<LinkCase> {};

TEST_P(DisplayLink, OpensExactlyItsPage) {
    const LinkCase& c = GetParam();
    frmDisplay window;
    window.show();
    UrlCapture capture;
    switch (c.kind) {
    case LinkCase::Label: {
        QLabel* link = label(window, c.name);
        ASSERT_NE(link, nullptr) << c.name;
        QTest::mouseClick(link, Qt::LeftButton);
        break;
    }
    case LinkCase::MenuItem: {
        auto* action = window.findChild<QAction*>(c.name);
        ASSERT_NE(action, nullptr) << c.name;
        action->trigger();
        break;
    }
    case LinkCase::BarItem: {
        // Clicked on the menu bar itself: it acts without a drop-down.
        QMenuBar* bar = window.menuBar();
        auto* action = window.findChild<QAction*>(c.name);
        ASSERT_NE(action, nullptr) << c.name;
        const QPoint at = bar->actionGeometry(action).center();
        ASSERT_FALSE(bar->actionGeometry(action).isEmpty()) << c.name << " is on the bar";
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
        break;
    }
    }
    ASSERT_EQ(capture.urls.size(), 1u) << c.name;
    EXPECT_EQ(capture.urls[0], WebPageUrl(c.page)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryLink, DisplayLink,
    ::testing::Values(LinkCase{"mnuOnline", LinkCase::MenuItem, WebPage::OnlineHelp},
                      LinkCase{"mnuVisit", LinkCase::MenuItem, WebPage::HomePage},
                      LinkCase{"mnuUpdate", LinkCase::MenuItem, WebPage::Download},
                      LinkCase{"mnuDonate", LinkCase::MenuItem, WebPage::Donate},
                      LinkCase{"mkmoney", LinkCase::MenuItem, WebPage::FullyBranded},
                      LinkCase{"mnuDonate", LinkCase::BarItem, WebPage::Donate},
                      LinkCase{"mkmoney", LinkCase::BarItem, WebPage::FullyBranded},
                      LinkCase{"Label61", LinkCase::Label, WebPage::HomePage},
                      LinkCase{"lblFullBrand", LinkCase::Label, WebPage::FullyBranded},
                      LinkCase{"lblCobrand", LinkCase::Label, WebPage::CoBrand},
                      LinkCase{"Label19", LinkCase::Label, WebPage::CoBrand}),
    [](const ::testing::TestParamInfo<LinkCase>& info) {
        return std::string(info.param.name) +
               (info.param.kind == LinkCase::BarItem ? "OnTheBar" : "");
    });

TEST_F(DisplayWindow, OtherBodyNamesOpenNothing) {
    window->show();
    UrlCapture capture;
    for (int body = 0; body < displayedBodyCount; ++body) {
        if (body == 5) {
            continue;
        }
        QLabel* name = label(*window, bodyNameLabel(body));
        ASSERT_NE(name, nullptr) << "body " << body;
        QTest::mouseClick(name, Qt::LeftButton);
        EXPECT_TRUE(capture.urls.empty()) << "body " << body;
    }
}

// In every menu of every window, and on every menu bar, no two items share an access letter; in
// the result window every item has one.
class AccessLetters : public ::testing::TestWithParam<ProgramWindow> {};

TEST_P(AccessLetters, EveryItemHasOneAndNoMenuRepeatsOne) {
    const std::unique_ptr<QWidget> window = BuildProgramWindow(GetParam());
    std::vector<std::pair<QString, QList<QAction*>>> menus;
    if (auto* bar = window->findChild<QMenuBar*>()) {
        menus.emplace_back(QStringLiteral("menu bar"), bar->actions());
    }
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        menus.emplace_back(menu->objectName(), menu->actions());
    }
    for (const auto& [menuName, actions] : menus) {
        QMap<QChar, QString> taken;
        for (const QAction* action : actions) {
            if (action->isSeparator()) {
                continue;
            }
            const QString text = QString(action->text()).replace(QStringLiteral("&&"), QString());
            const qsizetype marker = text.indexOf(u'&');
            if (marker < 0 || marker + 1 >= text.size()) {
                EXPECT_NE(GetParam(), ProgramWindow::Result)
                    << menuName.toStdString() << ": " << text.toStdString() << " has no letter";
                continue;
            }
            const QChar letter = text[marker + 1].toLower();
            EXPECT_FALSE(taken.contains(letter))
                << menuName.toStdString() << ": " << text.toStdString() << " and "
                << taken.value(letter).toStdString() << " share " << QString(letter).toStdString();
            taken.insert(letter, text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, AccessLetters, ::testing::ValuesIn(everyProgramWindow),
                         [](const auto& info) { return ProgramWindowName(info.param); });

} // namespace
