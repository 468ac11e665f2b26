#include "app/ScreenReaderNames.h"

AccessibleNames ScreenReaderNamesOfPlaceFinderWindow() {
    return {
        {"lstPlaces", "Matching places",
         "Each place with its coordinates, its offset at the birth and the zone entry to choose"},
        {"cmdUsePlace", "Use This Place",
         "Fills in the coordinates, zone and Daylight Saving box of the input window"},
        {"cmdSearchWeb", "Search The Web", "Looks the place up on the web in the web browser"},
        {"lblFinderNote", "Finder note", {}},
    };
}
