#pragma once

#include "app/BirthFields.h"
#include "app/PlaceFinderRows.h"
#include "app/Reading.h"
#include "chart/ChartState.h"
#include "chart/Validation.h"
#include "precise/CalculationSettings.h"

#include <QMainWindow>

#include <memory>

class BirthLibrary;
class BirthsMenuController;
class FilteredLineEdit;
struct SavedBirth;
class ImageList;
class PlaceOwnTimeEntry;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The input window: birth data, place lookup and the calculation. Created once at program
// start; a calculation hides it with its entries intact. Closing it shows the exit promotion
// window and unloads (deletes) it.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The one chart state of the run.
    const ChartState& chartState() const { return chart_; }

    // Checks the entries; on the first fault shows its message and moves the focus. True when
    // the entries may be used.
    bool validateBirthData();

    // The local birth date and time the lists show, to the minute as the chart takes it; the
    // date is invalid when the lists name no calendar day.
    QDate birthDate() const;
    QTime birthTime() const;

    // Where on the screen the boxes the place finder fills stand: the coordinates with their
    // hemispheres, the zone list and the Daylight Saving box.
    QRect placeBoxesOnScreen() const;
    // Where on the screen the name and date boxes stand, which the births window leaves in view.
    QRect nameAndDateOnScreen() const;

  signals:
    // The entries were valid and the chart state holds the new chart; `pictures` is IMGPlanet,
    // `who` whose chart it is, as the boxes held it.
    void calculated(const ChartState& chart, const ImageList* pictures,
                    const ChartHeaderFields& who);
    // Closing the window: it is unloaded, and the exit promotion window takes over.
    void closed();
    void aboutRequested();
    // Tools > Calculation Settings.
    void settingsRequested();
    // The place lookup's checks passed: the owner finds the place.
    void placeLookupRequested(const PlaceFinderRequest& request);
    // The user changed the birth date or time in the lists.
    void birthMomentChanged(QDate birthDate, QTime birthTime);
    // A text for the status line (see showStatus), e.g. for the window Save Birth was chosen in.
    void statusShown(const QString& text, int timeoutMs);
    // File > Open Birth: the owner shows the births window over this library.
    void openBirthsRequested(BirthLibrary& library);
    // File > Restore Births replaced the library's births.
    void birthsRestored();

  public:
    // What the calculation driver calculates with from now on.
    void setCalculationSettings(const CalculationSettings& settings) { settings_ = settings; }

  public slots:
    // The calculation driver (button cmdRashi and File > mnuNext).
    void cmdRashi_Click();
    // The place lookup.
    void cmdBrowser_Click();
    // Writes a place chosen in the place finder into the coordinate boxes, hemisphere options,
    // zone list and Daylight Saving box, as the user would type it. Nothing else changes.
    void usePlace(const PlaceChoice& choice);
    // File > Save Birth: checks the entries as the calculation does, then saves them under the
    // name, asking before a birth of the same name and date is replaced.
    void mnuSaveBirth_Click();
    // File > Open Birth: opens the library (telling its fault) and asks for the births window.
    void mnuOpenBirth_Click();
    // Writes a saved birth into the fields as the user would type them. When the fields hold
    // entries that are neither the empty form nor the birth last opened or saved, it asks first.
    // A birth known only by its IANA zone gets the place finder's row for its date, and its note.
    void useBirth(const SavedBirth& birth);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* createEntryFields();
    QWidget* createPlaceLookup();
    QWidget* createOffers();
    void createMenus();
    void arrangeTabOrder();
    void Form_Load();
    // What the birth boxes hold: the one place the window reads them.
    BirthFields fields() const { return ReadBirthFields(boxes_); }
    QWidget* focusTargetWidget(FocusTarget target) const;
    SavedBirth birthFromFields() const;
    // The local birth time with its seconds, as the place's own time reads it.
    QTime birthClock() const;
    // The header's words for the chart about to be shown: the name, the place, the zone and the
    // offsets.
    ChartHeaderFields headerFields() const;
    // Shows a text in the status line, for `timeoutMs` (0: until the next text).
    void showStatus(const QString& text, int timeoutMs = 0);

    BirthsMenuController* births_ = nullptr;
    // The fields of the empty form, and of the birth last opened or saved.
    std::unique_ptr<SavedBirth> emptyFields_;
    std::unique_ptr<SavedBirth> lastFields_;
    std::unique_ptr<SavedBirth> savingFields_; // the fields being saved
    // The IANA zone the place finder (or a saved birth) gave, kept while the coordinates, zone
    // row and box still hold what came with it.
    QByteArray knownZoneId_;
    std::unique_ptr<SavedBirth> knownZoneFields_;
    PlaceOwnTimeEntry* ownTime_ = nullptr; // the zone list's "Place's own time" entry

    ChartState chart_;
    CalculationSettings settings_;
    ImageList* IMGPlanet = nullptr;

    BirthBoxes boxes_;

    QComboBox* cboSS = nullptr;
    QPushButton* cmdBrowser = nullptr;
    QPushButton* cmdRashi = nullptr;
};
