#include "app/status_text.h"

#include <cstdio>

#include "image/int_math.h"
#include "resources/resource.h"

namespace {

// The texts are ASCII apart from the file title: format narrow, widen.
template <class... Args>
std::u16string format(const char* pattern, Args... args) {
    char buffer[96];
    int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    if (n < 0) return {};
    if (n >= static_cast<int>(sizeof buffer)) n = sizeof buffer - 1;
    return std::u16string(buffer, buffer + n);
}

// The selection's size as the pane shows it: past int32 it wraps.
int32_t shownSpan(int32_t first, int32_t last) { return static_cast<int32_t>(spanOf(first, last)); }

// True when x lies strictly between two pane edges: the edge pixels belong to
// the bar's separators, not to a pane.
bool inside(int32_t x, int32_t leftEdge, int32_t rightEdge) {
    return x > leftEdge && x < rightEdge;
}

// The copy pane runs to the end of the bar, but only its first pixels answer
// a right click.
constexpr int32_t kCopyPaneClickWidth = 100;

}  // namespace

std::u16string cursorPositionText(int32_t x, int32_t y) { return format("%d,%d", x, y); }

std::u16string pixelValueText(const DIB& canvas, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height()) return u"--";
    return format("%08X", static_cast<unsigned>(canvas.pixelAt(x, y)));
}

std::u16string selectionText(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return format("%d,%d -> %d,%d (%d,%d)", left, top, right, bottom, shownSpan(left, right),
                  shownSpan(top, bottom));
}

std::u16string zoomText(float zoom) {
    const int whole = truncToInt32(zoom);
    const int hundredths = truncToInt32(zoom * 100.0f) % 100;
    return format("x%d.%02d", whole, hundredths);
}

std::u16string copyViewerTitle(const DIB& copyBuffer, float viewerZoom) {
    if (!copyBuffer.isValid()) return u"copy viewer";
    return u"copy viewer " + format("%dx%d [", copyBuffer.width(), copyBuffer.height()) +
           zoomText(viewerZoom) + u"]";
}

std::u16string copySizeText(const DIB& copyBuffer) {
    if (!copyBuffer.isValid()) return u"--";
    return format("%d x %d", copyBuffer.width(), copyBuffer.height());
}

std::u16string windowTitle(const std::u16string& fileTitle, bool unsavedChanges) {
    const char16_t mark = unsavedChanges ? u'*' : u' ';
    std::u16string title = kProgramName;
    if (!fileTitle.empty()) {
        title += u'[';
        title += fileTitle;
        title += u']';
    }
    title += u' ';
    title += mark;
    return title;
}

uint32_t statusClickCommand(int32_t x) {
    if (inside(x, kPaneEdges[0], kPaneEdges[1])) return ID_COLOR_ALPHA_MODE;
    // The grid dialog also opens from the separator at the selection pane's left edge.
    if (x >= kPaneEdges[1] && x < kPaneEdges[2]) return ID_GRID_DIALOG;
    return 0;
}

StatusMenu statusRightClickMenu(int32_t x) {
    if (inside(x, kPaneEdges[0], kPaneEdges[1])) return StatusMenu::Color;
    if (inside(x, kPaneEdges[1], kPaneEdges[2])) return StatusMenu::GridSize;
    if (inside(x, kPaneEdges[2], kPaneEdges[3])) return StatusMenu::View;
    if (inside(x, kPaneEdges[3], kPaneEdges[3] + kCopyPaneClickWidth)) return StatusMenu::Clipboard;
    return StatusMenu::None;
}
