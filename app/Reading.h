#pragma once

#include "chart/ChartState.h"

#include <QString>

class QTextDocument;

#include <array>
#include <vector>

// Month names in list order, as the input window offers them.
inline constexpr std::array<const char*, 12> monthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Whose chart it is, as the input window held it when the chart was calculated.
struct ChartHeaderFields {
    QString name;     // as the name box holds it
    QString zoneText; // the zone list's text, exactly
};

// One line naming the chart: name, date with the month by name, time HH:MM, the coordinates
// with their hemispheres and the zone's list text, then "Daylight Saving Time" when it was
// ticked. E.g. "ASHA · 15 August 1990 · 10:30 · 77°13′E 28°39′N · Indian Time, IST, +5.3".
QString ChartHeaderText(const ChartHeaderFields& fields, const ChartState& chart);

// The captions of a body's fields on its tab, in tab order.
inline constexpr std::array<const char*, 9> readingFieldCaptions = {
    "Position",           "Decanate Name", "Decanate Sign", "Ruling Planet",  "Ruling Element",
    "Constellation Name", "Keyword",       "Tree Zodiac",   "More About Sign"};

// One tab of the result window as the user reads it.
struct BodyReading {
    QString bodyName;
    std::array<QString, readingFieldCaptions.size()> values; // in caption order
};

// The whole reading: the header line and every body.
struct Reading {
    QString header;
    std::vector<BodyReading> bodies;
};

// The reading as plain text: the header, then each body with its name, one "Caption: value"
// line per field, the description last. Ends with a newline.
QString ReadingText(const Reading& reading);

// The same reading as an HTML document, every text escaped, for the clipboard and printing.
QString ReadingHtml(const Reading& reading);

// The name a printout of the chart is offered under: the name as the name box held it and the
// birth date, e.g. "ASHA VERMA 1990-08-15". Characters a file name cannot hold become blanks.
QString ReadingFileStem(const QString& name, const ChartState& chart);

// Moves each body's heading to the next page where a page break would part it from its fields,
// in a document made from ReadingHtml and given its page size. A body longer than a page stays
// where it is.
void KeepBodiesTogether(QTextDocument& document);
