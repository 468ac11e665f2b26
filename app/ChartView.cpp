#include "app/ChartView.h"

#include "ui/FileDialogs.h"
#include "ui/Messages.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QToolTip>

#include <algorithm>

namespace {

// The key the chosen layout is kept under, and its values.
constexpr char chartStyleKey[] = "display/chartStyle";
constexpr char southIndianValue[] = "south";
constexpr char northIndianValue[] = "north";
// The key the folder of the last saved chart is kept under.
constexpr char chartFolderKey[] = "display/chartFolder";

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
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The chart is drawn as the largest square that fits: it takes the width there is, and as
    // much height as width.
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    describe();
}

void ChartView::setContents(const ChartContents& contents, const QString& title) {
    contents_ = contents;
    title_ = title;
    setAccessibleName(QString::fromUtf8(ChartAccessibleName(contents.kind)));
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
    // The window names the chart above it; the South Indian centre holds the name and the birth.
    options.caption = QString::fromUtf8(ChartCaption(contents_.kind));
    options.title = title_;
    options.headerAbove = false;
    return options;
}

QSize ChartView::sizeHint() const {
    const int side = fontMetrics().height() * preferredSideLines;
    return {side, side};
}

bool ChartView::hasHeightForWidth() const {
    return true;
}

int ChartView::heightForWidth(int width) const {
    return width;
}

QSize ChartView::minimumSizeHint() const {
    const int side = fontMetrics().height() * minimumSideLines;
    return {side, side};
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ChartColours colours = ChartColoursOf(palette());
    // Room beside or under the square is the window's, so that no strip of the chart's background
    // shows there; the square fills itself.
    painter.fillRect(rect(), palette().color(QPalette::Window));
    layout_ = DrawChart(painter, QRectF(rect()), contents_, options(), palette(), font());
    if (hasFocus()) {
        // The focus: a frame round the chart and one round the body the keys stand on.
        QPen pen(colours.ink, 1, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        const std::vector<const ChartLabel*> labels = focusableLabels();
        if (!labels.empty()) {
            const ChartLabel* label =
                labels[static_cast<std::size_t>(focusedLabel_) % labels.size()];
            pen.setStyle(Qt::SolidLine);
            painter.setPen(pen);
            painter.drawRect(label->box.adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
}

std::vector<const ChartLabel*> ChartView::focusableLabels() const {
    std::vector<const ChartLabel*> labels;
    for (const ChartLabel& label : layout_.labels) {
        if (label.body >= 0) {
            labels.push_back(&label);
        }
    }
    return labels;
}

void ChartView::openBody(int body, QPoint at) {
    if (body == chartRahuBody || body == chartKetuBody) {
        for (const auto& cell : contents_.cells) {
            for (std::size_t k = 0; k < cell.size(); ++k) {
                if (cell[k].body == body) {
                    // The cell's tooltip line of the node: its full name and position.
                    const std::vector<std::string> lines =
                        CellTooltipLines(contents_, static_cast<int>(&cell - &contents_.cells[0]));
                    QToolTip::showText(mapToGlobal(at), QString::fromStdString(lines[k + 1]), this);
                }
            }
        }
        return;
    }
    emit bodyClicked(body);
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<int> body = BodyAt(layout_, event->position())) {
            openBody(*body, event->position().toPoint());
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (BodyAt(layout_, event->position())) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    QWidget::mouseMoveEvent(event);
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    const std::vector<const ChartLabel*> labels = focusableLabels();
    const int count = static_cast<int>(labels.size());
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (count > 0) {
            const bool forward = event->key() == Qt::Key_Right || event->key() == Qt::Key_Down;
            focusedLabel_ = ((focusedLabel_ % count) + (forward ? 1 : count - 1)) % count;
            update();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (count > 0) {
            const ChartLabel* label = labels[static_cast<std::size_t>(focusedLabel_ % count)];
            openBody(label->body, label->box.center().toPoint());
        }
        return;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, rect().center(),
                                   mapToGlobal(rect().center()));
            contextMenuEvent(&menu);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void ChartView::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void ChartView::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

bool ChartView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<int> sign = SignAt(layout_, help->pos());
        if (sign) {
            QStringList lines;
            for (const std::string& line : CellTooltipLines(contents_, *sign)) {
                lines << QString::fromStdString(line);
            }
            QToolTip::showText(help->globalPos(), lines.join(u'\n'), this);
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
    QAction* save = menu.addAction(QStringLiteral("&Save Chart As…"));
    save->setObjectName(QStringLiteral("mnuSaveChartAs"));
    connect(save, &QAction::triggered, this, &ChartView::saveChartAs);
    menu.addActions(menuActions_);
    menu.exec(event->globalPos());
}

void ChartView::saveChartAs() {
    const QString caption = QString::fromUtf8(ChartCaption(contents_.kind));
    const QString suggested =
        (fileStem_.isEmpty() ? caption : fileStem_ + QStringLiteral(" ") + caption) +
        QStringLiteral(".png");
    const QString folder = StoredChartFolder();
    const QString path =
        AskSaveFileName(this, QStringLiteral("Save Chart As"),
                        folder.isEmpty() ? suggested : QDir(folder).filePath(suggested),
                        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
    if (path.isEmpty()) {
        return;
    }
    if (!SaveChartFile(path, contents_, style_, title_, font())) {
        ShowMessage(MessageIcon::Error,
                    QStringLiteral("The chart could not be saved to %1.").arg(path), this);
        return;
    }
    StoreChartFolder(QFileInfo(path).absolutePath());
}

bool SaveChartFile(const QString& path, const ChartContents& contents, ChartStyle style,
                   const QString& title, const QFont& font) {
    // Written beside the old file and put in its place only when complete: a failed save
    // leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const bool svg =
        QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
    const bool written = svg ? WriteChartsSvg(file, {&contents}, style, font, title)
                             : RenderChartsImage({&contents}, style, font, exportPixelRatio, title)
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

QString StoredChartFolder() {
    return QSettings().value(QLatin1String(chartFolderKey)).toString();
}

void StoreChartFolder(const QString& folder) {
    QSettings().setValue(QLatin1String(chartFolderKey), folder);
}
