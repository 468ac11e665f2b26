#include "app/ScreenReaderNames.h"

#include "chart/ChartState.h"

#include <array>
#include <utility>

namespace {

// How a picture's name speaks of each body.
constexpr std::array<const char*, displayedBodyCount> symbolNames = {
    "Symbol of the Sun", "Symbol of the Moon", "Symbol of Mercury", "Symbol of Venus",
    "Symbol of Mars",    "Symbol of Jupiter",  "Symbol of Saturn",  "Symbol of Uranus",
    "Symbol of Neptune", "Symbol of Pluto"};

// The value labels of a tab with their captions, which the descriptions repeat.
constexpr std::pair<const char*, const char*> valueLabels[] = {
    {"lblPosition", "Position"},
    {"lblDecanateName", "Decanate Name"},
    {"lblDecanateSign", "Decanate Sign"},
    {"lblRulingPlanet", "Ruling Planet"},
    {"lblRulingElement", "Ruling Element"},
    {"lblConstellationName", "Constellation Name"},
    {"lblKeyword", "Keyword"},
    {"lblTreeZodiac", "Tree Zodiac"},
    {"lblDecanateSignDesc", "More About Sign"},
};

QString Element(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

AccessibleNames ScreenReaderNamesOfResultWindow() {
    AccessibleNames names = {
        {"SSTab1", "Planets", "One page for each planet: its symbol, position and decanate"},
        {"qt_tabwidget_tabbar", "Planet tabs", "One tab for each planet"},
        {"Label19", "Jupiter", "Link: opens the page about co-branding in the web browser"},
        {"cmdOK", "Back", "Back to the birth details"},
        {"cmdExit", "Exit", {}},
        {"cboSecondChart", "Second chart",
         "The chart beside the birth chart: the decanate chart or the Navamsa"},
    };
    for (int body = 0; body < displayedBodyCount; ++body) {
        const QString bodyName = QString::fromLatin1(bodyNames[static_cast<std::size_t>(body)]);
        names.push_back({Element("picPlanet", body),
                         QString::fromLatin1(symbolNames[static_cast<std::size_t>(body)]),
                         {}});
        // The values keep their text as their name, so that it is what a screen reader reads;
        // the accessible description says which value of which planet it is.
        for (const auto& [label, caption] : valueLabels) {
            names.push_back({Element(label, body),
                             {},
                             QStringLiteral("%1 of %2").arg(QLatin1String(caption), bodyName)});
        }
    }
    const AccessibleNames offers = OfferScreenReaderNames();
    names.insert(names.end(), offers.begin(), offers.end());
    return names;
}
