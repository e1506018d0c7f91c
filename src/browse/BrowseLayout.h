#pragma once
// The arithmetic of the wall of covers: how many panels fit, where each one
// stands, which albums a scroll position shows, and how the scroll position
// and the current album move on the wheel and the keys.  Positions are
// 1-based like the scroll bar's (position p shows row p first); album
// indexes and rows of the album list are as stated at each function.
#include <cstddef>
#include <optional>

struct TBrowseGrid {
    int columns = 1;  // panels per row, at least 1
    int rows = 1;     // visible rows, at least 1

    int PanelCount() const { return columns * rows; }
    bool operator==(const TBrowseGrid&) const = default;
};

struct TBrowseRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TBrowseRect&) const = default;
};

// The panel layout of an area (sizes in pixels; `space` is the gap between
// panels and around them, `scrollBarWidth` what the scroll bar takes).
TBrowseGrid BrowseGridFor(int areaWidth, int areaHeight, int scrollBarWidth, int panelWidth,
                          int panelHeight, int space);

// Rows of `albumCount` albums; the largest scroll position (at least 1).
int BrowseTotalRows(size_t albumCount, int columns);
int BrowseScrollMaximum(size_t albumCount, const TBrowseGrid& grid);
// The album index (0-based in the view list) shown in panel 0 at a position.
size_t BrowseFirstIndex(int position, int columns);

// Panel k (row-major) in the area, and the parts of a panel relative to it.
TBrowseRect BrowsePanelRect(int panel, int columns, int panelWidth, int panelHeight, int space);
struct TBrowsePanelParts {
    static constexpr int kLineHeight = 14;
    TBrowseRect cover, artist, album, year, mark;
};
TBrowsePanelParts BrowsePanelPartsFor(int panelWidth, int panelHeight);

// The scroll position that brings album `index` into view, or nothing when
// it is in view already.
std::optional<int> BrowseShowIndex(size_t index, int position, const TBrowseGrid& grid,
                                   int maximum);
// One wheel step: up (steps > 0) or down; nothing when the position stays.
std::optional<int> BrowseWheelStep(int position, int steps, int maximum);

// The browse keyboard: the album row (1-based, as the album grid counts it)
// a key moves the current row to, or nothing.  `rowCount` is the number of
// album rows.
enum class TBrowseKey { PageUp, PageDown, Home, End, Left, Right, Up, Down };
std::optional<int> BrowseKeyTarget(TBrowseKey key, int row, int rowCount, const TBrowseGrid& grid);
