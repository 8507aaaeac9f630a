// DIBSection and the Win32 drawing of a DIB.
#include "image/dib_section.h"

#include <cstddef>
#include <type_traits>

#include "image/scoped_handles.h"

static_assert(sizeof(BitmapInfoHeader) == sizeof(BITMAPINFOHEADER));
static_assert(sizeof(BitmapInfo) == sizeof(BITMAPINFO));
static_assert(offsetof(BitmapInfoHeader, biXPelsPerMeter) ==
              offsetof(BITMAPINFOHEADER, biXPelsPerMeter));
static_assert(offsetof(BitmapInfoHeader, biClrImportant) ==
              offsetof(BITMAPINFOHEADER, biClrImportant));
static_assert(std::is_same_v<HDC, HDC__*>, "dib.h names HDC as HDC__*");

namespace {

const BITMAPINFO* platformInfo(const BitmapInfo& info) {
    return reinterpret_cast<const BITMAPINFO*>(&info);
}

// The header of a DIBSection: size, 1 plane, 32 bits, BI_RGB, all else 0.
BitmapInfo sectionHeader(int32_t width, int32_t height) {
    BitmapInfo info{};
    info.header.biSize = sizeof(BitmapInfoHeader);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_RGB;
    return info;
}

}  // namespace

DIBSection::~DIBSection() { DIBSection::release(); }

bool DIBSection::create(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return false;
    release();
    info = sectionHeader(width, height);

    dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    void* memory = nullptr;
    bitmap = CreateDIBSection(dc, platformInfo(info), DIB_RGB_COLORS, &memory, nullptr, 0);
    if (!bitmap || !memory) {
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
        DeleteDC(dc);
        dc = nullptr;
        return false;
    }
    pixels = static_cast<uint32_t*>(memory);
    previousBitmap = SelectObject(dc, bitmap);
    return true;
}

bool DIBSection::resizeKeep(int32_t width, int32_t height) {
    if (width == this->width() && height == this->height()) return true;
    if (width <= 0 || height <= 0) return false;

    BitmapInfo newInfo = sectionHeader(width, height);
    ScopedMemoryDC newDc(CreateCompatibleDC(nullptr));
    if (!newDc.get()) return false;
    void* memory = nullptr;
    HBITMAP newBitmap =
        CreateDIBSection(newDc.get(), platformInfo(newInfo), DIB_RGB_COLORS, &memory, nullptr, 0);
    if (!newBitmap || !memory) {
        if (newBitmap) DeleteObject(newBitmap);
        return false;
    }
    HGDIOBJ newPrevious = SelectObject(newDc.get(), newBitmap);
    if (dc) BitBlt(newDc.get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);

    release();
    info = newInfo;
    dc = newDc.adopt();
    bitmap = newBitmap;
    previousBitmap = newPrevious;
    pixels = static_cast<uint32_t*>(memory);
    return true;
}

void DIBSection::release() {
    if (font) {
        SelectObject(dc, previousFont);
        DeleteObject(font);
        font = nullptr;
        previousFont = nullptr;
    }
    if (bitmap) {
        SelectObject(dc, previousBitmap);
        DeleteObject(bitmap);
        bitmap = nullptr;
        previousBitmap = nullptr;
    }
    if (dc) {
        DeleteDC(dc);
        dc = nullptr;
    }
    pixels = nullptr;
    info = BitmapInfo{};
}

bool DIBSection::selectFont(HFONT newFont) {
    if (!dc || !newFont) return false;
    HGDIOBJ previous = SelectObject(dc, newFont);
    if (!previous || previous == HGDI_ERROR) return false;
    if (font) {
        if (font != newFont) DeleteObject(font);  // `previous` is the old font itself
    } else {
        previousFont = previous;
    }
    font = newFont;
    return true;
}

bool DIB::drawStretched(HDC dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sw,
                        int32_t sh) const {
    if (!dc || !pixels) return false;
    int lines = StretchDIBits(dc, dx, dy, dw, dh, 0, 0, sw, sh, pixels, platformInfo(info),
                              DIB_RGB_COLORS, SRCCOPY);
    return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}
