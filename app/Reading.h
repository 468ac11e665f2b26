#pragma once

#include "chart/ChartState.h"
#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QPrinter;
class QTextDocument;

#include <array>
#include <optional>
#include <vector>

// Whose chart it is, as the input window held it when the chart was calculated.
struct ChartHeaderFields {
    QString name{};      // as the name box holds it
    QString zoneText{};  // the zone list's text, exactly; the zone's name for the place's own time
    QString placeText{}; // "Kathmandu, Nepal": the city, state and country boxes, those filled
    std::optional<int> offsetSeconds{}; // the offset the chart was computed at
    // The offset the place's zone kept at the birth, when a row was used that gives another.
    std::optional<int> placeKeptOffsetSeconds{};
    // What it was calculated with: SettingsSummary's line, and the scheme of the decanate chart.
    QString calculation{};
    DrekkanaScheme drekkana = DrekkanaScheme::Parashara;
};

// One line naming the chart: name, date with the month by name, time HH:MM, the place when the
// boxes name one, the coordinates with their hemispheres, the zone's list text (or the zone's
// name) and the offset used, then "Daylight Saving Time" when it was ticked, then, when a row
// was used although the place kept another offset, both. E.g. "ASHA · 15 August 1990 · 10:30 ·
// Kathmandu, Nepal · 85°19′E 27°42′N · Indian Time, IST, +5.3 · +5:30 · computed at +5:30; the
// place kept +5:45".
QString ChartHeaderText(const ChartHeaderFields& fields, const ChartState& chart);

// The caption of the chart diagrams (BirthCaption): the name, the date and time, the place's
// first named part when the boxes name one, the coordinates and the zone's offset, e.g. "ASHA,
// 15 August 1990 10:30, Delhi, 28°39′N 77°13′E, +5:30".
QString ChartTitleText(const ChartHeaderFields& fields, const ChartState& chart);

// The captions of a body's fields on its tab, in tab order.
inline constexpr std::array<const char*, 9> readingFieldCaptions = {
    "Position",           "Decanate Name", "Decanate Sign", "Ruling Planet",  "Ruling Element",
    "Constellation Name", "Keyword",       "Tree Zodiac",   "More About Sign"};

// One tab of the result window as the user reads it.
struct BodyReading {
    QString bodyName;
    std::array<QString, readingFieldCaptions.size()> values; // in caption order
};

// One chart diagram of the reading: its caption, its cells as text lines and, for HTML, its
// picture.
struct ReadingChart {
    QString caption;       // "Birth Chart (D-1)"
    QStringList cellLines; // one line per sign, "Aries: Asc 12°, Ma 12°"
    QByteArray png;        // the chart drawn as a PNG file; empty for none
};

// A chart diagram's part of the reading: its caption and its cells as text lines
// (ChartTextLines), without a picture.
ReadingChart ChartPart(const ChartContents& chart);

// The whole reading: the header line, the calculation it was made with, the chart diagrams and
// every body.
struct Reading {
    QString header;
    QString calculation; // SettingsSummary's line; none when empty
    std::vector<ReadingChart> charts;
    std::vector<BodyReading> bodies;
};

// The reading as plain text: the header and the calculation line, then each chart with its caption
// and cell lines, then each body with its name, one "Caption: value" line per field, the
// description last. Ends with a newline.
QString ReadingText(const Reading& reading);

// The same reading as an HTML document, every text escaped, for the clipboard and printing. It
// starts with the charts that have a picture, each an inline PNG image (a data: address).
QString ReadingHtml(const Reading& reading);

// The name a printout of the chart is offered under: the name as the name box held it and the
// birth date, e.g. "ASHA VERMA 1990-08-15". Characters a file name cannot hold become blanks.
QString ReadingFileStem(const QString& name, const ChartState& chart);

// Moves each body's heading to the next page where a page break would part it from its fields,
// in a document made from ReadingHtml and given its page size. A body longer than a page stays
// where it is.
void KeepBodiesTogether(QTextDocument& document);

// The two chart diagrams as the result window shows and prints them.
struct PrintedCharts {
    ChartContents birth;
    ChartContents decanate;
    ChartStyle style = ChartStyle::SouthIndian;
    QString title; // person, date, place
};

// Prints the reading on the printer's pages, no body's heading parted from its fields; with
// `charts`, both charts stand side by side at the top of the first page, above the reading.
void PrintReading(const Reading& reading, QPrinter& printer, const PrintedCharts* charts = nullptr);
