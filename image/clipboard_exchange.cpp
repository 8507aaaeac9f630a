#include "image/clipboard_exchange.h"

#include <cstring>

#include "image/clipboard_block.h"
#include "image/image_loader.h"
#include "image/scoped_handles.h"

namespace {

constexpr DWORD kDropEffectCopy = 1;

}  // namespace

bool putImageOnClipboard(const DIB& source, int32_t x, int32_t y, int32_t w, int32_t h,
                         uint32_t outsidePixel) {
    if (!source.isValid()) return false;
    const size_t size = clipboardImageBlockSize(w, h);
    if (size == 0) return false;
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size));
    if (block.get() == nullptr) return false;
    {
        ScopedGlobalLock lock(block.get());
        auto* bytes = static_cast<uint8_t*>(lock.data());
        if (bytes == nullptr) return false;
        if (!writeClipboardImageBlock(bytes, size, source, x, y, w, h, outsidePixel)) return false;
    }
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.isOpen()) return false;  // the block is freed on the way out
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block.get()) == nullptr) return false;
    block.release();  // the clipboard owns it now
    return true;
}

bool clipboardOffersImage() {
    return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB);
}

bool readClipboardImage(DIB& target) {
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

bool clipboardFilesAreCopied() {
    const UINT format = RegisterClipboardFormatW(L"Preferred DropEffect");
    if (format == 0) return false;
    ScopedGlobalLock lock(GetClipboardData(format));
    if (lock.data() == nullptr || lock.size() < sizeof(DWORD)) return false;
    DWORD effect = 0;
    std::memcpy(&effect, lock.data(), sizeof effect);
    return (effect & kDropEffectCopy) != 0;
}
