#pragma once
// The image file writers. Each replaces an existing file of the same name
// without asking (the save dialog asks), only after the new file was written
// completely; a failed save leaves the previous file as it was. None of them
// shows a message. Paths are UTF-16.
#include "image/dib.h"

// RGBA PNG with sBIT 8, 8, 8, 8.
bool writePng32(const char16_t* path, const DIB& image);
// RGB PNG: alpha dropped, colours as stored.
bool writePng24(const char16_t* path, const DIB& image);
// 32-bit or 24-bit BMP; other depths fail.
bool writeBmp(const DIB& image, const char16_t* path, int bits);
// 8-bit grey BMP of the alpha channel.
bool writeGreyMaskBmp(const DIB& image, const char16_t* path);

// The writer the image save dialog's filter index names (imageWriterFor).
bool writeImageFile(const char16_t* path, const DIB& image, int32_t filterIndex);
