// The place index: folding, matching, ranking and the command's ambiguity rule, over a small
// list of our own; and the system's list when this build has it.

#include "places/PlaceIndex.h"
#include "places/BirthTime.h"
#include "places/Coordinates.h"
#include "places/OtherPlaceNames.h"
#include "places/PlaceRegions.h"

#include <QSet>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

Place MakePlace(const char* name, const char* state, const char* country, const char* code,
                qint64 population) {
    Place place;
    place.name = QString::fromUtf8(name);
    place.state = QString::fromUtf8(state);
    place.country = QString::fromUtf8(country);
    place.countryCode = QString::fromLatin1(code);
    place.population = population;
    return place;
}

// Names and sizes chosen so that each ranking rule decides one case.
const PlaceIndex& TestIndex() {
    static const PlaceIndex index({
        MakePlace("London", "England", "United Kingdom", "GB", 8961989),                      // 0
        MakePlace("London", "Ontario", "Canada", "CA", 346765),                               // 1
        MakePlace("Londonderry", "Northern Ireland", "United Kingdom", "GB", 83652),          // 2
        MakePlace("Springfield", "Missouri", "United States of America", "US", 166810),       // 3
        MakePlace("Springfield", "Massachusetts", "United States of America", "US", 154341),  // 4
        MakePlace("Springfield", "Illinois", "United States of America", "US", 116565),       // 5
        MakePlace("Zürich", "Zurich", "Switzerland", "CH", 341730),                           // 6
        MakePlace("São Paulo", "São Paulo", "Brazil", "BR", 10021295),                        // 7
        MakePlace("New Delhi", "National Capital Territory of Delhi", "India", "IN", 317797), // 8
        MakePlace("Delhi", "National Capital Territory of Delhi", "India", "IN", 10927986),   // 9
        MakePlace("Łódź", "Łódź Voivodeship", "Poland", "PL", 768755),                        // 10
        MakePlace("Twin", "A", "Nowhere", "NW", 0),                                           // 11
        MakePlace("Twin", "B", "Nowhere", "NW", 0),                                           // 12
        MakePlace("Paris", "Île-de-France Region", "France", "FR", 2138551),                  // 13
        MakePlace("Paris", "Texas", "United States of America", "US", 24782),                 // 14
        MakePlace("Malkapur", "Maharashtra", "India", "IN", 55000),                           // 15
        MakePlace("Malkāpur", "Madhya Pradesh", "India", "IN", 60000),                        // 16
        MakePlace("Burgdorf, Hanover", "Lower Saxony", "Germany", "DE", 30000),               // 17
        MakePlace("Burgdorf", "Bern", "Switzerland", "CH", 40000),                            // 18
        MakePlace("Tenfold", "Larger", "Nowhere", "NW", 1000),                                // 19
        MakePlace("Tenfold", "Smaller", "Nowhere", "NW", 100),                                // 20
        MakePlace("Ninefold", "Larger", "Nowhere", "NW", 999),                                // 21
        MakePlace("Ninefold", "Smaller", "Nowhere", "NW", 100),                               // 22
        MakePlace("Zürichberg", "Zurich", "Switzerland", "CH", 5000000),                      // 23
    });
    return index;
}

