#pragma once

#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "cli/ChartOutput.h"

#include <QString>

#include <optional>

// The chart's title for its drawing: the person, the date, and the place (the place list's name
// and country, or the coordinates as the options take them), e.g. "Ravi, 1990-08-15, Pune,
// India" or "Ravi, 1990-08-15, 18:31N 073:51E".
QString ChartDrawingTitle(const ChartResult& result);

// What the drawing module draws: both charts side by side into one SVG file.
struct ChartSvgJob {
    QString path;
    ChartContents birth;
    ChartContents decanate;
    ChartStyle style = ChartStyle::SouthIndian;
    QString title;
};

// The drawing lives in a module of its own (korvani-chart-svg.so, beside the command in the
// build tree, in lib/korvani or lib/<triplet>/korvani beside bin/ when installed), loaded only for
// --svg: the command's other runs load no Qt Gui at all, which keeps their start short. The
// module's one function: writes the job's file through QSaveFile (replaced only when written
// whole), starting an offscreen QGuiApplication for the fonts when the process has none; false with
// `problem` set when the file could not be written.
using WriteChartSvgJobFunction = bool (*)(const ChartSvgJob& job, QString& problem);
inline constexpr const char* writeChartSvgJobSymbol = "KorvaniWriteChartSvgJob";

// Writes the birth and decanate charts of `result` side by side as SVG to `path`, in `style`,
// the light palette and DejaVu Sans, with the title under each caption, through the drawing
// module. The reason, when the module could not be loaded or the file could not be written.
std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style);
