// The main window's editing commands: undo and redo, cut, the paste family,
// the changes of the selection, colour replacement and counting, the mask
// pastes and the file choices that lead to them. What each does to the
// document is decided in edit_commands.cpp; this file asks the user, loads
// files and shows the result.
#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_boxes.h"
#include "app/status_bar.h"
#include "app/view_win.h"
#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"
#include "image/file_dialogs.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/color_picker.h"
#include "settings/settings.h"

namespace {

std::optional<PasteKind> pasteKindOf(WORD id) {
    switch (id) {
    case ID_EDIT_PASTE:
    case ID_DROP_PASTE: return PasteKind::Copy;
    case ID_EDIT_PASTE_BEYOND: return PasteKind::Beyond;
    case ID_EDIT_PASTE_TRANSLUCENT: return PasteKind::Translucent;
    case ID_EDIT_PASTE_OPAQUE_BASE: return PasteKind::OpaqueBase;
    }
    return std::nullopt;
}

}  // namespace

void Main::showEdit(const EditResult& outcome) {
    if (outcome.outOfMemory) showMemoryShortage(hwnd);
    if (!outcome) return;
    showTitle(*this);
    const float zoom = appState().zoomFactor;
    if (outcome->kind == UndoKind::WholeCanvas) {
        fitScrollBarsToCanvas(*this);  // the size may have changed
        invalidateView(*this);
    } else {
        const EditRect& r = outcome->rect;
        const CanvasRect changed{r.x, r.y, r.x + r.w - 1, r.y + r.h - 1};
        invalidateView(*this, canvasRectToView(changed, zoom, scrollPosition(hScroll),
                                               scrollPosition(vScroll)));
    }
    showCursorStatus(*this);
}

void Main::count(DocumentEvent event) {
    countEvent(document_, event);
    showTitle(*this);
}

void Main::showUndoStep() {
    showTitle(*this);
    fitScrollBarsToCanvas(*this);
    invalidateView(*this);
    showCursorStatus(*this);
}

bool Main::runEditCommand(WORD id) {
    const Settings& s = settings();
    Document& doc = document_;
    if (std::optional<PasteKind> kind = pasteKindOf(id)) {
        if (id != ID_DROP_PASTE) {
            showEdit(paste(doc, s, doc.copyBuffer, *kind));  // nothing without a CopyBuffer
            return true;
        }
        DIB image;
        if (!loadDropPath(doc, image)) {
            showLoadError(doc.dropPath);
            return true;
        }
        showEdit(paste(doc, s, image, *kind));
        return true;
    }
    switch (id) {
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO: {
        const bool undo = id == ID_EDIT_UNDO;
        if (undo ? undoEdit(doc) : redoEdit(doc))
            showUndoStep();
        else if ((undo ? doc.undoHistory.undoCount() : doc.undoHistory.redoCount()) != 0)
            showMemoryShortage(hwnd);  // a whole-canvas step could not re-create the canvas
        return true;
    }
    case ID_EDIT_CUT:
        // The delete happens even when nothing could be copied.
        runClipboardCommand(ID_EDIT_COPY);
        showEdit(changeSelection(doc, s, ID_EDIT_DELETE));
        return true;
    case ID_EDIT_DELETE:
    case ID_COLOR_MAKE_OPAQUE:
    case ID_COLOR_INVERT:
    case ID_COLOR_SWAP_RBG:
    case ID_COLOR_SWAP_GRB:
    case ID_COLOR_SWAP_GBR:
    case ID_COLOR_SWAP_BRG:
    case ID_COLOR_SWAP_BGR:
    case ID_COLOR_FLIP_HORIZONTAL:
    case ID_COLOR_FLIP_VERTICAL: showEdit(changeSelection(doc, s, id)); return true;
    case ID_COLOR_PASTE_MASK: showEdit(pasteMask(doc, s, doc.copyBuffer)); return true;
    case ID_DROP_PASTE_MASK: {
        DIB mask;
        if (!loadDropPath(doc, mask)) {
            showLoadError(doc.dropPath);
            return true;
        }
        showEdit(pasteMask(doc, s, mask));
        return true;
    }
    case ID_EDIT_PASTE_FROM_FILE:
    case ID_COLOR_PASTE_MASK_FILE: {
        // A paste keeps the document's name; the mask starts from no file at all.
        FileChoice choice{};
        if (id == ID_EDIT_PASTE_FROM_FILE) copyChoice(choice, doc.file);
        if (!chooseOpenFile(choice, hwnd, false)) return true;
        setDropPath(doc, choice.filePath);
        SendMessageW(hwnd, WM_COMMAND,
                     id == ID_EDIT_PASTE_FROM_FILE ? ID_DROP_PASTE : ID_DROP_PASTE_MASK, 0);
        return true;
    }
    case ID_COLOR_MAKE_TRANSPARENT: {
        // The picked colour becomes transparent; it is stored in no setting.
        const std::optional<uint32_t> color = pickColor(hwnd, s.before);
        if (!color) return true;
        const uint32_t match = pixelOf(*color);
        const ColorReplacement result = replaceColor(doc, s, match, match & 0x00FFFFFFu, false);
        showEdit(result.outcome);
        MessageBoxW(hwnd, (std::to_wstring(result.replaced) + L" px").c_str(), L"完了", MB_OK);
        return true;
    }
    case ID_COLOR_REPLACE:
        showEdit(replaceColor(doc, s, pixelOf(s.before), pixelOf(s.after), true).outcome);
        return true;
    case ID_COLOR_COUNT: {
        const EditRect r = selectionRectangle(doc.selection);
        const uint32_t count = countColorsRect(doc.canvas, r.x, r.y, r.w, r.h);
        MessageBoxW(hwnd, (std::to_wstring(count) + L"色").c_str(), L"使用色カウント",
                    MB_OK | MB_ICONINFORMATION);
        return true;
    }
    case ID_OPTION_CLEAR_UNDO:
        if (MessageBoxW(hwnd, L"アンドゥバッファをクリアしますか？", L"確認",
                        MB_YESNO | MB_ICONQUESTION) == IDYES)
            doc.undoHistory.clearAll();
        return true;
    }
    return false;
}
