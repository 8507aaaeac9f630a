// Grid snapping of the selection.
#include "settings/selection.h"

#include <algorithm>

namespace {

// Moves a low edge down to the start of its grid cell, or (high = true) a high
// edge up to the last pixel of its cell. "%" truncates towards zero, and the
// added grid size makes the rule hold for negative coordinates too. The sums
// are 64-bit and the result is cut back to 32 bits, so extreme corners or grid
// values (the grid dialog lets any number through) wrap instead of overflowing.
int64_t snapEdge(int64_t v, int64_t grid, bool high) {
    if (grid == 0) return v;
    int64_t snapped = v - ((grid + v % grid) % grid);
    return high ? snapped + grid - 1 : snapped;
}

void snapAxis(int32_t a, int32_t b, int32_t grid, int32_t offset, int32_t& low, int32_t& high) {
    int64_t lo = static_cast<int64_t>(std::min(a, b)) - offset;
    int64_t hi = static_cast<int64_t>(std::max(a, b)) - offset;
    low = static_cast<int32_t>(snapEdge(lo, grid, false) + offset);
    high = static_cast<int32_t>(snapEdge(hi, grid, true) + offset);
}

}  // namespace

void updateSelection(Selection& s) {
    snapAxis(s.x1, s.x2, s.gw, s.cx, s.left, s.right);
    snapAxis(s.y1, s.y2, s.gh, s.cy, s.top, s.bottom);
}

void resetSelection(Selection& s) {
    s.x1 = s.y1 = s.x2 = s.y2 = 0;
    updateSelection(s);
}
