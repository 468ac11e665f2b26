#include "chartview/Contrast.h"

#include <gtest/gtest.h>

namespace {

struct ContrastCase {
    QColor first;
    QColor second;
    double ratio;
};

// Reference figures of the WCAG 2.x contrast ratio.
TEST(ContrastRatio, MatchesTheReferenceFigures) {
    const ContrastCase cases[] = {
        {Qt::black, Qt::white, 21.0},
        {Qt::white, Qt::black, 21.0},
        {QColor(0x77, 0x77, 0x77), Qt::white, 4.48}, // just too faint for text
        {QColor(0x76, 0x76, 0x76), Qt::white, 4.54}, // the faintest grey that reads
        {Qt::blue, Qt::white, 8.59},
        {QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35), 1.0},
    };
    for (const ContrastCase& c : cases) {
        EXPECT_NEAR(ContrastRatio(c.first, c.second), c.ratio, 0.01)
            << c.first.name().toStdString() << " on " << c.second.name().toStdString();
    }
}

struct InkCase {
    const char* what;
    QColor ink;
    QColor background;
    QColor fallback;
};

TEST(ReadableInk, KeepsAReadableInkAndOtherwiseMovesJustFarEnough) {
    const InkCase cases[] = {
        {"readable link kept", Qt::blue, QColor(0xef, 0xef, 0xef), Qt::black},
        {"faint blue on dark", QColor(0x2a, 0x82, 0xda), QColor(0x35, 0x35, 0x35), Qt::white},
        {"navy on dark", QColor(0x1a, 0x3f, 0xa8), QColor(0x2b, 0x2b, 0x2b),
         QColor(0xe0, 0xe0, 0xe0)},
        {"faint fallback", QColor(0x80, 0x80, 0x90), QColor(0x80, 0x80, 0x80),
         QColor(0x90, 0x90, 0x90)},
    };
    for (const InkCase& c : cases) {
        const QColor ink = ReadableInk(c.ink, c.background, c.fallback);
        EXPECT_GE(ContrastRatio(ink, c.background), readableContrastRatio) << c.what;
        if (ContrastRatio(c.ink, c.background) >= readableContrastRatio) {
            EXPECT_EQ(ink, c.ink) << c.what;
        } else if (ContrastRatio(c.fallback, c.background) >= readableContrastRatio) {
            // Some of the theme's own colour is left: not simply the fallback.
            EXPECT_NE(ink, c.fallback) << c.what;
        }
    }
}

} // namespace
