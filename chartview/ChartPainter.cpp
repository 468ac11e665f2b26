#include "chartview/ChartPainter.h"

#include "chartview/Contrast.h"

#include <QFileDevice>
#include <QFontMetricsF>
#include <QImage>
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

// Cells shrink their labels down to this share of the given font before setting two columns.
constexpr double shrinkFloor = 0.6;
// The chart's side in text lines of the given font, when the size follows the font.
constexpr double chartSideInLines = 22.0;

// The sizes a crowded cell tries: the font's own, then whole points (or pixels) downwards to
// the floor. Whole sizes draw the same in every output: an SVG states a font's size in whole
// points.
std::vector<QFont> ShrunkFonts(const QFont& font) {
    const bool inPoints = font.pointSizeF() > 0;
    const double size = inPoints ? font.pointSizeF() : font.pixelSize();
    std::vector<QFont> fonts = {font};
    for (double smaller = std::ceil(size) - 1; smaller >= std::ceil(size * shrinkFloor);
         smaller -= 1) {
        QFont shrunk = font;
        if (inPoints) {
            shrunk.setPointSizeF(smaller);
        } else {
            shrunk.setPixelSize(static_cast<int>(smaller));
        }
        fonts.push_back(shrunk);
    }
    return fonts;
}

// The font at `factor` (at most 1) of its size, rounded down to a whole size as above.
QFont Scaled(const QFont& font, double factor) {
    QFont scaled = font;
    if (factor >= 1.0) {
        return scaled;
    }
    if (font.pointSizeF() > 0) {
        scaled.setPointSizeF(std::max(1.0, std::floor(font.pointSizeF() * factor)));
    } else {
        scaled.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * factor))));
    }
    return scaled;
}

QRectF ToDevice(const ChartDrawingLayout& layout, const UnitRect& rect) {
    const QPointF topLeft = ToDevice(layout, UnitPoint{rect.left, rect.top});
    const double side = layout.chartSquare.width();
    return QRectF(topLeft, QSizeF(rect.width * side, rect.height * side));
}

