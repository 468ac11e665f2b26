#pragma once

#include "chart/ChartState.h"
#include "decanates/DrekkanaSchemes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The contents of the twelve sign cells of the birth chart (D-1), the decanate chart (D-3) and
// the Navamsa (D-9), computed from a chart whose stages have run. Plain data for every drawing of
// a chart.

// Body indices of the Ascendant and the nodes in a chart's entries (the same as in
// ChartState::positionText).
inline constexpr int chartAscendantBody = 10;
inline constexpr int chartRahuBody = 12;
inline constexpr int chartKetuBody = 13;

// Abbreviations in body-index order (0 Sun ... 13 Ketu); the Midheaven is never drawn.
inline constexpr std::array<const char*, positionCount> bodyAbbreviations = {
    "Su", "Mo", "Me", "Ve", "Ma", "Ju", "Sa", "Ur", "Ne", "Pl", "Asc", "MC", "Ra", "Ke"};
inline constexpr const char* ascendantAbbreviation = "Asc";

// The mark after a retrograde body's name, and the one to use where a font lacks its glyph.
inline constexpr const char* retrogradeSymbol = "\u211E";
inline constexpr const char* retrogradeFallback = "(R)";

// Per body index (0 Sun ... 13 Ketu): whether the body is retrograde at the birth.
using RetrogradeFlags = std::array<bool, positionCount>;

// The two-letter corner labels of the South Indian square, 0 Aries ... 11 Pisces.
inline constexpr std::array<const char*, 12> signShortNames = {"Ar", "Ta", "Ge", "Cn", "Le", "Vi",
                                                               "Li", "Sc", "Sg", "Cp", "Aq", "Pi"};

enum class ChartKind {
    Birth,    // D-1: the sign each body stands in, with its degrees and minutes in the sign
    Decanate, // D-3: the sign of each body's decanate by a drekkana scheme
    Navamsa,  // D-9: the sign of each body's ninth part by the navamsa rule
};

// One body (or the Ascendant) in a cell.
struct ChartEntry {
    int body = 0;                    // 0 Sun ... 9 Pluto, chartAscendantBody, Rahu or Ketu
    std::optional<int> wholeDegrees; // 0..29 in the sign; D-1 only
    std::optional<int> minutes;      // 0..59 past the whole degrees; D-1 only
    bool retrograde = false;         // Mercury to Pluto moving backwards at the birth
    int signDegrees = 0;             // the position in its own sign (0..29), for the tooltip
    int signMinutes = 0;             // 0..59
    int sign = 0;                    // its own sign, 0 Aries ... 11 Pisces
    bool operator==(const ChartEntry&) const = default;
};

// How much of a position a label shows.
enum class LabelDetail {
    Minutes,      // "Su 28°23′"
    WholeDegrees, // "Su 28°"
    NameOnly,     // "Su"
};

// The contents of one chart: per sign (0 Aries ... 11 Pisces) the entries standing there,
// the Ascendant first, then the bodies in order of their longitude in this chart.
struct ChartContents {
    ChartKind kind = ChartKind::Birth;
    std::array<std::vector<ChartEntry>, 12> cells;
    std::optional<int> ascendantSign; // the Ascendant's sign in this chart; none if unreadable
};

// Sign (0 Aries ... 11 Pisces) of the decanate a position falls in, by the Parashara drekkana
// (ParasharaDrekkana). `decanate` is 0, 1 or 2 as FindDecanate gives it.
int DrekkanaSign(int sign, int decanate);

// Sign (0 Aries ... 11 Pisces) of the navamsa a position falls in (Brihat Parashara Hora Shastra,
// ch. 6, on the sixteen divisions): a sign is divided into nine parts of 3°20′ (200 minutes);
// the count starts from the sign itself for a movable sign (Aries, Cancer, Libra, Capricorn),
// from its 9th for a fixed sign and from its 5th for a dual sign. `minutesInSign` is 0..1799.
int NavamsaSign(int sign, int minutesInSign);

// The cells of one chart from the display-form position texts of a computed chart: the Ascendant,
// the bodies 0..9, Rahu and Ketu (the Midheaven is left out). Degrees, minutes and the decanate
// are read from the texts as the decanate stage reads them, so the D-3 chart agrees with the
// decanate tabs. Within a cell the Ascendant comes first, then the bodies by their longitude in
// this chart (the position in the sign multiplied by 3 in the D-3 and by 9 in the D-9). A
// position whose text names no sign is left out. `retrograde` marks the bodies moving backwards;
// the decanate chart casts each part by `scheme`.
ChartContents ComputeChartContents(const ChartState& chart, ChartKind kind,
                                   const RetrogradeFlags& retrograde = {},
                                   DrekkanaScheme scheme = DrekkanaScheme::Parashara);

// The chart without Uranus, Neptune and Pluto, for those who draw only the nine grahas.
ChartContents WithoutOuterPlanets(ChartContents contents);

// A cell entry's label (UTF-8): the abbreviation, the retrograde mark, and in the birth chart the
// position at `detail`: "Su 28°23′", "Me℞ 4°10′", "Asc 12°"; "Su" in the D-3 and D-9.
std::string EntryLabel(const ChartEntry& entry, LabelDetail detail = LabelDetail::Minutes,
                       const char* retrogradeMark = retrogradeSymbol);

// A cell entry with the body's full name: "Mars 12°05′", "Mercury retrograde 4°10′", "Ascendant
// 5°00′"; "Mars" without degrees.
std::string EntrySpokenText(const ChartEntry& entry);

// A cell's tooltip: the sign's full name, then one line per entry with the full name, the
// position in its own sign to the minute and sign, and the retrograde mark ("Mercury 4°10′
// Capricorn ℞"). "Capricorn" alone for an empty cell.
std::vector<std::string> CellTooltipLines(const ChartContents& contents, int sign);

// The caption above a chart ("Birth Chart (D-1)", "Decanate Chart (D-3)", "Navamsa Chart (D-9)")
// and the name a screen reader gives it ("Birth chart", "Decanate chart", "Navamsa chart").
const char* ChartCaption(ChartKind kind);
const char* ChartAccessibleName(ChartKind kind);
