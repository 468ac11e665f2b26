#include "support/Layout.h"
#include "support/ProgramWindows.h"
#include "ui/DisplayFonts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

#include <gtest/gtest.h>

namespace {

// The controls whose text the user reads, and so whose size must follow it.
bool ShowsText(const QWidget& control) {
    return qobject_cast<const QAbstractButton*>(&control) ||
           qobject_cast<const QComboBox*>(&control) || qobject_cast<const QLineEdit*>(&control) ||
           qobject_cast<const QPlainTextEdit*>(&control) ||
           qobject_cast<const QTabBar*>(&control) || qobject_cast<const QGroupBox*>(&control) ||
           qobject_cast<const QLabel*>(&control);
}

// The smallest size the program designs a text in, in points.
constexpr qreal smallestDesignPoints = 8;

class LargeDesktopFont : public ::testing::TestWithParam<ProgramWindow> {};

// With a desktop font half as large again, every text of the window grows with it and still
// shows whole: no wrapped text is cut and no control is smaller than it needs.
TEST_P(LargeDesktopFont, EveryTextGrowsAndShowsWhole) {
    const ApplicationLookGuard restore;
    QFont large = QApplication::font();
    const qreal desktopPoints = large.pointSizeF() * 1.5;
    large.setPointSizeF(desktopPoints);
    QApplication::setFont(large);

    const std::unique_ptr<QWidget> window = BuildProgramWindow(GetParam());
    window->show();
    QApplication::processEvents();

    EXPECT_EQ(clippedLabels(*window), QStringList());
    const qreal smallestPoints = smallestDesignPoints * DesignFontScale(desktopPoints);
    int controls = 0;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window.get() || !control->isVisibleTo(window.get()) ||
            !ShowsText(*control)) {
            continue;
        }
        ++controls;
        const std::string where =
            control->objectName().toStdString() + " (" + control->metaObject()->className() + ")";
        EXPECT_GE(control->font().pointSizeF(), smallestPoints) << where;
        const auto* label = qobject_cast<const QLabel*>(control);
        if (label && (label->wordWrap() || !label->pixmap().isNull())) {
            continue; // wrapped texts are measured above; pictures keep their size
        }
        const QSize needed = control->minimumSizeHint();
        EXPECT_GE(control->width(), needed.width()) << where;
        EXPECT_GE(control->height(), needed.height()) << where;
    }
    EXPECT_GE(controls, 3) << "the window's controls were found";
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, LargeDesktopFont, ::testing::ValuesIn(everyProgramWindow),
                         [](const ::testing::TestParamInfo<ProgramWindow>& info) {
                             return ProgramWindowName(info.param);
                         });

} // namespace
