#include "chartview/ChartPainter.h"

#include "chartview/Contrast.h"

#include <QBuffer>
#include <QFileDevice>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// Black or white, whichever stands out more against `background`.
QColor Opposite(const QColor& background) {
    return ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

// `colour` moved step by step towards black or white (whichever stands out against `other`)
// until it is readable against `other`; keeps as much of the theme's hue as it can.
QColor Readable(const QColor& colour, const QColor& other) {
    return ReadableInk(colour, other, Opposite(other));
}

// The chart's side in text lines of the given font, when the size follows the font.
constexpr double chartSideInLines = 22.0;
// A label's padding either side, in spaces of its font; twice that between two columns.
constexpr double paddingInSpaces = 0.3;
// The sign's corner label beside the mark's band, as the unit layout sets it.
constexpr double cornerInset = 0.0075;
// How far the quiet corner labels go from the ink towards the background, before they are made
// readable again.
constexpr double quietShare = 0.45;

double PointsOrPixels(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize();
}

QFont WithSize(const QFont& font, double size) {
    QFont sized = font;
    if (font.pointSizeF() > 0) {
        sized.setPointSizeF(size);
    } else {
        sized.setPixelSize(static_cast<int>(size));
    }
    return sized;
}

// The sizes a chart's labels try: the font's own, then whole points (or pixels) downwards to about
// 7 pt on `device`. Whole sizes draw the same in every output: an SVG states a font's size in
// whole points.
std::vector<QFont> CandidateFonts(const QFont& font, const QPaintDevice* device) {
    const bool inPoints = font.pointSizeF() > 0;
    const double size = PointsOrPixels(font);
    const double dpi = device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
    const double smallest =
        inPoints ? smallestLabelPoints : std::ceil(smallestLabelPoints * dpi / 72.0);
    std::vector<QFont> fonts = {font};
    for (double smaller = std::ceil(size) - 1; smaller >= smallest; smaller -= 1) {
        fonts.push_back(WithSize(font, smaller));
    }
    return fonts;
}

// The font at `factor` (at most 1) of its size, rounded down to a whole size as above.
QFont Scaled(const QFont& font, double factor) {
    if (factor >= 1.0) {
        return font;
    }
    return WithSize(font, std::max(1.0, std::floor(PointsOrPixels(font) * factor)));
}

QRectF ToDevice(const ChartDrawingLayout& layout, const UnitRect& rect) {
    const QPointF topLeft = ToDevice(layout, UnitPoint{rect.left, rect.top});
    const double side = layout.chartSquare.width();
    return QRectF(topLeft, QSizeF(rect.width * side, rect.height * side));
}

// `text` in lines no wider than `width`, broken between words; a word wider than `width` stands
// on a line of its own, whole.
QStringList Wrapped(const QString& text, const QFontMetricsF& metrics, double width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) {
        lines << line;
    }
    return lines;
}

// Stacks the caption (bold, one line) and the title (wrapped) from `top` in a box of `width` at
// `left`; returns the height taken.
double StackHeader(ChartDrawingLayout* layout, const QString& caption, const QString& title,
                   const QFont& font, const QPaintDevice* device, double left, double top,
                   double width) {
    QPaintDevice* measuredOn = const_cast<QPaintDevice*>(device);
    const double spacing = QFontMetricsF(font, measuredOn).height() * 0.2;
    double y = top;
    const auto add = [&](const QString& text, const QFont& lineFont) {
        const QFontMetricsF metrics(lineFont, measuredOn);
        if (layout != nullptr) {
            layout->headerLines.emplace_back(left, y, width, metrics.height());
            layout->headerTexts.push_back(text);
            layout->headerFonts.push_back(lineFont);
        }
        y += metrics.height();
    };
    if (!caption.isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        for (const QString& line : Wrapped(caption, QFontMetricsF(bold, measuredOn), width)) {
            add(line, bold);
        }
        y += spacing;
    }
    if (!title.isEmpty()) {
        for (const QString& line : Wrapped(title, QFontMetricsF(font, measuredOn), width)) {
            add(line, font);
        }
        y += spacing;
    }
    return y - top;
}

// The widest line of the caption and title wrapped at `width`.
double WidestHeaderLine(const QString& caption, const QString& title, const QFont& font,
                        const QPaintDevice* device, double width) {
    QPaintDevice* measuredOn = const_cast<QPaintDevice*>(device);
    QFont bold = font;
    bold.setBold(true);
    double widest = 0.0;
    for (const auto& [text, lineFont] : {std::pair{caption, bold}, std::pair{title, font}}) {
        const QFontMetricsF metrics(lineFont, measuredOn);
        for (const QString& line : Wrapped(text, metrics, width)) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
    }
    return widest;
}

