#pragma once

#include "app/PlaceFinderRows.h"
#include "places/PlaceIndex.h"
#include "places/PlaceSource.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;

// The offline place finder: the places that match the place lookup's text, each with its
// coordinates as the input window takes them and its zone's offset on the birth date. Not
// modal; the owner shows it for each lookup and passes on changes of the birth date and time.
// The place list is read in a worker thread the first time a lookup arrives.
class frmPlaceFinder : public QWidget {
    Q_OBJECT
  public:
    explicit frmPlaceFinder(std::shared_ptr<const PlaceSource> source, QWidget* parent = nullptr);
    ~frmPlaceFinder() override;

    // The matches for a lookup (once the place list is read) at its birth date and time.
    void showLookup(const PlaceLookup& lookup);
    // Recomputes the rows' offsets for another birth date and time.
    void setBirthMoment(QDate birthDate, QTime birthTime);
    // True once the place list is read and the rows show the last lookup.
    bool ready() const { return index_ != nullptr; }

  signals:
    // The user chose a place with "Use This Place" or a double click.
    void placeChosen(const PlaceChoice& choice);

  public slots:
    void cmdUsePlace_Click();
    void cmdSearchWeb_Click();

  private:
    void indexLoaded();
    void fillRows();
    void updateNote();

    std::shared_ptr<const PlaceSource> source_;
    std::shared_ptr<const PlaceIndex> index_;
    QFutureWatcher<std::shared_ptr<const PlaceIndex>>* loading_ = nullptr;
    QFuture<void> zonesRead_; // the zone histories read after the place list
    PlaceLookup lookup_;
    QList<PlaceChoice> choices_; // per row
    int inexactRows_ = 0;

    QTreeWidget* lstPlaces = nullptr;
    QPushButton* cmdUsePlace = nullptr;
    QPushButton* cmdSearchWeb = nullptr;
    QLabel* lblFinderNote = nullptr;
};
