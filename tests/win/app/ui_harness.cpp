#include "tests/win/app/ui_harness.h"

#include <commctrl.h>

#include <chrono>
#include <random>

#include "app/app_state.h"
#include "settings/settings.h"

TempFolder::TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            (L"plimsett-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(random()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

UiSession::UiSession(const std::filesystem::path& folder) {
    resetSettings();
    appState() = AppState{};
    settings().configPath = (folder / L"config.ini").u16string();
    started_ = main_.start(GetModuleHandleW(nullptr));
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

void UiSession::pumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

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

std::wstring UiSession::title() const {
    wchar_t buffer[600] = {};
    GetWindowTextW(main_.hwnd, buffer, 600);
    return buffer;
}

namespace {

struct DialogSearch {
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
        reinterpret_cast<DialogSearch*>(param)->found = window;
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

DialogAnswerer::DialogAnswerer(int buttonId)
    : uiThread_(GetCurrentThreadId()), buttonId_(buttonId), thread_([this] { watch(); }) {}

DialogAnswerer::~DialogAnswerer() {
    stop_ = true;
    thread_.join();
}

void DialogAnswerer::watch() {
    while (!stop_) {
        DialogSearch search;
        EnumThreadWindows(uiThread_, findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // The message box keeps its text in the static control 0xFFFF.
            text_ = windowText(GetDlgItem(search.found, 0xFFFF));
            caption_ = windowText(search.found);
            answered_ = true;
            PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(buttonId_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, buttonId_)));
            return;
        }
        Sleep(20);
    }
}

std::wstring DialogAnswerer::text() const { return answered_ ? text_ : L""; }
std::wstring DialogAnswerer::caption() const { return answered_ ? caption_ : L""; }
