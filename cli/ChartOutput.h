#pragma once

#include "chart/ChartInput.h"
#include "chart/ChartState.h"
#include "decanates/modVedicDecanates.h"

#include <QByteArray>
#include <QString>

// A computed chart: the position texts and the decanates of the ten displayed bodies.
struct ChartResult {
    ChartState chart;
    DecanateResults decanates;
};

// Runs the calculation the way the window's driver does: load the input (zone first), compute
// the positions, then the decanates of Sun to Pluto.
ChartResult ComputeChart(const ChartInput& input);

// A readable table of the ten bodies with their decanate texts (the description paragraph left
// out), then the Ascendant, Midheaven, Rahu and Ketu positions. Ends with a newline.
QString FormatChartTable(const ChartResult& result);

// The chart as one indented JSON object, UTF-8.
QByteArray FormatChartJson(const ChartResult& result);

// The 71 zone texts, one a line, each preceded by its list position. Ends with a newline.
QString FormatZoneList();
