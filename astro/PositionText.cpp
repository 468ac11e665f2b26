#include "astro/PositionText.h"

#include <cmath>

namespace {

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string TwoDigits(std::string part) {
    if (part.size() < 2) {
        part.insert(0, 2 - part.size(), '0');
    }
    return part;
}

} // namespace

std::string FormatSignPosition(double longitudeDegrees) {
    double v = std::fabs(longitudeDegrees);
    if (!std::isfinite(v) || v >= 1.0e6) {
        v = 0.0; // never reached by the calculation; keeps the conversions below defined
    }
    double degrees = std::floor(v);
    const double minutesExact = 60.0 * (v - degrees);
    const double minutes = std::floor(minutesExact);
    const double seconds = std::floor(60.0 * (minutesExact - minutes));
    // Exactly 360 (Ketu opposite a Rahu of exactly 180) would ask for a thirteenth sign; the
    // circle closes there, so it reads as 0° Aries.
    int sign = static_cast<int>(std::floor(degrees / 30.0)) % signCount;
    while (degrees >= 30.0) {
        degrees -= 30.0;
    }
    std::string text = std::to_string(static_cast<int>(degrees));
    text += degreeMark;
    text += ' ';
    text += std::to_string(static_cast<int>(minutes));
    text += "' ";
    text += std::to_string(static_cast<int>(seconds));
    text += "\" ";
    text += signAbbreviations.substr(static_cast<std::size_t>(3 * sign), 3);
    return text;
}

std::string FormatDisplayPosition(const std::string& longForm) {
    const std::string trimmed = TrimBlanks(longForm);
    const auto degreeAt = trimmed.find(degreeMark);
    std::string degrees = TrimBlanks(std::string_view(trimmed).substr(0, degreeAt));
    std::string minutes;
    if (degreeAt != std::string::npos) {
        const auto afterDegree = degreeAt + degreeMark.size();
        const auto minuteAt = trimmed.find('\'', afterDegree);
        minutes = TrimBlanks(std::string_view(trimmed).substr(
            afterDegree,
            minuteAt == std::string::npos ? std::string::npos : minuteAt - afterDegree));
    }
    const std::string sign =
        TrimBlanks(longForm.size() >= 3 ? std::string_view(longForm).substr(longForm.size() - 3)
                                        : std::string_view(longForm));
    return TwoDigits(degrees) + ' ' + sign + ' ' + TwoDigits(minutes);
}
