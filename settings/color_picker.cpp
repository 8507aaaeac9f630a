#include "settings/color_picker.h"

#include <commdlg.h>

#include "settings/settings.h"

static_assert(sizeof(COLORREF) == sizeof(uint32_t), "the custom colours are COLORREFs");

std::optional<uint32_t> pickColor(HWND owner, uint32_t initial) {
    Settings& s = settings();
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = initial;
    choose.lpCustColors = reinterpret_cast<COLORREF*>(s.colors.data());
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorW(&choose)) return std::nullopt;
    const uint32_t color = choose.rgbResult & 0xFFFFFFu;
    if (s.colorHistory) pushRecentColor(s.colors, color);
    return color;
}

bool pickColorInto(HWND owner, uint32_t& setting) {
    const std::optional<uint32_t> color = pickColor(owner, setting);
    if (!color) return false;
    setting = *color;
    InvalidateRect(owner, nullptr, TRUE);
    return true;
}
