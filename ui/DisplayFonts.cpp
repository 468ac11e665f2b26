#include "ui/DisplayFonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

namespace {

// The desktop font sizes the labels' designed sizes were drawn for.
constexpr qreal smallestDesignDesktopPoints = 9;
constexpr qreal largestDesignDesktopPoints = 10;

// The application's default font size in points; a font given in pixels is converted at the
// screen's logical resolution.
qreal DesktopPointSize() {
    const QFont font = QGuiApplication::font();
    if (font.pointSizeF() > 0) {
        return font.pointSizeF();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (font.pixelSize() > 0 && screen && screen->logicalDotsPerInchY() > 0) {
        return font.pixelSize() * 72.0 / screen->logicalDotsPerInchY();
    }
    return smallestDesignDesktopPoints;
}

} // namespace

qreal DesignFontScale(qreal desktopPointSize) {
    if (!(desktopPointSize > 0)) {
        return 1; // no usable size: the designed sizes
    }
    if (desktopPointSize < smallestDesignDesktopPoints) {
        return desktopPointSize / smallestDesignDesktopPoints;
    }
    if (desktopPointSize > largestDesignDesktopPoints) {
        return desktopPointSize / largestDesignDesktopPoints;
    }
    return 1;
}

QFont LabelFont(qreal designPointSize, bool bold) {
    QFont font;
    // Families in order of preference; the style hint picks a sans-serif when none is installed.
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Bitstream Vera Sans"), QStringLiteral("Tahoma"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(designPointSize * DesignFontScale(DesktopPointSize()));
    font.setBold(bold);
    return font;
}
