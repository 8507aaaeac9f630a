#include "image/clipboard_exchange.h"

#include <cstring>

#include "edit/pixel_ops.h"
#include "image/byte_stream.h"
#include "image/clipboard_block.h"
#include "image/image_loader.h"
#include "image/png_codec.h"
#include "image/scoped_handles.h"

namespace {

constexpr DWORD kDropEffectCopy = 1;

UINT pngFormat() { return RegisterClipboardFormatW(L"PNG"); }
UINT ownCopyFormat() { return RegisterClipboardFormatW(L"Plimsett copy"); }

// `size` bytes made by `write` into a new movable block for the clipboard.
template <class Write>
HGLOBAL blockOf(size_t size, Write&& write) {
    if (size == 0) return nullptr;
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size));
    if (block.get() == nullptr) return nullptr;
    {
        ScopedGlobalLock lock(block.get());
        auto* bytes = static_cast<uint8_t*>(lock.data());
        if (bytes == nullptr || !write(bytes)) return nullptr;
    }
    return block.release();
}

HGLOBAL renderedBlock(UINT format, const DIB& image) {
    const int32_t w = image.width(), h = image.height();
    if (format == CF_DIB) {
        const size_t size = clipboardImageBlockSize(w, h);
        return blockOf(size, [&](uint8_t* bytes) {
            return writeClipboardImageBlock(bytes, size, image, 0, 0, w, h, 0);
        });
    }
    if (format == CF_DIBV5) {
        const size_t size = dibV5BlockSize(w, h);
        return blockOf(size, [&](uint8_t* bytes) { return writeDibV5Block(bytes, size, image); });
    }
    if (format == pngFormat()) {
        MemorySink png;
        if (!encodePng32(image, png)) return nullptr;
        return blockOf(png.bytes().size(), [&](uint8_t* bytes) {
            std::memcpy(bytes, png.bytes().data(), png.bytes().size());
            return true;
        });
    }
    return nullptr;
}

// Hands `block` to the clipboard, which owns it from then on; null asks for
// the format to be rendered later.
bool offer(UINT format, HGLOBAL block) {
    if (SetClipboardData(format, block) != nullptr || block == nullptr) return true;
    GlobalFree(block);
    return false;
}

// The clipboard's block of `format`, locked while the reader runs.
template <class Read>
bool readBlock(UINT format, Read&& read) {
    if (!IsClipboardFormatAvailable(format)) return false;
    ScopedGlobalLock lock(GetClipboardData(format));
    if (lock.data() == nullptr) return false;
    return read(static_cast<const uint8_t*>(lock.data()), lock.size());
}

bool readForeignImage(DIB& target) {
    if (readBlock(pngFormat(), [&](const uint8_t* bytes, size_t size) {
            return decodeClipboardPng(bytes, size, target);
        })) {
        return true;
    }
    const bool fromDibV5 = readBlock(CF_DIBV5, [&](const uint8_t* bytes, size_t size) {
        DibLayout layout;
        return parseDibLayout(bytes, size, layout) && layout.masks[3] != 0 &&
               readClipboardDib(bytes, size, target) == DibBlockRead::Taken;
    });
    if (fromDibV5) return true;
    if (IsClipboardFormatAvailable(CF_DIB)) {
        ScopedGlobalLock lock(GetClipboardData(CF_DIB));
        if (lock.data() != nullptr) {
            switch (
                readClipboardDib(static_cast<const uint8_t*>(lock.data()), lock.size(), target)) {
            case DibBlockRead::Taken: return true;
            case DibBlockRead::NotDirect: break;
            // The platform's own conversion would read the same damaged block.
            case DibBlockRead::Damaged:
            case DibBlockRead::OutOfMemory: return false;
            }
        }
    }
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    return bitmap != nullptr && loadFromBitmapHandle(target, bitmap);
}

}  // namespace

ClipboardImageOwner& clipboardImageOwner() {
    static ClipboardImageOwner owner;
    return owner;
}

bool ClipboardImageOwner::put(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
                              uint32_t outsidePixel) {
    // The copied pixels are all that is kept; the blocks are made on request.
    if (!source.isValid() || clipboardImageBlockSize(w, h) == 0) return false;
    DIB copied;
    if (!copied.create(w, h) || !extractRect(source, x, y, w, h, outsidePixel, copied.pixels,
                                             static_cast<size_t>(w) * static_cast<size_t>(h))) {
        return false;
    }
    ScopedClipboard clipboard(owner_);
    if (!clipboard.isOpen()) return false;
    EmptyClipboard();  // the clipboard's previous owner lets go of its copy
    copied_.swap(copied);
    bool offered = true;
    for (UINT format : {UINT{CF_DIB}, UINT{CF_DIBV5}, pngFormat()})
        offered = offer(format, owner_ ? nullptr : renderedBlock(format, copied_)) && offered;
    offer(ownCopyFormat(), blockOf(1, [](uint8_t*) { return true; }));
    if (!owner_) copied_.release();  // everything is rendered already
    return offered;
}

void ClipboardImageOwner::render(UINT format) {
    if (copied_.isValid()) offer(format, renderedBlock(format, copied_));
}

void ClipboardImageOwner::renderAll() {
    // Only while the formats still wait for us: another program may have
    // taken the clipboard since.
    ScopedClipboard clipboard(owner_);
    if (!clipboard.isOpen() || GetClipboardOwner() != owner_) return;
    for (UINT format : {UINT{CF_DIB}, UINT{CF_DIBV5}, pngFormat()}) render(format);
}

void ClipboardImageOwner::clipboardEmptied() {
    // Our own next copy empties the clipboard too; its pixels stay.
    if (GetClipboardOwner() != owner_) copied_.release();
}

const DIB* ClipboardImageOwner::ownCopy() const {
    if (!copied_.isValid() || GetClipboardOwner() != owner_ || owner_ == nullptr) return nullptr;
    return &copied_;
}

bool putImageOnClipboard(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
                         uint32_t outsidePixel) {
    return clipboardImageOwner().put(source, x, y, w, h, outsidePixel);
}

bool clipboardOffersImage() {
    return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB) ||
           IsClipboardFormatAvailable(CF_DIBV5) || IsClipboardFormatAvailable(pngFormat());
}

bool readClipboardImage(DIB& target) {
    const bool ours = IsClipboardFormatAvailable(ownCopyFormat());
    if (ours) {
        if (const DIB* copied = clipboardImageOwner().ownCopy()) {
            DIB image;
            if (!image.create(copied->width(), copied->height())) return false;
            std::memcpy(
                image.pixels, copied->pixels,
                static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 4);
            target.swap(image);
            return true;
        }
    }
    DIB image;
    if (!readForeignImage(image)) return false;
    // Screenshots and most programs leave the fourth byte 0 in opaque images;
    // a copy of ours (from another instance) means its alpha.
    if (!ours && alphaAllZero(image)) image.makeOpaqueRect(0, 0, image.width(), image.height());
    target.swap(image);
    return true;
}

bool clipboardFilesAreCopied() {
    const UINT format = RegisterClipboardFormatW(L"Preferred DropEffect");
    if (format == 0) return false;
    ScopedGlobalLock lock(GetClipboardData(format));
    if (lock.data() == nullptr || lock.size() < sizeof(DWORD)) return false;
    DWORD effect = 0;
    std::memcpy(&effect, lock.data(), sizeof effect);
    return (effect & kDropEffectCopy) != 0;
}
