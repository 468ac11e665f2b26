#include "places/OtherPlaceNames.h"

#include "places/PlaceIndex.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

namespace {

// Cities whose records often carry another name than the place list: renamed cities (the year
// of the renaming by the government concerned is given), the cities' own-language names where
// the list has the English one, and older romanisations. Compiled by the Korvani developers from
// those public renamings; every row can be checked against the variant names of the GEOnet Names
// Server (US National Geospatial-Intelligence Agency, public domain). The first name of a row is
// the name in use now.
constexpr std::array otherNamesTable = {
    // India
    OtherPlaceNamesRow{"IN", "Mumbai|Bombay"},                 // 1995
    OtherPlaceNamesRow{"IN", "Kolkata|Calcutta"},              // 2001
    OtherPlaceNamesRow{"IN", "Chennai|Madras"},                // 1996
    OtherPlaceNamesRow{"IN", "Bengaluru|Bangalore"},           // 2014
    OtherPlaceNamesRow{"IN", "Pune|Poona"},                    // 1978
    OtherPlaceNamesRow{"IN", "Varanasi|Benares|Banaras"},      // 1956
    OtherPlaceNamesRow{"IN", "Vadodara|Baroda"},               // 1974
    OtherPlaceNamesRow{"IN", "Kanpur|Cawnpore"},               // 1948
    OtherPlaceNamesRow{"IN", "Shimla|Simla"},                  // 1972
    OtherPlaceNamesRow{"IN", "Thiruvananthapuram|Trivandrum"}, // 1991
    OtherPlaceNamesRow{"IN", "Kochi|Cochin"},                  // 1996
    OtherPlaceNamesRow{"IN", "Kozhikode|Calicut"},
    OtherPlaceNamesRow{"IN", "Mysuru|Mysore"},          // 2014
    OtherPlaceNamesRow{"IN", "Mangaluru|Mangalore"},    // 2014
    OtherPlaceNamesRow{"IN", "Belagavi|Belgaum"},       // 2014
    OtherPlaceNamesRow{"IN", "Gurugram|Gurgaon"},       // 2016
    OtherPlaceNamesRow{"IN", "Prayagraj|Allahabad"},    // 2018
    OtherPlaceNamesRow{"IN", "Puducherry|Pondicherry"}, // 2006
    OtherPlaceNamesRow{"IN", "Thanjavur|Tanjore"},
    OtherPlaceNamesRow{"IN", "Tiruchirappalli|Trichinopoly|Trichy"},
    OtherPlaceNamesRow{"IN", "Jabalpur|Jubbulpore"},
    OtherPlaceNamesRow{"IN", "Visakhapatnam|Vizagapatam|Vizag"},
    // Ukraine: Ukrainian romanisation (national system of 2010) against the Russian forms
    OtherPlaceNamesRow{"UA", "Kyiv|Kiev"}, OtherPlaceNamesRow{"UA", "Kharkiv|Kharkov"},
    OtherPlaceNamesRow{"UA", "Odesa|Odessa"}, OtherPlaceNamesRow{"UA", "Lviv|Lvov|Lwów|Lemberg"},
    OtherPlaceNamesRow{"UA", "Dnipro|Dnipropetrovsk|Dnepropetrovsk|Yekaterinoslav"}, // 2016
    OtherPlaceNamesRow{"UA", "Mykolaiv|Mykolayiv|Nikolayev|Nikolaev"},
    OtherPlaceNamesRow{"UA", "Zaporizhzhia|Zaporizhzhya|Zaporozhye"},
    OtherPlaceNamesRow{"UA", "Luhansk|Lugansk|Voroshilovgrad"},
    OtherPlaceNamesRow{"UA", "Kropyvnytskyi|Kirovohrad|Kirovograd|Yelisavetgrad"}, // 2016
    OtherPlaceNamesRow{"UA", "Vinnytsia|Vinnitsa"},
    OtherPlaceNamesRow{"UA", "Chernivtsi|Chernovtsy|Czernowitz"},
    OtherPlaceNamesRow{"UA", "Chernihiv|Chernigov"}, OtherPlaceNamesRow{"UA", "Zhytomyr|Zhitomir"},
    OtherPlaceNamesRow{"UA", "Uzhhorod|Uzhgorod"},
    OtherPlaceNamesRow{"UA", "Khmelnytskyi|Khmelnytskyy|Khmelnitsky|Proskurov"},
    OtherPlaceNamesRow{"UA", "Horlivka|Gorlovka"},
    // Russia and its neighbours
    OtherPlaceNamesRow{"RU", "Moscow|Moskva"},
    OtherPlaceNamesRow{"RU", "Saint Petersburg|St. Petersburg|Leningrad|Petrograd"}, // 1991
    OtherPlaceNamesRow{"RU", "Volgograd|Stalingrad|Tsaritsyn"},                      // 1961
    OtherPlaceNamesRow{"RU", "Yekaterinburg|Ekaterinburg|Sverdlovsk"},               // 1991
    OtherPlaceNamesRow{"RU", "Nizhny Novgorod|Nizhniy Novgorod|Gorky"},              // 1990
    OtherPlaceNamesRow{"RU", "Samara|Kuybyshev|Kuibyshev"},                          // 1991
    OtherPlaceNamesRow{"RU", "Kaliningrad|Königsberg"},                              // 1946
    OtherPlaceNamesRow{"MD", "Chișinău|Kishinev"},
    OtherPlaceNamesRow{"KZ", "Almaty|Alma-Ata"},                      // 1993
    OtherPlaceNamesRow{"KZ", "Astana|Nur-Sultan|Akmola|Tselinograd"}, // 2022
    OtherPlaceNamesRow{"KG", "Bishkek|Frunze"},                       // 1991
    OtherPlaceNamesRow{"GE", "Tbilisi|Tiflis"},
    // Central Europe: the cities' own names beside the English ones of the list
    OtherPlaceNamesRow{"DE", "Cologne|Köln"}, OtherPlaceNamesRow{"DE", "Munich|München"},
    OtherPlaceNamesRow{"DE", "Nuremberg|Nürnberg"}, OtherPlaceNamesRow{"DE", "Hanover|Hannover"},
    OtherPlaceNamesRow{"DE", "Braunschweig|Brunswick"},
    OtherPlaceNamesRow{"DE", "Chemnitz|Karl-Marx-Stadt"}, // 1990
    OtherPlaceNamesRow{"AT", "Vienna|Wien"}, OtherPlaceNamesRow{"CZ", "Prague|Praha"},
    OtherPlaceNamesRow{"PL", "Warsaw|Warszawa"}, OtherPlaceNamesRow{"PL", "Krakow|Cracow"},
    OtherPlaceNamesRow{"PL", "Gdansk|Danzig"}, OtherPlaceNamesRow{"PL", "Wroclaw|Breslau"},
    OtherPlaceNamesRow{"RO", "Bucharest|București"}, OtherPlaceNamesRow{"RS", "Belgrade|Beograd"},
    OtherPlaceNamesRow{"CH", "Geneva|Genève"},
    // Western and Southern Europe
    OtherPlaceNamesRow{"IT", "Rome|Roma"}, OtherPlaceNamesRow{"IT", "Milan|Milano"},
    OtherPlaceNamesRow{"IT", "Naples|Napoli"}, OtherPlaceNamesRow{"IT", "Turin|Torino"},
    OtherPlaceNamesRow{"IT", "Florence|Firenze"}, OtherPlaceNamesRow{"IT", "Venice|Venezia"},
    OtherPlaceNamesRow{"PT", "Lisbon|Lisboa"},
    OtherPlaceNamesRow{"NL", "The Hague|Den Haag|'s-Gravenhage"},
    OtherPlaceNamesRow{"BE", "Brussels|Bruxelles|Brussel"},
    OtherPlaceNamesRow{"BE", "Antwerp|Antwerpen"}, OtherPlaceNamesRow{"DK", "Copenhagen|København"},
    OtherPlaceNamesRow{"SE", "Gothenburg|Göteborg"}, OtherPlaceNamesRow{"GR", "Athens|Athína"},
    OtherPlaceNamesRow{"TR", "Istanbul|Constantinople"}, // 1930
    // Asia and Africa
    OtherPlaceNamesRow{"CN", "Beijing|Peking|Peiping"}, // Hanyu Pinyin, 1958
    OtherPlaceNamesRow{"CN", "Guangzhou|Canton"}, OtherPlaceNamesRow{"CN", "Nanjing|Nanking"},
    OtherPlaceNamesRow{"CN", "Chongqing|Chungking"}, OtherPlaceNamesRow{"CN", "Tianjin|Tientsin"},
    OtherPlaceNamesRow{"VN", "Ho Chi Minh City|Saigon"}, // 1976
    OtherPlaceNamesRow{"MM", "Yangon|Rangoon"},          // 1989
    OtherPlaceNamesRow{"BD", "Dhaka|Dacca"},             // 1982
    OtherPlaceNamesRow{"BD", "Chattogram|Chittagong"},   // 2018
    OtherPlaceNamesRow{"KR", "Busan|Pusan"},             // Revised Romanization, 2000
    OtherPlaceNamesRow{"MN", "Ulaanbaatar|Ulan Bator"},
    OtherPlaceNamesRow{"ID", "Jakarta|Batavia"},           // 1942
    OtherPlaceNamesRow{"ZW", "Harare|Salisbury"},          // 1982
    OtherPlaceNamesRow{"CD", "Kinshasa|Léopoldville"},     // 1966
    OtherPlaceNamesRow{"CD", "Kisangani|Stanleyville"},    // 1966
    OtherPlaceNamesRow{"CD", "Lubumbashi|Élisabethville"}, // 1966
};

} // namespace

