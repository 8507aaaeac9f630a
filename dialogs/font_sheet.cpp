#include "dialogs/font_sheet.h"

#include <algorithm>
#include <limits>

#include "edit/pixel_ops.h"

namespace {

// Sizes and offsets come from config.ini unchecked: sums are made wide, then
// cut back into what drawing coordinates can hold.
int32_t saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::optional<ImageSize> sheetSizeFor(const FontImageParams& p) {
    if (p.cellWidth <= 0 || p.cellHeight <= 0) return std::nullopt;
    const int64_t width = int64_t{p.cellWidth} * kSheetColumns;
    const int64_t height = int64_t{p.cellHeight} * kSheetRows;
    if (width > std::numeric_limits<int32_t>::max() || height > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

void fillCellBackgrounds(DIB& sheet, const FontImageParams& p) {
    if (!sheetSizeFor(p)) return;  // then no cell has a place on any sheet
    for (int32_t row = 0; row < kSheetRows; ++row) {
        for (int32_t column = 0; column < kSheetColumns; ++column) {
            const uint32_t color = (row + column) % 2 != 0 ? p.backColor1 : p.backColor2;
            sheet.fillRect(column * p.cellWidth, row * p.cellHeight, p.cellWidth, p.cellHeight,
                           pixelOf(color));
        }
    }
}

GlyphOrigin glyphOrigin(const FontImageParams& p, int32_t column, int32_t row, int32_t glyphWidth) {
    const int64_t centring = (int64_t{p.cellWidth} - glyphWidth) / 2;
    return {saturated(centring + int64_t{column} * p.cellWidth + p.offsetX),
            saturated(int64_t{row} * p.cellHeight + p.offsetY)};
}

void setFaceName(FontImageParams& p, std::u16string_view name) {
    const size_t length = std::min(name.size(), kFaceNameMax);
    std::fill(std::begin(p.faceName), std::end(p.faceName), u'\0');
    std::copy_n(name.begin(), length, p.faceName);
}

std::u16string faceNameOf(const FontImageParams& p) {
    const char16_t* end = std::find(p.faceName, p.faceName + kFaceNameMax, u'\0');
    return std::u16string(p.faceName, end);
}

FontRequest fontRequestOf(const FontImageParams& p) {
    FontRequest r;
    r.height = p.fontSize;
    r.weight = (p.style & FontImageParams::kBold) ? 700 : 400;
    r.italic = (p.style & FontImageParams::kItalic) != 0;
    r.underline = (p.style & FontImageParams::kUnderline) != 0;
    r.strikeOut = (p.style & FontImageParams::kStrikeOut) != 0;
    r.antiAliased = (p.style & FontImageParams::kAntiAliased) != 0;
    r.faceName = faceNameOf(p);
    return r;
}

bool inPreview(int32_t x, int32_t y) {
    return x >= kPreviewLeft && x < kPreviewLeft + kPreviewWidth && y >= kPreviewTop &&
           y < kPreviewTop + kPreviewHeight;
}

PreviewScroll clampPreviewScroll(PreviewScroll scroll, int32_t sheetWidth, int32_t sheetHeight) {
    return {std::clamp(scroll.x, 0, std::max(0, sheetWidth - kPreviewWidth)),
            std::clamp(scroll.y, 0, std::max(0, sheetHeight - kPreviewHeight))};
}

PreviewScroll dragPreview(PreviewScroll scroll, IntPair from, IntPair to, int32_t sheetWidth,
                          int32_t sheetHeight) {
    const PreviewScroll moved{saturated(int64_t{scroll.x} + from.x - to.x),
                              saturated(int64_t{scroll.y} + from.y - to.y)};
    return clampPreviewScroll(moved, sheetWidth, sheetHeight);
}
