#pragma once

#include <cmath>

// The smallest difference of two longitudes in degrees, across 0°/360°: [0, 180].
inline double DegreesApart(double a, double b) {
    double difference = std::fmod(a - b, 360.0);
    if (difference > 180.0) {
        difference -= 360.0;
    } else if (difference < -180.0) {
        difference += 360.0;
    }
    return std::fabs(difference);
}
