#pragma once

#include "app/PlaceFinderRows.h"
#include "places/PlaceIndex.h"
#include "places/PlaceSource.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;

// The offline place finder: the places that match the request's text, each with its coordinates
// as the input window takes them, its zone's offset on the birth date and the zone entry that
// gives it. Not modal; the owner shows it for each request and passes on changes of the birth
// date and time. The place list is read, and the rows are made, in worker threads: the window
// thread only shows them and never waits for a zone's history.
class frmPlaceFinder : public QWidget {
    Q_OBJECT
  public:
    explicit frmPlaceFinder(std::shared_ptr<const PlaceSource> source, QWidget* parent = nullptr);
    // Stops the workers between two zones or rows and does not wait for them; what they still
    // finish reports nowhere.
    ~frmPlaceFinder() override;

    // The matches for a request (once the place list is read) at its birth date and time.
    void showRequest(const PlaceFinderRequest& request);
    // Makes the rows' offsets again for another birth date and time.
    void setBirthMoment(QDate birthDate, QTime birthTime);
    // True once the place list is read and the rows shown are those of the last request.
    bool ready() const { return index_ != nullptr && !rowsPending_; }

  signals:
    // The user chose a place with "Use This Place", Return or a double click; the finder has
    // closed.
    void placeChosen(const PlaceChoice& choice);

  public slots:
    void cmdUsePlace_Click();
    void cmdSearchWeb_Click();

  private:
    void indexLoaded();
    void makeRows();
    void showRows(const QList<FinderRow>& rows);
    void updateNote();

    std::shared_ptr<const PlaceSource> source_;
    std::shared_ptr<const PlaceIndex> index_;
    QFutureWatcher<std::shared_ptr<const PlaceIndex>>* loading_ = nullptr;
    // Set when the window goes: the zone reading stops at the next zone.
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
    // Set when the rows being made are no longer wanted (newer ones were asked for, or the
    // window goes): that worker stops at the next row.
    std::shared_ptr<std::atomic<bool>> rowsStop_;
    PlaceFinderRequest request_;
    int rowsRequested_ = 0; // numbers each making of rows; only the last one's are shown
    bool rowsPending_ = false;
    QList<FinderRow> rows_; // as shown

    QTreeWidget* lstPlaces = nullptr;
    QPushButton* cmdUsePlace = nullptr;
    QPushButton* cmdSearchWeb = nullptr;
    QLabel* lblFinderNote = nullptr;
};
