#include "browse/BrowseLayout.h"

#include <algorithm>

namespace {
int AtLeastOne(int value) {
    return std::max(value, 1);
}

// Integer division that never divides by zero (a zero-sized panel).
int FitCount(int room, int step) {
    return step > 0 ? room / step : 1;
}
}  // namespace

TBrowseGrid BrowseGridFor(int areaWidth, int areaHeight, int scrollBarWidth, int panelWidth,
                          int panelHeight, int space) {
    TBrowseGrid grid;
    grid.columns = AtLeastOne(FitCount(areaWidth - space - scrollBarWidth, space + panelWidth));
    grid.rows = AtLeastOne(FitCount(areaHeight - space, space + panelHeight));
    return grid;
}

int BrowseTotalRows(size_t albumCount, int columns) {
    const size_t perRow = static_cast<size_t>(AtLeastOne(columns));
    return static_cast<int>((albumCount + perRow - 1) / perRow);
}

int BrowseScrollMaximum(size_t albumCount, const TBrowseGrid& grid) {
    // Never below the minimum of 1, also when fewer rows than fit are left.
    return AtLeastOne(BrowseTotalRows(albumCount, grid.columns) - grid.rows + 1);
}

size_t BrowseFirstIndex(int position, int columns) {
    return static_cast<size_t>(AtLeastOne(position) - 1) * static_cast<size_t>(AtLeastOne(columns));
}

TBrowseRect BrowsePanelRect(int panel, int columns, int panelWidth, int panelHeight, int space) {
    const int row = panel / AtLeastOne(columns);
    const int column = panel % AtLeastOne(columns);
    return {column * (panelWidth + space) + space, row * (panelHeight + space) + space, panelWidth,
            panelHeight};
}

TBrowsePanelParts BrowsePanelPartsFor(int width, int height) {
    constexpr int h = TBrowsePanelParts::kLineHeight;
    TBrowsePanelParts parts;
    parts.artist = {0, height - (3 * h + 3), width, h};
    parts.album = {0, height - (2 * h + 2), width, h};
    parts.year = {0, height - h - 1, width, h};
    parts.cover = {0, 0, width, std::max(height - (3 * h + 3) - 2, 0)};
    parts.mark = {1, height - 18, 16, 16};
    return parts;
}

std::optional<int> BrowseShowIndex(size_t index, int position, const TBrowseGrid& grid,
                                   int maximum) {
    const size_t first = BrowseFirstIndex(position, grid.columns);
    const size_t end = first + static_cast<size_t>(grid.PanelCount());
    if (index >= first && index < end) return std::nullopt;
    const int wanted = static_cast<int>(index / static_cast<size_t>(grid.columns)) + 1;
    const int target = std::clamp(wanted, 1, AtLeastOne(maximum));
    if (target == position) return std::nullopt;
    return target;
}

std::optional<int> BrowseWheelStep(int position, int steps, int maximum) {
    if (steps > 0 && position > 1) return position - 1;
    if (steps < 0 && position < maximum) return position + 1;
    return std::nullopt;
}

std::optional<int> BrowseKeyTarget(TBrowseKey key, int row, int rowCount,
                                   const TBrowseGrid& grid) {
    if (rowCount < 1) return std::nullopt;
    const int c = grid.columns;
    const int page = grid.PanelCount();
    switch (key) {
        case TBrowseKey::PageUp: return std::max(row - page, 1);
        case TBrowseKey::PageDown: return row + page < rowCount ? row + page : rowCount;
        case TBrowseKey::Home: return 1;
        case TBrowseKey::End: return rowCount;
        case TBrowseKey::Left: return row >= 2 ? std::optional<int>(row - 1) : std::nullopt;
        case TBrowseKey::Right:
            return row + 1 <= rowCount ? std::optional<int>(row + 1) : std::nullopt;
        case TBrowseKey::Up: return row - c >= 1 ? std::optional<int>(row - c) : std::nullopt;
        case TBrowseKey::Down:
            return row + c <= rowCount ? std::optional<int>(row + c) : std::nullopt;
    }
    return std::nullopt;
}
