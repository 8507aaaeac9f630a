#pragma once
// Windows only: the mask copy's handover of the 8-bit grey block to the
// clipboard.
#include <cstdint>

#include "image/dib.h"

// Puts the alpha of the canvas rectangle (x, y, w, h) on the clipboard as an
// 8-bit grey device-independent bitmap. Fails when the canvas is empty, w or
// h <= 0, nothing of the rectangle overlaps the canvas, the block cannot be
// allocated, or the clipboard cannot be opened.
bool copyMaskToClipboard(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h);
