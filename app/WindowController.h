#pragma once

#include "app/frmDisplay.h"
#include "decanates/modVedicDecanates.h"
#include "precise/CalculationSettings.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class ImageList;
class QScreen;
class QWidget;
class BirthLibrary;
class frmBirths;
class frmDisplay;
class frmExit;
class frmMain;
class frmPlaceFinder;
class PlaceSource;
struct PlaceFinderRequest;
struct ChartState;
struct ChartHeaderFields;

// Owns the program's windows and its end. The windows tell it what happened (calculated, Back,
// unloaded, closed, about wanted) and it shows, hides and creates the others; no window knows
// another.
class WindowController : public QObject {
    Q_OBJECT
  public:
    explicit WindowController(QObject* parent = nullptr);
    // Deletes any window still open, so that a controller leaves nothing behind.
    ~WindowController() override;

    // Creates and shows the input window, the first window of every run.
    void start();

    // Unloads every window and ends the event loop. Windows closed meanwhile stay quiet.
    void endProgram();

    // Raises and activates the window the user currently sees (a second copy was started).
    void bringForward();

    // The place list the place finder reads; null for none, so that the place lookup searches
    // the web. Without a call: the system's place list, when this build has one.
    void usePlaceSource(std::shared_ptr<const PlaceSource> source);

  private:
    // The place lookup: the place finder beside the input window, or the web search when there
    // is no place list.
    void showPlaceFinder(const PlaceFinderRequest& request);
    void showResults(const ChartState& chart, const ImageList* pictures,
                     const ChartHeaderFields& who);
    void goBack();
    // The calculation settings window over `over`, modal; each choice is kept and, while the
    // result window is open, recalculates the reading.
    void showSettings(QWidget* over);
    // The births window by the input window, over the input window's library.
    void showBirths(BirthLibrary& library);
    void resultWindowUnloaded();
    void inputWindowClosed();

    // The result window, created hidden on first use and afresh after each unload.
    frmDisplay* resultWindow();
    // The exit promotion window, created hidden on first use.
    frmExit* exitWindow();
    // Shows the exit window centred over the window it replaces (still open); when not
    // `onScreen`, it is shown without reaching the screen (it is hidden again at once).
    void showExitWindow(const QWidget* replaced, bool onScreen);
    void hideExitWindow();

    QPointer<frmMain> input_;
    QPointer<frmDisplay> result_;
    QPointer<frmExit> exit_;
    // A child of the input window, whose library it reads: it goes when that window goes.
    QPointer<frmBirths> births_;
    // Kept once made, so that the place list is read once per run.
    std::unique_ptr<frmPlaceFinder> finder_;
    std::optional<std::shared_ptr<const PlaceSource>> placeSource_;
    DecanateResults decanateResults_;
    // Where the input window's frame stood, and how thick it was, when a result window replaced
    // it; where that result window was put and where it was left (the insides' top-left
    // corners, which the window manager keeps as asked), and on which screen: the input window
    // comes back where it stood, moved as far as the user moved the result window.
    QPoint inputFrameTopLeft_;
    QRect inputFrameMargins_;
    QPointer<QScreen> inputScreen_;
    QPoint resultPutAt_;
    QPoint resultLeftAt_;
    QPointer<QScreen> lastResultScreen_;
    // Measured on the first result window, for every later one.
    ResultPageMeasures resultPageMeasures_;
    CalculationSettings settings_;
    bool ending_ = false;
};
