#pragma once
// Drives the real main window inside the test process: starts it with a
// config.ini in a temporary folder, pumps its messages through the real
// message loop, plays the user's part in its modal dialogs and reads what the
// user would see.
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

// True when nobody holds the file open: it can be opened without sharing.
bool isClosedEverywhere(const std::filesystem::path& path);

class UiSession {
public:
    // Starts the main window with config.ini in `folder`, after resetting
    // every process-wide value to its first-start state.
    explicit UiSession(const std::filesystem::path& folder);
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    bool started() const { return started_; }
    Main& main() { return main_; }
    Document& doc() { return main_.document(); }
    HWND hwnd() const { return main_.hwnd; }

    void pump();
    void command(WORD id);
    // Pumps until `done` holds or `ms` milliseconds have passed; false then.
    bool pumpUntil(const std::function<bool()>& done, DWORD ms = 10000);
    // Sends WM_CLOSE and pumps; true when the window went away, with the
    // quit code in `exitCode`.
    bool close(int* exitCode = nullptr);

    std::wstring statusText(int pane) const;
    std::wstring title() const;

    // A key press as the user makes it, through the real message loop
    // (accelerators included), with Ctrl and Shift held as asked.
    void pressKey(UINT key, bool ctrl = false, bool shift = false);
    // Ctrl+C, then waits until the listener has taken the copy back.
    bool copyByKey();

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

// A session in a fresh temporary folder for each test.
class UiTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ui.started()); }
    TempFolder folder;
    UiSession ui{folder.path()};
};

Document& sessionDocument();
// Selects pixels (x1, y1)-(x2, y2) of the session's canvas on a 1 x 1 grid.
void selectPixels(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// A w x h PNG32 file whose pixels are tag(x, y).
std::filesystem::path writeTaggedPng(const std::filesystem::path& path, int32_t w, int32_t h);
// A DROPFILES block with UTF-16 names, as the clipboard and drops carry it.
Bytes fileDropBlock(const std::vector<std::wstring>& paths);
HDROP dropOf(const std::vector<std::wstring>& paths);

// One turn of the user in a modal dialog of the UI thread: the dialog it
// waits for (visible, enabled, so not under a modal window of its own) and
// what it does there. A press is posted, so the window it opens is the next
// step's.
struct DialogStep {
    std::function<bool(HWND)> matches;
    std::function<void(HWND)> act;
};

// Presses `button` in the first modal dialog that has it (a message box, the colour picker).
DialogStep answer(int button);
// Presses `button` in the message box showing `text`.
DialogStep answerBox(const std::wstring& text, int button);
DialogStep inDialog(const std::wstring& caption, std::function<void(HWND)> act);
// In an open or save dialog: picks the 1-based `filter` (0 keeps it), types
// `name` and presses OK; an empty name cancels.
DialogStep inFileDialog(const std::wstring& name, int filter = 0);

void typeInto(HWND dialog, int id, const std::wstring& text);
void press(HWND dialog, int id);

// A dialog as the user found it.
struct SeenDialog {
    std::wstring caption, text;  // text: a message box's
    int filter = 0;              // a file dialog's 1-based filter as it opened
    std::wstring name;           // and the name it offered
};

// Plays the steps one after another from a thread of its own. A step whose
// dialog never shows cancels every dialog still open, so the command that
// opened them returns and the test fails instead of hanging.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int button) : DialogAnswerer({answer(button)}) {}
    explicit DialogAnswerer(std::vector<DialogStep> steps);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the end; true when every step found its dialog.
    bool finish();
    bool answered() const;
    SeenDialog seen(int i = 0) const;
    std::wstring text(int i = 0) const { return seen(i).text; }
    std::wstring caption(int i = 0) const { return seen(i).caption; }

private:
    void run(DWORD uiThread);

    std::vector<DialogStep> steps_;
    std::atomic<bool> stop_{false};
    bool ok_ = false;
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::thread thread_;
};
