#include "charts/ChartCells.h"

#include "astro/PositionText.h"
#include "decanates/modVedicDecanates.h"

#include <algorithm>
#include <charconv>

namespace {

// Minutes past the whole degrees, from characters 7 and 8 of a display-form position text
// ("07 Ari 30" -> 30); anything else reads as 0.
int MinutesOfPositionText(const std::string& positionText) {
    constexpr std::size_t minutesAt = 7;
    int minutes = 0;
    if (positionText.size() >= minutesAt + 2) {
        const char* first = positionText.data() + minutesAt;
        std::from_chars(first, first + 2, minutes);
    }
    return minutes;
}

constexpr int minutesPerSign = 30 * 60;
constexpr int minutesPerDecanate = 10 * 60;
constexpr int minutesPerNavamsa = 200; // 3°20′

// The position within its cell's sign in this chart, in minutes: the order of a cell's bodies.
int MinutesInChart(ChartKind kind, int minutesInSign) {
    switch (kind) {
    case ChartKind::Decanate:
        return minutesInSign % minutesPerDecanate * 3;
    case ChartKind::Navamsa:
        return minutesInSign % minutesPerNavamsa * 9;
    case ChartKind::Birth:
        break;
    }
    return minutesInSign;
}

std::string PositionText(int degrees, int minutes) {
    std::string text = std::to_string(degrees);
    text += degreeMark;
    if (minutes < 10) {
        text += '0';
    }
    text += std::to_string(minutes);
    text += "\u2032"; // prime: minutes of arc
    return text;
}

} // namespace

int DrekkanaSign(int sign, int decanate) {
    return ParasharaDrekkana(sign, decanate);
}

int NavamsaSign(int sign, int minutesInSign) {
    // Signs run movable, fixed, dual from Aries: the 9th sign from a fixed one is 8 further on,
    // the 5th from a dual one 4 further on.
    constexpr std::array<int, 3> countFrom = {0, 8, 4};
    const int part = minutesInSign / minutesPerNavamsa;
    return (sign + countFrom[static_cast<std::size_t>(sign % 3)] + part) % signCount;
}

ChartContents ComputeChartContents(const ChartState& chart, ChartKind kind,
                                   const RetrogradeFlags& retrograde, DrekkanaScheme scheme) {
    ChartContents contents;
    contents.kind = kind;
    constexpr std::array<int, 13> bodies = {
        chartAscendantBody, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, chartRahuBody, chartKetuBody};
    std::array<std::vector<int>, signCount> orderMinutes;
    for (const int body : bodies) {
        const std::string& text = chart.positionText[static_cast<std::size_t>(body)];
        const std::optional<DecanatePlace> place = FindDecanate(text);
        if (!place) {
            continue;
        }
        const int sign = static_cast<int>(place->sign);
        ChartEntry entry;
        entry.body = body;
        entry.sign = sign;
        entry.signDegrees = WholeDegreesOfPositionText(text);
        entry.signMinutes = MinutesOfPositionText(text);
        entry.retrograde = retrograde[static_cast<std::size_t>(body)];
        const int minutesInSign = entry.signDegrees * 60 + entry.signMinutes;
        int cellSign = sign;
        switch (kind) {
        case ChartKind::Birth:
            entry.wholeDegrees = entry.signDegrees;
            entry.minutes = entry.signMinutes;
            break;
        case ChartKind::Decanate:
            cellSign = DrekkanaSignUnder(scheme, sign, static_cast<int>(place->decanate));
            break;
        case ChartKind::Navamsa:
            cellSign = NavamsaSign(sign, std::min(minutesInSign, minutesPerSign - 1));
            break;
        }
        const auto cell = static_cast<std::size_t>(cellSign);
        std::vector<ChartEntry>& entries = contents.cells[cell];
        std::vector<int>& order = orderMinutes[cell];
        // The Ascendant is taken first and stays first; each body goes after those before it in
        // longitude, after an equal one too, so ties keep the body-index order.
        const int key = body == chartAscendantBody ? -1 : MinutesInChart(kind, minutesInSign);
        const auto at = std::upper_bound(order.begin(), order.end(), key);
        entries.insert(entries.begin() + (at - order.begin()), entry);
        order.insert(at, key);
        if (body == chartAscendantBody) {
            contents.ascendantSign = cellSign;
        }
    }
    return contents;
}

ChartContents WithoutOuterPlanets(ChartContents contents) {
    constexpr int uranus = 7;
    constexpr int pluto = 9;
    for (std::vector<ChartEntry>& entries : contents.cells) {
        std::erase_if(entries, [](const ChartEntry& entry) {
            return entry.body >= uranus && entry.body <= pluto;
        });
    }
    return contents;
}

std::string EntryLabel(const ChartEntry& entry, LabelDetail detail, const char* retrogradeMark) {
    std::string label = bodyAbbreviations[static_cast<std::size_t>(entry.body)];
    if (entry.retrograde) {
        label += retrogradeMark;
    }
    if (entry.wholeDegrees && detail != LabelDetail::NameOnly) {
        label += ' ';
        if (detail == LabelDetail::Minutes && entry.minutes) {
            label += PositionText(*entry.wholeDegrees, *entry.minutes);
        } else {
            label += std::to_string(*entry.wholeDegrees);
            label += degreeMark;
        }
    }
    return label;
}

std::string EntrySpokenText(const ChartEntry& entry) {
    std::string text = bodyNames[static_cast<std::size_t>(entry.body)];
    if (entry.retrograde) {
        text += " retrograde";
    }
    if (entry.wholeDegrees) {
        text += ' ';
        text += PositionText(*entry.wholeDegrees, entry.minutes.value_or(0));
    }
    return text;
}

std::vector<std::string> CellTooltipLines(const ChartContents& contents, int sign) {
    std::vector<std::string> lines = {signNames[static_cast<std::size_t>(sign)]};
    for (const ChartEntry& entry : contents.cells[static_cast<std::size_t>(sign)]) {
        std::string line = bodyNames[static_cast<std::size_t>(entry.body)];
        line += ' ';
        line += PositionText(entry.signDegrees, entry.signMinutes);
        line += ' ';
        line += signNames[static_cast<std::size_t>(entry.sign)];
        if (entry.retrograde) {
            line += ' ';
            line += retrogradeSymbol;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

const char* ChartCaption(ChartKind kind) {
    switch (kind) {
    case ChartKind::Decanate:
        return "Decanate Chart (D-3)";
    case ChartKind::Navamsa:
        return "Navamsa Chart (D-9)";
    case ChartKind::Birth:
        break;
    }
    return "Birth Chart (D-1)";
}

const char* ChartAccessibleName(ChartKind kind) {
    switch (kind) {
    case ChartKind::Decanate:
        return "Decanate chart";
    case ChartKind::Navamsa:
        return "Navamsa chart";
    case ChartKind::Birth:
        break;
    }
    return "Birth chart";
}
