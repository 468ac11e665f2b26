#pragma once

#include <QChar>
#include <QString>

// A coordinate as the input window's boxes take it: whole degrees, whole minutes and the
// hemisphere option.
struct BoxCoordinate {
    int degrees = 0;               // 0..179 for a longitude, 0..89 for a latitude
    int minutes = 0;               // 0..59
    bool secondHemisphere = false; // West for a longitude, South for a latitude
};

// Decimal degrees (east or north positive) rounded to the nearest whole minute; 59.5' or more
// carries into the next degree. A value that would round past the box's last degree (180° of
// longitude, 90° of latitude) gives the last one the box takes, 179°59' or 89°59'.
BoxCoordinate LongitudeForBoxes(double eastDegrees);
BoxCoordinate LatitudeForBoxes(double northDegrees);

// A coordinate as the input window takes it and the finder and the result header show it:
// "77°13′E" with `first` 'E' and `second` 'W', "28°39′N" with 'N' and 'S'.
QString BoxCoordinateText(const BoxCoordinate& coordinate, QChar first, QChar second);
