#pragma once

#include "places/Place.h"
#include "places/PlaceSource.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// Text as the index compares it: accents dropped (é, ü, ã by canonical decomposition; ø, ł, đ,
// æ, œ, ß spelt out), case folded, and every run of punctuation and blanks made one blank.
// "São Paulo" and "sao-paulo" both read "sao paulo".
QString FoldForSearch(QStringView text);

// What the user typed, in parts. A state given without a country may name either the state or
// the country ("London, England", "New Delhi, India").
struct PlaceQuery {
    QString city;
    QString state;
    QString country;
    // The whole text the parts came from, when it was typed in one piece: a place whose own name
    // holds a comma ("Burgdorf, Hanover") is found by its whole name too. Empty otherwise.
    QString wholeText;
};

// "City[, State][, Country]" split at the commas, blanks trimmed. With two parts the second goes
// to `state` and may match the country (see PlaceQuery). More than three parts: the city keeps
// the first, the country the last, the state the rest joined by commas.
PlaceQuery ParsePlaceQuery(QStringView text);

// One place that the query matched, with what it matched.
struct PlaceMatch {
    int placeIndex = -1;        // into PlaceIndex::places()
    bool exactName = false;     // the whole name, not only its beginning
    bool exactSpelling = false; // the whole name as the list spells it, accents included
    int partsMatched = 0;       // typed state and country parts that the place matched
    int partsTyped = 0;         // state and country parts that the query had
    QString otherName;          // the other name that matched ("Bombay"); empty for the name
    bool allPartsMatched() const { return partsMatched == partsTyped; }
};

// The place list with its search index. Built once (LoadPlaceIndex, e.g. in a worker thread);
// immutable afterwards, so any number of threads may query it.
class PlaceIndex {
  public:
    // Gives the places their other names (AddOtherPlaceNames) and indexes both.
    explicit PlaceIndex(QList<Place> places);

    const QList<Place>& places() const { return places_; }
    const Place& place(const PlaceMatch& match) const { return places_[match.placeIndex]; }
    // The former and other names that also find a place ("Bombay" for Mumbai).
    const QStringList& otherNames(int placeIndex) const { return otherNames_[placeIndex]; }

    // The places whose name or one of whose other names equals the typed city or begins with
    // it, once each (by its name when both match alike), best first:
    //   1. the exact name before a name that only begins with it;
    //   2. every typed state and country part matched, then more of them matched;
    //   3. the name spelt as typed, accents included ("Malkāpur" before "Malkapur");
    //   4. the larger population.
    // With the whole text of the query, a place whose own name holds commas matches it exactly.
    // A typed state or country matches when it is the beginning of a whole word run of the
    // place's state or country name, or the country code. At most `limit` matches.
    QList<PlaceMatch> Find(const PlaceQuery& query, int limit = 50) const;

  private:
    // Adds the places whose folded name is `city` (or begins with it, with `prefixes`).
    void AddMatches(QList<PlaceMatch>& matches, const QString& typedCity, const QString& state,
                    const QString& country, bool prefixes) const;
    struct NameKey {
        QString foldedName;
        int placeIndex;
        int otherName; // into the place's other names; -1 for its name
    };
    struct FoldedRegion {
        QString state;   // " word word " with a blank on either side
        QString country; // likewise
        QString countryCode;
    };
    QList<Place> places_;
    QList<QStringList> otherNames_; // by place
    std::vector<NameKey> names_;    // sorted by folded name
    std::vector<FoldedRegion> regions_;
};

// The place's name as the finder lists it: with the other name that found it, "Mumbai (Bombay)".
inline QString FoundPlaceName(const PlaceIndex& index, const PlaceMatch& match) {
    const QString& name = index.place(match).name;
    return match.otherName.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, match.otherName);
}

// Reads the source and builds the index. Slow enough (a fraction of a second) to run off the
// start-up path, for example with QtConcurrent::run; the result can be shared between threads.
std::shared_ptr<const PlaceIndex> LoadPlaceIndex(const PlaceSource& source);

// The outcome of resolving a typed place to one place, as the command does.
struct PlaceResolution {
    enum class Outcome { Found, Ambiguous, NotFound };
    Outcome outcome = Outcome::NotFound;
    const Place* place = nullptr;   // when found
    QList<const Place*> candidates; // when ambiguous: the best, at most five
};

// The best match of the finder's ranking, among the places that match every typed part; when
// some are spelt exactly as typed, among those only. It is ambiguous when the best two tie on
// exact name and on the parts matched, and the larger place
// has less than ten times the population of the other (or both are equal): "London" is London,
// England, but "Springfield" has several of like size.
PlaceResolution ResolvePlace(const PlaceIndex& index, const PlaceQuery& query);

inline constexpr int ambiguousCandidateCount = 5;
inline constexpr qint64 clearPopulationRatio = 10;
