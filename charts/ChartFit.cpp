#include "charts/ChartFit.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Slack for sums of measured widths that meet a room's edge exactly.
constexpr double widthTolerance = 1e-9;
// Block positions tried down a shaped cell for each count of rows: at most this many, a quarter
// of a line apart.
constexpr int mostBlockPositions = 32;

double Cross(UnitPoint a, UnitPoint b) {
    return a.x * b.y - a.y * b.x;
}

// A convex polygon with every side moved `inset` inwards: each corner where the moved sides of
// its two edges meet.
std::vector<UnitPoint> Inset(const std::vector<UnitPoint>& polygon, double inset) {
    const std::size_t count = polygon.size();
    double twiceArea = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        twiceArea += Cross(polygon[i], polygon[(i + 1) % count]);
    }
    const double inward = twiceArea > 0 ? 1.0 : -1.0;
    // Each edge as a point on its moved line and its direction.
    std::vector<std::pair<UnitPoint, UnitPoint>> lines;
    for (std::size_t i = 0; i < count; ++i) {
        const UnitPoint a = polygon[i];
        const UnitPoint b = polygon[(i + 1) % count];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const UnitPoint direction{(b.x - a.x) / length, (b.y - a.y) / length};
        const UnitPoint normal{-direction.y * inward, direction.x * inward};
        lines.push_back({{a.x + normal.x * inset, a.y + normal.y * inset}, direction});
    }
    std::vector<UnitPoint> moved;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [p1, d1] = lines[(i + count - 1) % count];
        const auto& [p2, d2] = lines[i];
        const double t = Cross({p2.x - p1.x, p2.y - p1.y}, d2) / Cross(d1, d2);
        moved.push_back({p1.x + t * d1.x, p1.y + t * d1.y});
    }
    return moved;
}

