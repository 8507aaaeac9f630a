#pragma once
// Drives the platform's open and save dialogs of the test's thread from a
// thread of its own, the way a user would: read the filters, pick one, type a
// name, press OK, answer the overwrite question; a dialog still open at the
// end is cancelled.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

struct DialogPlan {
    std::wstring name;        // typed and confirmed with OK; empty: cancel
    int filter = 0;           // 1-based filter to pick first; 0 keeps it
    int overwriteAnswer = 0;  // IDYES or IDNO for the overwrite question
};

class DialogDriver {
public:
    explicit DialogDriver(DialogPlan plan)
        : plan_(std::move(plan)), uiThread_(GetCurrentThreadId()), thread_([this] { run(); }) {}
    ~DialogDriver() {
        stop_ = true;
        thread_.join();
    }

    std::vector<std::wstring> filters;  // display texts of the filter list
    int initialFilter = 0;              // 1-based
    std::wstring initialName;
    bool askedToOverwrite = false;

private:
    static constexpr int kFilterCombo = 0x470;   // cmb1
    static constexpr int kNameCombo = 0x47C;     // cmb13
    static constexpr int kNameEdit = 0x480;      // edt1
    static constexpr int kMessageText = 0xFFFF;  // the text of a message box

    // A visible dialog of the UI thread with the control: a file dialog's
    // filter list or a message box's text. Waits up to 15 s unless `once`.
    HWND find(int controlId, bool once = false) {
        for (int i = 0; i < 750 && !stop_; ++i) {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr) {
                if (GetWindowThreadProcessId(w, nullptr) == uiThread_ && IsWindowVisible(w) &&
                    GetDlgItem(w, controlId) != nullptr) {
                    return w;
                }
            }
            if (once) break;
            Sleep(20);
        }
        return nullptr;
    }

    static void press(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    void run() {
        HWND dialog = find(kFilterCombo);
        if (dialog == nullptr) return;
        HWND combo = GetDlgItem(dialog, kFilterCombo);
        for (int i = 0; i < int(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            std::wstring item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(item.data()))));
            filters.push_back(item);
        }
        initialFilter = int(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + 1;
        HWND nameBox = GetDlgItem(dialog, kNameCombo) ? GetDlgItem(dialog, kNameCombo)
                                                      : GetDlgItem(dialog, kNameEdit);
        initialName.resize(size_t(GetWindowTextLengthW(nameBox)) + 1);
        initialName.resize(
            size_t(GetWindowTextW(nameBox, initialName.data(), int(initialName.size()))));
        if (plan_.filter > 0) {
            // A user's pick ends with both notifications; dialogs differ in
            // which one they act on.
            SendMessageW(combo, CB_SETCURSEL, WPARAM(plan_.filter - 1), 0);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), LPARAM(combo));
            }
        }
        if (!plan_.name.empty()) {
            SetWindowTextW(nameBox, plan_.name.c_str());
            press(dialog, IDOK);
        }
        if (plan_.overwriteAnswer != 0) {
            HWND question = find(kMessageText);
            if (question == nullptr) return;
            askedToOverwrite = true;
            press(question, plan_.overwriteAnswer);
        }
        // OK closes the dialog unless it refused the name; then it is cancelled.
        for (int i = 0;
             !plan_.name.empty() && i < 100 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) {
            Sleep(20);
        }
        while (!stop_) {
            if (HWND left = find(kFilterCombo, true)) press(left, IDCANCEL);
            Sleep(50);
        }
    }

    DialogPlan plan_;
    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
