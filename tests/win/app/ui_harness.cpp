#include "tests/win/app/ui_harness.h"

#include <shlobj.h>
#include <commctrl.h>

#include <cstring>

#include "app/app_state.h"
#include "image/image_writer.h"
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

// The text of a window, a control or a dialog's caption.
std::wstring windowText(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

}  // namespace

bool isClosedEverywhere(const std::filesystem::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

UiSession::UiSession(const std::filesystem::path& folder) {
    resetSettings();
    appState() = AppState{};
    settings().configPath = (folder / L"config.ini").u16string();
    // Every session starts on an empty clipboard, whatever the last one left.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    runningMain = &main_;
    started_ = main_.start(GetModuleHandleW(nullptr), L"plimsett.exe");
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

bool UiSession::pumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= ms) return false;
        pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

bool UiSession::close(int* exitCode) {
    SendMessageW(main_.hwnd, WM_CLOSE, 0, 0);
    pump();
    if (exitCode) *exitCode = quitCode_;
    return quit_ && !IsWindow(main_.hwnd);
}

std::wstring UiSession::title() const { return windowText(main_.hwnd); }

std::wstring UiSession::statusText(int pane) const {
    std::wstring text(LOWORD(SendMessageW(main_.statusBar, SB_GETTEXTLENGTHW, pane, 0)), L'\0');
    SendMessageW(main_.statusBar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

void UiSession::pressKey(UINT key, bool ctrl, bool shift) {
    setModifiers(ctrl, shift);
    PostMessageW(main_.hwnd, WM_KEYDOWN, key, 1);
    PostMessageW(main_.hwnd, WM_KEYUP, key, 0xC0000001);
    pump();
    setModifiers(false, false);
}

bool UiSession::copyByKey() {
    const int updates = recordedClipboardUpdates;
    pressKey('C', true);
    return pumpUntil([&] { return recordedClipboardUpdates > updates; });
}

std::vector<WORD> UiSession::takeCommands() {
    std::vector<WORD> commands;
    commands.swap(recordedCommands);
    return commands;
}

int UiSession::clipboardUpdates() const { return recordedClipboardUpdates; }

Document& sessionDocument() { return runningMain->document(); }

void selectPixels(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Selection& s = sessionDocument().selection;
    s.gw = s.gh = 1;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    updateSelection(s);
}

std::filesystem::path writeTaggedPng(const std::filesystem::path& path, int32_t w, int32_t h) {
    DIB image(w, h);
    testimage::fillTagged(image);
    EXPECT_TRUE(writePng32(path.u16string().c_str(), image));
    return path;
}

Bytes fileDropBlock(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    Bytes block(reinterpret_cast<const uint8_t*>(&header),
                reinterpret_cast<const uint8_t*>(&header + 1));
    for (const std::wstring& path : paths) {
        auto* text = reinterpret_cast<const uint8_t*>(path.c_str());
        block.insert(block.end(), text, text + (path.size() + 1) * 2);
    }
    block.insert(block.end(), {0, 0});
    return block;
}

HDROP dropOf(const std::vector<std::wstring>& paths) {
    const Bytes block = fileDropBlock(paths);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(GlobalLock(drop), block.data(), block.size());
    GlobalUnlock(drop);
    return static_cast<HDROP>(drop);
}

namespace {

constexpr int kFilterCombo = 0x470, kNameCombo = 0x47C, kNameEdit = 0x480;  // cmb1, cmb13, edt1
constexpr int kMessageText = 0xFFFF;  // the static control of a message box
constexpr DWORD kStepTimeoutMs = 10000;

BOOL CALLBACK collectDialog(HWND window, LPARAM found) {
    wchar_t className[8] = {};
    GetClassNameW(window, className, 8);
    if (IsWindowVisible(window) && std::wstring(className) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> visibleDialogs(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, collectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND nameBox(HWND dialog) {
    HWND combo = GetDlgItem(dialog, kNameCombo);
    return combo ? combo : GetDlgItem(dialog, kNameEdit);
}

SeenDialog describe(HWND dialog) {
    SeenDialog seen;
    seen.caption = windowText(dialog);
    seen.text = windowText(GetDlgItem(dialog, kMessageText));
    if (HWND combo = GetDlgItem(dialog, kFilterCombo)) {
        seen.filter = int(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + 1;
        seen.name = windowText(nameBox(dialog));
    }
    return seen;
}

}  // namespace

DialogStep answer(int button) {
    // A modal window disables its owner; the tool windows are not modal.
    return {[button](HWND w) {
                return GetDlgItem(w, button) && !IsWindowEnabled(GetWindow(w, GW_OWNER));
            },
            [button](HWND w) { press(w, button); }};
}

DialogStep answerBox(const std::wstring& text, int button) {
    return {[text](HWND w) { return windowText(GetDlgItem(w, kMessageText)) == text; },
            [button](HWND w) { press(w, button); }};
}

DialogStep inDialog(const std::wstring& caption, std::function<void(HWND)> act) {
    return {[caption](HWND w) { return windowText(w) == caption; }, std::move(act)};
}

DialogStep inFileDialog(const std::wstring& name, int filter) {
    return {[](HWND w) { return GetDlgItem(w, kFilterCombo) != nullptr; },
            [name, filter](HWND w) {
                if (filter > 0) {
                    // A user's pick ends with both notifications; dialogs
                    // differ in which one they act on.
                    HWND combo = GetDlgItem(w, kFilterCombo);
                    SendMessageW(combo, CB_SETCURSEL, WPARAM(filter - 1), 0);
                    for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                        SendMessageW(w, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), LPARAM(combo));
                }
                if (!name.empty()) SetWindowTextW(nameBox(w), name.c_str());
                press(w, name.empty() ? IDCANCEL : IDOK);
            }};
}

void typeInto(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogAnswerer::DialogAnswerer(std::vector<DialogStep> steps)
    : steps_(std::move(steps)), thread_([this, ui = GetCurrentThreadId()] { run(ui); }) {}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool DialogAnswerer::finish() {
    if (thread_.joinable()) thread_.join();
    return ok_;
}

bool DialogAnswerer::answered() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !seen_.empty();
}

SeenDialog DialogAnswerer::seen(int i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < static_cast<int>(seen_.size()) ? seen_[i] : SeenDialog{};
}

void DialogAnswerer::run(DWORD uiThread) {
    for (const DialogStep& step : steps_) {
        HWND found = nullptr;
        for (const DWORD start = GetTickCount(); !found; Sleep(10)) {
            if (stop_) return;
            if (GetTickCount() - start > kStepTimeoutMs) {
                // Cancelled from the innermost out, so every modal loop ends.
                for (int round = 0; round < 20 && !visibleDialogs(uiThread).empty(); ++round) {
                    for (HWND w : visibleDialogs(uiThread)) press(w, IDCANCEL);
                    Sleep(100);
                }
                return;
            }
            for (HWND w : visibleDialogs(uiThread))
                if (!found && IsWindowEnabled(w) && step.matches(w)) found = w;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(describe(found));
        }
        step.act(found);
        // The next step's turn comes when this dialog closes or opens one of its own.
        for (const DWORD start = GetTickCount(); !stop_ && IsWindowVisible(found) &&
                                                 IsWindowEnabled(found) &&
                                                 GetTickCount() - start < kStepTimeoutMs;) {
            Sleep(10);
        }
    }
    ok_ = true;
}
