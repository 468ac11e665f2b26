#include "app/BirthsMenuController.h"
#include "app/WindowController.h"
#include "app/frmBirths.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"
#include "chart/TimeZones.h"

#include "library/BirthCsv.h"
#include "library/BirthLibrary.h"
#include "places/BirthTime.h"
#include "support/BirthCount.h"
#include "support/Capture.h"
#include "support/Windows.h"
#include "ui/FileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

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
        QSettings().remove("births/recent"); // each test starts with none
        controller = std::make_unique<WindowController>();
        controller->start();
        window = FindWindow<frmMain>("frmMain");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        controller.reset();
        SetQuestionHandler({});
        SetOpenFileNameHandler({});
        SetSaveFileNameHandler({});
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
    BirthsMenuController* menu() const { return window->findChild<BirthsMenuController*>(); }
    QAction* item(const char* name) const {
        return window->findChild<QAction*>(QLatin1String(name));
    }
    // Triggers a menu item and waits for its worker to finish.
    void run(const char* name) const {
        item(name)->trigger();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !menu()->isWorking(); }, 60000)) << name;
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
    EXPECT_TRUE(births[0].ianaZone.isEmpty()); // typed, not found
    // The confirmation is the status bar's text and its name for screen readers.
    EXPECT_EQ(window->statusBar()->currentMessage(), "Saved ASHA.");
    EXPECT_EQ(window->statusBar()->accessibleName(), "Saved ASHA.");
}

TEST_F(SaveBirthTest, KeepsThePlaceFindersZoneWhileItsFieldsStay) {
    TypeDelhiEntries(*window);
    auto* year = window->findChild<QComboBox*>("cboYear");
    year->setCurrentIndex(year->findText("1990")); // Indian Standard Time, +5:30 since 1945
    PlaceChoice choice;
    choice.longitude = {77, 13, false};
    choice.latitude = {28, 39, false};
    choice.zoneKnown = true;
    choice.zonePosition =
        window->findChild<QComboBox*>("cmbTimeZone")->findText("Indian Time,IST,+5.3");
    choice.zoneId = "Asia/Kolkata";
    window->usePlace(choice);
    saveItem(window)->trigger();
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].ianaZone, "Asia/Kolkata");
    EXPECT_EQ(saved()[0].offsetSeconds, 19800);

    answer = true; // a coordinate typed over the finder's: the zone no longer goes with it
    box("txtLatM")->setText(QStringLiteral("40"));
    saveItem(window)->trigger();
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_TRUE(saved()[0].ianaZone.isEmpty());
    EXPECT_FALSE(saved()[0].offsetSeconds.has_value());
}

TEST_F(SaveBirthTest, ASaveNeverWaitsForAnotherWriter) {
    // Another connection holds the write lock, as an import does. With patience the save ends
    // once the lock is released; without, it reports the library busy. Either way the call
    // returns at once and the fields stay.
    { BirthLibrary(BirthLibrary::DefaultPath()).Open(); }
    for (const bool patient : {true, false}) {
        SCOPED_TRACE(patient ? "patient" : "impatient");
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
            holder.setDatabaseName(BirthLibrary::DefaultPath());
            ASSERT_TRUE(holder.open());
            ASSERT_TRUE(QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
            TypeDelhiEntries(*window);
            box("txtName")->setText(patient ? "PATIENT" : "IMPATIENT");
            menu()->setPatience(patient ? 60000 : 0);
            MessageCapture messages;
            saveItem(window)->trigger();
            if (patient) {
                EXPECT_TRUE(menu()->isSaving());
                EXPECT_TRUE(window->statusBar()->currentMessage().startsWith("Waiting"));
                EXPECT_TRUE(saved().empty());
                ASSERT_TRUE(QSqlQuery(holder).exec("COMMIT"));
                EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return window->statusBar()->currentMessage() == "Saved PATIENT."; },
                    30000))
                    << window->statusBar()->currentMessage().toStdString();
                EXPECT_TRUE(messages.messages.empty());
            } else {
                ASSERT_EQ(messages.messages.size(), 1U);
                EXPECT_TRUE(messages.messages[0].text.contains("busy"));
                ASSERT_TRUE(QSqlQuery(holder).exec("ROLLBACK"));
            }
            EXPECT_FALSE(menu()->isSaving());
            EXPECT_EQ(box("txtName")->text(), patient ? "PATIENT" : "IMPATIENT");
            holder.close();
        }
        QSqlDatabase::removeDatabase("holder");
        for (const char* field : {"txtName", "txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
            box(field)->clear();
        }
    }
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].name, "PATIENT");
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
    const qint64 id = saved()[0].id;
    ASSERT_FALSE(BirthLibrary(BirthLibrary::DefaultPath()).SetNote(id, "a client since 2020"));

    answer = true; // replaced: the birth keeps its id and the note the window does not show
    saveItem(window)->trigger();
    EXPECT_EQ(questions.size(), 2U);
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].latitudeMinutes, "40");
    EXPECT_EQ(saved()[0].id, id);
    EXPECT_EQ(saved()[0].note, "a client since 2020");
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
    // The confirmation reaches the window the user is in.
    EXPECT_EQ(display->findChild<QLabel*>("lblStatus")->text(), "Saved ASHA.");
}