TEST(FoldForSearch, AccentsCaseAndPunctuation) {
    const struct {
        const char* typed;
        const char* folded;
    } cases[] = {
        {"Zürich", "zurich"},
        {"ZURICH", "zurich"},
        {"São Paulo", "sao paulo"},
        {"sao-paulo", "sao paulo"},
        {"Łódź", "lodz"},
        {"Straße", "strasse"},
        {"  New   Delhi ", "new delhi"},
        {"Ærøskøbing", "aeroskobing"},
        {"", ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(FoldForSearch(QString::fromUtf8(row.typed)).toStdString(), row.folded)
            << "typed " << row.typed;
    }
}

TEST(ParsePlaceQuery, PartsAtCommas) {
    const struct {
        const char* text;
        const char* city;
        const char* state;
        const char* country;
    } cases[] = {
        {"London", "London", "", ""},
        {" London , England ", "London", "England", ""},
        {"New Delhi, Delhi, India", "New Delhi", "Delhi", "India"},
        {"A, B, C, D", "A", "B,C", "D"},
    };
    for (const auto& row : cases) {
        const PlaceQuery query = ParsePlaceQuery(QString::fromUtf8(row.text));
        EXPECT_EQ(query.city.toStdString(), row.city) << row.text;
        EXPECT_EQ(query.state.toStdString(), row.state) << row.text;
        EXPECT_EQ(query.country.toStdString(), row.country) << row.text;
    }
}

// The first place found for a query, by its index in TestIndex's list.
TEST(PlaceIndexFind, RanksExactNameThenPartsThenPopulation) {
    const struct {
        const char* name;
        const char* text;
        int best;
        int count;
    } cases[] = {
        {"populationBreaksTheTie", "London", 0, 3},
        {"stateBeatsPopulation", "London, Ontario", 1, 3},
        {"countryNameAsSecondPart", "London, Canada", 1, 3},
        {"countryCodeAsSecondPart", "london, ca", 1, 3},
        {"exactNameBeatsPrefixWithParts", "London, Northern Ireland", 0, 3},
        {"prefixFindsLongerNames", "Londond", 2, 1},
        {"accentsFolded", "zurich", 6, 2},
        {"exactNameBeforeLargerPlaceBeginningWithIt", "Zürich", 6, 2},
        {"countryCodeNotTheStartOfTheName", "Zurichberg, CH", 23, 1},
        {"accentsAsSpeltFirst", "Malkāpur", 16, 2},
        {"withoutAccentsAsSpeltFirst", "Malkapur", 15, 2},
        {"commaInTheName", "Burgdorf, Hanover", 17, 2},
        {"commaInTheNameWithCountry", "Burgdorf, Hanover, Germany", 17, 2},
        {"accentsFoldedBothWays", "Sao Paulo, Brazil", 7, 1},
        {"stateWordInsideLongName", "New Delhi, Delhi, India", 8, 1},
        {"exactBeforeLargerPrefix", "Delhi", 9, 1},
        {"lettersWithoutDecomposition", "lodz", 10, 1},
        {"nothing", "Atlantis", -1, 0},
    };
    for (const auto& row : cases) {
        const QList<PlaceMatch> matches =
            TestIndex().Find(ParsePlaceQuery(QString::fromUtf8(row.text)));
        EXPECT_EQ(matches.size(), row.count) << row.name;
        EXPECT_EQ(matches.isEmpty() ? -1 : matches[0].placeIndex, row.best) << row.name;
    }
}

// A city found by its name and by another name that begin alike is listed once, by its name;
// one found only by another name says which; the list's own spelling of a renamed city finds it
// under its name in use now, and the town of that name elsewhere keeps its name.
TEST(PlaceIndexFind, OtherNamesListEachPlaceOnce) {
    const PlaceIndex index({
        MakePlace("Brussels", "Brussels Capital", "Belgium", "BE", 1019022),
        MakePlace("Odessa", "Odes’ka Oblast’", "Ukraine", "UA", 1013159),
        MakePlace("Odessa", "Texas", "United States of America", "US", 118968),
    });
    const QList<PlaceMatch> brussels = index.Find(ParsePlaceQuery(u"Bruss"));
    ASSERT_EQ(brussels.size(), 1);
    EXPECT_EQ(FoundPlaceName(index, brussels[0]).toStdString(), "Brussels");
    const QList<PlaceMatch> bruxelles = index.Find(ParsePlaceQuery(u"bruxelles"));
    ASSERT_EQ(bruxelles.size(), 1);
    EXPECT_EQ(FoundPlaceName(index, bruxelles[0]).toStdString(), "Brussels (Bruxelles)");
    EXPECT_TRUE(bruxelles[0].exactName);
    const QList<PlaceMatch> odessa = index.Find(ParsePlaceQuery(u"Odessa"));
    ASSERT_EQ(odessa.size(), 2);
    EXPECT_EQ(FoundPlaceName(index, odessa[0]).toStdString(), "Odesa (Odessa)");
    EXPECT_EQ(FoundPlaceName(index, odessa[1]).toStdString(), "Odessa");
}

// The names a zone row may call a place by: its country and state, and its M49 subregion when a
// row names that subregion (UN M49: Ukraine is in Eastern Europe, Liberia in Western Africa,
// Finland in Northern Europe, which no row names). Catches a code list read off by one letter.
TEST(ZoneAdviceNames, CountryStateAndNamedSubregion) {
    const struct {
        const char* code;
        const char* subregion;
    } cases[] = {{"UA", "Eastern Europe"},
                 {"BG", "Eastern Europe"},
                 {"SK", "Eastern Europe"},
                 {"LR", "Western Africa"},
                 {"BF", "Western Africa"},
                 {"TG", "Western Africa"},
                 {"FI", ""},
                 {"DE", ""},
                 {"U", ""},
                 {"ua", "Eastern Europe"}};
    for (const auto& row : cases) {
        EXPECT_EQ(ZoneListSubregion(QString::fromLatin1(row.code)).toStdString(), row.subregion)
            << row.code;
    }
    const Place kyiv = MakePlace("Kyiv", "Kyiv City", "Ukraine", "UA", 2797553);
    EXPECT_EQ(ZoneAdviceNames(kyiv).join(u'|').toStdString(), "Ukraine|Kyiv City|Eastern Europe");
}

TEST(ResolvePlace, AmbiguityRule) {
    using Outcome = PlaceResolution::Outcome;
    const struct {
        const char* name;
        const char* text;
        Outcome outcome;
        const char* foundState; // when found
        int candidates;         // when ambiguous
    } cases[] = {
        {"tenTimesLargerWins", "London", Outcome::Found, "England", 0},
        {"likeSizesAreAmbiguous", "Springfield", Outcome::Ambiguous, "", 3},
        {"stateSettlesIt", "Springfield, Illinois", Outcome::Found, "Illinois", 0},
        {"countryLeavesItAmbiguous", "Springfield, United States", Outcome::Ambiguous, "", 3},
        {"unmatchedPartIsNotFound", "London, France", Outcome::NotFound, "", 0},
        {"equalPopulationsAreAmbiguous", "Twin", Outcome::Ambiguous, "", 2},
        {"typedPartsFilterTheCandidates", "Paris, France", Outcome::Found, "Île-de-France Region",
         0},
        {"nothingFound", "Atlantis", Outcome::NotFound, "", 0},
        {"populationExactlyTenTimes", "Tenfold", Outcome::Found, "Larger", 0},
        {"populationJustUnderTenTimes", "Ninefold", Outcome::Ambiguous, "", 2},
        {"exactNameBeforeLargerPlaceBeginningWithIt", "Zurich", Outcome::Found, "Zurich", 0},
        {"countryCodeNotTheStartOfTheName", "Zurich, CH", Outcome::Found, "Zurich", 0},
        {"countryNameStart", "Zurich, Swi", Outcome::Found, "Zurich", 0},
        {"regionOnlyInsideAWord", "London, gland", Outcome::NotFound, "", 0},
        {"countryOnlyInsideAWord", "Paris, rance", Outcome::NotFound, "", 0},
        {"speltWithAccents", "Malkāpur", Outcome::Found, "Madhya Pradesh", 0},
        {"speltWithoutAccents", "malkapur", Outcome::Found, "Maharashtra", 0},
        {"foldedSpellingOfNeither", "Malkâpur", Outcome::Ambiguous, "", 2},
        {"commaInTheName", "Burgdorf, Hanover", Outcome::Found, "Lower Saxony", 0},
        {"commaInTheNameAndItsState", "Burgdorf, Hanover, Lower Saxony", Outcome::Found,
         "Lower Saxony", 0},
        {"commaReadAsStateStillWorks", "Burgdorf, Bern", Outcome::Found, "Bern", 0},
    };
    for (const auto& row : cases) {
        const PlaceResolution resolution =
            ResolvePlace(TestIndex(), ParsePlaceQuery(QString::fromUtf8(row.text)));
        EXPECT_EQ(resolution.outcome, row.outcome) << row.name;
        if (row.outcome == Outcome::Found) {
            ASSERT_NE(resolution.place, nullptr) << row.name;
            EXPECT_EQ(resolution.place->state, QString::fromUtf8(row.foundState)) << row.name;
        }
        EXPECT_EQ(resolution.candidates.size(), row.candidates) << row.name;
    }
    // The candidates come best first: the larger Springfield before the smaller.
    const PlaceResolution springfield = ResolvePlace(TestIndex(), ParsePlaceQuery(u"Springfield"));
    ASSERT_EQ(springfield.candidates.size(), 3);
    EXPECT_EQ(springfield.candidates[0]->state, "Missouri");
    EXPECT_EQ(springfield.candidates[2]->state, "Illinois");
}

TEST(BoxCoordinates, RoundedToTheMinuteWithinTheBoxes) {
    const struct {
        const char* name;
        double degrees;
        bool longitude;
        int boxDegrees;
        int boxMinutes;
        bool secondHemisphere;
        const char* shown;
    } cases[] = {
        {"delhiEast", 77.22445, true, 77, 13, false, "77°13′E"},
        {"londonWest", -0.12574, true, 0, 8, true, "0°08′W"},
        {"halfMinuteRoundsUp", 10.0 + 29.5 / 60.0, false, 10, 30, false, "10°30′N"},
        {"justBelowHalfRoundsDown", 10.0 + 29.49 / 60.0, false, 10, 29, false, "10°29′N"},
        {"carryIntoNextDegree", -(33.0 + 59.5 / 60.0), false, 34, 0, true, "34°00′S"},
        {"tinyWestIsZeroEast", -0.001, true, 0, 0, false, "0°00′E"},
        {"dateLineStaysInTheBox", 179.999, true, 179, 59, false, "179°59′E"},
        {"poleStaysInTheBox", -89.9999, false, 89, 59, true, "89°59′S"},
    };
    for (const auto& row : cases) {
        const BoxCoordinate box =
            row.longitude ? LongitudeForBoxes(row.degrees) : LatitudeForBoxes(row.degrees);
        EXPECT_EQ(box.degrees, row.boxDegrees) << row.name;
        EXPECT_EQ(box.minutes, row.boxMinutes) << row.name;
        EXPECT_EQ(box.secondHemisphere, row.secondHemisphere) << row.name;
        EXPECT_EQ((row.longitude ? BoxCoordinateText(box, u'E', u'W')
                                 : BoxCoordinateText(box, u'N', u'S'))
                      .toStdString(),
                  row.shown)
            << row.name;
    }
}

// The system's list: the places the command's examples name.
TEST(SystemPlaces, KnownPlacesResolve) {
    const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
    if (!source) {
        GTEST_SKIP() << "this build has no libgeonames place list";
    }
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*source);
    EXPECT_GT(index->places().size(), 20000);
    // Coordinates as GeoNames gives them (geonames.org, the places 2643743, 6058560, 1261481,
    // 3448439 and 1283240), read through the library unchanged.
    const struct {
        const char* text;
        const char* zone;
        const char* country;
        double latitudeDegrees;
        double longitudeDegrees;
    } cases[] = {
        {"London", "Europe/London", "GB", 51.50853, -0.12574},
        {"London, Ontario", "America/Toronto", "CA", 42.98339, -81.23304},
        {"New Delhi, India", "Asia/Kolkata", "IN", 28.63576, 77.22445},
        {"New Delhi, Delhi, India", "Asia/Kolkata", "IN", 28.63576, 77.22445},
        {"sao paulo", "America/Sao_Paulo", "BR", -23.5475, -46.63611},
        {"Kathmandu", "Asia/Kathmandu", "NP", 27.70169, 85.3206},
    };
    for (const auto& row : cases) {
        const PlaceResolution found =
            ResolvePlace(*index, ParsePlaceQuery(QString::fromUtf8(row.text)));
        ASSERT_EQ(found.outcome, PlaceResolution::Outcome::Found) << row.text;
        EXPECT_EQ(found.place->zoneId.toStdString(), row.zone) << row.text;
        EXPECT_EQ(found.place->countryCode.toStdString(), row.country) << row.text;
        EXPECT_NEAR(found.place->latitudeDegrees, row.latitudeDegrees, 1e-4) << row.text;
        EXPECT_NEAR(found.place->longitudeDegrees, row.longitudeDegrees, 1e-4) << row.text;
    }
    EXPECT_EQ(ResolvePlace(*index, ParsePlaceQuery(u"Springfield")).outcome,
              PlaceResolution::Outcome::Ambiguous);
    // Names the list spells with accents beside the same name without, and with a comma of
    // their own, each found as typed.
    for (const char* typed : {"Malkāpur", "Malkapur", "Burgdorf, Hanover", "Kyiv"}) {
        const PlaceResolution found =
            ResolvePlace(*index, ParsePlaceQuery(QString::fromUtf8(typed)));
        ASSERT_EQ(found.outcome, PlaceResolution::Outcome::Found) << typed;
        EXPECT_EQ(found.place->name, QString::fromUtf8(typed));
    }
}