// Lays out the labels of one cell in `box`.
void LayOutCell(ChartDrawingLayout& layout, int sign, std::vector<ChartEntry> entries,
                const QRectF& box, const QFont& font, const QPaintDevice* device,
                int highlightedBody) {
    // The highlighted body goes first among the bodies, so a crowded cell's "+n" never hides it.
    const auto highlighted = std::find_if(entries.begin(), entries.end(), [&](const ChartEntry& e) {
        return e.body == highlightedBody;
    });
    if (highlighted != entries.end()) {
        std::rotate(entries.begin() + (entries.front().body == chartAscendantBody ? 1 : 0),
                    highlighted, highlighted + 1);
    }
    const int count = static_cast<int>(entries.size());
    if (count == 0) {
        return;
    }
    std::vector<QString> texts;
    for (const ChartEntry& entry : entries) {
        texts.push_back(QString::fromStdString(EntryLabel(entry)));
    }

    QFont cellFont;
    double lineHeight = 0.0;
    double padding = 0.0;
    double widest = 0.0;
    int columns = 1;
    bool fits = false;
    const auto measure = [&](const QFont& tried) {
        cellFont = tried;
        const QFontMetricsF metrics(cellFont, const_cast<QPaintDevice*>(device));
        lineHeight = metrics.height();
        padding = metrics.horizontalAdvance(QLatin1Char(' ')) * 0.3;
        widest = 0.0;
        for (const QString& text : texts) {
            widest = std::max(widest, metrics.horizontalAdvance(text) + 2 * padding);
        }
    };
    // First shrink one column down to the floor...
    for (const QFont& tried : ShrunkFonts(font)) {
        measure(tried);
        if (count * lineHeight <= box.height() && widest <= box.width()) {
            fits = true;
            break;
        }
    }
    // ...then two columns at the floor...
    const double gap = 2 * padding;
    const double halfWidth = (box.width() - gap) / 2;
    if (!fits && (count + 1) / 2 * lineHeight <= box.height() && widest <= halfWidth) {
        fits = true;
        columns = 2;
    }
    // ...then as many as fit, the last place saying how many more there are.
    int shown = count;
    if (!fits) {
        layout.overflowedSigns.push_back(sign);
        columns = widest <= halfWidth ? 2 : 1;
        const int rowsThatFit = static_cast<int>(std::floor(box.height() / lineHeight));
        const int places = rowsThatFit * columns;
        if (places <= 0) {
            return;
        }
        if (count > places) {
            shown = places - 1;
            texts.resize(static_cast<std::size_t>(shown));
            texts.push_back(QStringLiteral("+%1").arg(count - shown));
        }
    }
    const int placed = static_cast<int>(texts.size());
    const int rows = (placed + columns - 1) / columns;
    const double columnWidth = columns == 1 ? std::min(widest, box.width()) : halfWidth;
    const double blockWidth = columns == 1 ? columnWidth : box.width();
    const QPointF origin(box.left() + (box.width() - blockWidth) / 2,
                         box.top() + std::max(0.0, (box.height() - rows * lineHeight) / 2));
    const QFontMetricsF metrics(cellFont, const_cast<QPaintDevice*>(device));
    for (int i = 0; i < placed; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        ChartLabel label;
        label.sign = sign;
        label.body = i < shown ? entries[static_cast<std::size_t>(i)].body : -1;
        // A label is measured as its column was (advance plus padding): taking the padding
        // off the column's width again can leave a hair less than the advance, which would
        // elide the widest label although it fits.
        const QString& text = texts[static_cast<std::size_t>(i)];
        label.text = metrics.horizontalAdvance(text) + 2 * padding <= columnWidth
                         ? text
                         : metrics.elidedText(text, Qt::ElideRight, columnWidth - 2 * padding);
        label.box = QRectF(origin.x() + column * (columnWidth + gap), origin.y() + row * lineHeight,
                           columnWidth, lineHeight);
        label.font = cellFont;
        label.highlighted = label.body >= 0 && label.body == highlightedBody;
        layout.labels.push_back(label);
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
    const double spacing = plain.height() * 0.2;
    double top = target.top();
    for (const QString* text : {&options.caption, &options.title}) {
        if (text->isEmpty()) {
            continue;
        }
        QFont headerFont = font;
        headerFont.setBold(text == &options.caption);
        const QFontMetricsF metrics(headerFont, measuredOn);
        layout.headerLines.emplace_back(target.left(), top, target.width(), metrics.height());
        layout.headerTexts.push_back(metrics.elidedText(*text, Qt::ElideRight, target.width()));
        layout.headerFonts.push_back(headerFont);
        top += metrics.height() + spacing;
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

    for (int sign = 0; sign < static_cast<int>(signNames.size()); ++sign) {
        const ChartCellGeometry& cell = layout.geometry.cells[static_cast<std::size_t>(sign)];
        LayOutCell(layout, sign, contents.cells[static_cast<std::size_t>(sign)],
                   ToDevice(layout, cell.textBox), font, device, options.highlightedBody);
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
    painter.setPen(colours.ink);
    for (std::size_t i = 0; i < layout.headerLines.size(); ++i) {
        painter.setFont(layout.headerFonts[i]);
        painter.drawText(layout.headerLines[i], Qt::AlignCenter, layout.headerTexts[i]);
    }

    painter.fillRect(layout.chartSquare, colours.background);
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
                           bool withTitle) {
    QFont bold = font;
    bold.setBold(true);
    const double line = QFontMetricsF(font, const_cast<QPaintDevice*>(device)).height();
    const double boldLine = QFontMetricsF(bold, const_cast<QPaintDevice*>(device)).height();
    // The header as LayOutChartDrawing stacks it: caption, then title, each followed by spacing.
    const double header = boldLine + line * 0.2 + (withTitle ? line * 1.2 : 0.0);
    const double side = std::ceil(chartSideInLines * line);
    const double margin = std::ceil(line);
    const double gap = 2 * margin;
    const double penAllowance = std::ceil(line * 0.1) + 1;
    const double height = header + side + penAllowance;
    ChartPlacement placement;
    for (int chart = 0; chart < count; ++chart) {
        placement.targets.emplace_back(margin + chart * (side + gap), margin, side, height);
    }
    placement.size = QSizeF(std::ceil(count * side + (count - 1) * gap + 2 * margin),
                            std::ceil(height + 2 * margin));
    return placement;
}

void DrawCharts(QPainter& painter, const ChartPlacement& placement, const ChartList& charts,
                ChartStyle style, const QPalette& palette, const QFont& font, int highlightedBody,
                const QString& title) {
    painter.fillRect(QRectF(QPointF(0, 0), placement.size), ChartColoursOf(palette).background);
    for (std::size_t i = 0; i < std::min(charts.size(), placement.targets.size()); ++i) {
        ChartPaintOptions options;
        options.style = style;
        options.highlightedBody = highlightedBody;
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

bool WriteChartsSvg(QIODevice& out, const ChartList& charts, ChartStyle style,
                    const QPalette& palette, const QFont& font, int highlightedBody,
                    const QString& title) {
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    const ChartPlacement placement =
        PlaceCharts(font, &generator, static_cast<int>(charts.size()), !title.isEmpty());
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
    DrawCharts(painter, placement, charts, style, palette, font, highlightedBody, title);
    if (!painter.end()) {
        return false;
    }
    // A file's failed write shows only in its error, once its buffer is written out.
    if (auto* file = qobject_cast<QFileDevice*>(&out)) {
        return file->flush() && file->error() == QFileDevice::NoError;
    }
    return true;
}

QImage RenderChartsImage(const ChartList& charts, ChartStyle style, const QPalette& palette,
                         const QFont& font, double devicePixelRatio, int highlightedBody,
                         const QString& title) {
    const QImage measure(1, 1, QImage::Format_ARGB32_Premultiplied);
    const ChartPlacement placement =
        PlaceCharts(font, &measure, static_cast<int>(charts.size()), !title.isEmpty());
    const QSize pixels = (placement.size * devicePixelRatio).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    DrawCharts(painter, placement, charts, style, palette, font, highlightedBody, title);
    painter.end();
    return image;
}
