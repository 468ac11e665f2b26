#include "places/Coordinates.h"

#include <algorithm>
#include <cmath>

namespace {

BoxCoordinate ForBoxes(double signedDegrees, int lastDegree) {
    BoxCoordinate box;
    box.secondHemisphere = signedDegrees < 0.0;
    const double magnitude = std::fabs(signedDegrees);
    long totalMinutes = std::isfinite(magnitude) ? std::lround(magnitude * 60.0) : 0;
    const long lastMinute = lastDegree * 60L + 59;
    totalMinutes = std::min(totalMinutes, lastMinute);
    box.degrees = static_cast<int>(totalMinutes / 60);
    box.minutes = static_cast<int>(totalMinutes % 60);
    if (totalMinutes == 0) {
        box.secondHemisphere = false; // 0°0' is written East or North
    }
    return box;
}

} // namespace

BoxCoordinate LongitudeForBoxes(double eastDegrees) {
    return ForBoxes(eastDegrees, 179);
}

BoxCoordinate LatitudeForBoxes(double northDegrees) {
    return ForBoxes(northDegrees, 89);
}

QString BoxCoordinateText(const BoxCoordinate& coordinate, QChar first, QChar second) {
    return QStringLiteral("%1°%2′%3")
        .arg(coordinate.degrees)
        .arg(coordinate.minutes, 2, 10, QLatin1Char('0'))
        .arg(coordinate.secondHemisphere ? second : first);
}
