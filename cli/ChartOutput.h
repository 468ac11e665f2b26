#pragma once

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"
#include "chart/ChartState.h"
#include "chart/InputTexts.h"
#include "decanates/modVedicDecanates.h"
#include "precise/CalculationSettings.h"
#include "request/ChartRequest.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

// A computed chart: the input, the position texts and the longitudes they were made from, and
// what they were calculated with. The writers take the decanates of the ten displayed bodies from
// the texts, as the result window does.
struct ChartResult {
    ChartInput input;
    UsedInput used;
    ChartState chart;
    BodyLongitudes longitudes{};
    CalculationSettings settings;
    double ayanamsaDegrees = 0.0; // the ayanamsa at the birth, as taken off the positions
};

// Runs the calculation the way the window's driver does: load the input (zone first), then
// compute the positions by `settings` (CalculateChartWith). `used` describes a list zone unless
// the caller says otherwise. Into an existing result, which is overwritten whole; its storage is
// reused, so a batch allocates less per chart. The reason when the precise engine could not
// calculate it.
std::optional<QString> ComputeChartInto(ChartResult& result, const ChartInput& input,
                                        const UsedInput* used,
                                        const CalculationSettings& settings = {});
// The same by the 1.20 rules, which always calculate.
ChartResult ComputeChart(const ChartInput& input, const UsedInput* used = nullptr);

// The line that names the calculation (SettingsSummary), as the result window's header does.
QString CalculationLine(const ChartResult& result);

// One line naming what the chart used: the name, date and time, coordinates, the zone with its
// source (list, tz or place) and the offset, daylight saving and the place found. Ends with a
// newline.
QString FormatUsedInput(const ChartResult& result);

// That line, the calculation's line, a blank line, then a readable table of the ten bodies with
// their decanate texts (the description paragraph left out), then the Ascendant, Midheaven, Rahu
// and Ketu positions. Ends with a newline.
QString FormatChartTable(const ChartResult& result);

// The chart as one indented JSON object, UTF-8, ending with a newline; its keys in the order of a
// batch's lines, `charts` last. `settings` names the calculation: the engine, the ayanamsa and
// its value in degrees, the nodes and the drekkana scheme (the command's spellings where it has
// them) and the summary line. `charts` holds the cells of the birth and the decanate chart,
// `birth` and `decanate` (cast by the chosen drekkana scheme), each twelve
// {"sign": "Aries", "bodies": ["Ascendant", "Mars"]} in
// sign order from Aries, the bodies named as in `bodies[].name` (Rahu and Ketu left out, as
// the drawn charts leave them out).
QByteArray FormatChartJson(const ChartResult& result);

// The same object on one line, preceded by "line" when `line` > 0, and a newline: one line of
// JSON Lines. `charts` only `withCharts`: the cells cost a batch time and bytes on every row.
void AppendChartJsonLine(QByteArray& out, const ChartResult& result, qint64 line,
                         bool withCharts = false);
// {"line":N,"error":"..."} and a newline.
void AppendErrorJsonLine(QByteArray& out, qint64 line, const QString& message);

// One flat CSV row per chart: the header (with a newline), a chart's row, a refused row (its
// message in `error`, the other columns empty).
QByteArray ChartCsvHeader();
void AppendChartCsvRow(QByteArray& out, const ChartResult& result, qint64 line);
void AppendErrorCsvRow(QByteArray& out, qint64 line, const QString& message);

// The 71 zone texts, one a line, each preceded by its list position. Ends with a newline.
QString FormatZoneList();
