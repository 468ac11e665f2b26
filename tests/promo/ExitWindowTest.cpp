#include "links/modHelp.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Types a text key by key; a line break is the Return key.
void typeText(QWidget* target, const QString& text) {
    for (const QChar character : text) {
        if (character == u'\n') {
            QTest::keyClick(target, Qt::Key_Return);
        } else {
            QTest::keyClicks(target, QString(character));
        }
    }
}

// One exit window, shown and active so that clicks and keys move the focus as for a user.
// Message boxes and browser calls are captured.
class ExitWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = new frmExit;
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(window->isActiveWindow());
    }
    void TearDown() override {
        // Closing would end the program; the window is simply thrown away.
        delete window;
    }

    template <typename T>
    T* control(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "control " << name;
        return found;
    }
    QLineEdit* line(const char* name) { return control<QLineEdit>(name); }
    QPlainTextEdit* message() { return control<QPlainTextEdit>("txtMessage"); }

    // Clicks into a box (taking the focus) and types the text.
    void typeInto(const char* name, const QString& text) {
        if (QString::fromLatin1(name) == "txtMessage") {
            QTest::mouseClick(message()->viewport(), Qt::LeftButton);
            typeText(message(), text);
        } else {
            QTest::mouseClick(line(name), Qt::LeftButton);
            QTest::keyClicks(line(name), text);
        }
    }

    void fillForm(const QString& messageText) {
        typeInto("txtName", "Asha Rao");
        typeInto("txtEmail", "asha@mail.example");
        typeInto("txtMessage", messageText);
        typeInto("txtFriendName", "Ravi Menon");
        typeInto("txtFriendEmail", "ravi@post.example");
    }

    void submit() { QTest::mouseClick(control<QPushButton>("cmdSubmit"), Qt::LeftButton); }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : messages.messages) {
            texts << m.text;
        }
        return texts;
    }

    MessageCapture messages;
    UrlCapture urls;
    QPointer<frmExit> window;
};

TEST_F(ExitWindow, controlsAndCaptions) {
    EXPECT_EQ(window->objectName(), "frmExit");
    EXPECT_EQ(window->windowTitle(), "Korvani v1.20");
    EXPECT_EQ(control<QLabel>("Label1")->text(), "Korvani v1.20");
    const QString support = control<QLabel>("Label2")->text();
    bool known = false;
    for (int k = 0; k < 4; ++k) {
        known = known || support == SupportMessage(k);
    }
    EXPECT_TRUE(known) << support.toStdString();
    EXPECT_TRUE(control<QCheckBox>("Check1")->text().contains(MakerSiteText()));
    EXPECT_EQ(control<QGroupBox>("Frame2")->title(), "Refer A Friend");
    EXPECT_EQ(line("txtName")->text(), "Your Name");
    EXPECT_EQ(line("txtEmail")->text(), "Your Email Address");
    EXPECT_EQ(message()->toPlainText(), "Your Message");
    EXPECT_EQ(line("txtFriendName")->text(), "Friend's Name");
    EXPECT_EQ(line("txtFriendEmail")->text(), "Friend's Email Address");
    EXPECT_EQ(control<QPushButton>("cmdSubmit")->text(), "Refer A Friend &Now");
    EXPECT_FALSE(control<QGroupBox>("Frame6")->title().isEmpty());
    EXPECT_FALSE(control<QLabel>("Label3")->text().isEmpty());
    EXPECT_FALSE(control<QLabel>("lblGoToHome")->text().isEmpty());
    ASSERT_NE(control<QLabel>("Picture1"), nullptr);
    EXPECT_FALSE(control<QLabel>("Picture1")->pixmap().isNull());
    EXPECT_EQ(control<QPushButton>("cmdClose")->text(), "E&xit");
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(window->isModal());
}

