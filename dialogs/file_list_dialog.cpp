#include "dialogs/file_list_dialog.h"

#include <shellapi.h>

#include <vector>

#include "app/message_boxes.h"
#include "app/process_icons.h"
#include "dialogs/file_list_rules.h"
#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"
#include "image/clipboard_exchange.h"
#include "image/file_dialogs.h"
#include "image/image_loader.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/settings.h"

namespace {

constexpr int kInitialExtent = 640;

const wchar_t* fileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return path.c_str() + (slash == std::wstring::npos ? 0 : slash + 1);
}

}  // namespace

HWND FileListDialog::list() const { return GetDlgItem(hwnd, IDC_FILE_LIST); }

void FileListDialog::open(HINSTANCE instance, HWND owner) {
    if (!hwnd) doc_.fileListDialog = create(instance, IDD_DIALOG_FILELIST, owner);
    bringForward(hwnd);  // the template is hidden until placed
}

INT_PTR FileListDialog::DlgProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == dragListMessage_ && dragListMessage_ != 0) {
        const LRESULT result = onDragList(*reinterpret_cast<const DRAGLISTINFO*>(lParam));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG: onInitDialog(); return TRUE;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_CLOSE: onClose(); return TRUE;
    case WM_DESTROY: doc_.fileListDialog = nullptr; return FALSE;
    case WM_DROPFILES:
        addDropped(reinterpret_cast<HDROP>(wParam));
        DragFinish(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case kMsgAddDroppedFiles: addDropped(reinterpret_cast<HDROP>(wParam)); return TRUE;
    case kMsgAddFilePath:
        addPath(reinterpret_cast<const wchar_t*>(lParam));
        if (SendMessageW(list(), LB_GETCURSEL, 0, 0) == LB_ERR) select(0);
        return TRUE;
    }
    return FALSE;
}

void FileListDialog::onInitDialog() {
    const Settings& s = settings();
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(processIcons().fileList));
    SetWindowTextW(hwnd, L"FileList");
    // A stored position wins over the centring of the template.
    if (s.pos.x != 0 || s.pos.y != 0)
        SetWindowPos(hwnd, nullptr, s.pos.x, s.pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CheckDlgButton(hwnd, IDC_MOVE_CUR_SEL, s.moveCurSel ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd, IDC_MOVE_SELECT, s.moveSelect ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd, IDC_RETURN_SELECT, s.returnSelect ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(hwnd, IDC_RETURN_SELECT), s.moveSelect);
    MakeDragList(list());
    dragListMessage_ = RegisterWindowMessageW(DRAGLISTMSGSTRING);
    horizontalExtent_ = kInitialExtent;
    SendMessageW(list(), LB_SETHORIZONTALEXTENT, horizontalExtent_, 0);
    DragAcceptFiles(hwnd, TRUE);
}

void FileListDialog::onCommand(WORD id, WORD code) {
    Settings& s = settings();
    switch (id) {
    case IDC_FILE_LIST:
        if (code == LBN_SELCHANGE) showTitle();
        break;
    case ID_EDIT_PASTE:
    case ID_COLOR_PASTE_MASK:
    case ID_EDIT_COPY:
    case ID_FILE_OPEN: applySelected(id); break;
    case ID_EDIT_PASTE_FROM_FILE: addChosenFiles(); break;
    case ID_EDIT_DELETE: removeSelected(); break;
    case ID_FILE_LIST_CLEAR: SendMessageW(list(), LB_RESETCONTENT, 0, 0); break;
    // The options apply at once.
    case IDC_MOVE_CUR_SEL: s.moveCurSel = IsDlgButtonChecked(hwnd, id) == BST_CHECKED; break;
    case IDC_MOVE_SELECT:
        s.moveSelect = IsDlgButtonChecked(hwnd, id) == BST_CHECKED;
        EnableWindow(GetDlgItem(hwnd, IDC_RETURN_SELECT), s.moveSelect);
        break;
    case IDC_RETURN_SELECT: s.returnSelect = IsDlgButtonChecked(hwnd, id) == BST_CHECKED; break;
    case IDCANCEL: onClose(); break;
    }
}

void FileListDialog::onClose() {
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    settings().pos = {frame.left, frame.top};
    DestroyWindow(hwnd);
}

