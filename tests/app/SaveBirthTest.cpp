#include "app/WindowController.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"

#include "library/BirthLibrary.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The input window over a library of its own in a temporary folder; questions are answered by
// `answer` and counted.
class SaveBirthTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        qputenv("KORVANI_DATA_DIR", folder.path().toUtf8());
        SetQuestionHandler([this](const QString& text) {
            questions.push_back(text);
            return answer;
        });
        controller = std::make_unique<WindowController>();
        controller->start();
        window = FindWindow<frmMain>("frmMain");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        controller.reset();
        SetQuestionHandler({});
        qunsetenv("KORVANI_DATA_DIR");
    }

    QAction* saveItem(QWidget* owner) const {
        return owner->findChild<QAction*>(QStringLiteral("mnuSaveBirth"));
    }
    // The births the library holds, read through a connection of the test's own.
    std::vector<SavedBirth> saved() const {
        BirthLibrary library(BirthLibrary::DefaultPath());
        std::vector<SavedBirth> births;
        if (library.Open()) {
            return births;
        }
        library.ForEach([&births](const SavedBirth& birth) { births.push_back(birth); });
        return births;
    }
    QLineEdit* box(const char* name) const {
        return window->findChild<QLineEdit*>(QLatin1String(name));
    }

    QTemporaryDir folder;
    std::unique_ptr<WindowController> controller;
    QPointer<frmMain> window;
    std::vector<QString> questions;
    bool answer = false;
};

TEST_F(SaveBirthTest, SavesTheFieldsUnderTheNameAndConfirmsIt) {
    TypeDelhiEntries(*window);
    window->findChild<QLineEdit*>(QStringLiteral("txtMCity"))->setText(QStringLiteral("Delhi"));
    QAction* item = saveItem(window);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&Save Birth");
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    MessageCapture messages;
    item->trigger();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(questions.empty());

    const std::vector<SavedBirth> births = saved();
    ASSERT_EQ(births.size(), 1U);
    EXPECT_EQ(births[0].name, "ASHA");
    EXPECT_EQ(births[0].longitudeDegrees, "77");
    EXPECT_EQ(births[0].longitudeMinutes, "13");
    EXPECT_EQ(births[0].latitudeDegrees, "28");
    EXPECT_EQ(births[0].latitudeMinutes, "39");
    EXPECT_EQ(births[0].city, "Delhi");
    EXPECT_FALSE(births[0].zoneRow.isEmpty());
    // The confirmation is the status bar's text and its name for screen readers.
    EXPECT_EQ(window->statusBar()->currentMessage(), "Saved ASHA.");
    EXPECT_EQ(window->statusBar()->accessibleName(), "Saved ASHA.");
}

TEST_F(SaveBirthTest, ChecksTheFieldsWithTheCalculationsMessagesAndFocus) {
    // Each case leaves one box wrong; Save must stop where Calculate stops.
    const std::pair<const char*, const char*> faults[] = {
        {"txtName", ""}, {"txtLonD", "200"}, {"txtLatM", "75"}};
    for (const auto& [name, text] : faults) {
        SCOPED_TRACE(name);
        TypeDelhiEntries(*window);
        box(name)->setText(QLatin1String(text));

        MessageCapture calculation;
        window->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
        ASSERT_EQ(calculation.messages.size(), 1U);
        const QWidget* calculationFocus = window->focusWidget();
        ASSERT_NE(calculationFocus, nullptr);
        window->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->setFocus();

        MessageCapture saving;
        saveItem(window)->trigger();
        ASSERT_EQ(saving.messages.size(), 1U);
        EXPECT_EQ(saving.messages[0].text, calculation.messages[0].text);
        EXPECT_EQ(window->focusWidget(), calculationFocus);
        for (const char* field : {"txtName", "txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
            box(field)->clear();
        }
    }
    EXPECT_TRUE(saved().empty());
}

TEST_F(SaveBirthTest, AsksBeforeReplacingABirthOfTheSameNameAndDate) {
    TypeDelhiEntries(*window);
    MessageCapture messages;
    saveItem(window)->trigger();
    box("txtLatM")->setText(QStringLiteral("40"));

    answer = false; // kept: the saved birth is unchanged
    saveItem(window)->trigger();
    ASSERT_EQ(questions.size(), 1U);
    EXPECT_TRUE(questions[0].contains("ASHA"));
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].latitudeMinutes, "39");

    answer = true; // replaced
    saveItem(window)->trigger();
    EXPECT_EQ(questions.size(), 2U);
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].latitudeMinutes, "40");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveBirthTest, AFolderThatCannotBeMadeIsReportedAndTheFieldsStay) {
    // The library's folder would lie under a regular file, which no user can make.
    QFile blocker(folder.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("KORVANI_DATA_DIR", blocker.fileName().toUtf8() + "/korvani");

    TypeDelhiEntries(*window);
    MessageCapture messages;
    saveItem(window)->trigger();
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(box("txtName")->text(), "ASHA");
    EXPECT_EQ(box("txtLatM")->text(), "39");
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}

TEST_F(SaveBirthTest, TheResultWindowsItemSavesTheBirthBehindTheChart) {
    TypeDelhiEntries(*window);
    MessageCapture messages;
    window->findChild<QPushButton*>(QStringLiteral("cmdRashi"))->click();
    auto* display = FindWindow<frmDisplay>("frmDisplay");
    ASSERT_NE(display, nullptr);
    QAction* item = saveItem(display);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    item->trigger();
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].name, "ASHA");
}

} // namespace
