#include "astro/PositionText.h"

#include "chart/TextBlanks.h"

#include <cmath>

#include <charconv>

namespace {

void AppendNumber(std::string& text, int number) {
    char digits[12];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, result.ptr);
}

// A part of length 0 or 1 gets a "0" in front.
void AppendTwoDigits(std::string& text, std::string_view part) {
    if (part.size() < 2) {
        text += '0';
    }
    text.append(part);
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
    const int sign = static_cast<int>(std::floor(degrees / 30.0)) % signCount;
    while (degrees >= 30.0) {
        degrees -= 30.0;
    }
    std::string text;
    text.reserve(20);
    AppendNumber(text, static_cast<int>(degrees));
    text += degreeMark;
    text += ' ';
    AppendNumber(text, static_cast<int>(minutes));
    text += "' ";
    AppendNumber(text, static_cast<int>(seconds));
    text += "\" ";
    text += signAbbreviations.substr(static_cast<std::size_t>(3 * sign), 3);
    return text;
}

std::string FormatDisplayPosition(const std::string& longForm) {
    const std::string_view whole = longForm;
    const std::string_view trimmed = TrimBlanks(whole);
    const auto degreeAt = trimmed.find(degreeMark);
    const std::string_view degrees = TrimBlanks(trimmed.substr(0, degreeAt));
    std::string_view minutes;
    if (degreeAt != std::string_view::npos) {
        const auto afterDegree = degreeAt + degreeMark.size();
        const auto minuteAt = trimmed.find('\'', afterDegree);
        minutes = TrimBlanks(trimmed.substr(afterDegree, minuteAt == std::string_view::npos
                                                             ? std::string_view::npos
                                                             : minuteAt - afterDegree));
    }
    const std::string_view sign =
        TrimBlanks(whole.size() >= 3 ? whole.substr(whole.size() - 3) : whole);

    std::string text;
    text.reserve(9);
    AppendTwoDigits(text, degrees);
    text += ' ';
    text += sign;
    text += ' ';
    AppendTwoDigits(text, minutes);
    return text;
}
