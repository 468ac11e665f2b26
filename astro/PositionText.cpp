#include "astro/PositionText.h"

#include "chart/TextBlanks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Puts the decimal digits of `number` at `at`; returns the end.
char* PutNumber(char* at, int number) {
    return std::to_chars(at, at + 11, number).ptr;
}

char* PutText(char* at, std::string_view text) {
    return std::copy(text.begin(), text.end(), at);
}

// A part of length 0 or 1 gets a "0" in front.
char* PutTwoDigits(char* at, std::string_view part) {
    if (part.size() < 2) {
        *at++ = '0';
    }
    return PutText(at, part);
}

} // namespace

int SignOfAbbreviation(const char* letters) {
    for (int sign = 0; sign < signCount; ++sign) {
        if (std::equal(letters, letters + 3, signAbbreviations.data() + 3 * sign)) {
            return sign;
        }
    }
    return -1;
}

// The text is put together in a buffer on the stack and made into a string once: a chart makes
// fourteen of them.
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
    char text[48];
    char* end = PutNumber(text, static_cast<int>(degrees));
    end = PutText(end, degreeMark);
    *end++ = ' ';
    end = PutNumber(end, static_cast<int>(minutes));
    end = PutText(end, "' ");
    end = PutNumber(end, static_cast<int>(seconds));
    end = PutText(end, "\" ");
    end = PutText(end, signAbbreviations.substr(static_cast<std::size_t>(3 * sign), 3));
    return std::string(text, end);
}

double LongitudeOnCircle(double longitudeDegrees) {
    const double magnitude = std::fabs(longitudeDegrees);
    return magnitude >= 360.0 ? magnitude - 360.0 : magnitude;
}

std::string FormatDisplayPosition(std::string_view longForm) {
    const std::string_view trimmed = TrimBlanks(longForm);
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
        TrimBlanks(longForm.size() >= 3 ? longForm.substr(longForm.size() - 3) : longForm);

    // Nine characters for a text of the long form, written in place.
    std::string text(degrees.size() + sign.size() + minutes.size() + 4, '\0');
    char* end = PutTwoDigits(text.data(), degrees);
    *end++ = ' ';
    end = PutText(end, sign);
    *end++ = ' ';
    end = PutTwoDigits(end, minutes);
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}
