#include "ui/ClickableLabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct MouseStep {
    QEvent::Type type;
    bool inside;
};

struct ClickCase {
    const char* name;
    std::vector<MouseStep> steps;
    int clicks;
};

class ClickableLabelTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ClickableLabelTest, OneClickPerPressAndRelease) {
    ClickableLabel label(QStringLiteral("Click here"));
    label.resize(120, 20);
    QSignalSpy clicked(&label, &ClickableLabel::clicked);
    for (const MouseStep& step : GetParam().steps) {
        const QPointF at = step.inside ? QPointF(10, 10) : QPointF(500, 10);
        const Qt::MouseButtons held =
            step.type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(step.type, at, label.mapToGlobal(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }
    EXPECT_EQ(clicked.count(), GetParam().clicks) << GetParam().name;
}

constexpr auto press = QEvent::MouseButtonPress;
constexpr auto release = QEvent::MouseButtonRelease;
constexpr auto doubleClick = QEvent::MouseButtonDblClick;

INSTANTIATE_TEST_SUITE_P(
    Sequences, ClickableLabelTest,
    ::testing::Values(
        ClickCase{"click", {{press, true}, {release, true}}, 1},
        // The window system sends press, release, double click, release: one page, not two.
        ClickCase{"doubleClick",
                  {{press, true}, {release, true}, {doubleClick, true}, {release, true}},
                  1},
        ClickCase{"releasedOutside", {{press, true}, {release, false}}, 0},
        ClickCase{"releaseWithoutPress", {{release, true}}, 0},
        ClickCase{
            "twoClicks", {{press, true}, {release, true}, {press, true}, {release, true}}, 2}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

} // namespace
