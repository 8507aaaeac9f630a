// Hands the grey mask block to the clipboard as CF_DIB.
#include "image/grey_mask_clipboard.h"

#include <windows.h>

#include "image/grey_mask_block.h"
#include "image/scoped_handles.h"

bool copyMaskToClipboard(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    const size_t size = greyMaskBlockSize(canvas, x, y, w, h);
    if (size == 0) return false;
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size));
    if (block.get() == nullptr) return false;
    {
        ScopedGlobalLock lock(block.get());
        auto* bytes = static_cast<uint8_t*>(lock.data());
        if (bytes == nullptr) return false;
        if (!writeGreyMaskBlock(bytes, size, canvas, x, y, w, h)) return false;
    }
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.isOpen()) return false;  // the block is freed on the way out
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block.get()) == nullptr) return false;
    block.release();  // the clipboard owns it now
    return true;
}