TEST_F(ExitWindow, placeholdersClearOnFocusAndReturnWhenLeftEmpty) {
    const std::pair<const char*, QString> boxes[] = {{"txtName", "Your Name"},
                                                     {"txtEmail", "Your Email Address"},
                                                     {"txtFriendName", "Friend's Name"},
                                                     {"txtFriendEmail", "Friend's Email Address"}};
    for (const auto& [name, placeholder] : boxes) {
        QLineEdit* box = line(name);
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus()) << "box " << name;
        EXPECT_EQ(box->text(), "") << "box " << name;
        box->setText("   "); // blanks only count as empty
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_FALSE(box->hasFocus()) << "box " << name;
        EXPECT_EQ(box->text(), placeholder) << "box " << name;
    }
    QPlainTextEdit* box = message();
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    ASSERT_TRUE(box->hasFocus());
    EXPECT_EQ(box->toPlainText(), "");
    typeText(box, " \n ");
    QTest::mouseClick(line("txtName"), Qt::LeftButton);
    EXPECT_EQ(box->toPlainText(), "Your Message");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExitWindow, typedTextStaysThroughFocusChanges) {
    QLineEdit* name = line("txtName");
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, "Your Name"); // typed back by the user, then left
    QTest::keyClick(name, Qt::Key_Tab);
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(name->text(), "") << "the placeholder text is cleared on entering, however it came";
    QTest::keyClicks(name, "Asha");
    QTest::keyClick(name, Qt::Key_Tab);
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(name->text(), "Asha");
}

TEST_F(ExitWindow, droppedTextReplacesThePlaceholder) {
    // A drop does not move the focus, so it must clear the placeholder itself.
    const auto dropOnto = [](QWidget* target, const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPointF at = QRectF(target->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    };
    dropOnto(line("txtEmail"), "me@x.org");
    EXPECT_EQ(line("txtEmail")->text(), "me@x.org");
    dropOnto(message()->viewport(), "Hello");
    EXPECT_EQ(message()->toPlainText(), "Hello");
    dropOnto(line("txtName"), "Bob");
    EXPECT_EQ(line("txtName")->text(), "Bob");
    // A box the user has typed into keeps its text and takes the drop as well.
    dropOnto(line("txtName"), "!");
    EXPECT_TRUE(line("txtName")->text().contains("Bob"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExitWindow, clearedMessageShowsPlaceholderAgainAndIsReportedMissing) {
    fillForm("to be removed");
    QPlainTextEdit* box = message();
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->toPlainText(), "");
    submit(); // the click moves the focus to the button first
    EXPECT_EQ(box->toPlainText(), "Your Message");
    EXPECT_EQ(messageTexts(), QStringList{"Please Enter Your Message"});
    EXPECT_EQ(messages.messages.at(0).icon, MessageIcon::Error);
    EXPECT_TRUE(urls.urls.empty());
}

struct BlankCase {
    const char* box;
    const char* placeholder;
};

void PrintTo(const BlankCase& c, std::ostream* os) {
    *os << c.box;
}

class EmailBlanks : public ExitWindow, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(EmailBlanks, typedBlankIsRefused) {
    QLineEdit* box = line(GetParam().box);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "ab");
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClicks(box, "c");
    EXPECT_EQ(box->text(), "abc") << "box " << GetParam().box;
    ASSERT_EQ(messages.messages.size(), 1u) << "box " << GetParam().box;
    EXPECT_EQ(messages.messages[0].text, "Email Address Cannot Contain Space");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(box->hasFocus()) << "box " << GetParam().box;
}

TEST_P(EmailBlanks, pastedTextWithBlankIsRefusedWhole) {
    QLineEdit* box = line(GetParam().box);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "ab");
    QGuiApplication::clipboard()->setText("x y@z.example");
    if (QGuiApplication::clipboard()->text() != "x y@z.example") {
        GTEST_SKIP() << "this platform offers no clipboard";
    }
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "ab") << "box " << GetParam().box;
    box->paste(); // the context menu's Paste
    EXPECT_EQ(box->text(), "ab") << "box " << GetParam().box;
    EXPECT_EQ(messageTexts(), QStringList(2, "Email Address Cannot Contain Space"));
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClicks(box, "c"); // the box goes on working
    EXPECT_EQ(box->text(), "abc");

    QGuiApplication::clipboard()->setText("@mail.example");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "abc@mail.example") << "text without blanks pastes as usual";
    EXPECT_EQ(messages.messages.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Boxes, EmailBlanks,
                         ::testing::Values(BlankCase{"txtEmail", "Your Email Address"},
                                           BlankCase{"txtFriendEmail", "Friend's Email Address"}),
                         [](const ::testing::TestParamInfo<BlankCase>& info) {
                             return std::string(info.param.box);
                         });

TEST_F(ExitWindow, blanksAreAllowedOutsideTheEmailBoxes) {
    typeInto("txtName", "Asha Rao");
    typeInto("txtMessage", "Hello there");
    EXPECT_EQ(line("txtName")->text(), "Asha Rao");
    EXPECT_EQ(message()->toPlainText(), "Hello there");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExitWindow, untouchedFormAsksForProperAddress) {
    submit();
    EXPECT_EQ(messageTexts(), QStringList{"Please Enter Proper Email Address"});
    EXPECT_EQ(messages.messages.at(0).icon, MessageIcon::Error);
    EXPECT_TRUE(urls.urls.empty());
}

