#include "app/WindowController.h"
#include "app/frmAbout.h"
#include "links/modHelp.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The program as the user meets it: the input window, and the result window once calculated.
class Keyboard : public ::testing::Test {
  protected:
    void SetUp() override {
        controller.start();
        input = FindWindow("frmMain");
        ASSERT_TRUE(QTest::qWaitForWindowActive(input));
        TypeDelhiEntries(*input);
    }
    QWidget* calculate() {
        input->findChild<QPushButton*>("cmdRashi")->click();
        QWidget* result = FindWindow("frmDisplay");
        EXPECT_TRUE(result && QTest::qWaitForWindowActive(result));
        return result;
    }
    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, key, modifiers);
    }

    WindowController controller;
    QWidget* input = nullptr;
    MessageCapture messages;
    UrlCapture urls;
};

TEST_F(Keyboard, ReturnAndEnterPressTheFocusedButton) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        press(input->findChild<QPushButton*>("cmdRashi"), key);
        QWidget* result = FindWindow("frmDisplay");
        ASSERT_TRUE(result && result->isVisible()) << "key " << key;
        press(result->findChild<QPushButton*>("cmdOK"), key);
        EXPECT_TRUE(input->isVisible()) << "key " << key << " pressed Back";
        DeleteUnloadedWindows();
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Keyboard, ReturnInACoordinateBoxKeepsItsMessage) {
    press(input->findChild<QWidget*>("txtLonD"), Qt::Key_Return);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Only Numbers Are Accepted");
    EXPECT_FALSE(IsShown("frmDisplay"));
}

TEST_F(Keyboard, ControlReturnCalculatesFromAnyControl) {
    press(input->findChild<QWidget*>("txtName"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(IsShown("frmDisplay"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Keyboard, ControlQDoesWhatFileExitDoesInEachWindow) {
    QWidget* result = calculate();
    QTest::keyClick(result, Qt::Key_Q, Qt::ControlModifier);
    DeleteUnloadedWindows();
    EXPECT_FALSE(IsShown("frmDisplay"));
    EXPECT_TRUE(IsShown("frmExit")) << "the result window's Exit shows the exit window";
}

TEST_F(Keyboard, F1OpensTheOnlineHelpFromEachWindow) {
    QTest::keyClick(input, Qt::Key_F1);
    QTest::keyClick(calculate(), Qt::Key_F1);
    ASSERT_EQ(urls.urls.size(), 2u);
    EXPECT_EQ(urls.urls[0], WebPageUrl(WebPage::OnlineHelp));
    EXPECT_EQ(urls.urls[1], WebPageUrl(WebPage::OnlineHelp));
}

TEST_F(Keyboard, ClickableTextsOpenTheirPageWithReturnEnterOrSpace) {
    QWidget* banner = input->findChild<QWidget*>("Label61");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        press(banner, key);
    }
    EXPECT_TRUE(banner->hasFocus()) << "Tab reaches the text";
    ASSERT_EQ(urls.urls.size(), 3u);
    EXPECT_EQ(urls.urls[2], WebPageUrl(WebPage::HomePage));
}

TEST_F(Keyboard, EscapeClosesTheAboutWindow) {
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* about = FindWindow<frmAbout>("frmAbout");
        ASSERT_NE(about, nullptr);
        QTest::keyClick(about, Qt::Key_Escape);
        closed = !about->isVisible();
    });
    input->findChild<QAction*>("mnuAbout")->trigger(); // returns when the window closes
    EXPECT_TRUE(closed);
}

// The Tab key walks each window in reading order, round to the first control again.
TEST_F(Keyboard, TabFollowsTheReadingOrder) {
    const auto walk = [](QWidget* first, std::size_t count) {
        first->setFocus(Qt::TabFocusReason);
        std::vector<std::string> names;
        while (names.size() < count) {
            QWidget* focused = QApplication::focusWidget();
            names.push_back(focused ? focused->objectName().toStdString() : "<none>");
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        return names;
    };
    const std::vector<std::string> inputOrder = {
        "txtName",    "cboMonth",    "cboDate", "cboYear",    "cboHH",        "cboMM",
        "cboSS",      "txtLonD",     "txtLonM", "optLong_0",  "txtLatD",      "txtLatM",
        "optLat_0",   "cmbTimeZone", "chkDST",  "txtMCity",   "txtMState",    "txtMCountry",
        "cmdBrowser", "cmdRashi",    "Label61", "lblCobrand", "lblFullBrand", "txtName"};
    EXPECT_EQ(walk(input->findChild<QWidget*>("txtName"), inputOrder.size()), inputOrder);

    QWidget* result = calculate();
    const std::vector<std::string> resultOrder = {
        "Label61", "qt_tabwidget_tabbar", "lblFullBrand", "lblCobrand", "cmdOK", "cmdExit",
        "Label61"};
    EXPECT_EQ(walk(result->findChild<QWidget*>("Label61"), resultOrder.size()), resultOrder);
}

TEST_F(Keyboard, CopyReadingPutsTheWholeReadingOnTheClipboardAndSaysSo) {
    QWidget* result = calculate();
    QWidget* focused = QApplication::focusWidget();
    auto* status = result->findChild<QLabel*>("lblStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().isEmpty());
    result->findChild<QAction*>("mnuCopyReading")->trigger();
    // The status line says it, in the text a screen reader reads out (a label's text is its
    // accessible name, and a change of it is told to the screen reader), and the keyboard
    // stays where it was.
    EXPECT_EQ(status->text(), "Reading copied to the clipboard.");
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name),
              status->text());
    EXPECT_EQ(QApplication::focusWidget(), focused);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QString header = result->findChild<QLabel*>("lblChartHeader")->text();
    EXPECT_TRUE(header.startsWith(QStringLiteral("ASHA · 1 January 1901 · 00:00 · 77°13′E")))
        << header.toStdString();
    EXPECT_TRUE(data->text().startsWith(header));
    EXPECT_TRUE(data->hasHtml());
    for (int body = 0; body < 10; ++body) {
        const QString description =
            result->findChild<QLabel*>(QStringLiteral("lblDecanateSignDesc_%1").arg(body))->text();
        EXPECT_TRUE(data->text().contains(description)) << "body " << body;
    }
}

TEST_F(Keyboard, PrintOffersThePrintDialogUnderTheNameAndBirthDate) {
    QWidget* result = calculate();
    bool offered = false;
    QString documentName;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            offered = true;
            documentName = dialog->printer()->docName();
            dialog->reject();
        }
    });
    result->findChild<QAction*>("mnuPrint")->trigger();
    EXPECT_TRUE(offered);
    EXPECT_EQ(documentName, "ASHA 1901-01-01");
}

} // namespace
