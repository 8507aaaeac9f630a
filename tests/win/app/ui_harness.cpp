#include "tests/win/app/ui_harness.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "settings/settings.h"

namespace {

// Records the commands reaching the main window, then lets them through.
std::vector<WORD> recordedCommands;
Main* runningMain = nullptr;
int recordedClipboardUpdates = 0;

LRESULT CALLBACK recordingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) recordedCommands.push_back(LOWORD(wParam));
    if (message == WM_CLIPBOARDUPDATE) ++recordedClipboardUpdates;
    return WndBase::StaticWndProc(hwnd, message, wParam, lParam);
}

void setModifiers(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

UiSession::UiSession(const std::filesystem::path& folder, const std::wstring& commandLine) {
    resetSettings();
    appState() = AppState{};
    settings().configPath = (folder / L"config.ini").u16string();
    // Every session starts on an empty clipboard, whatever the last one left.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    runningMain = &main_;
    started_ = main_.start(GetModuleHandleW(nullptr), commandLine.c_str());
    recordedCommands.clear();
    recordedClipboardUpdates = 0;
    if (started_)
        SetWindowLongPtrW(main_.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&recordingWndProc));
    pump();
}

UiSession::~UiSession() {
    if (main_.hwnd && IsWindow(main_.hwnd)) DestroyWindow(main_.hwnd);
    pump();
    main_.finish();
}

void UiSession::pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            continue;
        }
        main_.processMessage(msg);
    }
}

void UiSession::command(WORD id) {
    SendMessageW(main_.hwnd, WM_COMMAND, id, 0);
    pump();
}

void UiSession::pumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

bool UiSession::pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return false;
        pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

Document& sessionDocument() { return runningMain->document(); }

int UiSession::clipboardUpdates() const { return recordedClipboardUpdates; }

bool UiSession::close(int* exitCode) {
    SendMessageW(main_.hwnd, WM_CLOSE, 0, 0);
    pumpFor(50);
    if (exitCode) *exitCode = quitCode_;
    return quit_ && !IsWindow(main_.hwnd);
}

std::wstring UiSession::statusText(int pane) const {
    wchar_t buffer[256] = {};
    LRESULT info = SendMessageW(main_.statusBar, SB_GETTEXTLENGTHW, pane, 0);
    if (LOWORD(info) >= 256) return L"<too long>";
    SendMessageW(main_.statusBar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void UiSession::pointAt(int x, int y) {
    POINT point{x, y};
    ClientToScreen(main_.hwnd, &point);
    SetCursorPos(point.x, point.y);
}

void UiSession::clickAt(int x, int y, WPARAM keys) {
    pointAt(x, y);
    LPARAM where = MAKELPARAM(x, y);
    SendMessageW(main_.hwnd, WM_LBUTTONDOWN, MK_LBUTTON | keys, where);
    SendMessageW(main_.hwnd, WM_LBUTTONUP, keys, where);
    pump();
}

void UiSession::pressKey(UINT key, bool ctrl, bool shift) {
    setModifiers(ctrl, shift);
    PostMessageW(main_.hwnd, WM_KEYDOWN, key, 1);
    PostMessageW(main_.hwnd, WM_KEYUP, key, 0xC0000001);
    pump();
    setModifiers(false, false);
}

std::vector<WORD> UiSession::takeCommands() {
    std::vector<WORD> commands;
    commands.swap(recordedCommands);
    return commands;
}

std::wstring UiSession::title() const {
    wchar_t buffer[600] = {};
    GetWindowTextW(main_.hwnd, buffer, 600);
    return buffer;
}

namespace {

struct DialogSearch {
    int buttonId;
    HWND found = nullptr;
};

// A visible dialog with the button to press: a tool window (the copy viewer)
// is no message box.
BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
        GetDlgItem(window, search->buttonId) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring windowText(HWND window) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}

}  // namespace

DialogAnswerer::DialogAnswerer(int buttonId) : DialogAnswerer(std::vector<int>{buttonId}) {}

DialogAnswerer::DialogAnswerer(std::vector<int> buttonIds)
    : uiThread_(GetCurrentThreadId()),
      buttonIds_(std::move(buttonIds)),
      thread_([this] { watch(); }) {}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    thread_.join();
}

void DialogAnswerer::watch() {
    for (int buttonId : buttonIds_) {
        HWND found = nullptr;
        while (!stop_ && !found) {
            DialogSearch search{buttonId};
            EnumThreadWindows(uiThread_, findDialog, reinterpret_cast<LPARAM>(&search));
            found = search.found;
            if (!found) Sleep(20);
        }
        if (!found) return;
        {
            // The message box keeps its text in the static control 0xFFFF.
            std::lock_guard<std::mutex> lock(mutex_);
            texts_.push_back(windowText(GetDlgItem(found, 0xFFFF)));
            captions_.push_back(windowText(found));
        }
        PostMessageW(found, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(found, buttonId)));
        // The next answer is for the next dialog.
        while (!stop_ && IsWindow(found) && IsWindowVisible(found)) Sleep(20);
    }
}

int DialogAnswerer::answeredCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(texts_.size());
}

std::wstring DialogAnswerer::text(int i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < static_cast<int>(texts_.size()) ? texts_[i] : L"";
}

std::wstring DialogAnswerer::caption(int i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < static_cast<int>(captions_.size()) ? captions_[i] : L"";
}
