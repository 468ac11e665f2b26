#pragma once

#include <QString>
#include <QUrl>

// The fixed web pages the program opens in the default browser.
enum class WebPage {
    OnlineHelp,        // product site, /korvani-help.html
    Download,          // product site, /download-korvani.html
    HomePage,          // maker's main site, root
    Donate,            // maker's help site, /donate.html
    FullyBranded,      // maker's help site, /fully-branded.html
    CoBrand,           // maker's help site, /co-brand.html
    SoftwareCatalogue, // maker's main site, /orvantis
    ReferAFriend,      // maker's main site, /qorvex-refer-a-friend.php
};

// The full address of a page.
QUrl WebPageUrl(WebPage page);

// The maker's main site as shown to the user, e.g. in the about window.
QString MakerSiteText();

// The root address of the product's web site, ending in "/".
QString ProductSiteRoot();

// Opens a page in the default browser. The outcome is not examined.
void openWebPage(WebPage page);

// Opens any address in the default browser; every page, search and referral goes through here.
void OpenAddress(const QUrl& address);

// The address of a web search for the text, on the search site set when the program is
// configured (KORVANI_SEARCH_URL).
QUrl WebSearchUrl(const QString& searchText);

// The place lookup's web search: opens WebSearchUrl(searchText) in the default browser. The one
// way every window looks a place up on the web.
void SearchTheWeb(const QString& searchText);

// Closes every top-level window in the order the application lists them, hidden ones included,
// and then quits the event loop. The window controller calls it once and keeps the windows'
// close handlers from showing another window meanwhile.
void closeAllAndEnd();
