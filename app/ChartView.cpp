#include "app/ChartView.h"

#include "ui/FileDialogs.h"
#include "ui/Messages.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSettings>
#include <QToolTip>

#include <algorithm>

namespace {

// The key the chosen layout is kept under, and its values.
constexpr char chartStyleKey[] = "display/chartStyle";
constexpr char southIndianValue[] = "south";
constexpr char northIndianValue[] = "north";

// A chart's side in text lines of the widget's font: what it asks for and the least it takes.
constexpr int preferredSideLines = 20;
constexpr int minimumSideLines = 11;

} // namespace

ChartView::ChartView(ChartKind kind, QWidget* parent) : QWidget(parent) {
    contents_.kind = kind;
    setObjectName(kind == ChartKind::Birth ? QStringLiteral("picBirthChart")
                                           : QStringLiteral("picDecanateChart"));
    setAccessibleName(QString::fromUtf8(ChartAccessibleName(kind)));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The chart is drawn as the largest square that fits; it takes what room there is.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    describe();
}

void ChartView::setContents(const ChartContents& contents, const QString& title) {
    contents_ = contents;
    title_ = title;
    describe();
    update();
}

void ChartView::setChartStyle(ChartStyle style) {
    if (style_ != style) {
        style_ = style;
        describe();
        update();
    }
}

void ChartView::setHighlightedBody(int body) {
    if (highlightedBody_ != body) {
        highlightedBody_ = body;
        update();
    }
}

void ChartView::describe() {
    // The description reads every cell in full, crowded ones included.
    setAccessibleDescription(QString::fromStdString(ChartDescription(contents_, style_)));
}

ChartPaintOptions ChartView::options() const {
    ChartPaintOptions options;
    options.style = style_;
    options.highlightedBody = highlightedBody_;
    return options;
}

QSize ChartView::sizeHint() const {
    const int side = fontMetrics().height() * preferredSideLines;
    return {side, side};
}

QSize ChartView::minimumSizeHint() const {
    const int side = fontMetrics().height() * minimumSideLines;
    return {side, side};
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), ChartColoursOf(palette()).background);
    layout_ = DrawChart(painter, QRectF(rect()), contents_, options(), palette(), font());
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<int> body = BodyAt(layout_, event->position())) {
            emit bodyClicked(*body);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

bool ChartView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<int> sign = SignAt(layout_, help->pos());
        if (sign && std::find(layout_.overflowedSigns.begin(), layout_.overflowedSigns.end(),
                              *sign) != layout_.overflowedSigns.end()) {
            const std::vector<std::string> lines = ChartTextLines(contents_);
            QToolTip::showText(help->globalPos(),
                               QString::fromStdString(lines[static_cast<std::size_t>(*sign)]),
                               this);
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* save = menu.addAction(QStringLiteral("Save Chart As…"));
    save->setObjectName(QStringLiteral("mnuSaveChartAs"));
    connect(save, &QAction::triggered, this, &ChartView::saveChartAs);
    menu.exec(event->globalPos());
}

void ChartView::saveChartAs() {
    const QString caption = QString::fromUtf8(ChartCaption(contents_.kind));
    const QString suggested =
        (fileStem_.isEmpty() ? caption : fileStem_ + QStringLiteral(" ") + caption) +
        QStringLiteral(".png");
    const QString path = AskSaveFileName(this, QStringLiteral("Save Chart As"), suggested,
                                         QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
    if (path.isEmpty()) {
        return;
    }
    if (!SaveChartFile(path, contents_, style_, highlightedBody_, title_, palette(), font())) {
        ShowMessage(MessageIcon::Error,
                    QStringLiteral("The chart could not be saved to %1.").arg(path), this);
    }
}

bool SaveChartFile(const QString& path, const ChartContents& contents, ChartStyle style,
                   int highlightedBody, const QString& title, const QPalette& palette,
                   const QFont& font) {
    // Written beside the old file and put in its place only when complete: a failed save
    // leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const bool svg =
        QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
    const bool written =
        svg ? WriteChartsSvg(file, {&contents}, style, palette, font, highlightedBody, title)
            : RenderChartsImage({&contents}, style, palette, font, 2.0, highlightedBody, title)
                  .save(&file, "PNG");
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ChartStyle StoredChartStyle() {
    const QString value = QSettings().value(QLatin1String(chartStyleKey)).toString();
    return value == QLatin1String(northIndianValue) ? ChartStyle::NorthIndian
                                                    : ChartStyle::SouthIndian;
}

void StoreChartStyle(ChartStyle style) {
    QSettings().setValue(
        QLatin1String(chartStyleKey),
        QLatin1String(style == ChartStyle::NorthIndian ? northIndianValue : southIndianValue));
}