// Sets the caption and title in the South Indian centre: the largest candidate size at which
// they fit, centred upright in the box.
void LayOutCentre(ChartDrawingLayout& layout, const ChartPaintOptions& options, const QRectF& box,
                  const std::vector<QFont>& fonts, const QPaintDevice* device) {
    if (options.caption.isEmpty() && options.title.isEmpty()) {
        return;
    }
    QFont chosen = fonts.back();
    for (const QFont& font : fonts) {
        const double height =
            StackHeader(nullptr, options.caption, options.title, font, device, 0, 0, box.width());
        if (height <= box.height() && WidestHeaderLine(options.caption, options.title, font, device,
                                                       box.width()) <= box.width()) {
            chosen = font;
            break;
        }
    }
    const double height =
        StackHeader(nullptr, options.caption, options.title, chosen, device, 0, 0, box.width());
    StackHeader(&layout, options.caption, options.title, chosen, device, box.left(),
                box.top() + std::max(0.0, (box.height() - height) / 2), box.width());
}

// Places the labels of one cell as the fit sets them, in `box`.
void PlaceCell(ChartDrawingLayout& layout, int sign, const std::vector<ChartEntry>& entries,
               const CellSetting& setting, const QRectF& box, const QFont& font,
               const QFontMetricsF& metrics, int highlightedBody) {
    const int placed = static_cast<int>(setting.texts.size());
    if (placed == 0) {
        return;
    }
    const double padding = metrics.horizontalAdvance(QLatin1Char(' ')) * paddingInSpaces;
    const double gap = 2 * padding;
    const double lineHeight = metrics.height();
    std::vector<QString> texts;
    double widest = 0.0;
    for (const std::string& text : setting.texts) {
        texts.push_back(QString::fromStdString(text));
        widest = std::max(widest, metrics.horizontalAdvance(texts.back()) + 2 * padding);
    }
    const int columns = setting.columns;
    const double halfWidth = (box.width() - gap) / 2;
    const int rows = (placed + columns - 1) / columns;
    const double columnWidth = columns == 1 ? std::min(widest, box.width()) : halfWidth;
    const double blockWidth = columns == 1 ? columnWidth : box.width();
    const QPointF origin(box.left() + (box.width() - blockWidth) / 2,
                         box.top() + std::max(0.0, (box.height() - rows * lineHeight) / 2));
    bool cut = setting.shown < static_cast<int>(entries.size());
    for (int i = 0; i < placed; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        ChartLabel label;
        label.sign = sign;
        label.body = i < setting.shown ? entries[static_cast<std::size_t>(i)].body : -1;
        // A label is measured as its column was (advance plus padding): taking the padding
        // off the column's width again can leave a hair less than the advance, which would
        // elide the widest label although it fits.
        const QString& text = texts[static_cast<std::size_t>(i)];
        if (!setting.boxes.empty()) {
            // A shaped cell's fit placed every label whole, in the chart square's units.
            const UnitRect& placedBox = setting.boxes[static_cast<std::size_t>(i)];
            label.text = text;
            label.box =
                QRectF(layout.chartSquare.left() + placedBox.left,
                       layout.chartSquare.top() + placedBox.top, placedBox.width, placedBox.height);
        } else if (metrics.horizontalAdvance(text) + 2 * padding <= columnWidth) {
            label.text = text;
        } else {
            label.text = metrics.elidedText(text, Qt::ElideRight, columnWidth - 2 * padding);
            cut = true;
        }
        if (setting.boxes.empty()) {
            label.box = QRectF(origin.x() + column * (columnWidth + gap),
                               origin.y() + row * lineHeight, columnWidth, lineHeight);
        }
        label.font = font;
        label.highlighted = label.body >= 0 && label.body == highlightedBody;
        layout.labels.push_back(label);
    }
    if (cut) {
        layout.overflowedSigns.push_back(sign);
    }
}

} // namespace

ChartColours ChartColoursOf(const QPalette& palette) {
    ChartColours colours;
    colours.background = palette.color(QPalette::Active, QPalette::Base);
    colours.ink = Readable(palette.color(QPalette::Active, QPalette::Text), colours.background);
    colours.highlightInk = palette.color(QPalette::Active, QPalette::HighlightedText);
    // The fill gives way to the highlighted text, so a theme's pale selection stays readable.
    colours.highlightFill =
        Readable(palette.color(QPalette::Active, QPalette::Highlight), colours.highlightInk);
    if (ContrastRatio(colours.highlightFill, colours.highlightInk) < readableContrastRatio) {
        colours.highlightInk = Opposite(colours.highlightFill);
    }
    return colours;
}

