#include "ui/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// A frame wanted at a corner keeps it when it fits and moves just enough when it does not.
TEST(FittedFrameTopLeft, MovesOnlyAsFarAsTheScreenEdgeNeeds) {
    const QRect screen(0, 0, 1280, 800);           // a whole screen, panels left out
    const QRect rightScreen(1280, 30, 1920, 1050); // a second screen, right of the first
    struct Row {
        const char* name;
        QPoint wanted;
        QSize frame;
        QRect available;
        QPoint expected;
    };
    const Row rows[] = {
        {"fits", {100, 50}, {600, 500}, screen, {100, 50}},
        {"pastRight", {900, 50}, {600, 500}, screen, {680, 50}},
        {"pastBottom", {100, 500}, {600, 500}, screen, {100, 300}},
        {"pastBoth", {1200, 790}, {600, 500}, screen, {680, 300}},
        {"leftOfScreen", {-40, -10}, {600, 500}, screen, {0, 0}},
        {"exactlyFits", {680, 300}, {600, 500}, screen, {680, 300}},
        {"widerThanScreen", {50, 50}, {1500, 500}, screen, {0, 50}},
        {"secondScreen", {3000, 900}, {600, 500}, rightScreen, {2600, 580}},
        {"secondScreenAboveItsTop", {1400, 0}, {600, 500}, rightScreen, {1400, 30}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FittedFrameTopLeft(row.wanted, row.frame, row.available), row.expected)
            << row.name;
    }
}

// A frame centred over another stands centred on it where it fits, and moves onto the screen
// where it does not.
TEST(CentredFrameTopLeft, CentresThenFits) {
    const QRect screen(0, 0, 1280, 800);
    struct Row {
        const char* name;
        QRect over;
        QSize frame;
        QPoint expected;
    };
    const Row rows[] = {
        {"smallerOverLarger", {100, 50, 800, 600}, {400, 300}, {300, 200}},
        {"oddDifference", {100, 50, 801, 601}, {400, 300}, {300, 200}},
        {"largerOverSmaller", {400, 300, 200, 100}, {600, 500}, {200, 100}},
        {"overNearTheLeftEdge", {0, 0, 200, 100}, {600, 500}, {0, 0}},
        {"overNearTheBottomRight", {1100, 700, 180, 100}, {600, 500}, {680, 300}},
        {"sameSize", {10, 20, 600, 500}, {600, 500}, {10, 20}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CentredFrameTopLeft(row.over, row.frame, screen), row.expected) << row.name;
    }
}

} // namespace
