#include "app/interaction.h"

#include "resources/resource.h"

namespace {

constexpr uint32_t kVkLeft = 0x25;
constexpr uint32_t kVkUp = 0x26;
constexpr uint32_t kVkRight = 0x27;
constexpr uint32_t kVkDown = 0x28;

// Corner arithmetic wraps like the 32-bit values it works on instead of
// overflowing; the grid dialog lets any numbers through.
int32_t wrap(int64_t v) { return static_cast<int32_t>(v); }

}  // namespace

CanvasRect selectionRect(const Selection& s) { return {s.left, s.top, s.right, s.bottom}; }

bool selectionRectChanged(const Selection& before, const Selection& after) {
    return before.left != after.left || before.top != after.top || before.right != after.right ||
           before.bottom != after.bottom;
}

void pressSelection(Selection& s, CanvasPoint p, bool shift) {
    s.x2 = p.x;
    s.y2 = p.y;
    if (!shift) {
        s.x1 = p.x;
        s.y1 = p.y;
    }
    updateSelection(s);
}

void dragSelection(Selection& s, CanvasPoint p) {
    s.x2 = p.x;
    s.y2 = p.y;
    updateSelection(s);
}

void moveSelectionTo(Selection& s, CanvasPoint p) {
    const int64_t width = spanOf(s.left, s.right);
    const int64_t height = spanOf(s.top, s.bottom);
    s.x1 = p.x;
    s.y1 = p.y;
    s.x2 = wrap(p.x + width - s.gw);
    s.y2 = wrap(p.y + height - s.gh);
    updateSelection(s);
}

AutoScroll dragAutoScroll(int32_t px, int32_t py, const ViewArea& area) {
    AutoScroll out;
    if (px < kViewMargin) {
        out.horizontal = kScrollLineUp;
    } else if (px > static_cast<int64_t>(area.width) - kViewMargin) {
        out.horizontal = kScrollLineDown;
    }
    if (py < kViewMargin) {
        out.vertical = kScrollLineUp;
    } else if (py > static_cast<int64_t>(area.height) - kViewMargin) {
        out.vertical = kScrollLineDown;
    }
    return out;
}

WheelAction wheelAction(int32_t delta, bool ctrl, bool shift) {
    WheelAction out{std::nullopt, std::nullopt, 0};
    if (delta == 0) return out;
    const int32_t request = delta > 0 ? kScrollLineUp : kScrollLineDown;
    if (ctrl) out.vertical = request;
    if (shift) out.horizontal = request;
    if (!ctrl && !shift) out.command = delta > 0 ? ID_VIEW_ZOOM_IN : ID_VIEW_ZOOM_OUT;
    return out;
}

DoubleClickAction doubleClickAction(bool shift, bool copyPresent) {
    if (!shift && copyPresent) return {ID_EDIT_SELECT_COPY_SIZE, true};
    return {ID_EDIT_SELECT_ALL, false};
}

std::optional<ArrowKey> arrowKeyOf(uint32_t virtualKey) {
    switch (virtualKey) {
    case kVkLeft: return ArrowKey::Left;
    case kVkRight: return ArrowKey::Right;
    case kVkUp: return ArrowKey::Up;
    case kVkDown: return ArrowKey::Down;
    default: return std::nullopt;
    }
}

ScrollStep arrowScroll(ArrowKey key) {
    switch (key) {
    case ArrowKey::Left: return {false, kScrollLineUp};
    case ArrowKey::Right: return {false, kScrollLineDown};
    case ArrowKey::Up: return {true, kScrollLineUp};
    case ArrowKey::Down: break;
    }
    return {true, kScrollLineDown};
}