TEST_F(SaveBirthTest, ExportImportAndBackUpThroughTheFileMenu) {
    TypeDelhiEntries(*window);
    saveItem(window)->trigger();
    const QString csv = folder.filePath("births.csv");
    SetSaveFileNameHandler([&csv](const QString&) { return csv; });
    MessageCapture messages;
    run("mnuExportBirths");
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].text,
              QStringLiteral("1 birth was exported to %1.").arg(QDir::toNativeSeparators(csv)));
    QFile exported(csv);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = exported.readAll().split('\n');
    exported.close();
    ASSERT_EQ(lines.size(), 3); // header, ASHA, the empty rest after the last line end
    EXPECT_EQ(lines[0], birthCsvHeader);

    // ASHA again (already saved), RAVI (new) and a line the batch refuses.
    QByteArray ravi = lines[1];
    ravi.replace("ASHA", "RAVI");
    ASSERT_TRUE(exported.open(QIODevice::Append));
    exported.write(ravi + "\nBROKEN,1990-13-40,12:00,,,,,,\n");
    exported.close();
    SetOpenFileNameHandler([&csv] { return csv; });
    answer = false; // keep the saved ASHA
    messages.messages.clear();
    run("mnuImportBirths");
    ASSERT_EQ(questions.size(), 1U);
    EXPECT_TRUE(questions[0].startsWith("1 of the births"));
    ASSERT_EQ(messages.messages.size(), 1U);
    const QString report = messages.messages[0].text;
    // The saved ASHA is kept, not refused: only BROKEN is a failure, named in the details.
    EXPECT_TRUE(report.startsWith(
        QStringLiteral("Import from %1: 1 birth added, 0 replaced, 1 kept as it was saved, 1 row "
                       "refused. The details list the refused rows.\n\nline 4: BROKEN, "
                       "1990-13-40: ")
            .arg(QDir::toNativeSeparators(csv))))
        << report.toStdString();
    EXPECT_FALSE(report.contains("line 2:")) << report.toStdString();
    ASSERT_EQ(saved().size(), 2U);

    // The dialog has agreed to replace an existing file: the backup takes its place whole.
    const QString copy = folder.filePath("backup.sqlite");
    QFile old(copy);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older file");
    old.close();
    SetSaveFileNameHandler([&copy](const QString&) { return copy; });
    messages.messages.clear();
    run("mnuBackupBirths");
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
    BirthLibrary backup(copy);
    ASSERT_FALSE(backup.Open());
    EXPECT_EQ(std::get<qint64>(CountBirths(backup)), 2);
}

// File > Restore Births asks, naming both files and the births in each: no changes nothing, yes
// restores the backup, and the open births window lists its births.
TEST_F(SaveBirthTest, RestoreAsksNamingBothFilesAndRefreshesTheBirthsWindow) {
    TypeDelhiEntries(*window);
    saveItem(window)->trigger();
    const QString backupPath = folder.filePath("backup.sqlite");
    {
        BirthLibrary backup(backupPath);
        for (const char* name : {"RAVI", "SITA"}) {
            SavedBirth birth = saved().front();
            birth.name = QString::fromLatin1(name);
            ASSERT_TRUE(
                std::holds_alternative<BirthLibrary::SaveOutcome>(backup.Save(birth, false)));
        }
    }
    item("mnuOpenBirth")->trigger();
    auto* births = FindWindow<frmBirths>("frmBirths");
    ASSERT_NE(births, nullptr);
    auto* list = births->findChild<QTreeView*>("lstBirths");
    ASSERT_EQ(list->model()->rowCount(), 1);
    SetOpenFileNameHandler([&backupPath] { return backupPath; });
    const auto names = [this] {
        QStringList held;
        for (const SavedBirth& birth : saved()) {
            held.append(birth.name);
        }
        return held;
    };
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        answer = yes;
        questions.clear();
        MessageCapture messages;
        run("mnuRestoreBirths");
        ASSERT_EQ(questions.size(), 1U);
        for (const QString& named :
             {QDir::toNativeSeparators(BirthLibrary::DefaultPath()) + " (1 birth)",
              QDir::toNativeSeparators(backupPath) + " (2 births)"}) {
            EXPECT_TRUE(questions[0].contains(named)) << questions[0].toStdString();
        }
        const QStringList kept = QDir(QFileInfo(BirthLibrary::DefaultPath()).absolutePath())
                                     .entryList({"births.sqlite.before-restore-*"});
        if (!yes) {
            EXPECT_TRUE(messages.messages.empty());
            EXPECT_EQ(names(), QStringList{"ASHA"});
            EXPECT_TRUE(kept.isEmpty());
            continue;
        }
        ASSERT_EQ(messages.messages.size(), 1U);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information)
            << messages.messages[0].text.toStdString();
        EXPECT_EQ(names(), (QStringList{"RAVI", "SITA"}));
        EXPECT_EQ(kept.size(), 1);
        EXPECT_EQ(list->model()->rowCount(), 2);
    }
}

