#pragma once
// The selection: two raw corners as the user placed them, the grid that
// shapes them, and the inclusive rectangle derived from both.
#include <cstdint>

struct Selection {
    // Raw corners in canvas pixels, in any order, never clamped to the canvas.
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // Grid cell size (config.ini grid "size"); 0 leaves that direction unsnapped.
    int32_t gw = 32, gh = 32;
    // Grid origin offset (config.ini grid "correct").
    int32_t cx = 0, cy = 0;
    // Derived by updateSelection, inclusive; these initial values are what
    // it derives from the values above (the grid cell holding pixel 0, 0).
    int32_t left = 0, top = 0, right = 31, bottom = 31;

    bool operator==(const Selection&) const = default;
};

// Derives left, top, right and bottom from the corners, the grid size and the
// offset: the rectangle grows outwards to whole grid cells, counted from the
// offset. Call it whenever a corner, the grid size or the offset changes.
void updateSelection(Selection& s);

// All four corner values to 0, then derive: the grid cell holding pixel (0, 0).
void resetSelection(Selection& s);
