#pragma once

#include "chart/ChartState.h"
#include "decanates/modVedicDecanates.h"

#include <optional>
#include <string>

// The decanate texts that DetermineDecanates gives a body standing at a display-form position
// text (the Sun's entry of a fresh chart); nothing when the text names no sign, since the record
// then keeps its empty start.
inline std::optional<DecanateResult> LookUpDecanate(const std::string& positionText) {
    ChartState chart;
    chart.positionText[0] = positionText;
    DecanateResults results{};
    DetermineDecanates(chart, results);
    if (results[0] == DecanateResult{}) {
        return std::nullopt;
    }
    return results[0];
}
