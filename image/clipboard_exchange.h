#pragma once
// Windows only: images to and from the system clipboard.
#include <windows.h>

#include <cstdint>

#include "image/dib.h"

// Puts the rectangle (x, y, w, h) of `source` on the clipboard as a 32-bit
// CF_DIB; pixels of the rectangle outside the source get `outsidePixel`.
// Fails without touching the clipboard when the source is empty, the
// rectangle is empty or lies wholly outside the source, or the block cannot
// be allocated; fails when the clipboard cannot be opened.
bool putImageOnClipboard(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
                         uint32_t outsidePixel);

// The clipboard, opened by the caller, offers an image.
bool clipboardOffersImage();

// With the clipboard open: its image into `target`. A 32-bit device-independent
// block is read directly, so its fourth byte arrives as alpha whatever the
// platform's conversion does with it; other images go through the platform's
// bitmap. A damaged block is taken by neither path. False, the target as it
// was, when nothing could be taken.
bool readClipboardImage(DIB& target);

// With the clipboard open: the "Preferred DropEffect" of a copied file list
// is there and asks for a copy (cut files ask for a move).
bool clipboardFilesAreCopied();
