#include "places/PlaceSource.h"

#ifndef KORVANI_HAVE_GEONAMES
// Without libgeonames there is no offline place list.
std::unique_ptr<PlaceSource> SystemPlaceSource() {
    return nullptr;
}
#endif
