#pragma once

#include "charts/ChartGeometry.h"
#include "cli/ChartOutput.h"

#include <QString>

#include <optional>

// The chart's title for its drawing: the person, the date, and the place (the place list's name
// and country, or the coordinates as the options take them), e.g. "Ravi, 1990-08-15, Pune,
// India" or "Ravi, 1990-08-15, 18:31N 073:51E".
QString ChartDrawingTitle(const ChartResult& result);

// Writes the birth and decanate charts of `result` side by side as SVG to `path`, in `style`,
// the light palette and DejaVu Sans, with the title under each caption. The file is replaced
// only when it was written whole (QSaveFile). Starts an offscreen QGuiApplication for the fonts
// when the process has no application yet, and ends it afterwards. The reason, when the file
// could not be written.
std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style);
