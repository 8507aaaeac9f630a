// The configuration dialog (modal): canvas size, options, undo count and the
// checkerboard of the transparent view.
#include "app/process_icons.h"
#include "app/wnd_base.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/small_dialogs.h"
#include "resources/resource.h"
#include "settings/color_picker.h"

namespace {

constexpr int32_t kMaxValue = 16384;
// Beside the 背景色, 色1 and 色2 labels.
constexpr RECT kBackSwatch{49, 49, 76, 58};
constexpr RECT kColor1Swatch{47, 239, 73, 248};
constexpr RECT kColor2Swatch{47, 254, 73, 263};

constexpr struct {
    int id;
    bool ConfigRecord::*option;
} kCheckBoxes[] = {
    {IDC_CHECK_FILE_COPY, &ConfigRecord::checkFileCopy},
    {IDC_AUTO_RESIZE, &ConfigRecord::autoResize},
    {IDC_COPY_OUT_OF_RECT, &ConfigRecord::copyOutOfRect},
    {IDC_COLOR_HISTORY, &ConfigRecord::colorHistory},
};

// Each radio group: four plain buttons, the first one's id plus the value.
constexpr struct {
    int first;
    int last;
    int32_t ConfigRecord::*value;
} kRadioGroups[] = {
    {IDC_DD_ACTION_FIRST, IDC_DD_ACTION_LAST, &ConfigRecord::ddActionType},
    {IDC_ZOOM_TYPE_FIRST, IDC_ZOOM_TYPE_LAST, &ConfigRecord::zoomType},
};

class ConfigDialog : public DialogBase {
public:
    ConfigDialog(ConfigRecord& record, const DIB& canvas) : record_(record), canvas_(canvas) {}

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
        case WM_INITDIALOG: onInitDialog(); return TRUE;
        case WM_PAINT: onPaint(); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam)); return TRUE;
        case WM_CLOSE: EndDialog(hwnd, IDCANCEL); return TRUE;
        }
        return FALSE;
    }

private:
    void onInitDialog() {
        setSmallIcon(hwnd, processIcons().config);
        initSpinField(hwnd, IDC_WIDTH, IDC_WIDTH_SPIN, 1, kMaxValue, record_.width);
        initSpinField(hwnd, IDC_HEIGHT, IDC_HEIGHT_SPIN, 1, kMaxValue, record_.height);
        initSpinField(hwnd, IDC_UNDO, IDC_UNDO_SPIN, 1, kMaxValue, record_.undoLimit);
        initSpinField(hwnd, IDC_BOX_SIZE, IDC_BOX_SIZE_SPIN, 1, kMaxValue, record_.boxSize);
        for (const auto& box : kCheckBoxes)
            CheckDlgButton(hwnd, box.id, record_.*box.option ? BST_CHECKED : BST_UNCHECKED);
        // A stored value without a button of its own checks none (and stays as it is).
        for (const auto& group : kRadioGroups) {
            const int32_t value = record_.*group.value;
            if (value >= 0 && value <= group.last - group.first)
                CheckDlgButton(hwnd, group.first + value, BST_CHECKED);
        }
    }

    void onPaint() {
        const Settings& s = settings();
        paintSwatches(
            hwnd, {{kBackSwatch, s.back}, {kColor1Swatch, s.color1}, {kColor2Swatch, s.color2}});
    }

    void onCommand(WORD id) {
        for (const auto& group : kRadioGroups) {
            // Plain radio buttons: the click checks one and clears its group.
            if (id >= group.first && id <= group.last) {
                CheckRadioButton(hwnd, group.first, group.last, id);
                return;
            }
        }
        Settings& s = settings();
        switch (id) {
        // The colour buttons store their colour at once, even if the dialog is then cancelled.
        case IDC_BACK_COLOR: pickColorInto(hwnd, s.back); break;
        case IDC_COLOR1: pickColorInto(hwnd, s.color1); break;
        case IDC_COLOR2: pickColorInto(hwnd, s.color2); break;
        case IDC_TRANS_DEFAULT: onResetCheckerboard(); break;
        case IDOK: onOk(); break;
        case IDCANCEL: EndDialog(hwnd, IDCANCEL); break;
        }
    }

    void onResetCheckerboard() {
        if (MessageBoxW(hwnd, L"透明部分の表示の設定をデフォルトに戻しますか？", L"確認",
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        // Applies at once, even if the dialog is then cancelled.
        resetCheckerboard(settings());
        SetDlgItemInt(hwnd, IDC_BOX_SIZE, static_cast<UINT>(settings().boxSize), TRUE);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    void onOk() {
        ConfigRecord typed = record_;
        typed.width = fieldValue(hwnd, IDC_WIDTH);
        typed.height = fieldValue(hwnd, IDC_HEIGHT);
        for (const auto& box : kCheckBoxes)
            typed.*box.option = IsDlgButtonChecked(hwnd, box.id) == BST_CHECKED;
        for (const auto& group : kRadioGroups) {
            for (int id = group.first; id <= group.last; ++id) {
                if (IsDlgButtonChecked(hwnd, id) == BST_CHECKED) {
                    typed.*group.value = id - group.first;
                    break;
                }
            }
        }
        typed.undoLimit = fieldValue(hwnd, IDC_UNDO);
        typed.boxSize = fieldValue(hwnd, IDC_BOX_SIZE);
        // The options are stored before the size is checked, so a refused OK keeps them.
        takeConfigOptions(settings(), typed);
        if (configRefused(typed, canvas_)) {
            warnBadParameter(hwnd);
            return;
        }
        record_ = typed;
        EndDialog(hwnd, IDOK);
    }

    ConfigRecord& record_;
    const DIB& canvas_;
};

}  // namespace

bool runConfigDialog(HINSTANCE instance, HWND owner, ConfigRecord& record, const DIB& canvas) {
    ConfigDialog dialog(record, canvas);
    return dialog.runModal(instance, IDD_DIALOG_CONFIG, owner) == IDOK;
}
