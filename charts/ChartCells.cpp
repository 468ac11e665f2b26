#include "charts/ChartCells.h"

#include "astro/PositionText.h"
#include "decanates/modVedicDecanates.h"

int DrekkanaSign(int sign, int decanate) {
    return ParasharaDrekkana(sign, decanate);
}

ChartContents ComputeChartContents(const ChartState& chart, ChartKind kind, DrekkanaScheme scheme) {
    ChartContents contents;
    contents.kind = kind;
    // The Ascendant first, then the bodies in body-index order.
    std::array<int, displayedBodyCount + 1> order{};
    order[0] = chartAscendantBody;
    for (int body = 0; body < displayedBodyCount; ++body) {
        order[static_cast<std::size_t>(body) + 1] = body;
    }
    for (const int body : order) {
        const std::string& text = chart.positionText[static_cast<std::size_t>(body)];
        const std::optional<DecanatePlace> place = FindDecanate(text);
        if (!place) {
            continue;
        }
        const int sign = static_cast<int>(place->sign);
        ChartEntry entry{body, std::nullopt};
        int cellSign = sign;
        if (kind == ChartKind::Birth) {
            entry.wholeDegrees = WholeDegreesOfPositionText(text);
        } else {
            cellSign = DrekkanaSignUnder(scheme, sign, static_cast<int>(place->decanate));
        }
        contents.cells[static_cast<std::size_t>(cellSign)].push_back(entry);
        if (body == chartAscendantBody) {
            contents.ascendantSign = cellSign;
        }
    }
    return contents;
}

namespace {

std::string WithDegrees(std::string name, const ChartEntry& entry) {
    if (entry.wholeDegrees) {
        name += ' ';
        name += std::to_string(*entry.wholeDegrees);
        name += degreeMark;
    }
    return name;
}

} // namespace

std::string EntryLabel(const ChartEntry& entry) {
    return WithDegrees(entry.body == chartAscendantBody
                           ? ascendantAbbreviation
                           : bodyAbbreviations[static_cast<std::size_t>(entry.body)],
                       entry);
}

std::string EntrySpokenText(const ChartEntry& entry) {
    return WithDegrees(bodyNames[static_cast<std::size_t>(entry.body)], entry);
}

const char* ChartCaption(ChartKind kind) {
    return kind == ChartKind::Birth ? "Birth Chart (D-1)" : "Decanate Chart (D-3)";
}

const char* ChartAccessibleName(ChartKind kind) {
    return kind == ChartKind::Birth ? "Birth chart" : "Decanate chart";
}
