#pragma once
// Image files into DIBs: PNG with libpng, BMP through the platform bitmap
// loader, JPEG and GIF (and BMPs the bitmap loader refuses) through the
// platform picture loader. Every loader builds its image aside and replaces
// the target only on success; a failed load leaves the target as it was.
// Paths are UTF-16.
#include <windows.h>

#include <cstddef>

#include "image/dib.h"

// Loads the file with the decoder its extension names (see imageLoaderFor).
// Images without transparency come out fully opaque.
bool loadImageFile(DIB& target, const char16_t* path);

// kPngFailed, kPngOpaqueSource (alpha bytes 0) or kPngTransparentSource.
int decodePng(const char16_t* path, DIB& target);

// Decodes a whole image file held in a global memory block of at least
// `size` bytes. Only bitmap pictures are taken (no metafiles or icons). The
// block stays the caller's.
bool decodePicture(DIB& target, HGLOBAL block, size_t size);

// Converts a platform bitmap: sources of 24 bits or fewer become opaque,
// 32-bit sources keep their fourth byte as alpha.
bool loadFromBitmapHandle(DIB& target, HBITMAP bitmap);
