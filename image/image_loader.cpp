// Loading image files: dispatch by extension, the PNG file source, the
// platform bitmap loader and the conversion of platform bitmaps.
#include "image/image_loader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "image/adopt_image.h"
#include "image/bmp_file_check.h"
#include "image/file_choice.h"
#include "image/png_codec.h"
#include "image/scoped_handles.h"

namespace {

constexpr DWORD kLargestIo = 1u << 30;  // one ReadFile call at most

HANDLE openForReading(const char16_t* path) {
    return CreateFileW(asWide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// An open file read through a buffer: libpng asks for a few bytes at a time
// (chunk lengths, names, checksums).
class FileSource final : public ByteSource {
public:
    explicit FileSource(HANDLE file) : file_(file) {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file, &size) && size.QuadPart >= 0)
            totalSize_ = static_cast<uint64_t>(size.QuadPart);
    }

    uint64_t totalSize() const override { return totalSize_; }

    size_t read(void* buffer, size_t size) override {
        auto* out = static_cast<uint8_t*>(buffer);
        size_t done = 0;
        while (done < size) {
            if (position_ == filled_) {
                // Large requests go straight into the caller's memory.
                if (size - done >= sizeof buffer_) {
                    const DWORD got = readSome(out + done, size - done);
                    if (got == 0) break;
                    done += got;
                    continue;
                }
                position_ = 0;
                filled_ = readSome(buffer_, sizeof buffer_);
                if (filled_ == 0) break;
            }
            const size_t count = std::min(size - done, filled_ - position_);
            std::memcpy(out + done, buffer_ + position_, count);
            position_ += count;
            done += count;
        }
        return done;
    }

    bool rewind() override {
        position_ = filled_ = 0;
        LARGE_INTEGER start{};
        return SetFilePointerEx(file_, start, nullptr, FILE_BEGIN) != FALSE;
    }

private:
    DWORD readSome(void* buffer, size_t size) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size, kLargestIo));
        if (!ReadFile(file_, buffer, want, &got, nullptr)) return 0;
        return got;
    }

    HANDLE file_;
    uint64_t totalSize_ = kUnknownSize;
    uint8_t buffer_[32 * 1024];
    size_t position_ = 0;
    size_t filled_ = 0;
};

bool readWhole(HANDLE file, void* buffer, size_t size) {
    auto* out = static_cast<uint8_t*>(buffer);
    while (size > 0) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size, kLargestIo));
        if (!ReadFile(file, out, want, &got, nullptr) || got == 0) return false;
        out += got;
        size -= got;
    }
    return true;
}

// The whole file in a movable global block, handed to the picture loader.
bool loadThroughPicture(DIB& target, const char16_t* path) {
    ScopedFile file(openForReading(path));
    if (!file.valid()) return false;
    LARGE_INTEGER size{};
    // The picture loader takes a LONG size; an empty file is no picture.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > LONG_MAX) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(size.QuadPart);
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (block.get() == nullptr) return false;
    {
        ScopedGlobalLock lock(block.get());
        if (lock.data() == nullptr || !readWhole(file.get(), lock.data(), bytes)) return false;
    }
    file.close();
    return decodePicture(target, block.get(), bytes);
}

// What the start of the file says of it, before the platform's bitmap
// loader reads it trusting its headers.
BmpFileCheck checkBmpFileAt(const char16_t* path) {
    ScopedFile file(openForReading(path));
    LARGE_INTEGER size{};
    uint8_t head[kBmpHeadBytes];
    DWORD got = 0;
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        !ReadFile(file.get(), head, sizeof head, &got, nullptr)) {
        return BmpFileCheck::Damaged;
    }
    return checkBmpFile(head, got, static_cast<uint64_t>(size.QuadPart));
}

bool loadThroughBitmapLoader(DIB& target, const char16_t* path) {
    ScopedGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(LoadImageW(
        nullptr, asWide(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    return bitmap.get() != nullptr && loadFromBitmapHandle(target, bitmap.get());
}

}  // namespace

bool loadImageFile(DIB& target, const char16_t* path) {
    if (path == nullptr) return false;
    switch (imageLoaderFor(path)) {
    case ImageLoader::Png: {
        const int result = decodePng(path, target);
        // Opaque sources carry a filler byte of 0 where alpha belongs.
        if (result == kPngOpaqueSource) {
            target.makeOpaqueRect(0, 0, target.width(), target.height());
        }
        return result != kPngFailed;
    }
    case ImageLoader::Bitmap:
        switch (checkBmpFileAt(path)) {
        case BmpFileCheck::Whole:
            return loadThroughBitmapLoader(target, path) || loadThroughPicture(target, path);
        case BmpFileCheck::NotBmp: return loadThroughPicture(target, path);
        case BmpFileCheck::Damaged: return false;
        }
        return false;
    case ImageLoader::Picture: return loadThroughPicture(target, path);
    case ImageLoader::None: break;
    }
    return false;
}

int decodePng(const char16_t* path, DIB& target) {
    if (path == nullptr) return kPngFailed;
    ScopedFile file(openForReading(path));
    if (!file.valid()) return kPngFailed;
    FileSource source(file.get());
    return decodePng(source, target);
}

bool loadFromBitmapHandle(DIB& target, HBITMAP bitmap) {
    if (bitmap == nullptr) return false;
    BITMAP description{};
    if (GetObjectW(bitmap, sizeof description, &description) != sizeof description) return false;
    ScopedMemoryDC dc(CreateCompatibleDC(nullptr));
    if (dc.get() == nullptr) return false;
    DIB image;
    if (!image.create(description.bmWidth, description.bmHeight)) return false;
    // GetDIBits may fill in fields of the header it is given; the image keeps
    // its own header untouched.
    BitmapInfo request = image.info;
    const int lines =
        GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(image.height()), image.pixels,
                  reinterpret_cast<BITMAPINFO*>(&request), DIB_RGB_COLORS);
    if (lines != image.height()) return false;
    // Sources without a fourth byte deliver 0 there.
    if (description.bmBitsPixel <= 24) image.makeOpaqueRect(0, 0, image.width(), image.height());
    return adoptImage(target, image);
}