QPointF ToDevice(const ChartDrawingLayout& layout, UnitPoint point) {
    const QRectF& square = layout.chartSquare;
    return {square.left() + point.x * square.width(), square.top() + point.y * square.height()};
}

ChartDrawingLayout LayOutChartDrawing(const ChartContents& contents,
                                      const ChartPaintOptions& options, const QRectF& target,
                                      const QFont& font, const QPaintDevice* device) {
    ChartDrawingLayout layout;
    layout.geometry = LayOutChart(options.style, contents.ascendantSign);
    QPaintDevice* measuredOn = const_cast<QPaintDevice*>(device);
    const QFontMetricsF plain(font, measuredOn);
    double top = target.top();
    if (options.headerAbove && !layout.geometry.centreBox) {
        top += StackHeader(&layout, options.caption, options.title, font, device, target.left(),
                           top, target.width());
    }
    // Whole-pixel lines on the pixel grid: a horizontal or vertical line then covers whole
    // pixels in its full colour instead of smoothing it into two paler rows. The pen is centred
    // on the square's edge, so half of it is kept inside the target; a side in fours puts the
    // inner lines of both layouts on the grid too.
    layout.penWidth = std::max(1.0, std::round(plain.height() * 0.08));
    const double onPixelCentre = std::fmod(layout.penWidth, 2.0) == 1.0 ? 0.5 : 0.0;
    const double room = std::min(target.width(), target.bottom() - top) - layout.penWidth - 2;
    const double side = std::max(0.0, std::floor(room / 4) * 4);
    layout.chartSquare =
        QRectF(std::round(target.left() + (target.width() - side) / 2) + onPixelCentre,
               std::ceil(top + layout.penWidth / 2) + onPixelCentre, side, side);

    const std::vector<QFont> fonts = CandidateFonts(font, device);
    std::vector<QFontMetricsF> metrics;
    for (const QFont& candidate : fonts) {
        metrics.emplace_back(candidate, measuredOn);
    }
    constexpr char32_t retrogradeGlyph = 0x211E;
    layout.retrogradeMark = QString::fromUtf8(metrics.back().inFontUcs4(retrogradeGlyph) &&
                                                      metrics.front().inFontUcs4(retrogradeGlyph)
                                                  ? retrogradeSymbol
                                                  : retrogradeFallback);

    // The South Indian corner labels at the smallest size, quiet; the labels start below them.
    std::array<QRectF, 12> textBoxes;
    for (std::size_t sign = 0; sign < textBoxes.size(); ++sign) {
        const ChartCellGeometry& cell = layout.geometry.cells[sign];
        textBoxes[sign] = ToDevice(layout, cell.textBox);
        if (cell.signLabelBox) {
            layout.signLabelFont = fonts.back();
            const QString text = QString::fromUtf8(signShortNames[sign]);
            const QRectF unit = ToDevice(layout, *cell.signLabelBox);
            const double width = metrics.back().horizontalAdvance(text);
            const double inset = cornerInset * side;
            const QRectF box(unit.right() - width, unit.top(), width, metrics.back().height());
            layout.signLabelBoxes.push_back(box);
            layout.signLabelTexts.push_back(text);
            const double below = box.bottom() + inset;
            if (below > textBoxes[sign].top()) {
                textBoxes[sign].setTop(std::min(below, textBoxes[sign].bottom()));
            }
        }
    }
    if (layout.geometry.centreBox) {
        LayOutCentre(layout, options, ToDevice(layout, *layout.geometry.centreBox), fonts, device);
    }

    // A North Indian cell's labels keep a gap of the pen's width and a hundredth of the side from
    // its lines.
    const double shapeInset = layout.penWidth + 0.01 * side;
    std::array<CellRoom, 12> rooms;
    for (std::size_t sign = 0; sign < rooms.size(); ++sign) {
        const ChartCellGeometry& cell = layout.geometry.cells[sign];
        rooms[sign] = cell.numberBox
                          ? ShapedRoom(cell, side, shapeInset)
                          : CellRoom{textBoxes[sign].width(), textBoxes[sign].height(), {}, {}};
    }
    const auto padding = [&metrics](int size) {
        return metrics[static_cast<std::size_t>(size)].horizontalAdvance(QLatin1Char(' ')) *
               paddingInSpaces;
    };
    TextMeasure measure;
    measure.sizeCount = static_cast<int>(fonts.size());
    measure.labelWidth = [&](const std::string& text, int size) {
        return metrics[static_cast<std::size_t>(size)].horizontalAdvance(
                   QString::fromStdString(text)) +
               2 * padding(size);
    };
    measure.lineHeight = [&metrics](int size) {
        return metrics[static_cast<std::size_t>(size)].height();
    };
    measure.columnGap = [&](int size) { return 2 * padding(size); };
    const std::string mark = layout.retrogradeMark.toStdString();
    const ChartFit fit = FitChartText(contents, rooms, measure, mark.c_str());
    const auto size = static_cast<std::size_t>(fit.size);
    for (std::size_t sign = 0; sign < rooms.size(); ++sign) {
        PlaceCell(layout, static_cast<int>(sign), contents.cells[sign], fit.cells[sign],
                  textBoxes[sign], fonts[size], metrics[size], options.highlightedBody);
        const ChartCellGeometry& cell = layout.geometry.cells[sign];
        if (cell.numberBox) {
            const QRectF box = ToDevice(layout, *cell.numberBox);
            const double factor =
                std::min({1.0, box.height() / plain.height(),
                          box.width() / plain.horizontalAdvance(QStringLiteral("12"))});
            layout.numberBoxes.push_back(box);
            layout.numberFonts.push_back(Scaled(font, factor));
        }
    }
    return layout;
}

