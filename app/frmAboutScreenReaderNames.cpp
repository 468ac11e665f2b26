#include "app/ScreenReaderNames.h"

AccessibleNames ScreenReaderNamesOfAboutWindow() {
    return {
        {"picIcon", "Korvani program icon", "A zodiac wheel with the crescent Moon"},
        {"lblHomePage", {}, "Link: opens the Qorvex web site in the web browser"},
        {"lblCoBrand", {}, "Link: opens the page about co-branding in the web browser"},
        {"cmdOK", "OK", "Closes this window"},
    };
}
