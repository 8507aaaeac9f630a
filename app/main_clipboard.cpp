// The main window's side of the clipboard and of dropped files: the listener
// that feeds the CopyBuffer, the drop handler, and the commands that copy to
// the clipboard, open the copy viewer and clear the CopyBuffer.
#include <windows.h>

#include <shellapi.h>

#include "app/main_window.h"
#include "app/status_bar.h"
#include "app/view_win.h"
#include "edit/edit_rects.h"
#include "edit/pixel_ops.h"
#include "image/clipboard_exchange.h"
#include "image/file_list_block.h"
#include "image/grey_mask_clipboard.h"
#include "image/image_loader.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

constexpr UINT kMsgAddFileList = WM_USER + 2;

void sendIfOpen(void* window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    if (window) SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

// File `index` of a drop or a copied file list into dropPath.
void takeDropPath(Document& doc, HDROP drop, UINT index) {
    std::u16string path(DragQueryFileW(drop, index, nullptr, 0), u'\0');
    DragQueryFileW(drop, index, asWide(path.data()), static_cast<UINT>(path.size() + 1));
    setDropPath(doc, path.c_str());
}

}  // namespace

bool loadDropPath(const Document& doc, DIB& target) {
    return !doc.dropPathCut && loadImageFile(target, doc.dropPath);
}

void Main::copyBufferChanged() {
    invalidateSelectionFrame(*this);
    showCopyStatus(*this);
    sendIfOpen(document().copyViewer, kMsgRefresh);
}

void Main::onClipboardUpdate(WPARAM check) {
    Document& doc = document_;
    if (check != kClipboardCheckTag) doc.clipboardPending = true;
    // Our own check waits while another window is in front; the system's
    // notifications (0) are taken at once.
    if (check != 0 && GetForegroundWindow() != hwnd) return;
    doc.clipboardPending = false;

    ScopedClipboard clipboard(hwnd);
    if (!clipboard.isOpen()) return;
    if (clipboardOffersImage()) {
        invalidateSelectionFrame(*this);  // the CopyBuffer's size is drawn at the selection
        if (readClipboardImage(doc.copyBuffer)) copyBufferChanged();
        return;
    }
    if (!settings().checkFileCopy || !IsClipboardFormatAvailable(CF_HDROP)) return;
    if (!clipboardFilesAreCopied()) return;  // cut files are left alone
    auto list = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    ScopedGlobalLock lock(list);
    if (lock.data() == nullptr) return;
    const std::optional<size_t> count =
        fileListCount(static_cast<const uint8_t*>(lock.data()), lock.size());
    if (!count) return;
    if (*count == 1) {
        takeDropPath(doc, list, 0);
        lock.unlock();
        clipboard.close();
        invalidateSelectionFrame(*this);
        if (loadDropPath(doc, doc.copyBuffer)) copyBufferChanged();
        return;
    }
    SendMessageW(hwnd, WM_COMMAND, ID_OPTION_FILE_LIST, 0);
    // The list reads the names through the drop handle, which the block is.
    sendIfOpen(doc.fileListDialog, kMsgAddFileList, reinterpret_cast<WPARAM>(list));
}

void Main::onDropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count != 1) {
        SendMessageW(hwnd, WM_COMMAND, ID_OPTION_FILE_LIST, 0);
        // The file list finishes the drop it takes; without one it ends here.
        if (void* fileList = document().fileListDialog)
            SendMessageW(static_cast<HWND>(fileList), WM_DROPFILES, reinterpret_cast<WPARAM>(drop),
                         0);
        else
            DragFinish(drop);
        return;
    }
    takeDropPath(document_, drop, 0);
    DragFinish(drop);
    switch (settings().ddActionType) {
    case 1: SendMessageW(hwnd, WM_COMMAND, ID_DROP_PASTE, 0); break;
    case 2: SendMessageW(hwnd, WM_COMMAND, ID_DROP_OPEN, 0); break;
    case 3: {
        // The choice arrives later as an ordinary command.
        POINT cursor{};
        GetCursorPos(&cursor);
        TrackPopupMenu(dropMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y,
                       0, hwnd, nullptr);
        break;
    }
    default: SendMessageW(hwnd, WM_COMMAND, ID_DROP_COPY, 0); break;
    }
}

bool Main::runClipboardCommand(WORD id) {
    const Settings& s = settings();
    Document& doc = document_;
    switch (id) {
    case ID_EDIT_COPY: {
        // The listener takes the copy back into the CopyBuffer.
        const EditRect r =
            copyRectangle(doc.selection, doc.canvas.width(), doc.canvas.height(), s.copyOutOfRect);
        putImageOnClipboard(doc.canvas, r.x, r.y, r.w, r.h, pixelOf(s.back));
        invalidateSelectionFrame(*this);
        return true;
    }
    case ID_COLOR_COPY_MASK: {
        const EditRect r =
            copyRectangle(doc.selection, doc.canvas.width(), doc.canvas.height(), s.copyOutOfRect);
        copyMaskToClipboard(doc.canvas, r.x, r.y, r.w, r.h);
        return true;
    }
    case ID_DROP_COPY: {
        DIB image;
        if (!loadDropPath(doc, image)) return true;  // ignored silently
        putImageOnClipboard(image, 0, 0, image.width(), image.height(), pixelOf(s.back));
        copyBufferChanged();
        return true;
    }
    case ID_CLIPBOARD_RELISTEN:
        RemoveClipboardFormatListener(hwnd);
        AddClipboardFormatListener(hwnd);
        return true;
    case ID_OPTION_COPY_VIEWER: copyViewer_.open(instance_, hwnd); return true;
    case ID_OPTION_CLEAR_COPY:
        if (MessageBoxW(hwnd, L"コピーデータをクリアしますか？", L"確認",
                        MB_YESNO | MB_ICONQUESTION) == IDYES) {
            invalidateSelectionFrame(*this);
            doc.copyBuffer.release();
            showCopyStatus(*this);
            sendIfOpen(doc.copyViewer, kMsgRefresh);
        }
        return true;
    }
    return false;
}
