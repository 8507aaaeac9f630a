// The version window (modal): icon, name and version line all come from the
// template; the version text is resources/version.h's.
#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"

namespace {

class VersionDialog : public DialogBase {
public:
    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_INITDIALOG: setSmallIcon(hwnd, processIcons().app); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, IDOK);
            return TRUE;
        case WM_CLOSE: EndDialog(hwnd, IDOK); return TRUE;
        }
        return FALSE;
    }
};

}  // namespace

void runVersionDialog(HINSTANCE instance, HWND owner) {
    VersionDialog dialog;
    dialog.runModal(instance, VERSION_WIN, owner);
}
