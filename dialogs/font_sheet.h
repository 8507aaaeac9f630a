#pragma once
// The font sheet's arithmetic: 16 x 6 cells holding the character codes 32 to
// 127 on a checkerboard, where each glyph goes, the font the parameters ask
// for, and the scrolling of the sheet's preview. The glyphs themselves are
// drawn by the platform (font_image_dialog.cpp).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/dib.h"
#include "settings/settings.h"

constexpr int32_t kSheetColumns = 16;
constexpr int32_t kSheetRows = 6;

// The character of cell (column, row): the space in (0, 0), 127 in (15, 5).
constexpr char16_t sheetCode(int32_t column, int32_t row) {
    return static_cast<char16_t>(32 + row * kSheetColumns + column);
}

// The sheet's size for the cells of `p`; nothing when a cell side is 0 or
// less or a sheet side would not fit in 32 bits.
std::optional<ImageSize> sheetSizeFor(const FontImageParams& p);

// Every cell in its background, as pixels of alpha 0: backColor2 where row +
// column is even (so the top-left cell), backColor1 where it is odd.
void fillCellBackgrounds(DIB& sheet, const FontImageParams& p);

struct GlyphOrigin {
    int32_t x = 0, y = 0;
    bool operator==(const GlyphOrigin&) const = default;
};
// The top-left corner of the glyph of cell (column, row) that is `glyphWidth`
// wide: centred in its cell with a halving that truncates toward zero, at the
// cell's top, moved by the offsets. A glyph wider than its cell reaches into
// its neighbours; nothing is clipped.
GlyphOrigin glyphOrigin(const FontImageParams& p, int32_t column, int32_t row, int32_t glyphWidth);

// faceName holds at most this many code units before its terminator.
constexpr size_t kFaceNameMax = 31;
// faceName becomes the first 31 code units of `name`.
void setFaceName(FontImageParams& p, std::u16string_view name);
// The stored face name up to its terminator, never more than 31 code units
// (a block read from config.ini may have none).
std::u16string faceNameOf(const FontImageParams& p);

// The font the parameters ask for.
struct FontRequest {
    int32_t height = 0;
    int32_t weight = 0;  // 700 bold, 400 regular
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool antiAliased = false;
    std::u16string faceName;
    bool operator==(const FontRequest&) const = default;
};
FontRequest fontRequestOf(const FontImageParams& p);

// The preview shows the sheet unscaled in a fixed area of the dialog's client
// area (pixels), scrolled by dragging it with the left button.
constexpr int32_t kPreviewLeft = 15;
constexpr int32_t kPreviewTop = 20;
constexpr int32_t kPreviewWidth = 270;
constexpr int32_t kPreviewHeight = 175;
bool inPreview(int32_t x, int32_t y);

struct PreviewScroll {
    int32_t x = 0, y = 0;  // the sheet pixel at the preview's top-left corner
    bool operator==(const PreviewScroll&) const = default;
};
// Kept within 0 ... max(0, sheet side - preview side).
PreviewScroll clampPreviewScroll(PreviewScroll scroll, int32_t sheetWidth, int32_t sheetHeight);
// The mouse moved from `from` to `to` while dragging: the sheet follows it.
PreviewScroll dragPreview(PreviewScroll scroll, IntPair from, IntPair to, int32_t sheetWidth,
                          int32_t sheetHeight);