void stepSelection(Selection& s, ArrowKey key, bool shift) {
    int64_t dx = 0, dy = 0;
    switch (key) {
    case ArrowKey::Left: dx = -static_cast<int64_t>(s.gw); break;
    case ArrowKey::Right: dx = s.gw; break;
    case ArrowKey::Up: dy = -static_cast<int64_t>(s.gh); break;
    case ArrowKey::Down: dy = s.gh; break;
    }
    s.x2 = wrap(s.x2 + dx);
    s.y2 = wrap(s.y2 + dy);
    if (!shift) {
        s.x1 = wrap(s.x1 + dx);
        s.y1 = wrap(s.y1 + dy);
    }
    updateSelection(s);
}

std::optional<RevealScroll> revealAfterStep(ArrowKey key, const Selection& s, float zoom,
                                            int32_t hPos, int32_t vPos, const ViewArea& area) {
    const ViewRect v = canvasRectToView(selectionRect(s), zoom, hPos, vPos);
    // Past the far edge the edge lands 16 pixels inside the view (the margin
    // on both sides).
    constexpr int32_t kBothMargins = 2 * kViewMargin;
    switch (key) {
    case ArrowKey::Left:
        if (v.left < 0) return RevealScroll{false, truncToInt32(static_cast<float>(s.left) * zoom)};
        break;
    case ArrowKey::Right:
        if (v.right > area.width) {
            const float far = static_cast<float>(static_cast<int64_t>(area.width) - kBothMargins);
            return RevealScroll{false, truncToInt32(static_cast<float>(s.right) * zoom - far)};
        }
        break;
    case ArrowKey::Up:
        if (v.top < 0) return RevealScroll{true, truncToInt32(static_cast<float>(s.top) * zoom)};
        break;
    case ArrowKey::Down:
        if (v.bottom > area.height) {
            const float far = static_cast<float>(static_cast<int64_t>(area.height) - kBothMargins);
            return RevealScroll{true, truncToInt32(static_cast<float>(s.bottom) * zoom - far)};
        }
        break;
    }
    return std::nullopt;
}

PanStep panStep(int32_t anchorX, int32_t anchorY, int32_t px, int32_t py, int32_t hPos,
                int32_t vPos) {
    return {saturateToInt32(static_cast<int64_t>(hPos) + anchorX - px),
            saturateToInt32(static_cast<int64_t>(vPos) + anchorY - py)};
}

bool applySelectionCommand(uint32_t commandId, Selection& s, const DIB& canvas,
                           const DIB& copyBuffer) {
    switch (commandId) {
    case ID_EDIT_SELECT_NONE: resetSelection(s); return true;
    case ID_EDIT_SELECT_COPY_SIZE:
        if (copyBuffer.isValid()) {
            s.x2 = wrap(static_cast<int64_t>(s.left) + copyBuffer.width() - 1);
            s.y2 = wrap(static_cast<int64_t>(s.top) + copyBuffer.height() - 1);
            updateSelection(s);
            return true;
        }
        [[fallthrough]];  // without a CopyBuffer it selects all
    case ID_EDIT_SELECT_ALL:
        if (!canvas.isValid()) return false;
        s.x1 = 0;
        s.y1 = 0;
        s.x2 = canvas.width() - 1;
        s.y2 = canvas.height() - 1;
        updateSelection(s);
        return true;
    case ID_GRID_FROM_SELECTION:
        // The grid takes the selection's size; the rectangle stays as it is.
        s.gw = wrap(spanOf(s.left, s.right));
        s.gh = wrap(spanOf(s.top, s.bottom));
        return true;
    default: break;
    }
    if (commandId >= ID_GRID_1 && commandId <= ID_GRID_512) {
        const int32_t size = 1 << (commandId - ID_GRID_1);
        s.gw = size;
        s.gh = size;
        updateSelection(s);
        return true;
    }
    return false;
}

std::optional<uint32_t> colorUnderCursor(const DIB& canvas, CanvasPoint p) {
    if (p.x < 0 || p.y < 0 || p.x >= canvas.width() || p.y >= canvas.height()) return std::nullopt;
    const uint32_t pixel = canvas.pixelAt(p.x, p.y);
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}
