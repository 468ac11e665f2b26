#include "charts/ChartFit.h"

#include <algorithm>
#include <cmath>

namespace {

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
        const int columns = entries.empty() ? 1 : ColumnsThatFit(texts, room, measure, size);
        if (columns > 0) {
            const int shown = static_cast<int>(texts.size());
            return CellSetting{detail, columns, std::move(texts), shown};
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
    const double halfWidth = (room.width - measure.columnGap(size)) / 2;
    setting.columns = Widest(setting.texts, measure, size) <= halfWidth ? 2 : 1;
    const int rows = static_cast<int>(std::floor(room.height / measure.lineHeight(size)));
    const int places = std::max(0, rows) * setting.columns;
    const int count = static_cast<int>(entries.size());
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
