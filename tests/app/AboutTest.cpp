#include "app/frmAbout.h"
#include "links/modHelp.h"
#include "support/Capture.h"
#include "support/Layout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>

namespace {

template <typename T>
T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "control " << name;
    return found;
}

TEST(AboutWindow, controlsAndCaptions) {
    frmAbout about;
    EXPECT_EQ(about.objectName(), "frmAbout");
    EXPECT_EQ(about.windowTitle(), "Korvani v1.20");
    EXPECT_TRUE(about.isModal());
    ASSERT_NE(control<QLabel>(&about, "picIcon"), nullptr);
    EXPECT_FALSE(control<QLabel>(&about, "picIcon")->pixmap().isNull());
    EXPECT_EQ(control<QLabel>(&about, "Label2")->text(), "Korvani v1.20");
    EXPECT_EQ(control<QLabel>(&about, "Label1")->text(),
              "Korvani calculates the decanate sign in which the different planets of your natal "
              "chart are placed in based on Vedic Astrology. Each zodiac sign is divided into "
              "three decanates of ten degrees each. These decanates influence the finer "
              "attributes of an individual's personality.");
    const QString home = control<QLabel>(&about, "lblHomePage")->text();
    EXPECT_TRUE(home.startsWith("Click here to visit")) << home.toStdString();
    EXPECT_TRUE(home.endsWith(MakerSiteText())) << home.toStdString();
    EXPECT_EQ(control<QLabel>(&about, "Label3")->text(),
              "Home Business Opportunity. Start your own Internet business and make money "
              "online. Get this software fully branded for your website.");
    EXPECT_EQ(control<QLabel>(&about, "lblCoBrand")->text(), "Click here for more details.");
    // The licences of the program and of the precise engine's library, and why they combine.
    const QString licence = control<QLabel>(&about, "lblLicence")->text();
    for (const char* part : {"GNU General Public License, version 3 or later", "Swiss Ephemeris",
                             "GNU Affero General Public License, version 3", "section 13"}) {
        EXPECT_TRUE(licence.contains(QLatin1String(part))) << part;
    }
    ASSERT_NE(control<QFrame>(&about, "Line2"), nullptr);
    EXPECT_EQ(control<QFrame>(&about, "Line2")->frameShape(), QFrame::HLine);
    EXPECT_EQ(control<QPushButton>(&about, "cmdOK")->text(), "OK");
}

TEST(AboutWindow, everyTextShowsWhole) {
    frmAbout about;
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(clippedLabels(about), QStringList());
}

TEST(AboutWindow, eachLinkOpensItsPageOnce) {
    const std::pair<const char*, WebPage> links[] = {{"lblHomePage", WebPage::HomePage},
                                                     {"lblCoBrand", WebPage::CoBrand}};
    for (const auto& [name, page] : links) {
        UrlCapture urls;
        frmAbout about;
        about.show();
        QTest::mouseClick(control<QLabel>(&about, name), Qt::LeftButton);
        ASSERT_EQ(urls.urls.size(), 1u) << "label " << name;
        EXPECT_EQ(urls.urls[0], WebPageUrl(page)) << "label " << name;
        EXPECT_TRUE(about.isVisible()) << "label " << name << ": a link leaves the window open";
    }
}

TEST(AboutWindow, plainLabelsOpenNothing) {
    UrlCapture urls;
    frmAbout about;
    about.show();
    for (const char* name : {"picIcon", "Label2", "Label1", "Label3"}) {
        QTest::mouseClick(control<QLabel>(&about, name), Qt::LeftButton);
    }
    EXPECT_TRUE(urls.urls.empty());
}

// The about window blocks its owner while it is open; OK closes it and hands back to the owner.
TEST(AboutWindow, okReturnsToTheOwner) {
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);

    QPointer<QWidget> seen;
    bool ownerBlocked = false;
    bool closedByOk = false;
    QTimer::singleShot(0, &owner, [&] {
        seen = QApplication::activeModalWidget();
        if (seen == nullptr) {
            return;
        }
        ownerBlocked = seen->parentWidget() == &owner && seen->isModal();
        if (auto* ok = seen->findChild<QPushButton*>("cmdOK")) {
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        closedByOk = seen.isNull() || !seen->isVisible();
        if (!closedByOk) {
            seen->close(); // the OK button failed: do not leave the test hanging
        }
    });
    ShowAboutWindow(&owner);

    EXPECT_TRUE(ownerBlocked) << "the about window was not shown modally over its owner";
    EXPECT_TRUE(closedByOk) << "OK did not close the about window";
    EXPECT_TRUE(seen.isNull()) << "the about window was not unloaded";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(owner.isVisible());
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_EQ(qobject_cast<frmAbout*>(top), nullptr);
    }
}

} // namespace