std::span<const OtherPlaceNamesRow> OtherPlaceNamesTable() {
    return otherNamesTable;
}

QList<QStringList> AddOtherPlaceNames(QList<Place>& places) {
    QList<QStringList> otherNames(places.size());
    // The places by country and folded name, for the table's few lookups.
    QHash<QString, QList<qsizetype>> byCountryAndName;
    const auto key = [](const QString& countryCode, const QString& name) {
        return countryCode + u'\t' + FoldForSearch(name);
    };
    for (qsizetype at = 0; at < places.size(); ++at) {
        byCountryAndName[key(places[at].countryCode, places[at].name)].append(at);
    }
    for (const OtherPlaceNamesRow& row : otherNamesTable) {
        const QString countryCode = QString::fromLatin1(row.countryCode);
        const QStringList names = QString::fromUtf8(row.names).split(u'|');
        qsizetype largest = -1;
        for (const QString& name : names) {
            for (const qsizetype at : byCountryAndName.value(key(countryCode, name))) {
                if (largest < 0 || places[at].population > places[largest].population) {
                    largest = at;
                }
            }
        }
        if (largest < 0) {
            continue;
        }
        Place& place = places[largest];
        const QString listName = place.name;
        if (FoldForSearch(listName) != FoldForSearch(names.first())) {
            place.name = names.first();
        }
        for (const QString& other : names.mid(1) + QStringList{listName}) {
            if (FoldForSearch(other) != FoldForSearch(place.name) &&
                !otherNames[largest].contains(other)) {
                otherNames[largest].append(other);
            }
        }
    }
    return otherNames;
}
