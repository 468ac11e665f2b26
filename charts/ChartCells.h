#pragma once

#include "astro/PositionText.h"
#include "chart/ChartState.h"
#include "decanates/DrekkanaSchemes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The contents of the twelve sign cells of the birth chart (D-1) and of the decanate chart
// (D-3), computed from a chart whose stages have run. Plain data for every drawing of a chart.

// Body index of the Ascendant in a chart's entries (the same as in ChartState::positionText).
inline constexpr int chartAscendantBody = 10;

// Two-letter abbreviations of the displayed bodies in body-index order (0 Sun ... 9 Pluto), and
// the Ascendant's.
inline constexpr std::array<const char*, displayedBodyCount> bodyAbbreviations = {
    "Su", "Mo", "Me", "Ve", "Ma", "Ju", "Sa", "Ur", "Ne", "Pl"};
inline constexpr const char* ascendantAbbreviation = "Asc";

enum class ChartKind {
    Birth,    // D-1: the sign each body stands in, with its whole degrees in the sign
    Decanate, // D-3: the sign of each body's decanate by a drekkana scheme
};

// One body (or the Ascendant) in a cell.
struct ChartEntry {
    int body = 0;                    // 0 Sun ... 9 Pluto, chartAscendantBody for the Ascendant
    std::optional<int> wholeDegrees; // 0..29 in the sign; D-1 only
    bool operator==(const ChartEntry&) const = default;
};

// The contents of one chart: per sign (0 Aries ... 11 Pisces) the entries standing there,
// the Ascendant first, then the bodies in body-index order.
struct ChartContents {
    ChartKind kind = ChartKind::Birth;
    std::array<std::vector<ChartEntry>, 12> cells;
    std::optional<int> ascendantSign; // the Ascendant's sign in this chart; none if unreadable
};

// Sign (0 Aries ... 11 Pisces) of the decanate a position falls in, by the Parashara drekkana
// (ParasharaDrekkana). `decanate` is 0, 1 or 2 as FindDecanate gives it.
int DrekkanaSign(int sign, int decanate);

// The cells of the birth chart (ChartKind::Birth) or the decanate chart (ChartKind::Decanate)
// from the display-form position texts of a computed chart: bodies 0..9 and the Ascendant
// (Rahu, Ketu and the Midheaven are left out). The whole degrees and the decanate are read from
// the texts as the decanate stage reads them, so the D-3 chart agrees with the decanate tabs;
// the Ascendant's decanate is found here, beside the stage, which is left unchanged. A position
// whose text names no sign is left out of the chart. The decanate chart casts each part by
// `scheme`.
ChartContents ComputeChartContents(const ChartState& chart, ChartKind kind,
                                   DrekkanaScheme scheme = DrekkanaScheme::Parashara);

// A cell entry's label: "Su 28°" / "Asc 12°" in the birth chart, "Su" / "Asc" in the decanate
// chart (UTF-8).
std::string EntryLabel(const ChartEntry& entry);

// A cell entry with the body's full name: "Mars 12°", "Ascendant 5°"; "Mars" without degrees.
std::string EntrySpokenText(const ChartEntry& entry);

// The caption above a chart ("Birth Chart (D-1)", "Decanate Chart (D-3)") and the name a screen
// reader gives it ("Birth chart", "Decanate chart").
const char* ChartCaption(ChartKind kind);
const char* ChartAccessibleName(ChartKind kind);
