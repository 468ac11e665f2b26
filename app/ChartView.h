#pragma once

#include "charts/ChartCells.h"
#include "charts/ChartGeometry.h"
#include "chartview/ChartPainter.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QAction;

// One chart diagram of the result window (picBirthChart, picDecanateChart), drawn by the chart
// painter in the widget's palette and font. It keeps the layout it last painted: a click on a
// body's label reports the body (Rahu and Ketu, which have no tab, show their position in a
// tooltip); every cell has a tooltip with its sign and each body's position; the pointer is a
// hand over a body. From the keyboard, Tab gives it the focus (a frame shows it), the arrow keys
// move from body to body, Return opens the body, and the Menu key or Shift+F10 opens the context
// menu, which saves the chart as PNG or SVG and offers the actions its owner adds.
class ChartView : public QWidget {
    Q_OBJECT
  public:
    ChartView(ChartKind kind, QWidget* parent = nullptr);

    // The cells to show and the title (person, date, place) a saved chart carries.
    void setContents(const ChartContents& contents, const QString& title);
    // The name a saved chart is offered under comes from this stem and the chart's caption
    // (ReadingFileStem); with none, from the caption alone.
    void setFileStem(const QString& stem) { fileStem_ = stem; }
    void setChartStyle(ChartStyle style);
    // 0..9 drawn highlighted; -1 none.
    void setHighlightedBody(int body);
    // Actions the context menu offers after Save Chart As (owned by the caller).
    void setMenuActions(const QList<QAction*>& actions) { menuActions_ = actions; }

    const ChartContents& contents() const { return contents_; }
    ChartStyle chartStyle() const { return style_; }
    const QString& title() const { return title_; }
    const QString& fileStem() const { return fileStem_; }
    // The layout of the last paint, in widget coordinates (empty before the first paint). Only
    // tests read it: where a label was drawn, and whether highlighted, shows nowhere else, and a
    // test's click must hit the label.
    const ChartDrawingLayout& drawingLayout() const { return layout_; }

    // Asks where to save the chart, in the folder of the last saved chart, and saves it there
    // (PNG or SVG by the name's ending).
    void saveChartAs();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

  signals:
    // A body's label was clicked: 0..9, or chartAscendantBody.
    void bodyClicked(int body);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

  private:
    ChartPaintOptions options() const;
    void describe();
    // Opens a body as a click would: its tab, or the position of a node in a tooltip at `at`.
    void openBody(int body, QPoint at);
    // The labels the keyboard steps through: every body's, in the order the layout holds them.
    std::vector<const ChartLabel*> focusableLabels() const;
    int focusedLabel_ = 0; // index into focusableLabels()

    ChartContents contents_;
    QString title_;
    QString fileStem_;
    ChartStyle style_ = ChartStyle::SouthIndian;
    int highlightedBody_ = -1;
    ChartDrawingLayout layout_;
    QList<QAction*> menuActions_;
};

// Saves one chart with its caption and `title`, in `style` and `font`, as every export draws it
// (DrawCharts: black on white, no highlight): PNG at twice the pixels, or SVG when `path` ends in
// ".svg". False when the file could not be written; a file already there is then left as it was.
bool SaveChartFile(const QString& path, const ChartContents& contents, ChartStyle style,
                   const QString& title, const QFont& font);

// The chart layout chosen in the result window, remembered between runs (QSettings); South
// Indian when none was chosen or the stored value is unknown.
ChartStyle StoredChartStyle();
void StoreChartStyle(ChartStyle style);

// The folder the last chart was saved in, remembered between runs (QSettings); empty when none.
QString StoredChartFolder();
void StoreChartFolder(const QString& folder);
