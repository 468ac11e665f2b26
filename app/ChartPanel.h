#pragma once

#include "app/Reading.h"
#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"

#include <QFrame>
#include <QString>

#include <array>

class ChartView;
class QRadioButton;

// The chart diagrams beside the result window's tabs (fraCharts): the birth and decanate charts
// under their captions, and the layout choice below them (optChartStyle_0 South Indian,
// optChartStyle_1 North Indian), remembered between runs.
class ChartPanel : public QFrame {
    Q_OBJECT
  public:
    explicit ChartPanel(QWidget* parent = nullptr);

    // The cells of the birth and decanate charts and their title (person, date, place).
    void setCharts(const ChartContents& birth, const ChartContents& decanate, const QString& title);
    // The stem a saved chart's file name starts with (ReadingFileStem).
    void setFileStem(const QString& stem);
    // The body drawn highlighted in both charts: 0..9, or -1 for none.
    void setHighlightedBody(int body);

    // Both charts as shown: cells, layout and title.
    PrintedCharts charts() const;
    const QString& fileStem() const;

  signals:
    // A body's label was clicked in either chart: 0..9 (the Ascendant has no tab).
    void bodyClicked(int body);

  private:
    void useChartStyle(ChartStyle style);

    ChartView* picBirthChart = nullptr;
    ChartView* picDecanateChart = nullptr;
    std::array<QRadioButton*, 2> optChartStyle{};
};
