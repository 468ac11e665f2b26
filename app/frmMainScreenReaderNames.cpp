#include "app/ScreenReaderNames.h"

AccessibleNames ScreenReaderNamesOfInputWindow() {
    AccessibleNames names = {
        {"txtName", "Name", "The name the chart is for"},
        {"cboMonth", "Month of birth", {}},
        {"cboDate", "Day of birth", {}},
        {"cboYear", "Year of birth", {}},
        {"cboHH", "Hour of birth", "Hour of the local clock time, 0 to 23"},
        {"cboMM", "Minute of birth", {}},
        {"cboSS", "Second of birth", {}},
        {"txtLonD", "Longitude degrees", "Degrees of longitude of the birth place, 0 to 179"},
        {"txtLonM", "Longitude minutes", "Minutes of longitude of the birth place, 0 to 59"},
        {"optLong_0", "East", "Longitude east of Greenwich"},
        {"optLong_1", "West", "Longitude west of Greenwich"},
        {"txtLatD", "Latitude degrees", "Degrees of latitude of the birth place, 0 to 89"},
        {"txtLatM", "Latitude minutes", "Minutes of latitude of the birth place, 0 to 59"},
        {"optLat_0", "North", "Latitude north of the equator"},
        {"optLat_1", "South", "Latitude south of the equator"},
        {"cmbTimeZone", "Time zone", "The time zone of the birth place"},
        {"chkDST", "Daylight Saving Time", "Tick when daylight saving time was in force"},
        {"txtMCity", "City", "City of birth, for looking up its latitude and longitude"},
        {"txtMState", "State", "State of birth, for looking up its latitude and longitude"},
        {"txtMCountry", "Country", "Country of birth, for looking up its latitude and longitude"},
        {"cmdBrowser", "Click Here To Find Latitude & Longitude",
         "Searches the web for the latitude and longitude of the city"},
        {"cmdRashi", "Get My Vedic Astrology Decanates",
         "Calculates the chart and shows the decanate of each planet"},
    };
    const AccessibleNames offers = OfferScreenReaderNames();
    names.insert(names.end(), offers.begin(), offers.end());
    return names;
}

AccessibleNames OfferScreenReaderNames() {
    // The offers keep their own text as their name; their accessible description says where they
    // lead.
    return {
        {"Label61", "Visit the Qorvex astrology discussion board",
         "Link: opens the Qorvex web site in the web browser"},
        {"lblCobrand", "Co-brand this software for your site",
         "Link: opens the page about co-branding in the web browser"},
        {"lblFullBrand", "Home Business Opportunity",
         "Link: opens the page about the fully branded edition in the web browser"},
    };
}
