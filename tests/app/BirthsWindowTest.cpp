#include "app/WindowController.h"
#include "app/frmBirths.h"
#include "app/frmMain.h"

#include "library/BirthLibrary.h"
#include "support/Capture.h"
#include "support/Windows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

SavedBirth Birth(const char* name, const char* city, int year) {
    SavedBirth birth;
    birth.name = QString::fromUtf8(name);
    birth.year = year;
    birth.month = 3;
    birth.day = 21;
    birth.hour = 6;
    birth.minute = 45;
    birth.longitudeDegrees = QStringLiteral("8");
    birth.longitudeMinutes = QStringLiteral("32");
    birth.east = false; // not the form's defaults, so that a field left alone is seen
    birth.latitudeDegrees = QStringLiteral("47");
    birth.latitudeMinutes = QStringLiteral("22");
    birth.south = true;
    birth.zoneRow = QStringLiteral("Indian Time, IST, +5.3");
    birth.daylightSaving = true;
    birth.city = QString::fromUtf8(city);
    birth.state = QStringLiteral("Kanton");
    birth.country = QStringLiteral("Schweiz");
    return birth;
}

// The input window over a library of three births in a temporary folder.
class BirthsWindowTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        qputenv("KORVANI_DATA_DIR", folder.path().toUtf8());
        {
            BirthLibrary library(BirthLibrary::DefaultPath());
            ASSERT_FALSE(library.Open());
            for (SavedBirth birth : {Birth("ASHA", "Zürich", 1990), Birth("BEN", "Basel", 1985),
                                     Birth("CARA", "Bern", 2001)}) {
                ASSERT_TRUE(
                    std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
            }
        }
        SetQuestionHandler([this](const QString& text) {
            questions.push_back(text);
            return answer;
        });
        controller = std::make_unique<WindowController>();
        controller->start();
        input = FindWindow<frmMain>("frmMain");
        ASSERT_NE(input, nullptr);
    }
    void TearDown() override {
        controller.reset();
        SetQuestionHandler({});
        qunsetenv("KORVANI_DATA_DIR");
    }

    frmBirths* open() {
        QAction* item = input->findChild<QAction*>(QStringLiteral("mnuOpenBirth"));
        EXPECT_NE(item, nullptr);
        if (!item) {
            return nullptr;
        }
        item->trigger();
        return input->findChild<frmBirths*>(QStringLiteral("frmBirths"));
    }
    template <typename Widget>
    static Widget* part(QWidget* window, const char* name) {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::vector<QString> names(QWidget* window) const {
        auto* list = part<QTreeView>(window, "lstBirths");
        std::vector<QString> shown;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            shown.push_back(list->model()->index(row, 0).data().toString());
        }
        return shown;
    }

    QTemporaryDir folder;
    std::unique_ptr<WindowController> controller;
    QPointer<frmMain> input;
    std::vector<QString> questions;
    bool answer = false;
    MessageCapture messages;
};

