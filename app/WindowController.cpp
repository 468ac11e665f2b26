#include "app/WindowController.h"

#include "astro/Retrograde.h"

#include "app/CalculationDriver.h"
#include "app/ImageList.h"
#include "app/Reading.h"
#include "app/frmAbout.h"
#include "app/frmBirths.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"
#include "app/frmPlaceFinder.h"
#include "app/frmSettings.h"
#include "chart/ChartState.h"
#include "charts/ChartCells.h"
#include "links/modHelp.h"
#include "places/PlaceSource.h"
#include "precise/PreciseEngine.h"
#include "promo/frmExit.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QScreen>
#include <QString>

namespace {

// Shows the window on top, restored if it was minimised, and gives it the keyboard.
void PresentWindow(QWidget* window) {
    if (window->isMinimized()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

WindowController::WindowController(QObject* parent)
    : QObject(parent), settings_(KeptCalculationSettings()) {}

WindowController::~WindowController() {
    ending_ = true; // closing what is left shows nothing else
    for (QWidget* window :
         {static_cast<QWidget*>(result_.data()), static_cast<QWidget*>(input_.data()),
          static_cast<QWidget*>(exit_.data())}) {
        delete window;
    }
}

void WindowController::start() {
    // The input window deletes itself when it is closed.
    input_ = new frmMain;
    input_->setCalculationSettings(settings_);
    connect(input_, &frmMain::calculated, this, &WindowController::showResults);
    connect(input_, &frmMain::settingsRequested, this, [this] { showSettings(input_); });
    connect(input_, &frmMain::closed, this, &WindowController::inputWindowClosed);
    connect(input_, &frmMain::aboutRequested, this, [this] { ShowAboutWindow(input_); });
    connect(input_, &frmMain::placeLookupRequested, this, &WindowController::showPlaceFinder);
    // The finder fills in the input window; without it the finder goes too.
    connect(input_, &frmMain::closed, this, [this] {
        if (finder_) {
            finder_->close();
        }
    });
    connect(input_, &frmMain::openBirthsRequested, this, &WindowController::showBirths);
    connect(input_, &frmMain::birthsRestored, this, [this] {
        if (births_) {
            births_->refresh();
        }
    });
    // Save Birth in the result window saves the input window's entries: it says so there too.
    connect(input_, &frmMain::statusShown, this, [this](const QString& text, int timeoutMs) {
        if (result_ && result_->isVisible()) {
            result_->showStatus(text, timeoutMs);
        }
    });
    connect(input_, &frmMain::birthMomentChanged, this, [this](QDate date, QTime time) {
        if (finder_) {
            finder_->setBirthMoment(date, time);
        }
    });
    // It opens in the middle of the screen, not where a window manager's placement would put it
    // (a corner of an empty desktop, say).
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        CentreWindowOver(input_, screen->availableGeometry(), screen, QRect());
    }
    input_->show();
}

void WindowController::usePlaceSource(std::shared_ptr<const PlaceSource> source) {
    placeSource_ = std::move(source);
}

void WindowController::showPlaceFinder(const PlaceFinderRequest& request) {
    if (!placeSource_) {
        placeSource_ = std::shared_ptr<const PlaceSource>(SystemPlaceSource());
    }
    if (!*placeSource_) {
        RunGuardedStep([&] { SearchTheWeb(request.searchText); });
        return;
    }
    if (!finder_) {
        finder_ = std::make_unique<frmPlaceFinder>(*placeSource_);
        connect(finder_.get(), &frmPlaceFinder::placeChosen, this,
                [this](const PlaceChoice& choice) {
                    if (input_) {
                        input_->usePlace(choice);
                        PresentWindow(input_); // the finder has closed; the keyboard goes back
                    }
                });
    }
    finder_->showRequest(request);
    if (!finder_->isVisible() && input_) {
        // Where it covers none of the input window's boxes, on its screen.
        PlaceWindowClearOf(finder_.get(), input_->frameGeometry(), input_->placeBoxesOnScreen(),
                           input_->screen(), FrameMargins(input_));
    }
    PresentWindow(finder_.get());
}

void WindowController::showBirths(BirthLibrary& library) {
    if (!input_) {
        return;
    }
    if (!births_) {
        births_ = new frmBirths(library, input_);
        connect(births_, &frmBirths::birthChosen, this, [this](const SavedBirth& birth) {
            if (input_) {
                input_->useBirth(birth);
                PresentWindow(input_); // the births window has closed; the keyboard goes back
            }
        });
    }
    births_->refresh();
    if (!births_->isVisible()) {
        // Clear of the input window, or at least of its name and date boxes, within its screen's
        // available area.
        PlaceWindowClearOf(births_, input_->frameGeometry(), input_->nameAndDateOnScreen(),
                           input_->screen(), FrameMargins(input_));
    }
    PresentWindow(births_);
}

void WindowController::endProgram() {
    if (ending_) {
        return; // a window closed below asked again
    }
    ending_ = true;
    closeAllAndEnd();
    ending_ = false;
}

void WindowController::bringForward() {
    // An open about window or message box is where the user works.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        PresentWindow(modal);
        return;
    }
    for (QWidget* window :
         {static_cast<QWidget*>(exit_.data()), static_cast<QWidget*>(result_.data()),
          static_cast<QWidget*>(input_.data())}) {
        if (window && window->isVisible()) {
            PresentWindow(window);
            return;
        }
    }
}

// The calculation's last steps, each guarded on its own: the positions into the result window
// (created by this first write), the decanates and pictures, then the windows.
void WindowController::showResults(const ChartState& chart, const ImageList* pictures,
                                   const ChartHeaderFields& who) {
    frmDisplay* display = nullptr;
    RunGuardedStep([&] {
        display = resultWindow();
        display->setChartHeader(ChartHeaderText(who, chart));
        display->setCalculationText(who.calculation);
        display->setPrintName(ReadingFileStem(who.name, chart));
        const RetrogradeFlags retrograde = RetrogradeBodies(chart);
        display->setCharts(
            ComputeChartContents(chart, ChartKind::Birth, retrograde),
            ComputeChartContents(chart, ChartKind::Decanate, retrograde, who.drekkana),
            ComputeChartContents(chart, ChartKind::Navamsa, retrograde),
            ChartTitleText(who, chart));
        for (int body = 0; body < displayedBodyCount; ++body) {
            const std::string& position = chart.positionText[static_cast<std::size_t>(body)];
            display->setPositionCaption(body, QString::fromStdString(position));
            display->setDrekkanaLine(body,
                                     QString::fromStdString(DrekkanaLine(position, who.drekkana)));
        }
    });
    RunGuardedStep([&] {
        if (display) {
            fillDecanates(chart, decanateResults_, *display, pictures);
        }
    });
    RunGuardedStep([&] {
        if (display) {
            // The result opens where the input window is, on the same screen.
            if (input_ && input_->isVisible()) {
                // On a small screen the chart panel folds away, so that the tabs fit.
                const QRect margins = FrameMargins(input_);
                display->foldChartsToFit(
                    input_->screen()->availableGeometry(),
                    QSize(margins.left() + margins.right(), margins.top() + margins.bottom()));
                inputFrameTopLeft_ = input_->frameGeometry().topLeft();
                inputScreen_ = input_->screen();
                inputFrameMargins_ = margins;
                PlaceWindow(display, inputFrameTopLeft_, input_->screen(), margins);
                resultPutAt_ = display->geometry().topLeft();
            }
            PresentWindow(display); // the keyboard follows, as the input window goes away
            if (!resultPageMeasures_.sizeHint.isValid()) {
                resultPageMeasures_ = display->pageMeasures();
            }
        }
    });
    RunGuardedStep([&] { hideExitWindow(); });
    if (input_) {
        WithdrawWindow(input_); // hidden, not closed: the entries stay for the way back
    }
}

// Back: the result window has unloaded itself (which showed the exit window); the input window
// comes back with its entries and the exit window goes away again.
void WindowController::goBack() {
    if (input_) {
        // Where it stood, not where the result window was fitted onto the screen (further left
        // or up when it is larger). A hidden window has no frame to measure: the one it had when
        // it was hidden counts.
        if (resultLeftAt_ == resultPutAt_ && lastResultScreen_ == inputScreen_) {
            // To the pixel, also where the window manager kept it partly past the screen's edge.
            PutWindowBack(input_, inputFrameTopLeft_, inputFrameMargins_);
        } else {
            PlaceWindow(input_,
                        ReturningFrameTopLeft(inputFrameTopLeft_, resultPutAt_, resultLeftAt_),
                        lastResultScreen_, inputFrameMargins_);
        }
        PresentWindow(input_);
    }
    hideExitWindow();
}

void WindowController::resultWindowUnloaded() {
    QPointer<frmDisplay> unloaded = result_;
    if (result_) {
        resultLeftAt_ = result_->geometry().topLeft();
        lastResultScreen_ = result_->screen();
    }
    result_ = nullptr; // its deletion is deferred; the next calculation builds a new one
    if (!ending_) {
        // On Back the input window takes over at once: the exit window is shown and hidden in
        // this same step, without ever reaching the screen.
        showExitWindow(unloaded, !(unloaded && unloaded->isGoingBack()));
    }
}

void WindowController::inputWindowClosed() {
    if (!ending_) {
        RunGuardedStep([this] { showExitWindow(input_, true); });
    }
}

void WindowController::showSettings(QWidget* over) {
    // Asked only now: the precise engine's module is loaded when this window first opens.
    const PreciseAvailability precise = PreciseEngineAvailability();
    frmSettings settings(settings_, QString::fromStdString(precise.missing), over);
    connect(&settings, &frmSettings::settingsChanged, this,
            [this](const CalculationSettings& chosen) {
                settings_ = chosen;
                KeepCalculationSettings(chosen);
                if (input_) {
                    input_->setCalculationSettings(chosen);
                    // The reading on the screen follows the new settings.
                    if (result_ && result_->isVisible()) {
                        input_->cmdRashi_Click();
                    }
                }
            });
    settings.exec();
}

frmDisplay* WindowController::resultWindow() {
    if (!result_) {
        if (resultPageMeasures_.font != QApplication::font()) {
            resultPageMeasures_ = {}; // the desktop's font changed: measured afresh
        }
        result_ = new frmDisplay(nullptr, &resultPageMeasures_);
        connect(result_, &frmDisplay::backRequested, this, &WindowController::goBack);
        connect(result_, &frmDisplay::unloaded, this, &WindowController::resultWindowUnloaded);
        frmDisplay* display = result_;
        connect(result_, &frmDisplay::aboutRequested, this,
                [display] { ShowAboutWindow(display); });
        connect(result_, &frmDisplay::settingsRequested, this,
                [this, display] { showSettings(display); });
        connect(result_, &frmDisplay::saveBirthRequested, this, [this] {
            if (input_) {
                input_->mnuSaveBirth_Click(); // the entries behind the chart
            }
        });
    }
    return result_;
}

frmExit* WindowController::exitWindow() {
    if (!exit_) {
        exit_ = new frmExit;
        connect(exit_, &frmExit::closed, this, [this] {
            exit_ = nullptr; // closing it ends the program; it is not handed out again
            endProgram();
        });
    }
    return exit_;
}

void WindowController::showExitWindow(const QWidget* replaced, bool onScreen) {
    frmExit* window = exitWindow();
    if (window->isVisible()) {
        return;
    }
    window->setAttribute(Qt::WA_DontShowOnScreen, !onScreen);
    if (onScreen) {
        // Over the window it replaces, centred on it.
        if (replaced) {
            CentreWindowOver(window, replaced->frameGeometry(), replaced->screen(),
                             FrameMargins(replaced));
        } else {
            ShrinkToScreen(window);
        }
    }
    window->show();
}

void WindowController::hideExitWindow() {
    // Its window-system window goes too, also the one made when it was shown off the screen on
    // Back: kept, it would be placed and mapped later as an old window is (see WithdrawWindow).
    WithdrawWindow(exitWindow());
}
