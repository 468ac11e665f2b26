// The exit window's boxes under pastes, drops and focus changes: blanks refused in the e-mail
// boxes whatever came before, the length limit of every box, and placeholders that survive the
// window losing and regaining activation.

#include "promo/ExitBoxes.h"
#include "promo/frmExit.h"
#include "support/Capture.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Drops a text near the right edge of a box, after any text it holds.
void DropAtEnd(QWidget* target, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint at(target->width() - 3, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

bool ClipboardWorks() {
    QGuiApplication::clipboard()->setText(QStringLiteral("probe"));
    return QGuiApplication::clipboard()->text() == QStringLiteral("probe");
}

class ExitBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        window = new frmExit;
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(window->isActiveWindow());
    }
    void TearDown() override { delete window; }

    QLineEdit* line(const char* name) {
        auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
        EXPECT_NE(box, nullptr) << name;
        return box;
    }
    QPlainTextEdit* message() {
        return window->findChild<QPlainTextEdit*>(QStringLiteral("txtMessage"));
    }

    MessageCapture messages;
    QPointer<frmExit> window;
};

// --- Blanks in the e-mail boxes, over a run of edits ------------------------------------------

enum class Edit { Type, KeyPaste, ShiftInsert, MenuPaste, Drop, Compose, Undo };

struct EditStep {
    Edit edit;
    const char* text;
    const char* after; // the box's text after the step
    bool refused;      // the step shows "Email Address Cannot Contain Space"
};

struct EmailRun {
    const char* box;
    // The message is shown as a modal box is: it takes the focus from the window while it is
    // up, and the window gets it back when it goes.
    bool modal;
};

void PrintTo(const EmailRun& run, std::ostream* out) {
    *out << run.box << (run.modal ? " modal" : "");
}

// Stands in for the message box: records each message and, when `modal`, moves the activation
// and focus to a window of its own while the message is up.
class MessageBoxStandIn {
  public:
    MessageBoxStandIn(MessageCapture& capture, bool modal) {
        SetMessageHandler([&capture, modal, this](MessageIcon icon, const QString& text) {
            capture.messages.push_back({icon, text});
            if (!modal) {
                return;
            }
            QWidget* before = QApplication::activeWindow();
            box.show();
            QApplication::setActiveWindow(&box);
            box.setFocus(Qt::ActiveWindowFocusReason);
            QCoreApplication::processEvents();
            box.hide();
            if (before) {
                QApplication::setActiveWindow(before);
            }
        });
    }

  private:
    QWidget box;
};

// Pastes through the Paste item of the box's own context menu.
void PasteFromContextMenu(QLineEdit* box) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &event);
    QMenu* menu = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<QMenu*>(top); shown && shown->isVisible()) {
            menu = shown;
        }
    }
    ASSERT_NE(menu, nullptr) << "the context menu opens";
    // The Paste item shows the paste keys after a tab, whatever the language of its text.
    const QString pasteKeys =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().endsWith(pasteKeys)) {
            paste = action;
        }
    }
    ASSERT_NE(paste, nullptr) << "the context menu has Paste";
    menu->setAttribute(Qt::WA_DeleteOnClose, false); // deleted here, after the paste
    menu->close();
    paste->trigger();
    delete menu;
}

