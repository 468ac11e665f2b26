#include "chartview/Contrast.h"
#include "ui/Appearance.h"
#include "ui/DisplayFonts.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct ScaleCase {
    qreal desktopPoints;
    qreal scale;
};

TEST(DesignFontScale, DesignedSizesAtNineOrTenPointsAndInProportionBeyond) {
    const ScaleCase cases[] = {{9, 1.0},  {9.5, 1.0}, {10, 1.0}, {12, 1.2}, {14, 1.4},
                               {18, 1.8}, {7.2, 0.8}, {0, 1.0},  {-1, 1.0}};
    for (const ScaleCase& c : cases) {
        EXPECT_DOUBLE_EQ(DesignFontScale(c.desktopPoints), c.scale) << c.desktopPoints;
    }
}

TEST(LabelFont, FollowsTheApplicationsFont) {
    const QFont saved = QApplication::font();
    struct Case {
        qreal desktopPoints;
        qreal designPoints;
        qreal shownPoints;
    };
    const Case cases[] = {{9, 8, 8}, {10, 10, 10}, {14, 8, 11.2}, {14, 10, 14}, {15, 9, 13.5}};
    for (const Case& c : cases) {
        QFont desktop = saved;
        desktop.setPointSizeF(c.desktopPoints);
        QApplication::setFont(desktop);
        const QFont font = LabelFont(c.designPoints, true);
        EXPECT_NEAR(font.pointSizeF(), c.shownPoints, 0.01) << c.desktopPoints;
        EXPECT_EQ(font.families().value(0), "Verdana");
        EXPECT_EQ(font.families().value(1), "DejaVu Sans");
        EXPECT_TRUE(font.bold());
    }
    // A desktop font given in pixels is taken at the screen's resolution.
    QFont pixels = saved;
    pixels.setPixelSize(40);
    QApplication::setFont(pixels);
    EXPECT_GT(LabelFont(9).pointSizeF(), 9.0);
    QApplication::setFont(saved);
}

QPalette Theme(const QColor& window, const QColor& text, const QColor& link) {
    QPalette palette(window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Link, link);
    return palette;
}

// The opaque pixels' colours of a picture.
QSet<QRgb> SolidColours(const QPixmap& picture) {
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255) {
                colours.insert(image.pixel(x, y) & RGB_MASK);
            }
        }
    }
    return colours;
}

// Links, symbols and badges already on screen take the new colours when the desktop's theme
// changes.
TEST(ThemeChange, LinksAndSymbolsFollowThePalette) {
    const QPalette saved = QApplication::palette();
    QWidget window;
    auto* link = new QLabel(QStringLiteral("Click here"), &window);
    ShowAsLink(link);
    auto* symbol = new QLabel(&window);
    QPixmap drawn(20, 20);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.fillRect(5, 5, 10, 10, QColor(0x1f, 0x2d, 0x6e));
    }
    ShowInTextColour(symbol, drawn);
    // A picture in colours of its own: a navy square with a gold centre.
    auto* badge = new QLabel(&window);
    QPixmap square(20, 20);
    square.fill(Qt::transparent);
    {
        QPainter painter(&square);
        painter.fillRect(2, 2, 16, 16, QColor(0x1d, 0x21, 0x50));
        painter.fillRect(8, 8, 4, 4, QColor(0xe8, 0xb8, 0x4a));
    }
    ShowWithOutline(badge, square);
    window.show();

    struct Case {
        const char* what;
        QPalette palette;
        QColor expectedLink; // invalid: any readable colour other than the palette's
    };
    const Case cases[] = {
        {"light", Theme(QColor(0xef, 0xef, 0xef), Qt::black, Qt::blue), Qt::blue},
        {"dark, faint link",
         Theme(QColor(0x2b, 0x2b, 0x2b), QColor(0xe0, 0xe0, 0xe0), Qt::blue),
         {}},
        {"dark, readable link",
         Theme(QColor(0x35, 0x35, 0x35), Qt::white, QColor(0x8a, 0xb4, 0xf8)),
         QColor(0x8a, 0xb4, 0xf8)},
    };
    for (const Case& c : cases) {
        QApplication::setPalette(c.palette);
        QApplication::processEvents();
        const QColor window = c.palette.color(QPalette::Window);
        EXPECT_TRUE(link->styleSheet().isEmpty()) << c.what;
        EXPECT_EQ(link->foregroundRole(), QPalette::Link) << c.what;
        const QColor shownLink = link->palette().color(QPalette::Link);
        EXPECT_GE(ContrastRatio(shownLink, window), readableContrastRatio) << c.what;
        if (c.expectedLink.isValid()) {
            EXPECT_EQ(shownLink, c.expectedLink) << c.what;
        }
        EXPECT_EQ(SolidColours(symbol->pixmap()),
                  QSet<QRgb>{c.palette.color(QPalette::WindowText).rgb() & RGB_MASK})
            << c.what;
        // The badge's rim takes the text colour; its inside keeps its own colours.
        const QImage shownBadge = badge->pixmap().toImage();
        const QRgb text = c.palette.color(QPalette::WindowText).rgb();
        for (const QPoint rim : {QPoint(2, 2), QPoint(17, 10), QPoint(3, 3)}) {
            EXPECT_EQ(shownBadge.pixel(rim), text)
                << c.what << " rim " << rim.x() << "," << rim.y();
        }
        EXPECT_EQ(shownBadge.pixel(6, 6), QColor(0x1d, 0x21, 0x50).rgb()) << c.what;
        EXPECT_EQ(shownBadge.pixel(10, 10), QColor(0xe8, 0xb8, 0x4a).rgb()) << c.what;
        EXPECT_EQ(qAlpha(shownBadge.pixel(0, 0)), 0) << c.what;
    }
    QApplication::setPalette(saved);
}

// Catches a quiet line left disabled or in a grey that does not read: it stays enabled, in a
// colour quieter than the text that still reaches 4.5:1 on the window, in a light and in a dark
// theme whose disabled grey is too faint (Fusion's light one stands at 1.6:1).
TEST(ThemeChange, QuietLinesReadInEveryTheme) {
    const QPalette saved = QApplication::palette();
    QWidget window;
    auto* quiet = new QLabel(QStringLiteral("How the positions are found"), &window);
    ShowAsQuiet(quiet);
    window.show();
    const struct {
        const char* what;
        QColor window, text, disabledText;
    } cases[] = {
        {"light", QColor(0xef, 0xef, 0xef), Qt::black, QColor(0xbe, 0xbe, 0xbe)},
        {"dark", QColor(0x35, 0x35, 0x35), Qt::white, QColor(0x5a, 0x5a, 0x5a)},
    };
    for (const auto& c : cases) {
        QPalette palette = Theme(c.window, c.text, Qt::blue);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, c.disabledText);
        QApplication::setPalette(palette);
        QApplication::processEvents();
        const QColor shown = quiet->palette().color(QPalette::WindowText);
        EXPECT_TRUE(quiet->isEnabled()) << c.what;
        EXPECT_GE(ContrastRatio(shown, c.window), readableContrastRatio) << c.what;
        EXPECT_LT(ContrastRatio(shown, c.window), ContrastRatio(c.text, c.window)) << c.what;
    }
    QApplication::setPalette(saved);
}

} // namespace
