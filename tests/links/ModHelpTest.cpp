#include "links/modHelp.h"
#include "links/SiteAddresses.h"
#include "support/Capture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

enum class Site { Product, Maker, Help };

struct PageCase {
    const char* name;
    WebPage page;
    Site site;
    const char* path;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

// Scheme and host of a site as the build configured them.
QString origin(Site site) {
    switch (site) {
    case Site::Product:
        return QString::fromUtf8(productSiteAddress);
    case Site::Maker:
        return QString::fromUtf8(makerSiteAddress);
    case Site::Help:
        return QString::fromUtf8(helpSiteAddress);
    }
    return {};
}

class PageAddresses : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageAddresses, siteAndExactPath) {
    const PageCase& c = GetParam();
    const QUrl url = WebPageUrl(c.page);
    ASSERT_TRUE(url.isValid()) << "page " << c.name;
    EXPECT_TRUE(url.scheme() == "https" || url.scheme() == "http") << "page " << c.name;
    EXPECT_FALSE(url.host().isEmpty()) << "page " << c.name;
    EXPECT_EQ(url.path(), c.path) << "page " << c.name;
    EXPECT_FALSE(url.hasQuery()) << "page " << c.name;
    EXPECT_FALSE(url.hasFragment()) << "page " << c.name;
    EXPECT_EQ(url.toString(), origin(c.site) + c.path) << "page " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageAddresses,
    ::testing::Values(
        PageCase{"OnlineHelp", WebPage::OnlineHelp, Site::Product, "/korvani-help.html"},
        PageCase{"Download", WebPage::Download, Site::Product, "/download-korvani.html"},
        PageCase{"HomePage", WebPage::HomePage, Site::Maker, "/"},
        PageCase{"Donate", WebPage::Donate, Site::Help, "/donate.html"},
        PageCase{"FullyBranded", WebPage::FullyBranded, Site::Help, "/fully-branded.html"},
        PageCase{"CoBrand", WebPage::CoBrand, Site::Help, "/co-brand.html"},
        PageCase{"SoftwareCatalogue", WebPage::SoftwareCatalogue, Site::Maker, "/orvantis"},
        PageCase{"ReferAFriend", WebPage::ReferAFriend, Site::Maker, "/qorvex-refer-a-friend.php"}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST(SiteAddresses, sitesAreBareOrigins) {
    for (Site site : {Site::Product, Site::Maker, Site::Help}) {
        const QUrl url(origin(site), QUrl::StrictMode);
        EXPECT_TRUE(url.isValid()) << origin(site).toStdString();
        EXPECT_FALSE(url.host().isEmpty()) << origin(site).toStdString();
        EXPECT_TRUE(url.path().isEmpty()) << origin(site).toStdString();
    }
    EXPECT_EQ(ProductSiteRoot(), origin(Site::Product) + '/');
    EXPECT_EQ(MakerSiteText(), origin(Site::Maker));
    // The three sites differ, so that a page sent to the wrong site is caught above.
    EXPECT_NE(origin(Site::Product), origin(Site::Maker));
    EXPECT_NE(origin(Site::Product), origin(Site::Help));
    EXPECT_NE(origin(Site::Maker), origin(Site::Help));
}

TEST(OpenWebPage, opensExactlyThePageOnce) {
    for (WebPage page : {WebPage::OnlineHelp, WebPage::Download, WebPage::HomePage, WebPage::Donate,
                         WebPage::FullyBranded, WebPage::CoBrand, WebPage::SoftwareCatalogue,
                         WebPage::ReferAFriend}) {
        UrlCapture urls;
        openWebPage(page);
        ASSERT_EQ(urls.urls.size(), 1u) << "page " << static_cast<int>(page);
        EXPECT_EQ(urls.urls[0], WebPageUrl(page)) << "page " << static_cast<int>(page);
    }
}

struct SearchCase {
    const char* name;
    QString text;
};

void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.name;
}

class WebSearch : public ::testing::TestWithParam<SearchCase> {};

// The search text arrives whole as the one query item "q", however it is spelled.
TEST_P(WebSearch, searchTextArrivesWhole) {
    const SearchCase& c = GetParam();
    const QUrl url = WebSearchUrl(c.text);
    ASSERT_TRUE(url.isValid()) << "case " << c.name;
    EXPECT_EQ(url.adjusted(QUrl::RemoveQuery), WebSearchUrl("x").adjusted(QUrl::RemoveQuery))
        << "case " << c.name;
    EXPECT_FALSE(url.hasFragment()) << "case " << c.name;
    const auto items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    ASSERT_EQ(items.size(), 1) << "case " << c.name;
    EXPECT_EQ(items[0].first, "q") << "case " << c.name;
    EXPECT_EQ(items[0].second, c.text) << "case " << c.name;
    // Reparsing the address as a browser would gives the same text.
    const QUrl reparsed(url.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    EXPECT_EQ(QUrlQuery(reparsed).queryItemValue("q", QUrl::FullyDecoded), c.text)
        << "case " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WebSearch,
    ::testing::Values(SearchCase{"cityStateCountry", "Pune Maharashtra India"},
                      SearchCase{"ampersandHashPlus", "Tom & Jerry #1 + 2=3?"},
                      SearchCase{"percent", "100% sure %41"},
                      SearchCase{"nonAscii", QString::fromUtf8("Zoë Köln Österreich")},
                      SearchCase{"empty", ""}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

TEST(WebSearch, encodesAsUtf8) {
    EXPECT_TRUE(
        WebSearchUrl(QString::fromUtf8("Zoë")).toString(QUrl::FullyEncoded).endsWith("q=Zo%C3%AB"));
}

// A window that records how it was closed.
class RecordingWindow : public QWidget {
  public:
    int closes = 0;

  protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        event->accept();
    }
};

TEST(CloseAllAndEnd, closesEveryWindowHiddenOnesTooAndQuits) {
    RecordingWindow shown;
    shown.show();
    RecordingWindow hidden;
    hidden.show();
    hidden.hide();
    RecordingWindow neverShown;
    auto* deleting = new RecordingWindow;
    deleting->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> deletingWatch = deleting;

    QTimer::singleShot(0, [] { closeAllAndEnd(); });
    // Only turns a hang into a failure; a passing run never waits for it.
    QTimer hang;
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    hang.start(60000);
    EXPECT_EQ(QApplication::exec(), 0) << "the event loop did not quit";
    hang.stop();

    for (const RecordingWindow* window : {&shown, &hidden, &neverShown}) {
        EXPECT_EQ(window->closes, 1);
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(deletingWatch.isNull()) << "a window that deletes itself on close stays";
}

} // namespace
