// The grid settings tool window: the grid size and offset of the selection,
// applied as they are typed.
#include <memory>

#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"

namespace {

constexpr int32_t kMaxSize = 8192;
constexpr int32_t kMaxOffset = 8192;

constexpr struct {
    int id;
    GridField field;
} kFields[] = {
    {IDC_WIDTH, GridField::Width},
    {IDC_HEIGHT, GridField::Height},
    {IDC_GRID_X, GridField::OffsetX},
    {IDC_GRID_Y, GridField::OffsetY},
};

class GridDialog : public DialogBase {
public:
    explicit GridDialog(Document& doc) : doc_(doc) {}

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_INITDIALOG: onInitDialog(); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_CLOSE: close(); return TRUE;
        // Also when the main window takes its owned windows with it.
        case WM_DESTROY: doc_.gridDialog = nullptr; return FALSE;
        }
        return FALSE;
    }

private:
    void onInitDialog() {
        setSmallIcon(hwnd, processIcons().selection);
        const IntPair& stored = settings().wndPos;
        if (stored.x != 0 || stored.y != 0)
            SetWindowPos(hwnd, nullptr, stored.x, stored.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const Selection& s = doc_.selection;
        filling_ = true;
        initSpinField(hwnd, IDC_WIDTH, IDC_WIDTH_SPIN, 1, kMaxSize, s.gw);
        initSpinField(hwnd, IDC_HEIGHT, IDC_HEIGHT_SPIN, 1, kMaxSize, s.gh);
        initSpinField(hwnd, IDC_GRID_X, IDC_GRID_X_SPIN, -kMaxOffset, kMaxOffset, s.cx);
        initSpinField(hwnd, IDC_GRID_Y, IDC_GRID_Y_SPIN, -kMaxOffset, kMaxOffset, s.cy);
        filling_ = false;
    }

    void onCommand(WORD id, WORD code) {
        if (code == EN_CHANGE) {
            onFieldChanged(id);
            return;
        }
        if (id >= ID_GRID_1 && id <= ID_GRID_256) {
            const UINT size = 1u << (id - ID_GRID_1);
            SetDlgItemInt(hwnd, IDC_WIDTH, size, TRUE);
            SetDlgItemInt(hwnd, IDC_HEIGHT, size, TRUE);
            return;
        }
        switch (id) {
        case IDC_GRID_RESET:
            SetDlgItemInt(hwnd, IDC_GRID_X, 0, TRUE);
            SetDlgItemInt(hwnd, IDC_GRID_Y, 0, TRUE);
            break;
        // Enter closes the dialog; Escape goes to the main window, which closes it too.
        case IDOK:
        case IDCANCEL: close(); break;
        }
    }

    // Every change of a field applies at once, whatever changed it.
    void onFieldChanged(int id) {
        if (filling_) return;
        for (const auto& f : kFields) {
            if (f.id != id) continue;
            const std::optional<int32_t> value = fieldNumber(hwnd, id);
            if (!value) return;  // empty, or a minus sign still waiting for its digits
            setGridField(doc_.selection, f.field, *value);
            SendMessageW(GetWindow(hwnd, GW_OWNER), kMsgRefresh, 0, 0);
            return;
        }
    }

    void close() {
        RECT r{};
        GetWindowRect(hwnd, &r);
        settings().wndPos = {r.left, r.top};
        DestroyWindow(hwnd);
    }

    Document& doc_;
    bool filling_ = false;  // the fields are being given their first values
};

}  // namespace

void openGridDialog(HINSTANCE instance, HWND owner, Document& doc) {
    // One object serves the one window; a new window gets a new object.
    static std::unique_ptr<GridDialog> dialog;
    if (bringForward(doc.gridDialog)) return;
    dialog = std::make_unique<GridDialog>(doc);
    doc.gridDialog = dialog->create(instance, IDD_DIALOG_GRID_SIZE, owner);
}
