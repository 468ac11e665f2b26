#include "chart/InputTexts.h"

#include <charconv>
#include <cstdlib>

namespace {

// The number in at least `width` characters, zeros after the sign making up the width.
void AppendPadded(std::string& out, long long value, int width) {
    if (value < 0) {
        out += '-';
        --width;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, std::llabs(value)).ptr;
    const auto length = static_cast<int>(end - digits);
    if (length < width) {
        out.append(static_cast<std::size_t>(width - length), '0');
    }
    out.append(digits, end);
}

std::string CoordinateText(std::string_view degrees, std::string_view minutes, char hemisphere) {
    std::string text;
    text.reserve(degrees.size() + minutes.size() + 2);
    text += degrees;
    text += ':';
    text += minutes;
    text += hemisphere;
    return text;
}

std::string PaddedText(long long value, int width) {
    std::string text;
    AppendPadded(text, value, width);
    return text;
}

} // namespace

std::string DateText(int year, int month, int day) {
    std::string text;
    AppendPadded(text, year, 4);
    text += '-';
    AppendPadded(text, month, 2);
    text += '-';
    AppendPadded(text, day, 2);
    return text;
}

std::string DateText(const ChartInput& input) {
    return DateText(input.year, input.monthPosition + 1, input.day);
}

std::string TimeText(int hour, int minute) {
    std::string text;
    AppendPadded(text, hour, 2);
    text += ':';
    AppendPadded(text, minute, 2);
    return text;
}

std::string TimeText(const ChartInput& input) {
    return TimeText(input.hour, input.minute);
}

std::string LongitudeText(std::string_view degrees, std::string_view minutes, bool east) {
    return CoordinateText(degrees, minutes, east ? 'E' : 'W');
}

std::string LatitudeText(std::string_view degrees, std::string_view minutes, bool south) {
    return CoordinateText(degrees, minutes, south ? 'S' : 'N');
}

std::string LongitudeText(const ChartInput& input) {
    return LongitudeText(PaddedText(input.longitudeDegrees, 3),
                         PaddedText(input.longitudeMinutes, 2), input.east);
}

std::string LatitudeText(const ChartInput& input) {
    return LatitudeText(PaddedText(input.latitudeDegrees, 2), PaddedText(input.latitudeMinutes, 2),
                        input.south);
}

std::string UtcOffsetText(int offsetSeconds) {
    const long long magnitude = std::llabs(static_cast<long long>(offsetSeconds));
    std::string text(1, offsetSeconds < 0 ? '-' : '+');
    AppendPadded(text, magnitude / 3600, 1);
    text += ':';
    AppendPadded(text, magnitude / 60 % 60, 2);
    if (magnitude % 60 != 0) {
        text += ':';
        AppendPadded(text, magnitude % 60, 2);
    }
    return text;
}
