#pragma once

#include "places/Place.h"

#include <QList>

#include <memory>

// Where the place list comes from. The index reads it once; a test supplies a small list of its
// own through ListPlaceSource.
class PlaceSource {
  public:
    virtual ~PlaceSource() = default;
    // Every place, in the source's order. May take a fraction of a second; call it off the
    // start-up path.
    virtual QList<Place> ReadPlaces() const = 0;
};

// A fixed list of places.
class ListPlaceSource : public PlaceSource {
  public:
    explicit ListPlaceSource(QList<Place> places) : places_(std::move(places)) {}
    QList<Place> ReadPlaces() const override { return places_; }

  private:
    QList<Place> places_;
};

// The system's place list, or null when this build has none; callers then fall back to the web
// search.
std::unique_ptr<PlaceSource> SystemPlaceSource();