TEST_F(ExitWindow, sameAddressTwiceComesFirst) {
    typeInto("txtEmail", "same@mail.example");
    typeInto("txtFriendEmail", "same@mail.example");
    submit();
    EXPECT_EQ(messageTexts(), QStringList{"Please Enter Distinct Email Addresses"});
    EXPECT_TRUE(urls.urls.empty());
}

TEST_F(ExitWindow, wellFormedAddressesButNameUntouched) {
    typeInto("txtEmail", "asha@mail.example");
    typeInto("txtFriendEmail", "ravi@post.example");
    submit();
    EXPECT_EQ(messageTexts(), QStringList{"Please Enter Your Name"});
    EXPECT_TRUE(urls.urls.empty());
}

TEST_F(ExitWindow, completeFormOpensReferralAddressWithMessageWhole) {
    fillForm("Tom & Jerry? #1 = best");
    submit();
    EXPECT_TRUE(messages.messages.empty()) << messageTexts().join("|").toStdString();
    ASSERT_EQ(urls.urls.size(), 1u);
    const QUrl opened = urls.urls[0];
    const QString expected =
        WebPageUrl(WebPage::ReferAFriend).toString() +
        "?taf1=Asha%20Rao&taf2=asha%40mail.example&taf3=Tom%20%26%20Jerry%3F%20%231%20%3D%20best"
        "&taf4=Ravi%20Menon&taf5=ravi%40post.example&taf6=" +
        QString::fromLatin1(QUrl::toPercentEncoding(ProductSiteRoot()));
    EXPECT_EQ(opened.toString(QUrl::FullyEncoded), expected);
    EXPECT_EQ(QUrlQuery(opened).queryItemValue("taf3", QUrl::FullyDecoded),
              "Tom & Jerry? #1 = best");
    // The form keeps its contents, so a second click sends the same address again.
    EXPECT_EQ(message()->toPlainText(), "Tom & Jerry? #1 = best");
    submit();
    ASSERT_EQ(urls.urls.size(), 2u);
    EXPECT_EQ(urls.urls[1], opened);
}

TEST_F(ExitWindow, blanksAroundEntriesAreNotSent) {
    typeInto("txtName", "  Asha  ");
    typeInto("txtEmail", "asha@mail.example");
    typeInto("txtMessage", "\n Hi \n");
    typeInto("txtFriendName", " Ravi");
    typeInto("txtFriendEmail", "ravi@post.example");
    submit();
    ASSERT_EQ(urls.urls.size(), 1u) << messageTexts().join("|").toStdString();
    const QUrlQuery query(urls.urls[0]);
    EXPECT_EQ(query.queryItemValue("taf1", QUrl::FullyDecoded), "Asha");
    EXPECT_EQ(query.queryItemValue("taf3", QUrl::FullyDecoded), "Hi");
    EXPECT_EQ(query.queryItemValue("taf4", QUrl::FullyDecoded), "Ravi");
}

TEST_F(ExitWindow, tickingCheck1OpensHomePageOnceAndClearsIt) {
    QCheckBox* check = control<QCheckBox>("Check1");
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(check->isChecked());
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_EQ(urls.urls[0], WebPageUrl(WebPage::HomePage));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_EQ(urls.urls.size(), 2u) << "each tick opens the page again";
    EXPECT_FALSE(check->isChecked());
}

TEST_F(ExitWindow, lblGoToHomeOpensCatalogueOnce) {
    QTest::mouseClick(control<QLabel>("lblGoToHome"), Qt::LeftButton);
    ASSERT_EQ(urls.urls.size(), 1u);
    EXPECT_EQ(urls.urls[0], WebPageUrl(WebPage::SoftwareCatalogue));
    EXPECT_EQ(urls.urls[0].path(), "/orvantis");
    // The other labels are no links.
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        QTest::mouseClick(control<QLabel>(name), Qt::LeftButton);
    }
    EXPECT_EQ(urls.urls.size(), 1u);
}

TEST(ExitWindowLifecycle, showsWithoutBlockingAndTellsOfItsClosingOnce) {
    QPointer<frmExit> window = new frmExit;
    int closings = 0;
    QObject::connect(window, &frmExit::closed, [&closings] { ++closings; });
    window->show();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    window->findChild<QPushButton*>("cmdClose")->click();
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "closing unloads the window";
}

} // namespace
