#pragma once
// Drives the platform's open and save dialogs of the test's thread from a
// thread of its own, the way a user would: read the filters, pick one, type a
// name, press OK or Cancel, answer the overwrite question.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using Texts = std::vector<std::wstring>;

// What the user does; a dialog still open afterwards is cancelled.
struct DialogPlan {
    Texts names;              // typed in turn, each confirmed with OK
    int filter = 0;           // 1-based filter to pick first; 0 keeps it
    int overwriteAnswer = 0;  // IDYES or IDNO for the overwrite question
};

// Watches the dialogs of the test's thread from a thread of its own.
class DialogDriver {
public:
    explicit DialogDriver(DialogPlan plan)
        : plan_(std::move(plan)), uiThread_(GetCurrentThreadId()), thread_([this] { run(); }) {}
    ~DialogDriver() {
        stop_ = true;
        thread_.join();
    }

    Texts filters;          // display texts of the filter list
    int initialFilter = 0;  // 1-based
    std::wstring initialName;
    bool askedToOverwrite = false;

private:
    static constexpr int kFilterCombo = 0x470;   // cmb1
    static constexpr int kNameCombo = 0x47C;     // cmb13
    static constexpr int kNameEdit = 0x480;      // edt1
    static constexpr int kMessageText = 0xFFFF;  // the text of a message box

    // Waits up to 15 s for a visible dialog of the UI thread that has the
    // control: a file dialog's filter list or a message box's text.
    HWND waitFor(int controlId) {
        for (int i = 0; i < 750 && !stop_; ++i) {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr) {
                if (GetWindowThreadProcessId(w, nullptr) == uiThread_ && IsWindowVisible(w) &&
                    GetDlgItem(w, controlId) != nullptr) {
                    return w;
                }
            }
            Sleep(20);
        }
        return nullptr;
    }

    static void press(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    static HWND nameBox(HWND dialog) {
        HWND box = GetDlgItem(dialog, kNameCombo);
        return box != nullptr ? box : GetDlgItem(dialog, kNameEdit);
    }

    void run() {
        HWND dialog = waitFor(kFilterCombo);
        if (dialog == nullptr) return;
        HWND combo = GetDlgItem(dialog, kFilterCombo);
        const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(item.data()))));
            filters.push_back(item);
        }
        initialFilter = int(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + 1;
        initialName.resize(size_t(GetWindowTextLengthW(nameBox(dialog))) + 1);
        initialName.resize(
            size_t(GetWindowTextW(nameBox(dialog), initialName.data(), int(initialName.size()))));
        if (plan_.filter > 0) {
            // A user's pick ends with both notifications; dialogs differ in
            // which one they act on.
            SendMessageW(combo, CB_SETCURSEL, WPARAM(plan_.filter - 1), 0);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), LPARAM(combo));
            }
        }
        for (const std::wstring& name : plan_.names) {
            SetWindowTextW(nameBox(dialog), name.c_str());
            press(dialog, IDOK);
            Sleep(300);
        }
        if (plan_.overwriteAnswer != 0) {
            HWND question = waitFor(kMessageText);
            if (question == nullptr) return;
            askedToOverwrite = true;
            press(question, plan_.overwriteAnswer);
        }
        while (!stop_) {
            Sleep(100);
            if (HWND left = waitFor(kFilterCombo)) press(left, IDCANCEL);
        }
    }

    DialogPlan plan_;
    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
