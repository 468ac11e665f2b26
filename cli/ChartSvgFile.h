#pragma once

#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "cli/ChartOutput.h"

#include <QIODevice>
#include <QString>

#include <optional>

// The chart's caption for its drawing (BirthCaption): the person, the date and time, the place's
// name when it came from the place list, the coordinates and the zone's offset, then the
// calculation's line, e.g. "Ravi, 15 August 1990 10:30, Pune, 18°31′N 73°51′E, +5:30 · Korvani
// 1.20 rules".
QString ChartDrawingTitle(const ChartResult& result);

// What the drawing module draws: the birth chart and a second one side by side into one SVG file.
struct ChartSvgJob {
    QIODevice* output = nullptr; // open for writing
    ChartContents birth;
    ChartContents second; // the decanate chart or the Navamsa
    ChartStyle style = ChartStyle::SouthIndian;
    QString title;
};

// The drawing lives in a module of its own (korvani-chart-svg.so, beside the command in the
// build tree, in lib/korvani or lib/<triplet>/korvani beside bin/ when installed), loaded only for
// --svg: the command's other runs load no Qt Gui at all, which keeps their start short. The
// module's one function: writes the drawing to the job's output, starting an offscreen
// QGuiApplication for the fonts when the process has none; false with `problem` set when it could
// not be written.
using WriteChartSvgJobFunction = bool (*)(const ChartSvgJob& job, QString& problem);
inline constexpr const char* writeChartSvgJobSymbol = "KorvaniWriteChartSvgJob";

// Writes the birth chart and `second` (ChartKind::Decanate or ChartKind::Navamsa) of `result`
// (its decanate chart cast by the result's drekkana scheme) side by side as SVG to `output` (open
// for writing), in `style`, black on white in DejaVu Sans, with the caption, through the drawing
// module. The reason, when the module could not be loaded or the drawing could not be written.
std::optional<QString> WriteChartSvg(QIODevice& output, const ChartResult& result, ChartStyle style,
                                     ChartKind second = ChartKind::Decanate);

// The same into the file `path` (OutputFile: replaced only when written whole, or written into
// where it stands when it is a device or FIFO).
std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style, ChartKind second = ChartKind::Decanate);
