// The place list of Debian's libgeonames (GeoNames cities with their IANA zones). Compiled only
// when the library is found. Its own header comes first: GLib names a struct member "signals".
#include <geonames.h>

#include "places/PlaceSource.h"

#include <mutex>

namespace {

QString Utf8(const gchar* text) {
    return text == nullptr ? QString() : QString::fromUtf8(text);
}

// Reads every city of the library. The library keeps global state, so one reader at a time.
class GeonamesPlaceSource : public PlaceSource {
  public:
    QList<Place> ReadPlaces() const override {
        static std::mutex libraryMutex;
        const std::lock_guard lock(libraryMutex);
        const gint count = geonames_get_n_cities();
        QList<Place> places;
        places.reserve(count > 0 ? count : 0);
        for (gint index = 0; index < count; ++index) {
            GeonamesCity* city = geonames_get_city(index);
            if (city == nullptr) {
                continue;
            }
            Place place;
            place.name = Utf8(geonames_city_get_name(city));
            place.state = Utf8(geonames_city_get_state(city));
            place.country = Utf8(geonames_city_get_country(city));
            place.countryCode = Utf8(geonames_city_get_country_code(city));
            const gchar* zone = geonames_city_get_timezone(city);
            place.zoneId = zone == nullptr ? QByteArray() : QByteArray(zone);
            place.latitudeDegrees = geonames_city_get_latitude(city);
            place.longitudeDegrees = geonames_city_get_longitude(city);
            place.population = geonames_city_get_population(city);
            geonames_city_free(city);
            if (!place.name.isEmpty()) {
                places.append(std::move(place));
            }
        }
        return places;
    }
};

} // namespace

std::unique_ptr<PlaceSource> SystemPlaceSource() {
    return std::make_unique<GeonamesPlaceSource>();
}
