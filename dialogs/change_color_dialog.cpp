// The change-colour tool window: the two colours of the colour replacement,
// picked in the colour dialog or taken from the canvas with T and Shift+T.
#include <memory>

#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"
#include "settings/color_picker.h"

namespace {

constexpr UINT_PTR kFocusTimer = 2;
constexpr UINT kFocusPeriodMs = 500;
// In the 元の色 group and the one below it, left of their buttons.
constexpr RECT kBeforeSwatch{27, 18, 53, 31};
constexpr RECT kAfterSwatch{27, 65, 53, 77};

class ChangeColorDialog : public DialogBase {
public:
    explicit ChangeColorDialog(Document& doc) : doc_(doc) {}

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_INITDIALOG: onInitDialog(); return TRUE;
        case WM_PAINT: onPaint(); return TRUE;
        case WM_TIMER: onTimer(wParam); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return TRUE;
        case kMsgRefresh: InvalidateRect(hwnd, nullptr, TRUE); return TRUE;
        case WM_CLOSE: close(); return TRUE;
        // Also when the main window takes its owned windows with it.
        case WM_DESTROY: doc_.changeColorDialog = nullptr; return FALSE;
        }
        return FALSE;
    }

private:
    HWND mainWindow() const { return GetWindow(hwnd, GW_OWNER); }

    void onInitDialog() {
        setSmallIcon(hwnd, processIcons().app);
        SetTimer(hwnd, kFocusTimer, kFocusPeriodMs, nullptr);
    }

    void onPaint() {
        const Settings& s = settings();
        paintSwatches(hwnd, {{kBeforeSwatch, s.before}, {kAfterSwatch, s.after}});
    }

    // Once the mouse has left the dialog, the keyboard goes back to the main
    // window, so T and Shift+T work over the canvas while the dialog stays open.
    void onTimer(WPARAM id) {
        if (id != kFocusTimer || GetActiveWindow() != hwnd) return;
        POINT cursor{};
        RECT frame{};
        GetCursorPos(&cursor);
        GetWindowRect(hwnd, &frame);
        if (!PtInRect(&frame, cursor)) SetForegroundWindow(mainWindow());
    }

    void onCommand(WORD id) {
        Settings& s = settings();
        switch (id) {
        // Both colours are stored at once, even if the dialog is then cancelled.
        case IDC_BEFORE_COLOR: pickColorInto(hwnd, s.before); break;
        case IDC_AFTER_COLOR: pickColorInto(hwnd, s.after); break;
        case IDOK:
            SendMessageW(mainWindow(), WM_COMMAND, ID_COLOR_REPLACE, 0);
            close();
            break;
        case IDCANCEL: close(); break;
        }
    }

    void close() {
        KillTimer(hwnd, kFocusTimer);
        DestroyWindow(hwnd);
    }

    Document& doc_;
};

}  // namespace

void openChangeColorDialog(HINSTANCE instance, HWND owner, Document& doc) {
    // One object serves the one window; a new window gets a new object.
    static std::unique_ptr<ChangeColorDialog> dialog;
    if (bringForward(doc.changeColorDialog)) {
        SendMessageW(static_cast<HWND>(doc.changeColorDialog), kMsgRefresh, 0, 0);
        return;
    }
    dialog = std::make_unique<ChangeColorDialog>(doc);
    doc.changeColorDialog = dialog->create(instance, IDD_DIALOG_CHANGE_COLOR, owner);
}
