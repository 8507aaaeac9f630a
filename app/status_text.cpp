#include "app/status_text.h"

#include <cmath>
#include <cstdio>

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

// Differences of int32 values wrap as the 32-bit arithmetic of the panes does,
// without overflowing.
int32_t spanOf(int32_t first, int32_t last) {
    return static_cast<int32_t>(static_cast<uint32_t>(last) - static_cast<uint32_t>(first) + 1u);
}

int truncToInt(float value) {
    if (!(std::fabs(value) < 2147483647.0f)) return value > 0 ? 2147483647 : 0;
    return static_cast<int>(value);
}

}  // namespace

std::u16string cursorPositionText(int32_t x, int32_t y) { return format("%d,%d", x, y); }

std::u16string pixelValueText(const DIB& canvas, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height()) return u"--";
    return format("%08X", static_cast<unsigned>(canvas.pixelAt(x, y)));
}

std::u16string selectionText(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return format("%d,%d -> %d,%d (%d,%d)", left, top, right, bottom, spanOf(left, right),
                  spanOf(top, bottom));
}

std::u16string zoomText(float zoom) {
    const int whole = truncToInt(zoom);
    const int hundredths = truncToInt(zoom * 100.0f) % 100;
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
    if (x >= 81 && x <= 179) return ID_COLOR_ALPHA_MODE;
    if (x >= 180 && x <= 399) return ID_GRID_DIALOG;
    return 0;
}

StatusMenu statusRightClickMenu(int32_t x) {
    if (x >= 81 && x <= 179) return StatusMenu::Color;
    if (x >= 181 && x <= 399) return StatusMenu::GridSize;
    if (x >= 401 && x <= 479) return StatusMenu::View;
    if (x >= 481 && x <= 579) return StatusMenu::Clipboard;
    return StatusMenu::None;
}
