#include "links/modHelp.h"

#include "links/SiteAddresses.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QWidget>

namespace {

QString siteWithPath(const char* site, const char* path) {
    return QString::fromUtf8(site) + QString::fromUtf8(path);
}

} // namespace

QUrl WebPageUrl(WebPage page) {
    switch (page) {
    case WebPage::OnlineHelp:
        return QUrl(siteWithPath(productSiteAddress, "/korvani-help.html"));
    case WebPage::Download:
        return QUrl(siteWithPath(productSiteAddress, "/download-korvani.html"));
    case WebPage::HomePage:
        return QUrl(siteWithPath(makerSiteAddress, "/"));
    case WebPage::Donate:
        return QUrl(siteWithPath(helpSiteAddress, "/donate.html"));
    case WebPage::FullyBranded:
        return QUrl(siteWithPath(helpSiteAddress, "/fully-branded.html"));
    case WebPage::CoBrand:
        return QUrl(siteWithPath(helpSiteAddress, "/co-brand.html"));
    case WebPage::SoftwareCatalogue:
        return QUrl(siteWithPath(makerSiteAddress, "/orvantis"));
    case WebPage::ReferAFriend:
        return QUrl(siteWithPath(makerSiteAddress, "/qorvex-refer-a-friend.php"));
    }
    return {};
}

QString MakerSiteText() {
    return QString::fromUtf8(makerSiteAddress);
}

QString ProductSiteRoot() {
    return siteWithPath(productSiteAddress, "/");
}

void OpenAddress(const QUrl& address) {
    // A browser that does not start is not reported: the click simply has no effect.
    QDesktopServices::openUrl(address);
}

void openWebPage(WebPage page) {
    OpenAddress(WebPageUrl(page));
}

QUrl WebSearchUrl(const QString& searchText) {
    QUrl url(QString::fromUtf8(webSearchAddress));
    // Encode everything but unreserved characters, so "&", "#" or "+" in a place name stay text.
    url.setQuery(QStringLiteral("q=") + QString::fromLatin1(QUrl::toPercentEncoding(searchText)),
                 QUrl::StrictMode);
    return url;
}

void SearchTheWeb(const QString& searchText) {
    OpenAddress(WebSearchUrl(searchText));
}

void closeAllAndEnd() {
    // Take the list first: closing a window may delete it and change the application's list.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        windows.append(window);
    }
    for (const QPointer<QWidget>& window : windows) {
        if (window) {
            window->close();
        }
    }
    QApplication::quit();
}
