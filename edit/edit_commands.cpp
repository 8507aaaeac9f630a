#include "edit/edit_commands.h"

#include "edit/pixel_ops.h"
#include "resources/resource.h"

namespace {

bool changeRect(DIB& canvas, uint32_t commandId, const EditRect& r, uint32_t backPixel) {
    switch (commandId) {
    case ID_EDIT_DELETE: return canvas.fillRect(r.x, r.y, r.w, r.h, backPixel);
    case ID_COLOR_MAKE_OPAQUE: return canvas.makeOpaqueRect(r.x, r.y, r.w, r.h);
    case ID_COLOR_INVERT: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::Invert);
    case ID_COLOR_SWAP_RBG: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::ToRBG);
    case ID_COLOR_SWAP_GRB: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::ToGRB);
    case ID_COLOR_SWAP_GBR: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::ToGBR);
    case ID_COLOR_SWAP_BRG: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::ToBRG);
    case ID_COLOR_SWAP_BGR: return recolorRect(canvas, r.x, r.y, r.w, r.h, RecolorKind::ToBGR);
    case ID_COLOR_FLIP_HORIZONTAL: return flipRectHorizontal(canvas, r.x, r.y, r.w, r.h);
    case ID_COLOR_FLIP_VERTICAL: return flipRectVertical(canvas, r.x, r.y, r.w, r.h);
    }
    return false;
}

bool pasteInto(DIB& canvas, const DIB& image, const EditRect& t, PasteKind kind) {
    switch (kind) {
    case PasteKind::Copy:
    case PasteKind::Beyond: return image.copyTo(canvas, t.x, t.y, t.w, t.h, 0, 0);
    case PasteKind::Translucent:
        return blendRect(canvas, image, t.x, t.y, t.w, t.h, BlendMode::Translucent);
    case PasteKind::OpaqueBase:
        return blendRect(canvas, image, t.x, t.y, t.w, t.h, BlendMode::OpaqueBase);
    }
    return false;
}

}  // namespace

EditResult changeSelection(Document& doc, const Settings& s, uint32_t commandId) {
    const EditRect r = selectionRectangle(doc.selection);
    EditCommand edit(doc, UndoKind::Region, r);
    if (!edit.ready()) return EditResult::noMemory();
    if (!changeRect(doc.canvas, commandId, r, pixelOf(s.back))) return std::nullopt;
    return edit.commit(s.undoLimit);
}

EditResult paste(Document& doc, const Settings& s, const DIB& image,
                                 PasteKind kind) {
    if (!image.isValid()) return std::nullopt;
    const bool beyond = kind == PasteKind::Beyond;
    const EditRect target = beyond ? beyondTarget(doc.selection, image.width(), image.height())
                                   : pasteTarget(doc.selection, image.width(), image.height());
    const int32_t width = doc.canvas.width(), height = doc.canvas.height();
    const std::optional<CanvasSize> grown =
        !s.autoResize ? std::nullopt
        : beyond ? grownForPasteBeyond(doc.selection, image.width(), image.height(), width, height)
                 : grownForPaste(doc.selection, width, height);
    if (!grown) {
        EditCommand edit(doc, UndoKind::Region, target);
        if (!edit.ready()) return EditResult::noMemory();
        if (!pasteInto(doc.canvas, image, target, kind)) return std::nullopt;
        EditResult outcome = edit.commit(s.undoLimit);
        // A paste into the selection repaints the selection, which holds the target.
        if (!beyond) outcome->rect = selectionRectangle(doc.selection);
        return outcome;
    }
    return changeResizedCanvas(doc, s, *grown,
                             [&](DIB& canvas) { return pasteInto(canvas, image, target, kind); });
}

EditResult changeResizedCanvas(Document& doc, const Settings& s, CanvasSize size,
                                             const std::function<bool(DIB& canvas)>& change) {
    // The resized canvas is built aside; the old one becomes the undo entry's
    // before image as it is. Where it shrinks the fills below clip to nothing.
    if (size.width <= 0 || size.height <= 0) return std::nullopt;  // refused, not out of memory
    EditCommand edit(doc, ReplacingCanvas{});
    const int32_t width = doc.canvas.width(), height = doc.canvas.height();
    DIB canvas;
    if (!doc.undoHistory.allocateDroppingOldest(
            size.width, size.height, [&] { return canvas.create(size.width, size.height); }))
        return EditResult::noMemory();
    const uint32_t back = pixelOf(s.back);
    canvas.fillRect(width, 0, size.width - width, height, back);
    canvas.fillRect(0, height, size.width, size.height - height, back);
    doc.canvas.copyTo(canvas, 0, 0, width, height, 0, 0);
    if (!change(canvas)) return std::nullopt;
    return edit.commitReplacement(canvas, s.undoLimit);
}

EditResult pasteMask(Document& doc, const Settings& s, const DIB& mask) {
    if (!mask.isValid()) return std::nullopt;
    const EditRect t = pasteTarget(doc.selection, mask.width(), mask.height());
    EditCommand edit(doc, UndoKind::Region, t);
    if (!edit.ready()) return EditResult::noMemory();
    if (!pasteMaskRect(doc.canvas, mask, t.x, t.y, t.w, t.h)) return std::nullopt;
    return edit.commit(s.undoLimit);
}

ColorReplacement replaceColor(Document& doc, const Settings& s, uint32_t match,
                              uint32_t replacement, bool keepAlpha) {
    const EditRect r = selectionRectangle(doc.selection);
    EditCommand edit(doc, UndoKind::Region, r);
    if (!edit.ready()) return {0, EditResult::noMemory()};
    const uint32_t replaced =
        replaceColorRect(doc.canvas, r.x, r.y, r.w, r.h, match, replacement, keepAlpha);
    if (replaced == 0) return {0, std::nullopt};
    return {replaced, edit.commit(s.undoLimit)};
}

EditResult replaceCanvas(Document& doc, const Settings& s, DIB& image, DocumentEvent event) {
    EditCommand edit(doc, ReplacingCanvas{});
    return edit.commitReplacement(image, s.undoLimit, event);
}

bool undoEdit(Document& doc) {
    if (!doc.undoHistory.undo(doc.canvas)) return false;
    countEvent(doc, DocumentEvent::Undone);
    return true;
}

bool redoEdit(Document& doc) {
    if (!doc.undoHistory.redo(doc.canvas)) return false;
    countEvent(doc, DocumentEvent::Redone);
    return true;
}
