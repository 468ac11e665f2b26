#pragma once

#include "app/Reading.h"
#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "decanates/modVedicDecanates.h"

#include <QFont>
#include <QMainWindow>
#include <QSize>
#include <QString>

#include <array>

class ChartPanel;
class ImageList;
class QCheckBox;
class QTabWidget;
class QCloseEvent;
class QLabel;
class QPixmap;
class QTimer;

// What one result window measured that the next can take as it is: the size of a body's page,
// which does not depend on the chart (the description's room is made for the longest one).
// Kept by the window's owner.
struct ResultPageMeasures {
    QSize sizeHint;
    QSize minimumSize;
    int descriptionHeight = 0; // the longest description's height at its narrowest
    QFont font;                // the application's font they were measured in
};

// The result window: one tab per displayed body with its picture, position and decanate texts.
// Created on first use by its owner, unloaded (deleted) by Back and Exit.
class frmDisplay : public QMainWindow {
    Q_OBJECT
  public:
    // With `measures` holding sizes, the body pages take them rather than measuring their
    // texts again; without, they measure (see pageMeasures).
    explicit frmDisplay(QWidget* parent = nullptr, const ResultPageMeasures* measures = nullptr);

    // The sizes of the body pages as their layouts make them, for the next window.
    ResultPageMeasures pageMeasures() const;

    // Element i (0..9) of the label arrays, as named on the tabs. Other indices are ignored.
    void setPositionCaption(int body, const QString& text);
    // picPlanet_i shows the picture.
    void setBodyPicture(int body, const QPixmap& picture);
    // The eight decanate captions of tab i, from one record.
    void setDecanateCaptions(int body, const DecanateResult& result);
    // Whether the window is being unloaded by Back (the input window comes back at once).
    bool isGoingBack() const { return goingBack_; }
    // The line below the banner that says whose chart this is.
    void setChartHeader(const QString& text);
    // The line under it that names the calculation (SettingsSummary); also in Copy Reading and
    // the printout.
    void setCalculationText(const QString& text);
    // The quiet line at the foot of tab i (0..9): its drekkana sign under every scheme.
    void setDrekkanaLine(int body, const QString& text);
    // The name a printout is offered under, without ".pdf" (ReadingFileStem); a saved chart's
    // name starts with it too.
    void setPrintName(const QString& stem);
    // Shows a text in the status line, for `timeoutMs` (0: until the next text).
    void showStatus(const QString& text, int timeoutMs);

    // The chart diagrams: the cells of the birth and decanate charts and their title (person,
    // date, place) for saving and printing.
    void setCharts(const ChartContents& birth, const ChartContents& decanate,
                   const ChartContents& navamsa, const QString& title);
    // Folds the chart panel away (chkShowCharts unticked) when the window's frame, `frameExtra`
    // larger than the window, would not fit in `available` with it; with the panel, the window
    // takes the size its layout asks for.
    void foldChartsToFit(const QRect& available, const QSize& frameExtra);

  signals:
    // Back: the window has been unloaded and the input window is wanted again.
    void backRequested();
    // Form_Unload: the window is closing, by Back, Exit or the close box.
    void unloaded();
    void aboutRequested();
    // Tools > Calculation Settings.
    void settingsRequested();
    // File > Save Birth: the entries behind this chart are to be saved.
    void saveBirthRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void cmdOK_Click();
    void cmdExit_Click();
    void mnuFileBack_Click();
    void mnuExit_Click();
    void mnuCopyReading_Click();
    void mnuPrint_Click();

  private:
    // The controls of one body's tab.
    struct BodyTab {
        QLabel* picPlanet = nullptr;
        // lblPosition, lblDecanateName ... lblDecanateSignDesc, in caption order.
        std::array<QLabel*, readingFieldCaptions.size()> fields{};
        QLabel* drekkana = nullptr; // lblDrekkana_i
    };

    QWidget* createBanner();
    QWidget* createTabs();
    QWidget* createBodyTab(int body);
    QWidget* createCommandStrip();
    QWidget* createChartPanel();
    // Gives the window the size its layout asks for, within `available` less the window's frame
    // (`frameExtra` larger than the window).
    void takeWantedSize(const QRect& available, const QSize& frameExtra);
    void createMenus();
    void arrangeTabOrder();
    // Writes field `field` (caption order) of a body's tab, in the reading and on its label.
    void showField(int body, std::size_t field, const QString& text);
    // Everything the window shows, as one reading, from the results it was given.
    Reading reading() const;

    QLabel* lblChartHeader = nullptr;
    QLabel* lblCalculation = nullptr;
    QTabWidget* SSTab1 = nullptr;
    ChartPanel* fraCharts = nullptr;
    QCheckBox* chkShowCharts = nullptr;
    QLabel* lblStatus = nullptr; // the status line: confirms what a menu command did
    QTimer* statusClearing = nullptr;
    std::array<BodyTab, displayedBodyCount> tabs_;
    // The results as written into the window: the header and each body's fields.
    QString header_;
    QString calculation_;
    std::array<BodyReading, displayedBodyCount> bodies_;
    std::array<QWidget*, displayedBodyCount> pages_{};
    const ResultPageMeasures* measures_ = nullptr;
    int descriptionHeight_ = 0;
    bool goingBack_ = false;
};

// The decanate stage: determines the decanates of positionText 0..9 into decanateResults, then
// for each body sets picture i + 1 of `pictures` and the eight decanate captions on the
// result window. A body whose sign is not recognised keeps what it showed.
void fillDecanates(const ChartState& chart, DecanateResults& decanateResults, frmDisplay& window,
                   const ImageList* pictures);
