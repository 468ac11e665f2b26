#pragma once

#include <QFont>

// The labels' sizes are designed for a desktop font of 9 or 10 points. How much larger (or
// smaller) the desktop's font makes them: 1 for 9 to 10 points, in proportion outside that
// range, so that a 14-point desktop draws every label 1.4 times its designed size.
qreal DesignFontScale(qreal desktopPointSize);

// The labels' font at `designPointSize` scaled to the application's default font: Verdana where
// the machine has it, otherwise DejaVu Sans or the nearest sans-serif.
QFont LabelFont(qreal designPointSize = 9, bool bold = false);