void FileListDialog::addPath(const std::wstring& path) {
    SendMessageW(list(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

void FileListDialog::addDropped(HDROP drop) {
    HWND box = list();
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    ScopedWindowDC dc(box);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    ScopedSelectObject selected(dc.get(), font);
    const int border = 4 * GetSystemMetrics(SM_CXBORDER);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // The whole name, however long: a cut one would name another file.
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        if (!isListableImage(reinterpret_cast<const char16_t*>(path.c_str()))) continue;
        addPath(path);
        if (SendMessageW(box, LB_GETCURSEL, 0, 0) == LB_ERR) select(0);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), path.c_str(), static_cast<int>(path.size()), &extent);
        if (extent.cx > horizontalExtent_ + border) {
            horizontalExtent_ = extent.cx + border;
            SendMessageW(box, LB_SETHORIZONTALEXTENT, horizontalExtent_, 0);
        }
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

void FileListDialog::addChosenFiles() {
    FileChoice choice{};
    if (!chooseOpenFile(choice, hwnd, true)) return;
    // One file comes as its path; several as the folder, then each name.
    std::vector<std::wstring> parts;
    for (const char16_t* p = choice.filePath; *p != u'\0'; p += parts.back().size() + 1)
        parts.emplace_back(reinterpret_cast<const wchar_t*>(p));
    if (parts.size() == 1) {
        if (isListableImage(choice.filePath)) addPath(parts[0]);
        return;
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::wstring path = parts[0] + L"\\" + parts[i];
        if (!isListableImage(reinterpret_cast<const char16_t*>(path.c_str()))) continue;
        addPath(path);
        if (SendMessageW(list(), LB_GETCURSEL, 0, 0) == LB_ERR) select(0);
    }
}

void FileListDialog::removeSelected() {
    const int index = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
    if (index == LB_ERR) return;
    SendMessageW(list(), LB_DELETESTRING, index, 0);
    // The next entry takes its place; after the last, none is selected.
    SendMessageW(list(), LB_SETCURSEL, index, 0);
}

void FileListDialog::applySelected(WORD id) {
    const int index = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
    if (index == LB_ERR) return;
    const Settings& s = settings();
    const std::wstring path = entry(index);
    DIB image;
    const bool loaded = loadImageFile(image, reinterpret_cast<const char16_t*>(path.c_str()));
    if (id == ID_EDIT_PASTE || id == ID_COLOR_PASTE_MASK) {
        // A file that does not load records nothing and changes nothing, like
        // a paste that fails: the selection and the list stay.
        if (!loaded) return;
        const EditResult pasted = pasteIntoSelection(doc_, s, image, id == ID_COLOR_PASTE_MASK);
        if (pasted.outOfMemory) showMemoryShortage(hwnd);
        if (!pasted) return;
        if (s.moveSelect)
            advanceSelection(doc_.selection, doc_.canvas.width(), doc_.canvas.height(),
                             s.returnSelect);
    } else if (id == ID_EDIT_COPY) {
        if (loaded)
            putImageOnClipboard(image, 0, 0, image.width(), image.height(), pixelOf(s.back));
    } else if (loaded) {
        // Opening from the list counts as a change even over a saved document.
        if (replaceCanvas(doc_, s, image, DocumentEvent::Edited))
            setChoiceFromPath(doc_.file, reinterpret_cast<const char16_t*>(path.c_str()));
        else
            showMemoryShortage(hwnd);
    }
    SendMessageW(GetWindow(hwnd, GW_OWNER), kMsgRefresh, 0, 0);
    if (s.moveCurSel) {
        select(nextEntry(index, static_cast<int>(SendMessageW(list(), LB_GETCOUNT, 0, 0))));
        showTitle();
    }
}

LRESULT FileListDialog::onDragList(const DRAGLISTINFO& info) {
    switch (info.uNotification) {
    // Reordering needs two entries at least.
    case DL_BEGINDRAG: return SendMessageW(list(), LB_GETCOUNT, 0, 0) >= 2;
    case DL_DRAGGING:
    case DL_DROPPED: {
        const int target = LBItemFromPt(list(), info.ptCursor, info.uNotification == DL_DRAGGING);
        if (target >= 0) moveSelectedTo(target);
        return info.uNotification == DL_DRAGGING ? DL_MOVECURSOR : 0;
    }
    }
    return 0;
}

void FileListDialog::moveSelectedTo(int index) {
    const int selected = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
    if (selected == LB_ERR || selected == index) return;
    // The entry follows the cursor one step at a time.
    const std::wstring text = entry(selected);
    SendMessageW(list(), LB_DELETESTRING, selected, 0);
    SendMessageW(list(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    select(index);
}

void FileListDialog::select(int index) { SendMessageW(list(), LB_SETCURSEL, index, 0); }

void FileListDialog::showTitle() {
    const int index = static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0));
    std::wstring title = L"FileList";
    if (index != LB_ERR) title = title + L" [" + fileNamePart(entry(index)) + L"]";
    SetWindowTextW(hwnd, title.c_str());
}

std::wstring FileListDialog::entry(int index) const {
    const LRESULT length = SendMessageW(list(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}
