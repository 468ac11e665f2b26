#pragma once

#include <string_view>

// The text without leading and trailing blanks (the space character only, as the input window
// and the position texts pad with it).
inline std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
