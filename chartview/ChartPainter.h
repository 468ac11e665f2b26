#pragma once

#include "charts/ChartCells.h"
#include "charts/ChartFit.h"
#include "charts/ChartGeometry.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QIODevice;
class QImage;
class QPaintDevice;
class QPainter;

// One painter for a chart on any paint device (widget, image, SVG generator, printer): the chart
// is laid out once in device coordinates from the plain geometry and the cell contents, then
// drawn; hit testing and the list of crowded cells read the same layout.

// What to draw besides the cells.
// The caption and the title stand in the South Indian square's open centre; in the North Indian
// layout they stand above the chart, the title wrapping to further lines, never cut.
struct ChartPaintOptions {
    ChartStyle style = ChartStyle::SouthIndian;
    int highlightedBody = -1; // 0 Sun ... 9 Pluto drawn highlighted; -1 none
    QString caption;          // the chart's name ("Birth Chart (D-1)"); empty: none
    QString title;            // the birth (person, date, place); empty: none
    bool headerAbove = true;  // false: caption and title only where the layout has a centre
};

// The colours a chart is drawn in, taken from a palette and made readable: every text and line
// at least 4.5:1 against what it stands on (WCAG 2.x contrast ratio).
struct ChartColours {
    QColor background;    // the palette's Base
    QColor ink;           // lines, labels and sign numbers: the palette's Text, made readable
    QColor highlightFill; // behind a highlighted label: the palette's Highlight, made readable
    QColor highlightInk;  // a highlighted label: the palette's HighlightedText
};
ChartColours ChartColoursOf(const QPalette& palette);

// One label as laid out: its text and the box it is drawn in (device coordinates).
struct ChartLabel {
    int body = -1; // body index (0..9, Ascendant, Rahu, Ketu), or -1 for the "+n" of a cell
    int sign = 0;  // the cell's sign, 0 Aries ... 11 Pisces
    QString text;  // as drawn, possibly elided
    QRectF box;    // inside the cell's text box
    QFont font;    // one size for every label of the chart
    bool highlighted = false;
};

// A chart laid out on a device.
struct ChartDrawingLayout {
    QRectF chartSquare;              // the chart's frame
    double penWidth = 1.0;           // of the frame and the cell lines
    std::vector<QRectF> headerLines; // caption and title lines, above or in the centre
    std::vector<QString> headerTexts;
    std::vector<QFont> headerFonts;
    std::vector<QRectF> signLabelBoxes; // South Indian: by sign, the corner label's box
    std::vector<QString> signLabelTexts;
    QFont signLabelFont;
    QString retrogradeMark; // the mark the labels carry: "℞", or "(R)" without the glyph
    std::vector<ChartLabel> labels;
    std::vector<QRectF> numberBoxes; // North Indian: by sign, the box of its number; else empty
    std::vector<QFont> numberFonts;
    // Cells that could not show every label in full (they end in "+n" or elide a label): give
    // their full text, ChartTextLines(contents)[sign], in a tooltip.
    std::vector<int> overflowedSigns;
    ChartGeometry geometry; // the unit layout the square scales
};

// The least text size of a chart's labels: about 7 pt, legible at 1x.
inline constexpr double smallestLabelPoints = 7.0;

// Lays a chart out in `target` on `device` (whose resolution the text is measured at): the
// header lines on top (North Indian), the largest square that fits below them, centred. Every
// label takes one size, the largest of `font`'s size and the whole points below it down to
// smallestLabelPoints at which every cell fits (FitChartText); only at the smallest does a cell
// cut its labels with "+n". A label never leaves its cell.
ChartDrawingLayout LayOutChartDrawing(const ChartContents& contents,
                                      const ChartPaintOptions& options, const QRectF& target,
                                      const QFont& font, const QPaintDevice* device);

// Maps a unit-coordinate point of the chart's geometry into the laid-out square.
QPointF ToDevice(const ChartDrawingLayout& layout, UnitPoint point);

// Draws a laid-out chart with `painter` (already begun on the device it was laid out for), in
// the colours of `palette`; the background of the target is left to the caller.
void PaintChartLayout(QPainter& painter, const ChartDrawingLayout& layout, const QPalette& palette);

// Lays out and draws one chart in `target`; returns the layout for hit testing and tooltips.
ChartDrawingLayout DrawChart(QPainter& painter, const QRectF& target, const ChartContents& contents,
                             const ChartPaintOptions& options, const QPalette& palette,
                             const QFont& font);

// The body (0..9, or chartAscendantBody) whose label lies at `point`; nothing for none.
std::optional<int> BodyAt(const ChartDrawingLayout& layout, QPointF point);

// The sign (0..11) whose cell lies at `point`; nothing outside the chart.
std::optional<int> SignAt(const ChartDrawingLayout& layout, QPointF point);

// One or two charts side by side, as the saved files, the clipboard image and the printout place
// them: the size of the whole and each chart's target, left to right, for `font` measured on
// `device`. Each chart is 22 text lines square, with a margin of a line around the whole.
struct ChartPlacement {
    QSizeF size;
    std::vector<QRectF> targets;
};
ChartPlacement PlaceCharts(const QFont& font, const QPaintDevice* device, int count,
                           ChartStyle style, const QString& title);

// The charts of a drawing, left to right.
using ChartList = std::vector<const ChartContents*>;

// Fills the placement's area with white and draws each of `charts` in its target, with its
// caption and `title` (person, date, place; none when empty), black on white in `font`, without
// a highlight: the drawing every export uses, whatever the desktop's theme.
void DrawCharts(QPainter& painter, const ChartPlacement& placement, const ChartList& charts,
                ChartStyle style, const QFont& font, const QString& title);

// The fixed light palette and font of the command's SVG: the same drawing on every machine.
QPalette LightChartPalette();
QFont SvgChartFont();

// Writes `charts` side by side as SVG to `out` (open for writing), drawn as DrawCharts draws
// them; the SVG's title names the charts' captions, its description is `title`. False when the
// SVG could not be written. Needs a QGuiApplication (an offscreen one will do) for the fonts;
// the command's font comes from the Debian package fonts-dejavu-core.
bool WriteChartsSvg(QIODevice& out, const ChartList& charts, ChartStyle style, const QFont& font,
                    const QString& title);

// Pixel ratio of saved and copied chart images: sharp on a screen at twice the scale.
inline constexpr double exportPixelRatio = 2.0;

// `charts` side by side in an image, drawn as DrawCharts draws them, at `devicePixelRatio`
// (1 for plain pixels). The size follows the font. Needs a QGuiApplication.
QImage RenderChartsImage(const ChartList& charts, ChartStyle style, const QFont& font,
                         double devicePixelRatio, const QString& title);

// `charts` as a PNG file's bytes, drawn by RenderChartsImage at exportPixelRatio: the picture
// the clipboard carries.
QByteArray ChartsPng(const ChartList& charts, ChartStyle style, const QFont& font,
                     const QString& title);