// Where the horizontal line at `y` crosses a convex polygon: its left and right ends; an empty
// span (left > right) when it misses.
std::pair<double, double> SpanAt(const std::vector<UnitPoint>& polygon, double y) {
    double left = INFINITY;
    double right = -INFINITY;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const UnitPoint a = polygon[i];
        const UnitPoint b = polygon[(i + 1) % polygon.size()];
        if ((a.y - y) * (b.y - y) > 0) {
            continue;
        }
        if (a.y == b.y) {
            left = std::min({left, a.x, b.x});
            right = std::max({right, a.x, b.x});
        } else {
            const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return {left, right};
}

// The room across a shaped cell for a row from `top` to `bottom`: what the outline holds at both
// heights (a convex outline holds it in between too), less the number's box where the row
// passes it, keeping the wider side.
std::pair<double, double> RowSpan(const CellRoom& room, double top, double bottom) {
    const auto [topLeft, topRight] = SpanAt(room.outline, top);
    const auto [bottomLeft, bottomRight] = SpanAt(room.outline, bottom);
    double left = std::max(topLeft, bottomLeft);
    double right = std::min(topRight, bottomRight);
    if (room.keepClear) {
        const UnitRect& clear = *room.keepClear;
        const double clearRight = clear.left + clear.width;
        if (top < clear.top + clear.height && bottom > clear.top && left < clearRight &&
            right > clear.left) {
            if (clear.left - left >= right - clearRight) {
                right = clear.left;
            } else {
                left = clearRight;
            }
        }
    }
    return {left, right};
}

// Rows of `widths` in order across a shaped cell, starting at `top`, `rows` rows of `line`:
// each row takes as many of the next labels as its width holds. Fills `boxes` (when given) and
// says whether every label found a place with none of the rows left empty.
bool FillRows(const std::vector<double>& widths, const CellRoom& room, double top, int rows,
              double line, double gap, std::vector<UnitRect>* boxes) {
    std::size_t next = 0;
    for (int row = 0; row < rows; ++row) {
        const double rowTop = top + row * line;
        const auto [left, right] = RowSpan(room, rowTop, rowTop + line);
        const std::size_t first = next;
        double used = 0.0;
        while (next < widths.size()) {
            const double longer = used + (next > first ? gap : 0.0) + widths[next];
            if (longer > right - left + widthTolerance) {
                break;
            }
            used = longer;
            ++next;
        }
        if (next == first) {
            return false;
        }
        if (boxes != nullptr) {
            double x = left + (right - left - used) / 2;
            for (std::size_t i = first; i < next; ++i) {
                boxes->push_back({x, rowTop, widths[i], line});
                x += widths[i] + gap;
            }
        }
    }
    return next == widths.size();
}

// The boxes of `texts` in a shaped cell at `size`: the fewest rows that hold them, the block
// in the middle of the heights where it fits; nothing when no count of rows does.
std::optional<std::vector<UnitRect>> ArrangeRows(const std::vector<std::string>& texts,
                                                 const CellRoom& room, const TextMeasure& measure,
                                                 int size) {
    std::vector<double> widths;
    widths.reserve(texts.size());
    for (const std::string& text : texts) {
        widths.push_back(measure.labelWidth(text, size));
    }
    const double line = measure.lineHeight(size);
    const double gap = measure.columnGap(size);
    double highest = INFINITY;
    double lowest = -INFINITY;
    for (const UnitPoint& point : room.outline) {
        highest = std::min(highest, point.y);
        lowest = std::max(lowest, point.y);
    }
    const auto count = static_cast<int>(texts.size());
    for (int rows = 1; rows <= count && rows * line <= lowest - highest; ++rows) {
        const double spare = lowest - highest - rows * line;
        const int steps =
            std::clamp(static_cast<int>(std::ceil(spare / (line / 4))), 1, mostBlockPositions - 1);
        std::vector<double> fitting;
        for (int step = 0; step <= steps; ++step) {
            const double top = highest + spare * step / steps;
            if (FillRows(widths, room, top, rows, line, gap, nullptr)) {
                fitting.push_back(top);
            }
        }
        if (!fitting.empty()) {
            std::vector<UnitRect> boxes;
            FillRows(widths, room, fitting[fitting.size() / 2], rows, line, gap, &boxes);
            return boxes;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Labels(const std::vector<ChartEntry>& entries, LabelDetail detail,
                                const char* mark) {
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (const ChartEntry& entry : entries) {
        texts.push_back(EntryLabel(entry, detail, mark));
    }
    return texts;
}

double Widest(const std::vector<std::string>& texts, const TextMeasure& measure, int size) {
    double widest = 0.0;
    for (const std::string& text : texts) {
        widest = std::max(widest, measure.labelWidth(text, size));
    }
    return widest;
}

// The columns (1 or 2) in which `texts` fit `room` at `size`; 0 when neither does.
int ColumnsThatFit(const std::vector<std::string>& texts, const CellRoom& room,
                   const TextMeasure& measure, int size) {
    const double line = measure.lineHeight(size);
    const double widest = Widest(texts, measure, size);
    const auto rows = static_cast<double>(texts.size());
    if (rows * line <= room.height && widest <= room.width) {
        return 1;
    }
    const double halfWidth = (room.width - measure.columnGap(size)) / 2;
    if (std::ceil(rows / 2) * line <= room.height && widest <= halfWidth) {
        return 2;
    }
    return 0;
}

std::vector<LabelDetail> DetailsOf(ChartKind kind) {
    if (kind == ChartKind::Birth) {
        // The names alone before a cut: the cell's tooltip gives every position.
        return {LabelDetail::Minutes, LabelDetail::WholeDegrees, LabelDetail::NameOnly};
    }
    return {LabelDetail::NameOnly};
}

// The first form of a cell that fits at `size`; nothing when none does.
std::optional<CellSetting> FittingSetting(const std::vector<ChartEntry>& entries,
                                          const CellRoom& room, ChartKind kind,
                                          const TextMeasure& measure, int size, const char* mark) {
    for (const LabelDetail detail : DetailsOf(kind)) {
        std::vector<std::string> texts = Labels(entries, detail, mark);
        if (!room.outline.empty()) {
            std::optional<std::vector<UnitRect>> boxes =
                entries.empty() ? std::vector<UnitRect>{} : ArrangeRows(texts, room, measure, size);
            if (boxes) {
                const int shown = static_cast<int>(texts.size());
                return CellSetting{detail, 1, std::move(texts), shown, std::move(*boxes)};
            }
            continue;
        }
        const int columns = entries.empty() ? 1 : ColumnsThatFit(texts, room, measure, size);
        if (columns > 0) {
            const int shown = static_cast<int>(texts.size());
            return CellSetting{detail, columns, std::move(texts), shown, {}};
        }
    }
    return std::nullopt;
}

// The least detailed form at `size`, cut to the places the room has, the last one "+n".
CellSetting CutSetting(const std::vector<ChartEntry>& entries, const CellRoom& room, ChartKind kind,
                       const TextMeasure& measure, int size, const char* mark) {
    CellSetting setting;
    setting.detail = DetailsOf(kind).back();
    setting.texts = Labels(entries, setting.detail, mark);
    const int count = static_cast<int>(entries.size());
    if (!room.outline.empty()) {
        // The most labels in order that leave a place for the "+n" of the rest.
        for (int shown = count - 1; shown >= 0; --shown) {
            std::vector<std::string> texts(setting.texts.begin(), setting.texts.begin() + shown);
            texts.push_back("+" + std::to_string(count - shown));
            if (std::optional<std::vector<UnitRect>> boxes =
                    ArrangeRows(texts, room, measure, size)) {
                setting.texts = std::move(texts);
                setting.shown = shown;
                setting.boxes = std::move(*boxes);
                return setting;
            }
        }
        setting.texts.clear();
        setting.shown = 0;
        return setting;
    }
    const double halfWidth = (room.width - measure.columnGap(size)) / 2;
    setting.columns = Widest(setting.texts, measure, size) <= halfWidth ? 2 : 1;
    const int rows = static_cast<int>(std::floor(room.height / measure.lineHeight(size)));
    const int places = std::max(0, rows) * setting.columns;
    setting.shown = count;
    if (count > places) {
        setting.shown = std::max(0, places - 1);
        setting.texts.resize(static_cast<std::size_t>(setting.shown));
        if (places > 0) {
            setting.texts.push_back("+" + std::to_string(count - setting.shown));
        }
    }
    return setting;
}

} // namespace

CellRoom ShapedRoom(const ChartCellGeometry& cell, double side, double inset) {
    CellRoom room;
    std::vector<UnitPoint> scaled;
    for (const UnitPoint& point : cell.polygon) {
        scaled.push_back({point.x * side, point.y * side});
    }
    room.outline = Inset(scaled, inset);
    double left = INFINITY;
    double right = -INFINITY;
    double top = INFINITY;
    double bottom = -INFINITY;
    for (const UnitPoint& point : room.outline) {
        left = std::min(left, point.x);
        right = std::max(right, point.x);
        top = std::min(top, point.y);
        bottom = std::max(bottom, point.y);
    }
    room.width = right - left;
    room.height = bottom - top;
    if (cell.numberBox) {
        const UnitRect& box = *cell.numberBox;
        room.keepClear = UnitRect{box.left * side - inset / 2, box.top * side - inset / 2,
                                  box.width * side + inset, box.height * side + inset};
    }
    return room;
}

ChartFit FitChartText(const ChartContents& contents, const std::array<CellRoom, 12>& rooms,
                      const TextMeasure& measure, const char* retrogradeMark) {
    ChartFit fit;
    for (int size = 0; size < measure.sizeCount; ++size) {
        bool all = true;
        for (std::size_t sign = 0; sign < rooms.size() && all; ++sign) {
            std::optional<CellSetting> setting = FittingSetting(
                contents.cells[sign], rooms[sign], contents.kind, measure, size, retrogradeMark);
            if (setting) {
                fit.cells[sign] = std::move(*setting);
            } else {
                all = false;
            }
        }
        if (all) {
            fit.size = size;
            return fit;
        }
    }
    fit.size = std::max(0, measure.sizeCount - 1);
    fit.fits = false;
    for (std::size_t sign = 0; sign < rooms.size(); ++sign) {
        std::optional<CellSetting> setting = FittingSetting(
            contents.cells[sign], rooms[sign], contents.kind, measure, fit.size, retrogradeMark);
        fit.cells[sign] = setting ? std::move(*setting)
                                  : CutSetting(contents.cells[sign], rooms[sign], contents.kind,
                                               measure, fit.size, retrogradeMark);
    }
    return fit;
}
