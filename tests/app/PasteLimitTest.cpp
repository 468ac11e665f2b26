// Long pastes and drops into the input window's boxes: the text that goes in is cut to the room
// the box has left, after the box's rule has had its say.

#include "app/FilteredLineEdit.h"
#include "app/frmMain.h"
#include "support/Capture.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace {

enum class Way { Keys, Menu, Drop, Compose };

struct CutCase {
    const char* name;
    FilteredLineEdit::Rule rule;
    int maxLength;
    const char* before; // the box's text before the edit
    int selected;       // characters selected at the end of it
    QString pasted;     // what is pasted, dropped or composed
    Way way;
    QString after; // the box's text afterwards
    bool told;     // a message was shown
    // Compose: the composed text replaces this many characters before the cursor.
    int replaced = 0;
    // Drop: the action the drop ends with, offered as a move (the source would lose its text);
    // IgnoreAction when the drop is refused.
    Qt::DropAction dropAction = Qt::CopyAction;
    bool dropAtStart = false; // Drop: on the box's first character rather than after its text
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

// `count` copies of `piece`.
QString Repeat(const char* piece, qsizetype count) {
    return QString::fromLatin1(piece).repeated(count);
}

class FilteredCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(FilteredCut, KeepsWhatTheRuleLetsThroughUpToTheLimit) {
    const CutCase& c = GetParam();
    MessageCapture messages;
    FilteredLineEdit box(c.rule);
    box.setMaxLength(c.maxLength);
    box.show();
    QApplication::setActiveWindow(&box);
    box.setText(QString::fromLatin1(c.before));
    box.setSelection(int(box.text().size()), -c.selected);
    switch (c.way) {
    case Way::Keys:
    case Way::Menu:
        QGuiApplication::clipboard()->setText(c.pasted);
        if (QGuiApplication::clipboard()->text() != c.pasted) {
            GTEST_SKIP() << "this platform offers no clipboard";
        }
        if (c.way == Way::Keys) {
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        } else {
            box.pasteFiltered(QGuiApplication::clipboard()->text());
        }
        break;
    case Way::Drop: {
        QMimeData data;
        data.setText(c.pasted);
        const QPoint at(c.dropAtStart ? 1 : box.width() - 3, box.height() / 2);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        // Shift held: the system proposes a move.
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(&box, &enter);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(&box, &drop);
        EXPECT_EQ(drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction, c.dropAction)
            << "case " << c.name;
        break;
    }
    case Way::Compose: {
        QInputMethodEvent composed;
        composed.setCommitString(c.pasted, -c.replaced, c.replaced);
        QApplication::sendEvent(&box, &composed);
        break;
    }
    }
    EXPECT_EQ(box.text().size(), c.after.size()) << "case " << c.name;
    EXPECT_EQ(box.text(), c.after) << "case " << c.name;
    EXPECT_EQ(!messages.messages.empty(), c.told) << "case " << c.name;
}

using Rule = FilteredLineEdit::Rule;
constexpr qsizetype tenMegabytes = 10 * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Boxes, FilteredCut,
    ::testing::Values(
        // Name box: letters made capital, the rest left out, then the cut.
        CutCase{"nameHugePaste", Rule::Name, 32767, "", 0, Repeat("ab1", tenMegabytes / 3),
                Way::Keys, Repeat("AB", 32767 / 2) + "A", true},
        CutCase{"nameAfterText", Rule::Name, 10, "ASHA", 0, "rao kumar", Way::Menu, "ASHARAO KU",
                false},
        CutCase{"nameSelectionMakesRoom", Rule::Name, 6, "ASHA R", 2, "bcdef", Way::Keys, "ASHABC",
                false},
        CutCase{"nameFull", Rule::Name, 4, "ASHA", 0, "x", Way::Menu, "ASHA", false},
        CutCase{"nameHugeDrop", Rule::Name, 32767, "A", 0, Repeat("b", tenMegabytes), Way::Drop,
                "A" + Repeat("B", 32766), false},
        CutCase{"nameDropWithRefusals", Rule::Name, 5, "", 0, "a-b-c-d-e-f", Way::Drop, "ABCDE",
                true},
        CutCase{"nameLongComposition", Rule::Name, 3, "", 0, "abcdef", Way::Compose, "ABC", false},
        // Coordinate boxes: digits only or nothing, then the cut.
        CutCase{"degreesHugePaste", Rule::Coordinate, 3, "", 0, Repeat("7", tenMegabytes),
                Way::Keys, "777", false},
        CutCase{"degreesHugeDrop", Rule::Coordinate, 3, "1", 0, Repeat("2", tenMegabytes),
                Way::Drop, "122", false},
        CutCase{"minutesSelection", Rule::Coordinate, 2, "59", 1, "0123", Way::Menu, "50", false},
        CutCase{"degreesRefusedWhole", Rule::Coordinate, 3, "12", 0, "3x", Way::Keys, "12", true},
        // Drops: a clean text that fits goes in as the user dropped it, a move included; one
        // that is cut or changed is copied, so that the source keeps its text.
        CutCase{"nameDropJustFits", Rule::Name, 6, "ASHA", 0, "RV", Way::Drop, "ASHARV", false, 0,
                Qt::MoveAction},
        CutCase{"nameDropOneTooMany", Rule::Name, 6, "ASHA", 0, "RVK", Way::Drop, "ASHARV", false},
        CutCase{"nameDropChanged", Rule::Name, 6, "ASHA", 0, "rv", Way::Drop, "ASHARV", false},
        CutCase{"degreesDropRefusedWhole", Rule::Coordinate, 3, "1", 0, "x", Way::Drop, "1", true,
                0, Qt::IgnoreAction},
        // A drop lands where it is dropped, beside the selection, which it neither replaces nor
        // counts as room.
        CutCase{"nameDropAfterSelection", Rule::Name, 8, "ASHA R", 2, "bcd", Way::Drop, "ASHA RBC",
                false},
        CutCase{"nameDropBeforeSelection", Rule::Name, 8, "ASHA R", 2, "bcd", Way::Drop, "BCASHA R",
                false, 0, Qt::CopyAction, true},
        CutCase{"nameFullDropBesideSelection", Rule::Name, 6, "ASHA R", 2, "bc", Way::Drop,
                "ASHA R", false},
        // Composed text that replaces characters of a full box takes their room.
        CutCase{"nameCompositionReplacesInFullBox", Rule::Name, 4, "ASHA", 0, "rv", Way::Compose,
                "ASRV", false, 2},
        CutCase{"nameCompositionReplacesOneWithTwo", Rule::Name, 4, "ASHA", 0, "rv", Way::Compose,
                "ASHR", false, 1},
        CutCase{"nameCompositionWithRefusal", Rule::Name, 4, "AS", 0, "h-a", Way::Compose, "ASHA",
                true},
        CutCase{"degreesCompositionRefusedWhole", Rule::Coordinate, 3, "12", 0, "x", Way::Compose,
                "12", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The place boxes are plain boxes with a limit of their own.
TEST(PlaceBoxes, AHugePasteKeepsItsFirstTwoHundredCharacters) {
    QPointer<frmMain> window = new frmMain;
    window->show();
    QApplication::setActiveWindow(window);
    const QString pasted = Repeat("Oslo ", tenMegabytes / 5);
    QGuiApplication::clipboard()->setText(pasted);
    if (QGuiApplication::clipboard()->text() != pasted) {
        GTEST_SKIP() << "this platform offers no clipboard";
    }
    for (const char* name : {"txtMCity", "txtMState", "txtMCountry"}) {
        auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), Repeat("Oslo ", 40)) << name;
    }
    delete window.data();
}

} // namespace

namespace {

// The paste rule of the name box is the key rule applied to every character, line breaks
// dropped silently: checked over every character code.
TEST(NamePasteRule, AgreesWithTheKeyRuleForEveryCharacter) {
    int disagreements = 0;
    for (char32_t code = 0; code <= 0xFFFF && disagreements < 5; ++code) {
        const PasteVerdict paste = FilterNamePaste(QString(QChar(char16_t(code))));
        const KeystrokeVerdict key = FilterNameKey(char16_t(code));
        const bool lineBreak = code == u'\r' || code == u'\n';
        const bool kept = !lineBreak && key.accepted && code != 8;
        const QString expectedText = kept ? QString(QChar(key.character)) : QString();
        const bool expectedMessage = !lineBreak && !kept;
        if (paste.text != expectedText || paste.message.isEmpty() == expectedMessage) {
            ++disagreements;
            ADD_FAILURE() << "character code " << unsigned(code);
        }
    }
    EXPECT_EQ(disagreements, 0);
}

} // namespace