TEST_F(SaveBirthTest, RecentBirthsReopenAndAskBeforeReplacingUnsavedFields) {
    TypeDelhiEntries(*window);
    saveItem(window)->trigger();
    box("txtName")->setText("BALA");
    saveItem(window)->trigger();
    QCoreApplication::processEvents();
    auto* recent = window->findChild<QMenu*>("mnuRecentBirths");
    ASSERT_TRUE(recent->isEnabled());
    QStringList texts;
    for (QAction* entry : recent->actions()) {
        texts << entry->objectName() + '=' + entry->text().section(' ', 0, 1);
    }
    EXPECT_EQ(texts, (QStringList{"mnuRecentBirths_0=&1 BALA", "mnuRecentBirths_1=&2 ASHA"}));

    box("txtLatM")->setText("45"); // not saved
    MessageCapture messages;
    for (const bool replace : {false, true}) {
        answer = replace;
        item("mnuRecentBirths_1")->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(box("txtLatM")->text(), replace ? "39" : "45");
    }
    EXPECT_EQ(box("txtName")->text(), "ASHA");
    EXPECT_EQ(questions.size(), 2U);
    item("mnuRecentBirths_0")->trigger(); // the fields are ASHA's as opened: no question
    QCoreApplication::processEvents();
    EXPECT_EQ(questions.size(), 2U);
    EXPECT_EQ(box("txtName")->text(), "ASHA");

    // A birth deleted meanwhile is said to be gone and leaves the list.
    BirthLibrary library(BirthLibrary::DefaultPath());
    const auto bala = std::get<std::vector<SavedBirth>>(library.FindByName("BALA"));
    ASSERT_EQ(bala.size(), 1U);
    ASSERT_FALSE(library.Remove(bala[0].id));
    item("mnuRecentBirths_1")->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_TRUE(messages.messages[0].text.contains("no longer"));
    EXPECT_EQ(recent->actions().size(), 1);
}

// A birth known by a zone whose offset no row gives opens with the place's own time chosen, the
// Daylight Saving box unticked and disabled, and no message: the entry says it. Saving keeps the
// zone and the exact offset, and no row.
TEST_F(SaveBirthTest, ABirthKnownByItsZoneAloneOpensWithThePlacesOwnTime) {
    SavedBirth birth;
    birth.name = "SITA";
    birth.year = 1990;
    birth.month = 6;
    birth.day = 1;
    birth.hour = 12;
    birth.longitudeDegrees = "85";
    birth.longitudeMinutes = "19";
    birth.latitudeDegrees = "27";
    birth.latitudeMinutes = "42";
    birth.ianaZone = "Asia/Kathmandu"; // +5:45, which no row of the list gives
    MessageCapture messages;
    window->useBirth(birth);
    EXPECT_TRUE(messages.messages.empty());
    auto* zones = window->findChild<QComboBox*>("cmbTimeZone");
    auto* box = window->findChild<QCheckBox*>("chkDST");
    ASSERT_EQ(zones->count(), timeZoneCount + 1);
    EXPECT_EQ(zones->currentIndex(), timeZoneCount);
    EXPECT_EQ(zones->currentText().toStdString(),
              "Place's own time: Asia/Kathmandu, +5:45 on this date");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(box->isEnabled());

    saveItem(window)->trigger(); // the zone stays with the birth
    ASSERT_EQ(saved().size(), 1U);
    EXPECT_EQ(saved()[0].ianaZone, "Asia/Kathmandu");
    EXPECT_EQ(saved()[0].offsetSeconds, 20700);
    EXPECT_TRUE(saved()[0].zoneRow.isEmpty());
}

TEST_F(SaveBirthTest, ACorruptLibraryIsKeptAndANewOneOffered) {
    const QString path = BirthLibrary::DefaultPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray junk(4096, 'x');
    for (const bool startNew : {false, true}) {
        SCOPED_TRACE(startNew ? "new library" : "declined");
        QFile file(path);
        if (!startNew) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(junk);
            file.close();
        }
        TypeDelhiEntries(*window);
        answer = startNew;
        MessageCapture messages;
        saveItem(window)->trigger();
        ASSERT_EQ(questions.size(), startNew ? 2U : 1U);
        EXPECT_TRUE(questions.back().contains(QDir::toNativeSeparators(path)));
        const QStringList beside =
            QDir(QFileInfo(path).absolutePath()).entryList({"births.sqlite.unreadable-*"});
        if (startNew) {
            ASSERT_EQ(beside.size(), 1);
            QFile kept(QFileInfo(path).absolutePath() + '/' + beside[0]);
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), junk);
            ASSERT_EQ(saved().size(), 1U);
        } else {
            EXPECT_TRUE(beside.isEmpty());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), junk); // untouched
            EXPECT_EQ(box("txtName")->text(), "ASHA");
        }
        box("txtName")->clear();
        for (const char* field : {"txtLonD", "txtLonM", "txtLatD", "txtLatM"}) {
            box(field)->clear();
        }
    }
}

} // namespace
