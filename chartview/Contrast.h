#pragma once

#include <QColor>

// Colour contrast as the Web Content Accessibility Guidelines 2.x (W3C) define it: relative
// luminance of sRGB colours and the contrast ratio (L1 + 0.05) / (L2 + 0.05), from 1 to 21.

// Level AA for normal text (success criterion 1.4.3).
inline constexpr double readableContrastRatio = 4.5;
// Level AA for the parts of a control that show its state, e.g. a radio button's circle
// (success criterion 1.4.11, non-text contrast).
inline constexpr double nonTextContrastRatio = 3.0;

double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& first, const QColor& second);

// `ink` when it reaches readableContrastRatio against `background`; otherwise the colour nearest
// to it on the way to `fallback` that does, or failing that whichever of `fallback`, black and
// white stands out most.
QColor ReadableInk(const QColor& ink, const QColor& background, const QColor& fallback);
