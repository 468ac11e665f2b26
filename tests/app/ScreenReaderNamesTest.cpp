#include "support/ProgramWindows.h"
#include "ui/ClickableLabel.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QMap>

#include <gtest/gtest.h>

namespace {

// Controls a screen reader must be able to tell apart: whatever takes the focus or a click, and
// every picture. Plain captions and the values beside them read out their own text.
bool IsSpokenControl(const QWidget& control, const QWidget& window) {
    if (control.window() != &window) {
        return false; // a list's drop-down is a window of its own
    }
    if (qobject_cast<const ClickableLabel*>(&control)) {
        return true;
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return !label->pixmap().isNull();
    }
    return control.focusPolicy() != Qt::NoFocus;
}

QString SpokenName(QWidget* control) {
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
    return spoken ? spoken->text(QAccessible::Name) : QString();
}

struct ExpectedName {
    ProgramWindow window;
    const char* control;
    const char* name;
};

// The names users asked for, where the controls' own texts said too little.
const ExpectedName expectedNames[] = {
    {ProgramWindow::Input, "cboMonth", "Month of birth"},
    {ProgramWindow::Input, "cboDate", "Day of birth"},
    {ProgramWindow::Input, "cboYear", "Year of birth"},
    {ProgramWindow::Input, "cboHH", "Hour of birth"},
    {ProgramWindow::Input, "cboMM", "Minute of birth"},
    {ProgramWindow::Input, "cboSS", "Second of birth"},
    {ProgramWindow::Input, "txtLonD", "Longitude degrees"},
    {ProgramWindow::Input, "txtLonM", "Longitude minutes"},
    {ProgramWindow::Input, "txtLatD", "Latitude degrees"},
    {ProgramWindow::Input, "txtLatM", "Latitude minutes"},
    {ProgramWindow::Input, "optLong_0", "East"},
    {ProgramWindow::Input, "optLong_1", "West"},
    {ProgramWindow::Input, "optLat_0", "North"},
    {ProgramWindow::Input, "optLat_1", "South"},
    {ProgramWindow::Result, "picPlanet_0", "Symbol of the Sun"},
    {ProgramWindow::Result, "picPlanet_5", "Symbol of Jupiter"},
    {ProgramWindow::Result, "picPlanet_9", "Symbol of Pluto"},
    {ProgramWindow::Exit, "txtName", "Your name"},
    {ProgramWindow::Exit, "txtEmail", "Your email address"},
    {ProgramWindow::Exit, "txtMessage", "Your message"},
    {ProgramWindow::Exit, "txtFriendName", "Friend's name"},
    {ProgramWindow::Exit, "txtFriendEmail", "Friend's email address"},
};

class SpokenNames : public ::testing::TestWithParam<ProgramWindow> {};

// Every control a screen reader stops at has a name of its own in its window; a list is named by
// what it holds, not by the value it shows; options name their coordinate in the description.
TEST_P(SpokenNames, EveryControlHasItsOwnName) {
    const std::unique_ptr<QWidget> window = BuildProgramWindow(GetParam());
    window->show();

    QMap<QString, QStringList> controlsByName;
    int spokenControls = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!IsSpokenControl(*control, *window)) {
            continue;
        }
        ++spokenControls;
        const QString name = SpokenName(control).trimmed();
        const std::string where =
            control->objectName().toStdString() + " (" + control->metaObject()->className() + ")";
        EXPECT_FALSE(name.isEmpty()) << where << " has no name";
        controlsByName[name] << control->objectName();
        if (const auto* list = qobject_cast<const QComboBox*>(control)) {
            EXPECT_NE(name, list->currentText()) << where << " is named only by its value";
        }
    }
    EXPECT_GE(spokenControls, 3) << "the window's controls were found";
    for (auto named = controlsByName.cbegin(); named != controlsByName.cend(); ++named) {
        EXPECT_EQ(named.value().size(), 1)
            << "\"" << named.key().toStdString() << "\" names "
            << named.value().join(QStringLiteral(", ")).toStdString();
    }

    for (const ExpectedName& expected : expectedNames) {
        if (expected.window != GetParam()) {
            continue;
        }
        auto* control = window->findChild<QWidget*>(QLatin1String(expected.control));
        ASSERT_NE(control, nullptr) << expected.control;
        EXPECT_EQ(SpokenName(control), QLatin1String(expected.name)) << expected.control;
    }
    // Each option's description says which coordinate it belongs to.
    for (const char* option : {"optLong_0", "optLong_1", "optLat_0", "optLat_1"}) {
        if (auto* control = window->findChild<QWidget*>(QLatin1String(option))) {
            const QString said =
                QAccessible::queryAccessibleInterface(control)->text(QAccessible::Description);
            EXPECT_TRUE(said.contains(QLatin1String(option[4] == 'o' ? "Longitude" : "Latitude")))
                << option << ": " << said.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, SpokenNames, ::testing::ValuesIn(everyProgramWindow),
                         [](const ::testing::TestParamInfo<ProgramWindow>& info) {
                             return ProgramWindowName(info.param);
                         });

} // namespace