void PaintChartLayout(QPainter& painter, const ChartDrawingLayout& layout,
                      const QPalette& palette) {
    const ChartColours colours = ChartColoursOf(palette);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(layout.chartSquare, colours.background);
    painter.setPen(colours.ink);
    for (std::size_t i = 0; i < layout.headerLines.size(); ++i) {
        painter.setFont(layout.headerFonts[i]);
        painter.drawText(layout.headerLines[i], Qt::AlignCenter, layout.headerTexts[i]);
    }

    QPen pen(colours.ink, layout.penWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    for (const UnitLine& line : layout.geometry.lines) {
        painter.drawLine(ToDevice(layout, line.from), ToDevice(layout, line.to));
    }
    if (layout.geometry.ascendantMark) {
        // Twice the grid's width, so the mark reads as more than a line of the grid.
        QPen markPen = pen;
        markPen.setWidthF(pen.widthF() * 2);
        markPen.setCapStyle(Qt::FlatCap);
        painter.setPen(markPen);
        painter.drawLine(ToDevice(layout, layout.geometry.ascendantMark->from),
                         ToDevice(layout, layout.geometry.ascendantMark->to));
    }

    if (!layout.signLabelBoxes.empty()) {
        const QColor ink = colours.ink.toRgb();
        const QColor base = colours.background.toRgb();
        const auto toward = [](int from, int to) {
            return static_cast<int>(std::lround(from + (to - from) * quietShare));
        };
        const QColor quiet(toward(ink.red(), base.red()), toward(ink.green(), base.green()),
                           toward(ink.blue(), base.blue()));
        painter.setPen(Readable(quiet, colours.background));
        painter.setFont(layout.signLabelFont);
        for (std::size_t i = 0; i < layout.signLabelBoxes.size(); ++i) {
            painter.drawText(layout.signLabelBoxes[i], Qt::AlignRight | Qt::AlignVCenter,
                             layout.signLabelTexts[i]);
        }
    }
    painter.setPen(colours.ink);
    for (std::size_t i = 0; i < layout.numberBoxes.size(); ++i) {
        painter.setFont(layout.numberFonts[i]);
        // The boxes run by sign from Aries: the number of sign i is i + 1.
        painter.drawText(layout.numberBoxes[i], Qt::AlignCenter, QString::number(i + 1));
    }
    for (const ChartLabel& label : layout.labels) {
        painter.setFont(label.font);
        if (label.highlighted) {
            const QFontMetricsF metrics(label.font, painter.device());
            const double width =
                std::min(label.box.width(), metrics.horizontalAdvance(label.text) +
                                                metrics.horizontalAdvance(QLatin1Char(' ')) * 0.6);
            QRectF fill = label.box;
            fill.setLeft(label.box.center().x() - width / 2);
            fill.setWidth(width);
            painter.fillRect(fill, colours.highlightFill);
            painter.setPen(colours.highlightInk);
        } else {
            painter.setPen(colours.ink);
        }
        painter.drawText(label.box, Qt::AlignCenter, label.text);
    }
    painter.restore();
}

ChartDrawingLayout DrawChart(QPainter& painter, const QRectF& target, const ChartContents& contents,
                             const ChartPaintOptions& options, const QPalette& palette,
                             const QFont& font) {
    ChartDrawingLayout layout =
        LayOutChartDrawing(contents, options, target, font, painter.device());
    PaintChartLayout(painter, layout, palette);
    return layout;
}

std::optional<int> BodyAt(const ChartDrawingLayout& layout, QPointF point) {
    for (const ChartLabel& label : layout.labels) {
        if (label.body >= 0 && label.box.contains(point)) {
            return label.body;
        }
    }
    return std::nullopt;
}

std::optional<int> SignAt(const ChartDrawingLayout& layout, QPointF point) {
    const QRectF& square = layout.chartSquare;
    if (square.width() <= 0 || square.height() <= 0) {
        return std::nullopt;
    }
    const UnitPoint unit{(point.x() - square.left()) / square.width(),
                         (point.y() - square.top()) / square.height()};
    for (std::size_t sign = 0; sign < layout.geometry.cells.size(); ++sign) {
        if (PolygonContains(layout.geometry.cells[sign].polygon, unit)) {
            return static_cast<int>(sign);
        }
    }
    return std::nullopt;
}

ChartPlacement PlaceCharts(const QFont& font, const QPaintDevice* device, int count,
                           ChartStyle style, const QString& title) {
    const double line = QFontMetricsF(font, const_cast<QPaintDevice*>(device)).height();
    const double side = std::ceil(chartSideInLines * line);
    // The header as LayOutChartDrawing stacks it above a North Indian chart: the caption, then
    // the title wrapped at the chart's width; the South Indian chart holds both in its centre.
    double header = 0.0;
    if (style == ChartStyle::NorthIndian) {
        header = StackHeader(nullptr, QStringLiteral("Birth Chart (D-1)"), title, font, device, 0,
                             0, side);
    }
    const double margin = std::ceil(line);
    const double gap = 2 * margin;
    const double penAllowance = std::ceil(line * 0.1) + 1;
    const double height = std::ceil(header) + side + penAllowance;
    ChartPlacement placement;
    for (int chart = 0; chart < count; ++chart) {
        placement.targets.emplace_back(margin + chart * (side + gap), margin, side, height);
    }
    placement.size = QSizeF(std::ceil(count * side + (count - 1) * gap + 2 * margin),
                            std::ceil(height + 2 * margin));
    return placement;
}

void DrawCharts(QPainter& painter, const ChartPlacement& placement, const ChartList& charts,
                ChartStyle style, const QFont& font, const QString& title) {
    const QPalette palette = LightChartPalette();
    painter.fillRect(QRectF(QPointF(0, 0), placement.size), ChartColoursOf(palette).background);
    for (std::size_t i = 0; i < std::min(charts.size(), placement.targets.size()); ++i) {
        ChartPaintOptions options;
        options.style = style;
        options.caption = QString::fromUtf8(ChartCaption(charts[i]->kind));
        options.title = title;
        DrawChart(painter, placement.targets[i], *charts[i], options, palette, font);
    }
}

QPalette LightChartPalette() {
    QPalette palette(Qt::black, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x1d, 0x5f, 0x9e));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QFont SvgChartFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.0);
    return font;
}

