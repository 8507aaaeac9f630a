#pragma once
// A DIB whose pixels are a platform DIB section selected into a memory device
// context of its own, so that GDI drawing (BitBlt, text output) and the
// program's own pixel code work on the same bottom-up 32-bit pixels. Used for
// the main window's BackBuffer and the font sheet.
#include <windows.h>

#include "image/dib.h"

class DIBSection : public DIB {
public:
    DIBSection() = default;
    ~DIBSection() override;

    // Slot 2: a new section of that size in a new memory device context.
    // Header fields other than size, planes, bit count and compression are 0.
    bool create(int32_t width, int32_t height) override;
    // Slot 3: deselects and deletes the font, the section and the device
    // context, then leaves an all-zero header and null pixels.
    void release() override;
    // Slot 4: changes the size keeping the old content at the top-left (new
    // area: the platform's initial content). On failure nothing changes. The
    // font is released with the old device context: select it again.
    virtual bool resizeKeep(int32_t width, int32_t height);

    // Selects `newFont` into `dc` and takes ownership of it (release deletes
    // it). A font selected earlier is deleted; the original font of the
    // device context stays in `previousFont`. False (and no ownership taken)
    // when there is no device context or `newFont` is null.
    bool selectFont(HFONT newFont);

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previousFont = nullptr;
};
