#pragma once
// Drives the real main window inside the test process: starts it with a
// config.ini in a temporary folder, pumps its messages through the real
// message loop, answers message boxes and reads what the user would see.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "tests/test_support.h"

class UiSession {
public:
    // Starts the main window with config.ini in `folder`, after resetting
    // every process-wide value to its first-start state.
    // `commandLine` as the program would get it, its own name first.
    explicit UiSession(const std::filesystem::path& folder,
                       const std::wstring& commandLine = L"plimsett.exe");
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    bool started() const { return started_; }
    Main& main() { return main_; }
    Document& doc() { return main_.document(); }
    HWND hwnd() const { return main_.hwnd; }

    // Runs every message waiting in the queue through the real loop.
    void pump();
    // Sends command `id` to the main window, then pumps.
    void command(WORD id);
    // Pumps for about `ms` milliseconds.
    void pumpFor(DWORD ms);
    // Pumps until `done` holds or `ms` milliseconds have passed; false then.
    bool pumpUntil(const std::function<bool()>& done, DWORD ms = 10000);
    // Sends WM_CLOSE and pumps; true when the window went away, with the
    // quit code in `exitCode`.
    bool close(int* exitCode = nullptr);

    std::wstring statusText(int pane) const;
    std::wstring title() const;

    // Puts the mouse pointer on a client point of the main window.
    void pointAt(int x, int y);
    // A left click on a client point (keys: MK_SHIFT and the like).
    void clickAt(int x, int y, WPARAM keys = 0);
    // A key press as the user makes it, through the real message loop
    // (accelerators included), with Ctrl and Shift held as asked.
    void pressKey(UINT key, bool ctrl = false, bool shift = false);

    // The ids of every WM_COMMAND the main window received since the last call.
    std::vector<WORD> takeCommands();
    // WM_CLIPBOARDUPDATE messages the main window received so far.
    int clipboardUpdates() const;

private:
    Main main_;
    bool started_ = false;
    bool quit_ = false;
    int quitCode_ = -1;
};

// The document of the session that runs now.
Document& sessionDocument();

// Waits on its own thread for dialogs of the UI thread (message boxes, the
// colour dialog), one after another: reads each one's text and caption and
// presses the next of the buttons.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int buttonId);
    explicit DialogAnswerer(std::vector<int> buttonIds);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    bool answered() const { return answeredCount() > 0; }
    int answeredCount() const;
    std::wstring text(int i = 0) const;
    std::wstring caption(int i = 0) const;

private:
    void watch();

    DWORD uiThread_;
    std::vector<int> buttonIds_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::vector<std::wstring> captions_;
    std::thread thread_;
};
