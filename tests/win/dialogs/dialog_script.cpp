#include "tests/win/dialogs/dialog_script.h"

namespace {

struct Search {
    const std::function<bool(HWND)>* matches;  // null: every dialog
    bool closeAll = false;
    HWND found = nullptr;
};

// A dialog under a modal window of its own is disabled: not its turn yet.
BOOL CALLBACK visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    if (search->closeAll) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        search->found = window;
        return TRUE;
    }
    if (!IsWindowEnabled(window) || !(*search->matches)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

DialogStep inDialog(const std::wstring& caption, std::function<void(HWND)> act) {
    return {[caption](HWND w) { return textOf(w) == caption; }, std::move(act)};
}

DialogStep answerBox(const std::wstring& text, int button) {
    // A message box keeps its text in the static control 0xFFFF.
    return {[text](HWND w) { return textOf(GetDlgItem(w, 0xFFFF)) == text; },
            [button](HWND w) { press(w, button); }};
}

DialogStep acceptColorPicker(const std::wstring& ownerCaption) {
    return {[ownerCaption](HWND w) { return textOf(GetWindow(w, GW_OWNER)) == ownerCaption; },
            [](HWND w) { press(w, IDOK); }};
}

void typeInto(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void setChecked(HWND dialog, int id, bool checked) {
    SendMessageW(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

DialogScript::DialogScript(std::vector<DialogStep> steps)
    : steps_(std::move(steps)), thread_([this, ui = GetCurrentThreadId()] { run(ui); }) {}

bool DialogScript::finish() {
    if (thread_.joinable()) thread_.join();
    return ok_;
}

void DialogScript::run(DWORD uiThread) {
    for (const DialogStep& step : steps_) {
        Search search{&step.matches};
        for (DWORD start = GetTickCount(); !search.found && GetTickCount() - start < 5000;) {
            EnumThreadWindows(uiThread, visit, reinterpret_cast<LPARAM>(&search));
            if (!search.found) Sleep(20);
        }
        if (!search.found) {
            for (int round = 0; round < 50; ++round, Sleep(100)) {
                Search all{nullptr, true};
                EnumThreadWindows(uiThread, visit, reinterpret_cast<LPARAM>(&all));
                if (!all.found) break;
            }
            return;
        }
        step.act(search.found);
    }
    ok_ = true;
}
