#include "places/PlaceSource.h"

#ifndef KORVANI_HAVE_GEONAMES
// Without libgeonames there is no offline place list.
bool PlacesAvailable() {
    return false;
}

std::unique_ptr<PlaceSource> SystemPlaceSource() {
    return nullptr;
}
#endif
