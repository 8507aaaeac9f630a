#include "dialogs/file_list_rules.h"

#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"

namespace {

// Overlap as the stepping sees it: a rectangle touching only row or column 0
// from outside does not count.
bool overlapsCanvas(const Selection& s, int32_t width, int32_t height) {
    return s.top < height && s.bottom > 0 && s.left < width && s.right > 0;
}

void placeSelection(Selection& s, int64_t left, int64_t top, int64_t w, int64_t h) {
    s.x1 = static_cast<int32_t>(left);
    s.y1 = static_cast<int32_t>(top);
    s.x2 = static_cast<int32_t>(left + w - 1);
    s.y2 = static_cast<int32_t>(top + h - 1);
    updateSelection(s);
}

}  // namespace

EditResult pasteIntoSelection(Document& doc, const Settings& s, const DIB& image,
                                              bool asMask) {
    if (!image.isValid()) return std::nullopt;
    const EditRect r = selectionRectangle(doc.selection);
    const int32_t width = doc.canvas.width(), height = doc.canvas.height();
    const std::optional<CanvasSize> grown =
        s.autoResize && !asMask ? grownForPaste(doc.selection, width, height) : std::nullopt;
    if (!grown) {
        EditCommand edit(doc, UndoKind::Region, r);
        if (!edit.ready()) return EditResult::noMemory();
        const bool pasted = asMask ? pasteMaskRect(doc.canvas, image, r.x, r.y, r.w, r.h)
                                   : image.copyTo(doc.canvas, r.x, r.y, r.w, r.h, 0, 0);
        if (!pasted) return std::nullopt;
        return edit.commit(s.undoLimit);
    }
    return changeResizedCanvas(doc, s, *grown, [&](DIB& canvas) {
        return image.copyTo(canvas, r.x, r.y, r.w, r.h, 0, 0);
    });
}

void advanceSelection(Selection& s, int32_t canvasWidth, int32_t canvasHeight, bool returnSelect) {
    const int64_t w = int64_t{s.right} - s.left + 1, h = int64_t{s.bottom} - s.top + 1;
    const int64_t top = s.top;
    placeSelection(s, s.left + w, top, w, h);
    if (!returnSelect || overlapsCanvas(s, canvasWidth, canvasHeight)) return;
    placeSelection(s, s.cx, top + h, w, h);
    if (overlapsCanvas(s, canvasWidth, canvasHeight)) return;
    placeSelection(s, s.cx, s.cy, w, h);
}

int32_t nextEntry(int32_t used, int32_t count) { return used + 1 < count ? used + 1 : -1; }
