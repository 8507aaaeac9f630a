// Hands the grey mask block to the clipboard as CF_DIB.
#include "image/grey_mask_clipboard.h"

#include <windows.h>

#include "image/grey_mask_block.h"

namespace {

// A global memory block owned until release() hands it to the clipboard.
class GlobalBlock {
public:
    explicit GlobalBlock(size_t size)
        : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size)) {}
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    ~GlobalBlock() {
        if (handle_ != nullptr) GlobalFree(handle_);
    }
    HGLOBAL get() const { return handle_; }
    HGLOBAL release() {
        HGLOBAL h = handle_;
        handle_ = nullptr;
        return h;
    }

private:
    HGLOBAL handle_;
};

// The block locked for writing; unlocked when the scope ends.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL handle) : handle_(handle), data_(GlobalLock(handle)) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (data_ != nullptr) GlobalUnlock(handle_);
    }
    uint8_t* data() const { return static_cast<uint8_t*>(data_); }

private:
    HGLOBAL handle_;
    void* data_;
};

// The clipboard, opened without an owner window and closed when the scope ends.
class OpenClipboardGuard {
public:
    OpenClipboardGuard() : open_(OpenClipboard(nullptr) != FALSE) {}
    OpenClipboardGuard(const OpenClipboardGuard&) = delete;
    OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
    ~OpenClipboardGuard() {
        if (open_) CloseClipboard();
    }
    bool isOpen() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool copyMaskToClipboard(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    const size_t size = greyMaskBlockSize(canvas, x, y, w, h);
    if (size == 0) return false;
    GlobalBlock block(size);
    if (block.get() == nullptr) return false;
    {
        GlobalLockGuard lock(block.get());
        if (lock.data() == nullptr) return false;
        if (!writeGreyMaskBlock(lock.data(), size, canvas, x, y, w, h)) return false;
    }
    OpenClipboardGuard clipboard;
    if (!clipboard.isOpen()) return false;  // the block is freed on the way out
    EmptyClipboard();
    if (SetClipboardData(CF_DIB, block.get()) == nullptr) return false;
    block.release();  // the clipboard owns it now
    return true;
}
