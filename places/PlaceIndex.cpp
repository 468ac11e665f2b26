#include "places/PlaceIndex.h"

#include "places/OtherPlaceNames.h"

#include <QChar>
#include <QHash>

#include <algorithm>
#include <tuple>

namespace {

// Letters without a canonical decomposition, spelt the way their languages transliterate them.
QStringView SpeltOut(char32_t letter) {
    switch (letter) {
    case U'ß':
        return u"ss";
    case U'ø':
    case U'Ø':
        return u"o";
    case U'ł':
    case U'Ł':
        return u"l";
    case U'đ':
    case U'Đ':
        return u"d";
    case U'æ':
    case U'Æ':
        return u"ae";
    case U'œ':
    case U'Œ':
        return u"oe";
    case U'ı':
        return u"i";
    case U'þ':
    case U'Þ':
        return u"th";
    default:
        return {};
    }
}

// " words " of a folded text, for matching at word starts.
QString Padded(const QString& folded) {
    return folded.isEmpty() ? QString() : u' ' + folded + u' ';
}

// The typed part is the beginning of a run of whole words of the region name, or its code.
bool RegionMatches(const QString& foldedTyped, const QString& paddedRegion) {
    return !foldedTyped.isEmpty() && paddedRegion.contains(u' ' + foldedTyped);
}

} // namespace

QString FoldForSearch(QStringView text) {
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    bool blankPending = false;
    for (const char32_t letter : QStringView(decomposed).toUcs4()) {
        if (QChar::category(letter) == QChar::Mark_NonSpacing) {
            continue;
        }
        if (!QChar::isLetterOrNumber(letter)) {
            blankPending = !folded.isEmpty();
            continue;
        }
        if (blankPending) {
            folded += u' ';
            blankPending = false;
        }
        const QStringView spelt = SpeltOut(letter);
        if (!spelt.isEmpty()) {
            folded += spelt;
        } else {
            folded += QString::fromUcs4(&letter, 1).toCaseFolded();
        }
    }
    return folded;
}

namespace {

// The parts after the city, as ParsePlaceQuery reads them.
PlaceQuery PartsToQuery(const QStringList& parts) {
    PlaceQuery query;
    query.city = parts.value(0);
    if (parts.size() == 2) {
        query.state = parts[1];
    } else if (parts.size() >= 3) {
        query.country = parts.constLast();
        query.state = parts.mid(1, parts.size() - 2).join(u',');
    }
    return query;
}

QStringList SplitAtCommas(QStringView text) {
    QStringList parts;
    for (const QStringView part : text.split(u',')) {
        parts.append(part.trimmed().toString());
    }
    return parts;
}

} // namespace

PlaceQuery ParsePlaceQuery(QStringView text) {
    PlaceQuery query = PartsToQuery(SplitAtCommas(text));
    if (text.contains(u',')) {
        query.wholeText = text.trimmed().toString();
    }
    return query;
}

PlaceIndex::PlaceIndex(QList<Place> places) : places_(std::move(places)) {
    otherNames_ = AddOtherPlaceNames(places_);
    names_.reserve(static_cast<std::size_t>(places_.size()));
    regions_.reserve(static_cast<std::size_t>(places_.size()));
    for (int index = 0; index < places_.size(); ++index) {
        const Place& place = places_[index];
        names_.push_back({FoldForSearch(place.name), index, -1});
        for (int other = 0; other < otherNames_[index].size(); ++other) {
            names_.push_back({FoldForSearch(otherNames_[index][other]), index, other});
        }
        regions_.push_back({Padded(FoldForSearch(place.state)),
                            Padded(FoldForSearch(place.country)),
                            place.countryCode.toCaseFolded()});
    }
    std::sort(names_.begin(), names_.end(), [](const NameKey& left, const NameKey& right) {
        return left.foldedName < right.foldedName;
    });
}

void PlaceIndex::AddMatches(QList<PlaceMatch>& matches, const QString& typedCity,
                            const QString& typedState, const QString& typedCountry,
                            bool prefixes) const {
    const QString city = FoldForSearch(typedCity);
    const QString typedName = typedCity.trimmed();
    if (city.isEmpty()) {
        return;
    }
    const QString state = FoldForSearch(typedState);
    const QString country = FoldForSearch(typedCountry);
    // A state typed without a country may be either.
    const bool stateMayBeCountry = country.isEmpty();
    auto at = std::lower_bound(
        names_.begin(), names_.end(), city,
        [](const NameKey& key, const QString& typed) { return key.foldedName < typed; });
    for (; at != names_.end() && at->foldedName.startsWith(city); ++at) {
        PlaceMatch match;
        match.placeIndex = at->placeIndex;
        match.exactName = at->foldedName.size() == city.size();
        if (!match.exactName && !prefixes) {
            continue;
        }
        const Place& place = places_[at->placeIndex];
        if (at->otherName >= 0) {
            match.otherName = otherNames_[at->placeIndex][at->otherName];
        }
        match.exactSpelling = (at->otherName >= 0 ? match.otherName : place.name)
                                  .compare(typedName, Qt::CaseInsensitive) == 0;
        const FoldedRegion& region = regions_[static_cast<std::size_t>(at->placeIndex)];
        if (!state.isEmpty()) {
            ++match.partsTyped;
            if (RegionMatches(state, region.state) ||
                (stateMayBeCountry &&
                 (RegionMatches(state, region.country) || state == region.countryCode))) {
                ++match.partsMatched;
            }
        }
        if (!country.isEmpty()) {
            ++match.partsTyped;
            if (RegionMatches(country, region.country) || country == region.countryCode) {
                ++match.partsMatched;
            }
        }
        matches.append(match);
    }
}

