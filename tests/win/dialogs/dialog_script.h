#pragma once
// Plays the user's part in the modal dialogs of the UI thread from a thread
// of its own: each step waits for its window, then acts on it. When a window
// never shows, every dialog still open is closed, so the command that opened
// them returns and the test fails instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

struct DialogStep {
    std::function<bool(HWND)> matches;  // an enabled, visible dialog of the UI thread
    std::function<void(HWND)> act;
};

DialogStep inDialog(const std::wstring& caption, std::function<void(HWND)> act);
// Presses `button` of the message box showing `text`.
DialogStep answerBox(const std::wstring& text, int button);
// Presses OK in the colour picker opened from the dialog with this caption.
DialogStep acceptColorPicker(const std::wstring& ownerCaption);

// Acts. A press is posted, so the modal window it may open is the next step's.
void typeInto(HWND dialog, int id, const wchar_t* text);
void setChecked(HWND dialog, int id, bool checked);
void press(HWND dialog, int id);
std::wstring textOf(HWND window);

class DialogScript {
public:
    explicit DialogScript(std::vector<DialogStep> steps);
    ~DialogScript() { finish(); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Waits for the end; true when every step found its window.
    bool finish();

private:
    void run(DWORD uiThread);

    std::vector<DialogStep> steps_;
    bool ok_ = false;
    std::thread thread_;
};
