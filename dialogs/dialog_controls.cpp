#include "dialogs/dialog_controls.h"

#include <commctrl.h>

#include "image/scoped_handles.h"

void setSmallIcon(HWND dialog, HICON icon) {
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void initSpinField(HWND dialog, int fieldId, int spinId, int32_t low, int32_t high, int32_t value) {
    const HWND spin = GetDlgItem(dialog, spinId);
    SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    SendMessageW(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
    SetDlgItemInt(dialog, fieldId, static_cast<UINT>(value), TRUE);
}

int32_t fieldValue(HWND dialog, int fieldId) {
    return static_cast<int32_t>(GetDlgItemInt(dialog, fieldId, nullptr, TRUE));
}

std::optional<int32_t> fieldNumber(HWND dialog, int fieldId) {
    BOOL read = FALSE;
    const UINT value = GetDlgItemInt(dialog, fieldId, &read, TRUE);
    if (!read) return std::nullopt;
    return static_cast<int32_t>(value);
}

void paintSwatches(HWND dialog, std::initializer_list<Swatch> swatches) {
    ScopedPaint paint(dialog);
    for (const Swatch& swatch : swatches) {
        RECT r = swatch.dialogUnits;
        MapDialogRect(dialog, &r);
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(swatch.color));
        ScopedSelectObject selected(paint.dc(), brush.get());
        Rectangle(paint.dc(), r.left, r.top, r.right, r.bottom);
    }
}

void warnBadParameter(HWND dialog) {
    MessageBoxW(dialog, L"パラメータが異常です", nullptr, MB_OK | MB_ICONWARNING);
}