namespace {

// A place found by its name and by another name, or by two other names, is listed once: by the
// exact name over a beginning, then by more typed parts matched, then spelt as typed, then by its
// own name.
void KeepOneMatchPerPlace(QList<PlaceMatch>& matches) {
    const auto rank = [](const PlaceMatch& match) {
        return std::tuple(match.exactName, match.partsMatched, match.exactSpelling,
                          match.otherName.isEmpty());
    };
    QHash<int, qsizetype> kept; // place → its match in `unique`
    QList<PlaceMatch> unique;
    unique.reserve(matches.size());
    for (PlaceMatch& match : matches) {
        const auto found = kept.constFind(match.placeIndex);
        if (found == kept.constEnd()) {
            kept.insert(match.placeIndex, unique.size());
            unique.append(std::move(match));
        } else if (rank(match) > rank(unique[*found])) {
            unique[*found] = std::move(match);
        }
    }
    matches = std::move(unique);
}

} // namespace

QList<PlaceMatch> PlaceIndex::Find(const PlaceQuery& query, int limit) const {
    if (limit <= 0) {
        return {};
    }
    QList<PlaceMatch> matches;
    AddMatches(matches, query.city, query.state, query.country, true);
    // A name with commas of its own: the first two, three... parts as the whole name, the rest
    // as state and country.
    const QStringList parts = SplitAtCommas(query.wholeText);
    for (qsizetype nameParts = 2; nameParts <= parts.size(); ++nameParts) {
        const PlaceQuery rest = PartsToQuery(QStringList{QString()} + parts.mid(nameParts));
        QList<PlaceMatch> whole;
        AddMatches(whole, parts.mid(0, nameParts).join(QStringLiteral(", ")), rest.state,
                   rest.country, false);
        matches.append(whole); // a place found both ways keeps its exact whole name
    }

    KeepOneMatchPerPlace(matches);

    const auto better = [this](const PlaceMatch& left, const PlaceMatch& right) {
        if (left.exactName != right.exactName) {
            return left.exactName;
        }
        if (left.allPartsMatched() != right.allPartsMatched()) {
            return left.allPartsMatched();
        }
        if (left.partsMatched != right.partsMatched) {
            return left.partsMatched > right.partsMatched;
        }
        if (left.exactSpelling != right.exactSpelling) {
            return left.exactSpelling;
        }
        const qint64 leftPopulation = places_[left.placeIndex].population;
        const qint64 rightPopulation = places_[right.placeIndex].population;
        if (leftPopulation != rightPopulation) {
            return leftPopulation > rightPopulation;
        }
        return left.placeIndex < right.placeIndex; // the source's order, for a stable result
    };
    const qsizetype kept = std::min<qsizetype>(limit, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + kept, matches.end(), better);
    matches.resize(kept);
    return matches;
}

std::shared_ptr<const PlaceIndex> LoadPlaceIndex(const PlaceSource& source) {
    return std::make_shared<const PlaceIndex>(source.ReadPlaces());
}

PlaceResolution ResolvePlace(const PlaceIndex& index, const PlaceQuery& query) {
    // Every match: the typed parts are a filter here, so the ranking sees all candidates.
    const QList<PlaceMatch> all = index.Find(query, static_cast<int>(index.places().size()));
    const bool anySpeltAsTyped = std::any_of(all.begin(), all.end(), [](const PlaceMatch& match) {
        return match.allPartsMatched() && match.exactSpelling;
    });
    QList<PlaceMatch> matches;
    for (const PlaceMatch& match : all) {
        if (match.allPartsMatched() && (match.exactSpelling || !anySpeltAsTyped)) {
            matches.append(match);
        }
    }
    PlaceResolution resolution;
    if (matches.isEmpty()) {
        return resolution;
    }
    if (matches.size() >= 2) {
        const PlaceMatch& first = matches[0];
        const PlaceMatch& second = matches[1];
        const qint64 larger = index.place(first).population;
        const qint64 smaller = index.place(second).population;
        if (first.exactName == second.exactName && first.partsMatched == second.partsMatched &&
            (larger < clearPopulationRatio * smaller || larger == smaller)) {
            resolution.outcome = PlaceResolution::Outcome::Ambiguous;
            for (qsizetype at = 0;
                 at < std::min<qsizetype>(ambiguousCandidateCount, matches.size()); ++at) {
                resolution.candidates.append(&index.place(matches[at]));
            }
            return resolution;
        }
    }
    resolution.outcome = PlaceResolution::Outcome::Found;
    resolution.place = &index.place(matches[0]);
    return resolution;
}
