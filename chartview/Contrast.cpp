#include "chartview/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

// sRGB component (0..1) to linear light, per the sRGB transfer function (IEC 61966-2-1).
double Linear(double component) {
    return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

QColor Mix(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

} // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableInk(const QColor& ink, const QColor& background, const QColor& fallback) {
    // Small steps towards the fallback keep as much of the theme's own hue as reading allows.
    constexpr int steps = 32;
    for (int step = 0; step <= steps; ++step) {
        const QColor mixed = Mix(ink, fallback, static_cast<double>(step) / steps);
        if (ContrastRatio(mixed, background) >= readableContrastRatio) {
            return mixed;
        }
    }
    QColor best = fallback;
    for (const QColor& candidate : {QColor(Qt::black), QColor(Qt::white)}) {
        if (ContrastRatio(candidate, background) > ContrastRatio(best, background)) {
            best = candidate;
        }
    }
    return best;
}
