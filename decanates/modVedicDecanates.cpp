#include "decanates/modVedicDecanates.h"

#include "astro/PositionText.h"

#include <algorithm>
#include <charconv>

// The interpretation of the 36 decanates, by decanate (first, second, third) and by the sign
// the body stands in (Aries to Pisces). The texts are shown exactly as written here, trailing
// blanks and the odd spelling included.
const std::array<std::array<DecanateRow, signCount>, 3> decanateTables = {{
    // First decanate: 0 to under 10 degrees of the sign.
    {{
        {"Aries",
         "You may steal from the rich and help the poor. You will be very generous and prosperous. "
         "You may get into a lot of quarrels but will also have a charming personality.",
         "Mars", "Fire", "Triangulum", "Activity", "The Oak tree"}, // Aries
        {"Taurus",
         "You will have material pleasures but will suffer from having peace of mind. You may be "
         "controlled by your spouse.",
         "Venus", "Earth", "Lepus", "Determination", "The Nut tree"}, // Taurus
        {"Gemini",
         "You will be physically fit and active. You will be prosperous and wealthy and interested "
         "in sports.",
         "Mercury", "Air", "The Great Bear", "Intuition", "Ash tree"}, // Gemini
        {"Cancer",
         "You will be religious and intelligent. You will be fortunate and prosperous in life.",
         "The Moon", "Water", "Canes Minor", "Whim", "Birch tree, Apple tree"}, // Cancer
        {"Leo",
         "You will be unconventional and liberal. You will have many friends and have a lot of "
         "wealth. You will maintain good relations with your bosses as well as your juniors.",
         "The Sun", "Fire", "Crater", "Leadership", "Cypress tree"}, // Leo
        {"Virgo",
         "You will have good speaking skills and be modest by nature. You will be well-liked and "
         "well established in life. ",
         "Mercury", "Earth", "Bootes", "Fulfilment", "Pine tree"}, // Virgo
        {"Libra",
         "You will spread love and happiness. You will be learned and skillful by nature. You will "
         "love traveling.",
         "Venus", "Air", "Serpens", "Politics", "Olive tree, Almond tree"}, // Libra
        {"Scorpio",
         "You will have a firm and friendly nature. You will have a violent temper and always "
         "ready to fight.",
         "Pluto and Mars", "Water", "Ophiuchus", "Resources", "Nut tree"}, // Scorpio
        {"Sagittarius",
         "You will do well in life only because of your own hard work. You will be good natured "
         "and liked by everyone.",
         "Jupiter", "Fire", "Lyra", "Piety", "Ash tree"}, // Sagittarius
        {"Capricorn",
         "You will be enthusiastic and charming by nature. Your diplomacy will make you very "
         "successful in life.",
         "Saturn", "Earth", "Cygnus (Swan)", "Organizing", "Beech tree, Apple tree,"}, // Capricorn
        {"Aquarius",
         "You will have name, fame, fortune and happiness. You will be dutiful and honorable. You "
         "will have a charismatic personality.",
         "Uranus and Saturn", "Air", "Equuleus", "Originality", "Cypress tree"}, // Aquarius
        {"Pisces",
         "You will be well learned and helpful by nature. Your modest nature will be well liked by "
         "people and thus you will have many friends.",
         "Neptune and Jupiter", "Water", "Cepheus", "Truth", "Pine tree"}, // Pisces
    }},
    // Second decanate: 10 to under 20 degrees.
    {{
        {"Leo",
         "You will work for the welfare of the society. You will be wise and intelligent and very "
         "decisive by nature.",
         "The Sun", "Fire", "Centaurus", "Reform", "Poplar-tree"}, // Aries
        {"Virgo",
         "You will be very bold and outgoing. You will live in foreign places and be interested in "
         "the creative arts. You will be well versed and skilled in different forms of arts.",
         "Mercury", "Earth", "Hercules", "Experience", "Willow"}, // Taurus
        {"Libra", "You will be a good conversationalist and known for your courage and valor.",
         "Venus", "Air", "Draco", "Independence", "Service-tree"}, // Gemini
        {"Scorpio",
         "You will like good food and spend a lot of money on luxuries. You will enjoy someone "
         "else's wealth. You will also be interested in creative arts like dance, music and "
         "painting.",
         "Pluto and Mars", "Water", "Ara", "Responsibility", "Poplar-tree"}, // Cancer
        {"Sagittarius",
         "You will be knowledgeable and a good speaker. You will be religious and have an affable "
         "nature.",
         "Jupiter", "Fire", "Aquila", "Exploring", "Hornbeam-tree"}, // Leo
        {"Capricorn",
         "You may have some health problems related to your feet. You will always look at ways of "
         "gaining money from others.",
         "Saturn", "Earth", "Delphinus (Dolphin)", "Martyrdom", "Pine-tree"}, // Virgo
        {"Aquarius",
         "You will be skillful and earn money from entertaining others. You will have many "
         "friends.",
         "Uranus and Saturn", "Air", "Pegasus", "Inspiration", "Poplar-tree"}, // Libra
        {"Pisces",
         "You will love the material pleasures in life in the form of food, clothing, luxuries and "
         "jewelry. Your charismatic and magnetic personality will gain you many admirers. ",
         "Neptune and Jupiter", "Water", "Andromeda", "Self sacrifice", "Willow"}, // Scorpio
        {"Aries",
         "You will be interested in the opposite sex. You will waste time in useless pleasures and "
         "friends. You may be good looking.",
         "Mars", "Fire", "Eridanus", "Exaltation", "Service tree"}, // Sagittarius
        {"Taurus",
         "You will be good looking and attractive. You will be wealthy and prosperous. You will "
         "also be clever and intelligent.",
         "Venus", "Earth", "Orion", "Effort", "Poplar-tree"}, // Capricorn
        {"Gemini",
         "You will be a dreamer in life. Your health may not be very good. Your mind will waver "
         "between different thoughts.",
         "Mercury", "Air", "Canes Majo", "Fidelity", "Ash-tree"}, // Aquarius
        {"Cancer",
         "You will be stingy and give a lot of importance to money. You will love the company of "
         "the opposite sex and may not be very decisive.",
         "The Moon", "Water", "Hydra", "Revelation", "Fir-tree"}, // Pisces
    }},
    // Third decanate: 20 to 30 degrees.
    {{
        {"Sagittarius",
         "You will take care of your relatives. You will gain fame, wealth and prosperity. You "
         "will be skilled and well liked.",
         "Jupiter", "Fire", "Sagitta", "Illumination", "Fig tree"}, // Aries
        {"Capricorn", "You will lead a sad life and be afflicted with a lot of problems.", "Saturn",
         "Earth", "Pisces Australis", "Idealistic", "Elm-tree"}, // Taurus
        {"Aquarius",
         "You will not think twice before taking the help of unlawful means for your own benefit.",
         "Uranus and Saturn", "Air", "Cetus", "Repressive", "Date-tree"}, // Gemini
        {"Pisces", "You will be very generous and helpful and skilled in creative arts.",
         "Neptune and Jupiter", "Water", "Cassiopeia", "Hardship", "Lime-tree"}, // Cancer
        {"Aries",
         "You may be able and virtuous. You will be noble and righteous. You may not be very much "
         "interested in education.",
         "Mars", "Fire", "Perseus", "Promotion", "Maple-tree"}, // Leo
        {"Taurus",
         "You may be hard working and skillful but not very fortunate. You will be brave but never "
         "too rich.",
         "Venus", "Earth", "Auriga", "Masterliness", "Chestnut-tree"}, // Virgo
        {"Gemini", "You will hate the opposite sex and will have an unstable income.", "Mercury",
         "Air", "The Great Bear", "Sense", "Fig tree"}, // Libra
        {"Cancer",
         "You will earn wealth and be influenced by the opposite sex. You will love all the "
         "luxurious and material comforts of life.",
         "The Moon", "Water", "Argo", "Research", "Elm-tree"}, // Scorpio
        {"Leo",
         "You will find it difficult to part with your money. You may be intelligent but have no "
         "feelings for others.",
         "The Sun", "Fire", "Corvus", "Ambition", "Date-tree"}, // Sagittarius
        {"Virgo", "You will enjoy music and all kinds of pleasures.", "Mercury", "Earth",
         "Corona Borealis", "Giving-up", "Lime-tree"}, // Capricorn
        {"Libra", "You will be indecisive and ready to forgo your friends for material gains.",
         "Venus", "Air", "Lupus", "Expiation", "Maple-tree"}, // Aquarius
        {"Scorpio",
         "You will cause a lot of problems to others and take pleasure in other people's "
         "suffering.",
         "Pluto and Mars", "Water", "Corona Australis", "Talent", "Chestnut-tree"}, // Pisces
    }},
}};