// The run of the fault report first (refused, then a second text with a blank that used to get
// through), then refusals and acceptances of every kind in turn.
const EditStep emailSteps[] = {
    {Edit::Type, "ab@c.de", "ab@c.de", false},
    {Edit::KeyPaste, "x y", "ab@c.de", true},
    {Edit::KeyPaste, "p q", "ab@c.de", true},
    {Edit::Drop, "p q", "ab@c.de", true},
    {Edit::Drop, "r s", "ab@c.de", true},
    {Edit::KeyPaste, "x", "ab@c.dex", false},
    {Edit::MenuPaste, " ", "ab@c.dex", true},
    {Edit::Drop, "y", "ab@c.dexy", false},
    {Edit::Compose, "z z", "ab@c.dexy", true},
    {Edit::Compose, "z", "ab@c.dexyz", false},
    {Edit::KeyPaste, "q", "ab@c.dexyzq", false},
    {Edit::KeyPaste, "a b", "ab@c.dexyzq", true},
    {Edit::Undo, "", "ab@c.dexyz", false}, // a refused edit leaves nothing to undo
    {Edit::Type, " ", "ab@c.dexyz", true},
    {Edit::Drop, "\t", "ab@c.dexyz\t", false}, // only the blank (code 32) is refused
    {Edit::MenuPaste, "w", "ab@c.dexyz\tw", false},
    {Edit::Drop, "  ", "ab@c.dexyz\tw", true},
    {Edit::ShiftInsert, "s t", "ab@c.dexyz\tw", true},
    {Edit::ShiftInsert, "s t", "ab@c.dexyz\tw", true},
    {Edit::ShiftInsert, "t", "ab@c.dexyz\twt", false},
    {Edit::MenuPaste, "u v", "ab@c.dexyz\twt", true},
    {Edit::Compose, "u v", "ab@c.dexyz\twt", true},
    {Edit::Type, "k", "ab@c.dexyz\twtk", false},
};

class EmailRefusals : public ExitBoxes, public ::testing::WithParamInterface<EmailRun> {};

TEST_P(EmailRefusals, EveryEditBringingABlankIsRefusedWholeWhateverCameBefore) {
    if (!ClipboardWorks()) {
        GTEST_SKIP() << "this platform offers no clipboard";
    }
    MessageBoxStandIn shown(messages, GetParam().modal);
    QLineEdit* box = line(GetParam().box);
    QTest::mouseClick(box, Qt::LeftButton); // clears the placeholder
    ASSERT_EQ(box->text(), "");
    std::size_t refusals = 0;
    int row = 0;
    for (const EditStep& step : emailSteps) {
        ++row;
        const QString text = QString::fromUtf8(step.text);
        switch (step.edit) {
        case Edit::Type:
            QTest::keyClicks(box, text);
            break;
        case Edit::KeyPaste:
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Edit::ShiftInsert:
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            break;
        case Edit::MenuPaste:
            QGuiApplication::clipboard()->setText(text);
            PasteFromContextMenu(box);
            break;
        case Edit::Drop:
            line("txtName")->setFocus(); // a drop leaves the focus where it is
            DropAtEnd(box, text);
            break;
        case Edit::Compose: {
            QInputMethodEvent composed;
            composed.setCommitString(text);
            QApplication::sendEvent(box, &composed);
            break;
        }
        case Edit::Undo:
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            break;
        }
        refusals += step.refused ? 1 : 0;
        EXPECT_EQ(box->text(), QString::fromUtf8(step.after)) << "row " << row;
        ASSERT_EQ(messages.messages.size(), refusals) << "row " << row;
        if (step.refused) {
            EXPECT_EQ(messages.messages.back().text, "Email Address Cannot Contain Space")
                << "row " << row;
            EXPECT_EQ(messages.messages.back().icon, MessageIcon::Error) << "row " << row;
            EXPECT_TRUE(box->hasFocus()) << "the focus returns to the box, row " << row;
        }
    }
}

TEST_P(EmailRefusals, ThePlaceholderLeavesAndReturnsWithoutAMessage) {
    QLineEdit* box = line(GetParam().box);
    const QString placeholder = box->text();
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->text(), "") << "round " << round;
        QTest::mouseClick(line("txtName"), Qt::LeftButton);
        EXPECT_EQ(box->text(), placeholder) << "round " << round;
    }
    // A blank pasted after the placeholder came back is refused all the same.
    QTest::mouseClick(box, Qt::LeftButton);
    DropAtEnd(box, QStringLiteral("a b"));
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(messages.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, EmailRefusals,
    ::testing::Values(EmailRun{"txtEmail", false}, EmailRun{"txtFriendEmail", false},
                      EmailRun{"txtEmail", true}, EmailRun{"txtFriendEmail", true}),
    [](const auto& info) {
        return std::string(info.param.box) + (info.param.modal ? "Modal" : "Recorded");
    });

