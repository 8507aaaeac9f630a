// The colour history over the picker's custom colours.
#include "settings/color_history.h"

#include <algorithm>

void pushRecentColor(CustomColors& colors, uint32_t color) {
    color &= 0x00FFFFFF;
    auto found = std::find(colors.begin(), colors.end(), color);
    // Not found: everything shifts and the last entry falls off the end.
    auto last = found == colors.end() ? colors.end() - 1 : found;
    std::move_backward(colors.begin(), last, last + 1);
    colors.front() = color;
}
