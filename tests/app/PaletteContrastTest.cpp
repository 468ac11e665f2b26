#include "chartview/Contrast.h"
#include "support/ProgramWindows.h"
#include "ui/ClickableLabel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <gtest/gtest.h>

#include <iostream>
#include <set>

namespace {

struct DesktopTheme {
    const char* name;
    QColor window;
    QColor text;
    QColor link;
};

QPalette PaletteOf(const DesktopTheme& theme) {
    QPalette palette(theme.window, theme.window); // buttons and window in the window colour
    palette.setColor(QPalette::WindowText, theme.text);
    palette.setColor(QPalette::ButtonText, theme.text);
    palette.setColor(QPalette::Text, theme.text);
    palette.setColor(QPalette::Link, theme.link);
    return palette;
}

// A light theme, a dark one, and a dark one that kept the light theme's link blue.
const DesktopTheme themes[] = {
    {"light", QColor(0xef, 0xef, 0xef), QColor(Qt::black), QColor(0x00, 0x00, 0xff)},
    {"dark", QColor(0x35, 0x35, 0x35), QColor(Qt::white), QColor(0x2a, 0x82, 0xda)},
    {"darkWithLightLink", QColor(0x2b, 0x2b, 0x2b), QColor(0xe0, 0xe0, 0xe0),
     QColor(0x00, 0x00, 0xff)},
};

QColor Over(QRgb pixel, const QColor& background) {
    const double alpha = qAlpha(pixel) / 255.0;
    const auto channel = [alpha](int premultiplied, int under) {
        return qBound(0, static_cast<int>(premultiplied + under * (1 - alpha) + 0.5), 255);
    };
    return QColor(channel(qRed(pixel), background.red()),
                  channel(qGreen(pixel), background.green()),
                  channel(qBlue(pixel), background.blue()));
}

// A text's ink as drawn: the drawn pixel that stands out most from the window, within `area` of
// the widget (all of it when empty). Smoothed edges only lie between the ink and the window.
QColor TextInk(QWidget& label, const QColor& background, const QRect& area = {}) {
    const QImage image = label.grab(area.isEmpty() ? QRect(QPoint(0, 0), QSize(-1, -1)) : area)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QColor strongest = background;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor seen = Over(image.pixel(x, y), background);
            if (ContrastRatio(seen, background) > ContrastRatio(strongest, background)) {
                strongest = seen;
            }
        }
    }
    return strongest;
}

// The ink a picture meets the window with: the colour most of its solid pixels along its
// outline have (those with a see-through pixel at most two pixels away). A symbol drawn in thin
// strokes is all outline; a picture in colours of its own needs an edge that stands out.
QColor DominantOutlineInk(const QPixmap& picture) {
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const auto solid = [&image](int x, int y) {
        return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
               qAlpha(image.pixel(x, y)) == 255;
    };
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!solid(x, y)) {
                continue;
            }
            bool outline = false;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    outline = outline || !solid(x + dx, y + dy);
                }
            }
            if (outline) {
                ++counts[image.pixel(x, y)];
            }
        }
    }
    QRgb dominant = 0;
    int most = 0;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
        if (count.value() > most) {
            most = count.value();
            dominant = count.key();
        }
    }
    return QColor::fromRgb(dominant);
}

class ThemeContrast : public ::testing::TestWithParam<DesktopTheme> {};

// Under each theme, switched to while the windows are open, every link text and every picture
// of every window reads against the window colour.
TEST_P(ThemeContrast, LinksAndPicturesReadAgainstTheWindow) {
    const ApplicationLookGuard restore;
    const DesktopTheme& theme = GetParam();
    std::vector<std::unique_ptr<QWidget>> windows;
    for (ProgramWindow which : everyProgramWindow) {
        windows.push_back(BuildProgramWindow(which));
        windows.back()->show();
    }
    QApplication::setPalette(PaletteOf(theme));
    QApplication::processEvents();

    int links = 0;
    int pictures = 0;
    for (const auto& window : windows) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const std::string where =
                window->objectName().toStdString() + "." + label->objectName().toStdString();
            double ratio = 0;
            QColor ink;
            if (!label->pixmap().isNull()) {
                ++pictures;
                ink = DominantOutlineInk(label->pixmap());
            } else if (qobject_cast<ClickableLabel*>(label)) {
                ++links;
                ink = TextInk(*label, theme.window);
            } else {
                continue;
            }
            ratio = ContrastRatio(ink, theme.window);
            std::cout << theme.name << " " << where << " ink " << ink.name().toStdString()
                      << " contrast " << ratio << "\n";
            EXPECT_GE(ratio, readableContrastRatio) << where << " ink " << ink.name().toStdString()
                                                    << " on " << theme.window.name().toStdString();
        }
    }
    EXPECT_EQ(pictures, 12) << "ten symbols, the program icon and the exit window's picture";
    EXPECT_GE(links, 9) << "the offers and the other clickable texts";
}

// Under each theme, the empty circle of every radio button and the empty square of every check
// box in every window stand out from the window at the ratio for a control's state (WCAG 2.1,
// 1.4.11). Catches a circle or square drawn only in the style's own faint outline and the base
// colour, which a dark palette makes near-black on dark grey.
TEST_P(ThemeContrast, EmptyCirclesAndSquaresStandOutFromTheWindow) {
    const ApplicationLookGuard restore;
    const DesktopTheme& theme = GetParam();
    std::vector<std::unique_ptr<QWidget>> windows;
    for (ProgramWindow which : everyProgramWindow) {
        windows.push_back(BuildProgramWindow(which));
        windows.back()->show();
        for (QCheckBox* box : windows.back()->findChildren<QCheckBox*>()) {
            box->setChecked(false);
        }
    }
    QApplication::setPalette(PaletteOf(theme));
    QApplication::processEvents();
    std::set<std::string> seen;
    for (const auto& window : windows) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
            if ((!radio && !qobject_cast<QCheckBox*>(button)) || button->isChecked()) {
                continue;
            }
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect mark = button->style()->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option,
                button);
            const QColor ink = TextInk(*button, theme.window, mark);
            const double ratio = ContrastRatio(ink, theme.window);
            const std::string name = button->objectName().toStdString();
            seen.insert(name);
            std::cout << theme.name << " " << name << " ink " << ink.name().toStdString()
                      << " contrast " << ratio << "\n";
            EXPECT_GE(ratio, nonTextContrastRatio) << name;
        }
    }
    for (const char* name :
         {"optChartStyle_1", "chkShowCharts", "chkDST", "Check1", "optLong_1", "optLat_1"}) {
        EXPECT_EQ(seen.count(name), 1u) << name << " is among the empty marks";
    }
}

INSTANTIATE_TEST_SUITE_P(Themes, ThemeContrast, ::testing::ValuesIn(themes),
                         [](const ::testing::TestParamInfo<DesktopTheme>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