std::optional<int> SignOfPositionText(const std::string& positionText) {
    if (positionText.size() < 6) {
        return std::nullopt;
    }
    const int sign = SignOfAbbreviation(positionText.data() + 3);
    return sign < 0 ? std::nullopt : std::optional<int>(sign);
}

namespace {

// Decanate index (0 first, 1 second, 2 third) from the whole degrees in characters 1 and 2; the
// minutes are not looked at.
std::size_t DecanateOfPositionText(const std::string& positionText) {
    const int degrees = WholeDegreesOfPositionText(positionText);
    if (degrees < 10) {
        return 0;
    }
    if (degrees < 20) {
        return 1;
    }
    return 2;
}

} // namespace

int WholeDegreesOfPositionText(const std::string& positionText) {
    int degrees = 0;
    const char* first = positionText.data();
    const char* last = first + std::min<std::size_t>(positionText.size(), 2);
    std::from_chars(first, last, degrees);
    return degrees;
}

std::optional<DecanatePlace> FindDecanate(const std::string& positionText) {
    const std::optional<int> sign = SignOfPositionText(positionText);
    if (!sign) {
        return std::nullopt;
    }
    return DecanatePlace{DecanateOfPositionText(positionText), static_cast<std::size_t>(*sign)};
}

// Assigns field by field, so the strings keep their storage from one chart to the next.
void AssignDecanate(DecanateResult& result, DecanatePlace place) {
    const DecanateRow& row = decanateTables[place.decanate][place.sign];
    result.decanateName = decanateNames[place.decanate];
    result.decanateSign = row.decanateSign;
    result.description = row.description;
    result.rulingPlanet = row.rulingPlanet;
    result.rulingElement = row.rulingElement;
    result.constellationName = row.constellation;
    result.keyword = row.keyword;
    result.treeZodiac = row.treeZodiac;
}

void DetermineDecanates(const ChartState& chart, DecanateResults& decanateResults) {
    for (std::size_t i = 0; i < decanateResults.size(); ++i) {
        if (const auto place = FindDecanate(chart.positionText[i])) {
            AssignDecanate(decanateResults[i], *place);
        }
    }
}