TEST_F(BirthsWindowTest, SearchingAndReturnFillTheInputWindowAsTyped) {
    QAction* item = input->findChild<QAction*>(QStringLiteral("mnuOpenBirth"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("&Open Birth…"));
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    frmBirths* births = open();
    ASSERT_NE(births, nullptr);
    EXPECT_TRUE(births->isVisible());
    EXPECT_EQ(births->focusWidget(), part<QLineEdit>(births, "txtSearchBirths"));
    EXPECT_EQ(names(births), (std::vector<QString>{"ASHA", "BEN", "CARA"}));

    // Accents and case are ignored, and the place is searched too.
    auto* search = part<QLineEdit>(births, "txtSearchBirths");
    QTest::keyClicks(search, QStringLiteral("zur"));
    EXPECT_EQ(names(births), (std::vector<QString>{"ASHA"}));
    QTest::keyClick(search, Qt::Key_Return);

    EXPECT_FALSE(births->isVisible());
    EXPECT_EQ(part<QLineEdit>(input, "txtName")->text(), "ASHA");
    EXPECT_EQ(part<QComboBox>(input, "cboMonth")->currentIndex(), 2);
    EXPECT_EQ(part<QComboBox>(input, "cboDate")->currentText(), "21");
    EXPECT_EQ(part<QComboBox>(input, "cboYear")->currentText(), "1990");
    EXPECT_EQ(part<QComboBox>(input, "cboHH")->currentText(), "6");
    EXPECT_EQ(part<QComboBox>(input, "cboMM")->currentText(), "45");
    EXPECT_EQ(part<QLineEdit>(input, "txtLonD")->text(), "8");
    EXPECT_EQ(part<QLineEdit>(input, "txtLonM")->text(), "32");
    EXPECT_TRUE(part<QRadioButton>(input, "optLong_1")->isChecked());
    EXPECT_EQ(part<QLineEdit>(input, "txtLatD")->text(), "47");
    EXPECT_EQ(part<QLineEdit>(input, "txtLatM")->text(), "22");
    EXPECT_TRUE(part<QRadioButton>(input, "optLat_1")->isChecked());
    EXPECT_EQ(part<QComboBox>(input, "cmbTimeZone")->currentText(), "Indian Time, IST, +5.3");
    EXPECT_TRUE(part<QCheckBox>(input, "chkDST")->isChecked());
    EXPECT_EQ(part<QLineEdit>(input, "txtMCity")->text(), QString::fromUtf8("Zürich"));
    EXPECT_EQ(part<QLineEdit>(input, "txtMState")->text(), "Kanton");
    EXPECT_EQ(part<QLineEdit>(input, "txtMCountry")->text(), "Schweiz");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BirthsWindowTest, DoubleClickOpensTheBirthUnderThePointer) {
    frmBirths* births = open();
    ASSERT_NE(births, nullptr);
    auto* list = part<QTreeView>(births, "lstBirths");
    const QRect row = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_FALSE(births->isVisible());
    EXPECT_EQ(part<QLineEdit>(input, "txtName")->text(), "BEN");
    EXPECT_EQ(part<QComboBox>(input, "cboYear")->currentText(), "1985");
}

TEST_F(BirthsWindowTest, TheNoteIsSavedAsItChangesAndDeletingAsksFirst) {
    {
        // CARA last changed long ago, so that the shown time of the last change must move.
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "old");
        old.setDatabaseName(BirthLibrary::DefaultPath());
        ASSERT_TRUE(old.open());
        ASSERT_TRUE(
            QSqlQuery(old).exec("UPDATE births SET created = '2020-01-02T03:04:00.000Z', "
                                "changed = '2020-01-02T03:04:00.000Z' WHERE name = 'CARA'"));
        old.close();
    }
    QSqlDatabase::removeDatabase("old");
    frmBirths* births = open();
    ASSERT_NE(births, nullptr);
    auto* list = part<QTreeView>(births, "lstBirths");
    list->setCurrentIndex(list->model()->index(2, 0));
    auto* times = part<QLabel>(births, "lblBirthTimes");
    const QString timesBefore = times->text();
    auto* note = part<QPlainTextEdit>(births, "txtBirthNote");
    note->setPlainText(QString::fromUtf8("born at dawn '; DROP TABLE births; -- 🌅"));
    EXPECT_NE(times->text().toStdString(), timesBefore.toStdString());
    {
        BirthLibrary library(BirthLibrary::DefaultPath());
        ASSERT_FALSE(library.Open());
        auto found = library.Find(QStringLiteral("CARA"), 2001, 3, 21);
        ASSERT_TRUE(std::holds_alternative<std::optional<SavedBirth>>(found));
        ASSERT_TRUE(std::get<std::optional<SavedBirth>>(found).has_value());
        EXPECT_EQ(std::get<std::optional<SavedBirth>>(found)->note,
                  QString::fromUtf8("born at dawn '; DROP TABLE births; -- 🌅"));
    }

    // The box keeps no more than the library does: what it shows is what is saved.
    note->setPlainText(QString(maxNoteLength + 5, QChar(u'x')));
    EXPECT_EQ(note->toPlainText().size(), maxNoteLength);

    answer = false;
    part<QPushButton>(births, "cmdDeleteBirth")->click();
    ASSERT_EQ(questions.size(), 1U);
    EXPECT_TRUE(questions[0].contains("CARA"));
    EXPECT_EQ(names(births).size(), 3U);
    answer = true;
    part<QPushButton>(births, "cmdDeleteBirth")->click();
    EXPECT_EQ(names(births), (std::vector<QString>{"ASHA", "BEN"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BirthsWindowTest, ANoteTypedWhileAnotherWriterHoldsTheLibraryIsSavedWhenItIsFree) {
    frmBirths* births = open();
    ASSERT_NE(births, nullptr);
    const auto savedNote = [] {
        BirthLibrary library(BirthLibrary::DefaultPath());
        return std::get<std::optional<SavedBirth>>(library.Find("ASHA", 1990, 3, 21))->note;
    };
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(BirthLibrary::DefaultPath());
        ASSERT_TRUE(holder.open());
        ASSERT_TRUE(QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
        part<QPlainTextEdit>(births, "txtBirthNote")->setPlainText("typed while busy");
        auto* list = part<QTreeView>(births, "lstBirths");
        list->setCurrentIndex(list->model()->index(1, 0)); // moving on keeps the typed note
        EXPECT_TRUE(savedNote().isEmpty());
        ASSERT_TRUE(QSqlQuery(holder).exec("COMMIT"));
        holder.close();
    }
    QSqlDatabase::removeDatabase("holder");
    QTRY_COMPARE_WITH_TIMEOUT(savedNote(), QString("typed while busy"), 30000);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BirthsWindowTest, ClickingAHeaderSortsAndTheSelectedBirthStaysSelectedInView) {
    {
        // Enough births that BEN leaves the first screenful when the list sorts by date.
        BirthLibrary library(BirthLibrary::DefaultPath());
        for (int year = 1900; year < 1960; ++year) {
            SavedBirth birth = Birth("DAN", "Chur", year);
            ASSERT_TRUE(
                std::holds_alternative<BirthLibrary::SaveOutcome>(library.Save(birth, false)));
        }
    }
    frmBirths* births = open();
    ASSERT_NE(births, nullptr);
    auto* list = part<QTreeView>(births, "lstBirths");
    QHeaderView* header = list->header();
    list->setCurrentIndex(list->model()->index(1, 0));
    ASSERT_EQ(list->currentIndex().data().toString(), "BEN");
    const auto clickHeader = [&](int section) {
        const QPoint middle(header->sectionViewportPosition(section) +
                                header->sectionSize(section) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    };
    const auto column = [&](int section) {
        std::vector<QString> shown;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            shown.push_back(list->model()->index(row, section).data().toString());
        }
        return shown;
    };
    const struct {
        int section;
        Qt::SortOrder indicator;
        int benRow; // where the selected birth moves to
    } clicks[] = {
        {1, Qt::AscendingOrder, 60},  // DAN 1900..1959, then BEN 1985
        {1, Qt::DescendingOrder, 2},  // CARA 2001, ASHA 1990, BEN 1985
        {3, Qt::AscendingOrder, 0},   // Basel, Bern, Chur..., Zürich
        {3, Qt::DescendingOrder, 62}, // Zürich, Chur..., Bern, Basel
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.section);
        clickHeader(click.section);
        EXPECT_EQ(header->sortIndicatorSection(), click.section);
        EXPECT_EQ(header->sortIndicatorOrder(), click.indicator);
        std::vector<QString> shown = column(click.section);
        std::vector<QString> sorted = shown;
        std::stable_sort(sorted.begin(), sorted.end());
        if (click.indicator == Qt::DescendingOrder) {
            std::reverse(sorted.begin(), sorted.end());
        }
        EXPECT_EQ(shown, sorted);
        EXPECT_EQ(list->currentIndex().row(), click.benRow);
        EXPECT_EQ(list->currentIndex().data().toString(), "BEN");
        EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), click.benRow);
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())));
        if (click.benRow <= 2) { // the new order is shown from its start
            EXPECT_EQ(list->verticalScrollBar()->value(), 0);
        }
    }

    // A search keeps the order: Bern before Basel.
    QTest::keyClicks(part<QLineEdit>(births, "txtSearchBirths"), QStringLiteral("b"));
    EXPECT_EQ(names(births), (std::vector<QString>{"CARA", "BEN"}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BirthsWindowTest, EscapeAndCloseLeaveTheInputWindowAsItWas) {
    enum class Way { Escape, CloseClicked, ReturnOnClose };
    for (const Way way : {Way::Escape, Way::CloseClicked, Way::ReturnOnClose}) {
        SCOPED_TRACE(static_cast<int>(way));
        frmBirths* births = open();
        ASSERT_NE(births, nullptr);
        ASSERT_TRUE(births->isVisible());
        auto* close = part<QPushButton>(births, "cmdCloseBirths");
        switch (way) {
        case Way::Escape:
            QTest::keyClick(part<QLineEdit>(births, "txtSearchBirths"), Qt::Key_Escape);
            break;
        case Way::CloseClicked:
            close->click();
            break;
        case Way::ReturnOnClose: // a focused button takes Return, as in the place finder
            close->setFocus(Qt::TabFocusReason);
            QTest::keyClick(close, Qt::Key_Return);
            break;
        }
        EXPECT_FALSE(births->isVisible());
        EXPECT_TRUE(part<QLineEdit>(input, "txtName")->text().isEmpty());
    }
}

} // namespace