// The names people write for cities the list names otherwise, each found in the system's list
// as the one city it names. The rows are those that must work; their source is the renamings
// and own-language names of the cities themselves. Catches a table row that misses its city (a
// spelling the list does not use) and an index that does not search other names.
TEST(SystemPlaces, OtherNamesFindTheirCity) {
    const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
    if (!source) {
        GTEST_SKIP() << "this build has no libgeonames place list";
    }
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*source);
    const struct {
        const char* typed;
        const char* found;
        const char* country;
    } cases[] = {
        {"Bombay", "Mumbai", "IN"},
        {"Calcutta", "Kolkata", "IN"},
        {"Madras", "Chennai", "IN"},
        {"Bangalore", "Bengaluru", "IN"},
        {"Poona", "Pune", "IN"},
        {"Benares", "Varanasi", "IN"},
        {"Kiev", "Kyiv", "UA"},
        {"Kharkov", "Kharkiv", "UA"},
        {"Odessa, Ukraine", "Odesa", "UA"},
        {"Köln", "Cologne", "DE"},
        {"München", "Munich", "DE"},
        {"Wien", "Vienna", "AT"},
        {"Praha", "Prague", "CZ"},
        {"Peking", "Beijing", "CN"},
        {"Saigon", "Ho Chi Minh City", "VN"},
        {"Rangoon", "Yangon", "MM"},
        // the name in use now, where the list spells it the old way
        {"Odesa", "Odesa", "UA"},
    };
    for (const auto& row : cases) {
        const PlaceResolution resolved =
            ResolvePlace(*index, ParsePlaceQuery(QString::fromUtf8(row.typed)));
        ASSERT_EQ(resolved.outcome, PlaceResolution::Outcome::Found) << row.typed;
        EXPECT_EQ(resolved.place->name.toStdString(), row.found) << row.typed;
        EXPECT_EQ(resolved.place->countryCode.toStdString(), row.country) << row.typed;
        // The finder's first row names the city as found and as typed.
        const QList<PlaceMatch> listed = index->Find(ParsePlaceQuery(QString::fromUtf8(row.typed)));
        ASSERT_FALSE(listed.isEmpty()) << row.typed;
        const QString typedCity = ParsePlaceQuery(QString::fromUtf8(row.typed)).city;
        const std::string expected =
            typedCity == QString::fromUtf8(row.found)
                ? std::string(row.found)
                : std::string(row.found) + " (" + typedCity.toStdString() + ")";
        EXPECT_EQ(FoundPlaceName(*index, listed.first()).toStdString(), expected) << row.typed;
    }
    // Alone, the old name lists the renamed city first, before the smaller town of that name.
    const QList<PlaceMatch> odessa = index->Find(ParsePlaceQuery(u"Odessa"));
    ASSERT_GE(odessa.size(), 2);
    EXPECT_EQ(FoundPlaceName(*index, odessa[0]).toStdString(), "Odesa (Odessa)");
    EXPECT_EQ(index->place(odessa[1]).countryCode.toStdString(), "US");
    // Every row of the table names a city of the list, in its country.
    for (const OtherPlaceNamesRow& row : OtherPlaceNamesTable()) {
        const QString current = QString::fromUtf8(row.names).section(u'|', 0, 0);
        bool found = false;
        for (int at = 0; at < index->places().size(); ++at) {
            const Place& place = index->places()[at];
            found = found || (place.name == current &&
                              place.countryCode == QString::fromLatin1(row.countryCode) &&
                              !index->otherNames(at).isEmpty());
        }
        EXPECT_TRUE(found) << row.names;
    }
}

// Every zone the place list names loads and gives an offset within 15 hours; the list names
// some by old names (all of Ukraine by Europe/Kiev).
TEST(SystemPlaces, EveryZoneOfThePlaceListLoads) {
    const std::unique_ptr<PlaceSource> source = SystemPlaceSource();
    if (!source) {
        GTEST_SKIP() << "this build has no libgeonames place list";
    }
    const std::shared_ptr<const PlaceIndex> index = LoadPlaceIndex(*source);
    QSet<QByteArray> zones;
    for (const Place& place : index->places()) {
        zones.insert(place.zoneId);
    }
    EXPECT_GT(zones.size(), 300);
    for (const QByteArray& id : zones) {
        const auto zone = ZoneHistory::ForZone(id);
        ASSERT_NE(zone, nullptr) << id.toStdString() << ": "
                                 << ZoneHistory::Refusal(id).toStdString();
        const int offset = zone->ReadLocalTime({1990, 8, 15}, {12, 0}).offset.offsetSeconds;
        EXPECT_LE(std::abs(offset), 15 * 3600) << id.toStdString();
    }
}

} // namespace
