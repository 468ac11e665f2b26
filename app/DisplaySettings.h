#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstdio>

// Scale factors the program can be drawn at: a finite number from 0.25 to 8. Outside this range
// Qt draws nothing useful (0, 1e308) or fails inside its painting (negative values).
constexpr double smallestScaleFactor = 0.25;
constexpr double largestScaleFactor = 8.0;

// Whether a QT_SCALE_FACTOR value is such a number.
bool IsUsableScaleFactor(const QByteArray& value);

// Whether a QT_SCREEN_SCALE_FACTORS value ("2", "1;1.5", "DP-1=2;HDMI-1=1") gives every screen
// a usable factor.
bool IsUsableScreenScaleFactors(const QByteArray& value);

// Removes QT_SCALE_FACTOR and QT_SCREEN_SCALE_FACTORS from the environment when their values are
// not usable, so that Qt falls back to its own scale. Must run before the application object
// exists. Returns one line for each removed variable and writes it to `report` when given.
QStringList DropHostileDisplaySettings(std::FILE* report);