bool WriteChartsSvg(QIODevice& out, const ChartList& charts, ChartStyle style, const QFont& font,
                    const QString& title) {
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    const ChartPlacement placement =
        PlaceCharts(font, &generator, static_cast<int>(charts.size()), style, title);
    generator.setSize(placement.size.toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), placement.size));
    QStringList captions;
    for (const ChartContents* chart : charts) {
        captions << QString::fromUtf8(ChartCaption(chart->kind));
    }
    generator.setTitle(captions.join(QStringLiteral(" / ")));
    generator.setDescription(title);
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    DrawCharts(painter, placement, charts, style, font, title);
    if (!painter.end()) {
        return false;
    }
    // A file's failed write shows only in its error, once its buffer is written out.
    if (auto* file = qobject_cast<QFileDevice*>(&out)) {
        return file->flush() && file->error() == QFileDevice::NoError;
    }
    return true;
}

QImage RenderChartsImage(const ChartList& charts, ChartStyle style, const QFont& font,
                         double devicePixelRatio, const QString& title) {
    const QImage measure(1, 1, QImage::Format_ARGB32_Premultiplied);
    const ChartPlacement placement =
        PlaceCharts(font, &measure, static_cast<int>(charts.size()), style, title);
    const QSize pixels = (placement.size * devicePixelRatio).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    DrawCharts(painter, placement, charts, style, font, title);
    painter.end();
    return image;
}

QByteArray ChartsPng(const ChartList& charts, ChartStyle style, const QFont& font,
                     const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    RenderChartsImage(charts, style, font, exportPixelRatio, title).save(&buffer, "PNG");
    return bytes;
}