// --- Length limits ----------------------------------------------------------------------------

enum class Way { Keys, Menu, Drop };

struct CutCase {
    const char* name;
    const char* box;    // object name
    qsizetype before;   // characters in the box before the edit
    qsizetype selected; // of those, selected at the end (a paste replaces them)
    qsizetype pasted;   // length of the pasted or dropped text
    Way way;
    qsizetype kept; // characters of the pasted text that go in
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

// A run of digits, so that the kept part shows where the cut fell.
QString Digits(qsizetype length) {
    QString text(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) {
        text[i] = QChar(u'0' + char16_t(i % 10));
    }
    return text;
}

class ExitCuts : public ExitBoxes, public ::testing::WithParamInterface<CutCase> {};

TEST_P(ExitCuts, PastedAndDroppedTextIsCutToTheRoomLeft) {
    const CutCase& c = GetParam();
    if (c.way != Way::Drop && !ClipboardWorks()) {
        GTEST_SKIP() << "this platform offers no clipboard";
    }
    const bool several = QString::fromLatin1(c.box) == "txtMessage";
    QWidget* box = several ? static_cast<QWidget*>(message()) : line(c.box);
    QWidget* target = several ? message()->viewport() : box;
    QTest::mouseClick(target, Qt::LeftButton); // clears the placeholder
    const QString start(c.before, u'k');
    if (several) {
        message()->setPlainText(start);
        QTextCursor cursor = message()->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, int(c.selected));
        message()->setTextCursor(cursor);
    } else {
        line(c.box)->setText(start);
        line(c.box)->setSelection(int(c.before), -int(c.selected));
    }
    const QString pasted = Digits(c.pasted);
    QString expected = start.left(c.before - c.selected) + pasted.left(c.kept);
    switch (c.way) {
    case Way::Keys:
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        break;
    case Way::Menu:
        QGuiApplication::clipboard()->setText(pasted);
        several ? message()->paste() : line(c.box)->paste();
        break;
    case Way::Drop:
        DropAtEnd(target, pasted);
        expected = start + pasted.left(c.kept); // a drop lands after the text, selection kept
        break;
    }
    const QString text = several ? message()->toPlainText() : line(c.box)->text();
    EXPECT_EQ(text.size(), expected.size()) << "case " << c.name;
    EXPECT_EQ(text, expected) << "case " << c.name;
    EXPECT_TRUE(messages.messages.empty()) << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ExitCuts,
    ::testing::Values(CutCase{"messageLongPaste", "txtMessage", 0, 0, 2500, Way::Keys, 2000},
                      CutCase{"messageExactFit", "txtMessage", 0, 0, 2000, Way::Keys, 2000},
                      CutCase{"messageAfterText", "txtMessage", 1990, 0, 30, Way::Keys, 10},
                      CutCase{"messageSelectionMakesRoom", "txtMessage", 2000, 5, 30, Way::Keys, 5},
                      CutCase{"messageFull", "txtMessage", 2000, 0, 30, Way::Keys, 0},
                      CutCase{"messageHugeMenuPaste", "txtMessage", 7, 0, 10'000'000, Way::Menu,
                              1993},
                      CutCase{"messageHugeDrop", "txtMessage", 0, 0, 10'000'000, Way::Drop, 2000},
                      CutCase{"nameLongPaste", "txtName", 0, 0, 2500, Way::Keys, 2000},
                      CutCase{"nameHugeDrop", "txtName", 10, 0, 10'000'000, Way::Drop, 1990},
                      CutCase{"friendNameSelection", "txtFriendName", 2000, 3, 10, Way::Keys, 3},
                      CutCase{"emailHugePaste", "txtEmail", 0, 0, 10'000'000, Way::Keys, 2000},
                      CutCase{"friendEmailFull", "txtFriendEmail", 2000, 0, 9, Way::Menu, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineBreakCase {
    const char* name;
    const char* pasted;
    const char* kept;
};

class MessageLineBreaks : public ::testing::TestWithParam<LineBreakCase> {};

// Paste and drop both hand their text to insertFromMimeData.
class OpenLimitedPlainTextEdit : public LimitedPlainTextEdit {
  public:
    using LimitedPlainTextEdit::insertFromMimeData;
    using LimitedPlainTextEdit::LimitedPlainTextEdit;
};

// Line breaks count as one character each, whichever convention the pasted text uses.
TEST_P(MessageLineBreaks, CountAsOneCharacter) {
    OpenLimitedPlainTextEdit box(QString(), 5);
    QMimeData data;
    data.setText(QString::fromUtf8(GetParam().pasted));
    box.insertFromMimeData(&data);
    EXPECT_EQ(box.toPlainText(), QString::fromUtf8(GetParam().kept)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Texts, MessageLineBreaks,
                         ::testing::Values(LineBreakCase{"lf", "ab\ncd\nef", "ab\ncd"},
                                           LineBreakCase{"crlf", "ab\r\ncd\r\nef", "ab\ncd"},
                                           LineBreakCase{"cr", "ab\rcd\ref", "ab\ncd"},
                                           LineBreakCase{"short", "a\r\nb", "a\nb"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExitBoxes, TypingIntoAFullMessageAddsNothingButEditingGoesOn) {
    QPlainTextEdit* box = message();
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    box->setPlainText(QString(1999, u'k'));
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, "ab");
    EXPECT_EQ(box->toPlainText(), QString(1999, u'k') + "a");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->toPlainText().size(), 2000);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->toPlainText(), QString(1999, u'k') + "\n");
}

// --- Placeholders and activation --------------------------------------------------------------

struct PlaceholderBox {
    const char* name;
    const char* placeholder;
};

void PrintTo(const PlaceholderBox& c, std::ostream* out) {
    *out << c.name;
}

class UntouchedPlaceholder : public ExitBoxes,
                             public ::testing::WithParamInterface<PlaceholderBox> {
  protected:
    QWidget* box() { return window->findChild<QWidget*>(QString::fromLatin1(GetParam().name)); }
    QString placeholder() const { return QString::fromUtf8(GetParam().placeholder); }
    QString boxText() {
        if (auto* several = qobject_cast<QPlainTextEdit*>(box())) {
            return several->toPlainText();
        }
        return qobject_cast<QLineEdit*>(box())->text();
    }
};

// The window losing and regaining activation, or a popup opening and closing, moves the focus
// in and out of the box without the user going there: the placeholder stays.
TEST_P(UntouchedPlaceholder, SurvivesTheWindowBeingActivatedAgain) {
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_FALSE(window->isActiveWindow());
    box()->setFocus(Qt::OtherFocusReason); // takes effect when the window is active again
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(box()->hasFocus());
    EXPECT_EQ(boxText(), placeholder()) << "on re-activation";

    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(window);
    EXPECT_EQ(boxText(), placeholder()) << "on a second re-activation";

    QFocusEvent popupOut(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(box(), &popupOut);
    QFocusEvent popupIn(QEvent::FocusIn, Qt::PopupFocusReason);
    QApplication::sendEvent(box(), &popupIn);
    EXPECT_EQ(boxText(), placeholder()) << "after a popup";

    // Moving there from another box is the user's doing and clears it.
    line("txtName") == box() ? line("txtFriendName")->setFocus(Qt::TabFocusReason)
                             : line("txtName")->setFocus(Qt::TabFocusReason);
    box()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(boxText(), "");
    EXPECT_TRUE(messages.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Boxes, UntouchedPlaceholder,
                         ::testing::Values(PlaceholderBox{"txtName", "Your Name"},
                                           PlaceholderBox{"txtEmail", "Your Email Address"},
                                           PlaceholderBox{"txtMessage", "Your Message"},
                                           PlaceholderBox{"txtFriendName", "Friend's Name"},
                                           PlaceholderBox{"txtFriendEmail",
                                                          "Friend's Email Address"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
