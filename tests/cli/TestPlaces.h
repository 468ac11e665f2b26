#pragma once

// A small place list of the tests' own, behind the command's environment.

#include "cli/ChartCommand.h"

#include <QIODevice>

inline Place MakePlace(const char* name, const char* state, const char* country, const char* code,
                       const char* zone, double latitude, double longitude, qint64 population) {
    Place place;
    place.name = QString::fromUtf8(name);
    place.state = QString::fromUtf8(state);
    place.country = QString::fromUtf8(country);
    place.countryCode = QString::fromLatin1(code);
    place.zoneId = zone;
    place.latitudeDegrees = latitude;
    place.longitudeDegrees = longitude;
    place.population = population;
    return place;
}

inline CommandEnvironment WithPlaces(QIODevice* input = nullptr) {
    CommandEnvironment environment;
    environment.places = [] {
        return LoadPlaceIndex(ListPlaceSource({
            MakePlace("London", "England", "United Kingdom", "GB", "Europe/London", 51.50853,
                      -0.12574, 8961989),
            MakePlace("London", "Ontario", "Canada", "CA", "America/Toronto", 42.98339, -81.23304,
                      346765),
            MakePlace("New Delhi", "National Capital Territory of Delhi", "India", "IN",
                      "Asia/Kolkata", 28.63576, 77.22445, 317797),
            MakePlace("Springfield", "Missouri", "United States of America", "US",
                      "America/Chicago", 37.21533, -93.29824, 166810),
            MakePlace("Springfield", "Massachusetts", "United States of America", "US",
                      "America/New_York", 42.10148, -72.58981, 154341),
            MakePlace("Kathmandu", "Bagmati Province", "Nepal", "NP", "Asia/Kathmandu", 27.70169,
                      85.3206, 1442271),
        }));
    };
    environment.standardInput = input;
    return environment;
}
