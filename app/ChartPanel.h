#pragma once

#include "app/Reading.h"
#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"

#include <QFrame>
#include <QString>

#include <array>

class ChartView;
class QAction;
class QComboBox;
class QLabel;
class QRadioButton;

// The chart diagrams beside the result window's tabs (fraCharts): the birth chart and a second
// chart under their captions, and below them the layout choice (optChartStyle_0 South Indian,
// optChartStyle_1 North Indian) and the second chart's (cboSecondChart: the decanate chart or the
// Navamsa), both remembered between runs. The charts' context menu adds Copy Chart (mnuCopyChart:
// both charts as a picture and as text on the clipboard) and the choice to draw Uranus, Neptune
// and Pluto (mnuShowOuterPlanets, on unless turned off, remembered); without them the charts hold
// the nine grahas, and so do their exports.
class ChartPanel : public QFrame {
    Q_OBJECT
  public:
    explicit ChartPanel(QWidget* parent = nullptr);

    // The cells of the birth chart, the decanate chart and the Navamsa, and their caption.
    void setCharts(const ChartContents& birth, const ChartContents& decanate,
                   const ChartContents& navamsa, const QString& title);
    // The stem a saved chart's file name starts with (ReadingFileStem).
    void setFileStem(const QString& stem);
    // The body drawn highlighted in both charts: 0..9, or -1 for none.
    void setHighlightedBody(int body);

    // Both charts as shown: cells, layout and title.
    PrintedCharts charts() const;
    // Puts both charts on the clipboard as shown: a PNG picture as every export draws it, and
    // the title with each chart's caption and cell lines as text.
    void copyCharts();
    const QString& fileStem() const;

  signals:
    // A body's label was clicked in either chart: 0..9 (the Ascendant has no tab).
    void bodyClicked(int body);
    // Copy Chart put the charts on the clipboard.
    void chartsCopied();

  private:
    void useChartStyle(ChartStyle style);
    // Shows the birth chart, and the chart cboSecondChart chooses in the second diagram under its
    // caption, with or without the outer planets as mnuShowOuterPlanets says.
    void showCharts();

    ChartView* picBirthChart = nullptr;
    ChartView* picDecanateChart = nullptr; // the second diagram: D-3 or D-9
    QLabel* lblSecondChart = nullptr;      // its caption, lblDecanateChart
    QComboBox* cboSecondChart = nullptr;
    QAction* mnuShowOuterPlanets = nullptr;
    std::array<QRadioButton*, 2> optChartStyle{};
    ChartContents birth_;
    ChartContents decanate_;
    ChartContents navamsa_;
    QString title_;
};
