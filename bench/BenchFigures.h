#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// The value at `fraction` (0 lowest ... 1 highest) of `values`: the nearest rank, so 0.5 of an
// even count takes the upper middle value.
inline double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto at =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}
