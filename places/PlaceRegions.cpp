#include "places/PlaceRegions.h"

#include <array>
#include <string_view>

namespace {

struct SubregionCountries {
    const char* subregion;
    std::string_view countryCodes; // ISO 3166 two-letter codes, blank-separated
};

// United Nations Statistics Division, "Standard country or area codes for statistical use"
// (M49), the geographic regions: the two subregions that rows of the zone list name, "Eastern
// European Time" and "West Africa Time".
constexpr std::array subregions = {
    SubregionCountries{"Eastern Europe", "BG BY CZ HU MD PL RO RU SK UA"},
    SubregionCountries{"Western Africa", "BF BJ CI CV GH GM GN GW LR ML MR NE NG SH SL SN TG"},
};

} // namespace

QString ZoneListSubregion(const QString& countryCode) {
    if (countryCode.size() != 2) {
        return {};
    }
    const QByteArray code = countryCode.toUpper().toLatin1();
    for (const SubregionCountries& row : subregions) {
        for (std::size_t at = 0; at + 2 <= row.countryCodes.size(); at += 3) {
            if (row.countryCodes.substr(at, 2) == std::string_view(code.constData(), 2)) {
                return QString::fromLatin1(row.subregion);
            }
        }
    }
    return {};
}

QStringList ZoneAdviceNames(const Place& place) {
    QStringList names;
    for (const QString& name : {place.country, place.state, ZoneListSubregion(place.countryCode)}) {
        if (!name.isEmpty()) {
            names.append(name);
        }
    }
    return names;
}
