// The new canvas dialog (modal).
#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"
#include "settings/color_picker.h"

namespace {

constexpr int32_t kMaxSide = 16384;
constexpr RECT kBackSwatch{27, 62, 53, 74};  // in the 背景色 group, left of its button

class NewCanvasDialog : public DialogBase {
public:
    explicit NewCanvasDialog(NewCanvasRecord& record) : record_(record) {}

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_INITDIALOG: onInitDialog(); return TRUE;
        case WM_PAINT: paintSwatches(hwnd, {{kBackSwatch, settings().back}}); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return TRUE;
        case WM_CLOSE: EndDialog(hwnd, IDCANCEL); return TRUE;
        }
        return FALSE;
    }

private:
    void onInitDialog() {
        setSmallIcon(hwnd, processIcons().newCanvas);
        initSpinField(hwnd, IDC_WIDTH, IDC_WIDTH_SPIN, 1, kMaxSide, record_.width);
        initSpinField(hwnd, IDC_HEIGHT, IDC_HEIGHT_SPIN, 1, kMaxSide, record_.height);
    }

    void onCommand(WORD id) {
        switch (id) {
        // The colour is stored at once, even if the dialog is then cancelled.
        case IDC_BACK_COLOR: pickColorInto(hwnd, settings().back); break;
        case IDOK: onOk(); break;
        case IDCANCEL: EndDialog(hwnd, IDCANCEL); break;
        }
    }

    void onOk() {
        const NewCanvasRecord typed{fieldValue(hwnd, IDC_WIDTH), fieldValue(hwnd, IDC_HEIGHT)};
        if (newCanvasRefused(typed)) {
            warnBadParameter(hwnd);
            return;
        }
        record_ = typed;
        EndDialog(hwnd, IDOK);
    }

    NewCanvasRecord& record_;
};

}  // namespace

bool runNewCanvasDialog(HINSTANCE instance, HWND owner, NewCanvasRecord& record) {
    NewCanvasDialog dialog(record);
    return dialog.runModal(instance, IDD_DIALOG_NEW, owner) == IDOK;
}
