// The mask copy's clipboard handover: the block read back from the clipboard
// is the one the portable builder makes, and failures leave the clipboard as
// it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "image/grey_mask_block.h"
#include "image/grey_mask_clipboard.h"
#include "image/scoped_handles.h"
#include "tests/unit/edit/test_image.h"

namespace {

// The CF_DIB bytes on the clipboard, or nothing.
std::vector<uint8_t> clipboardDib() {
    std::vector<uint8_t> bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE handle = GetClipboardData(CF_DIB)) {
        if (const auto* p = static_cast<const uint8_t*>(GlobalLock(handle))) {
            bytes.assign(p, p + GlobalSize(handle));
            GlobalUnlock(handle);
        }
    }
    CloseClipboard();
    return bytes;
}

// Puts a text marker on the clipboard, so a failed copy can be seen not to
// have touched it.
bool putMarkerText() {
    if (!OpenClipboard(nullptr)) return false;
    ScopedGlobalBlock text(GlobalAlloc(GMEM_MOVEABLE, 8));
    bool put = EmptyClipboard() && text.get() != nullptr;
    if (put) {
        std::memcpy(GlobalLock(text.get()), "marker", 7);
        GlobalUnlock(text.get());
        put = SetClipboardData(CF_TEXT, text.get()) != nullptr;
        if (put) text.release();  // the clipboard owns it now
    }
    CloseClipboard();
    return put;
}

bool markerIsThere() {
    const bool open = OpenClipboard(nullptr);
    const bool there =
        open && IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_DIB);
    if (open) CloseClipboard();
    return there;
}

std::vector<uint8_t> builtBlock(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<uint8_t> block(greyMaskBlockSize(canvas, x, y, w, h));
    EXPECT_TRUE(writeGreyMaskBlock(block.data(), block.size(), canvas, x, y, w, h));
    return block;
}

}  // namespace

// Five wide (rows of 8 bytes) hanging over the bottom-right corner, and 3 x 2
// (40 + 1024 + 8 bytes).
TEST(ClipboardMask, BlockReadBackEqualsTheBuiltBlock) {
    struct Case {
        int32_t canvasW, canvasH, x, y, w, h;
        size_t size;
    };
    for (const Case& c : {Case{7, 5, 4, 2, 5, 4, 1064 + 8 * 4}, Case{3, 2, 0, 0, 3, 2, 1072}}) {
        SCOPED_TRACE(c.size);
        DIB canvas(c.canvasW, c.canvasH);
        testimage::fillTagged(canvas);
        ASSERT_TRUE(copyMaskToClipboard(canvas, c.x, c.y, c.w, c.h));
        const std::vector<uint8_t> expected = builtBlock(canvas, c.x, c.y, c.w, c.h);
        ASSERT_EQ(expected.size(), c.size);
        const std::vector<uint8_t> read = clipboardDib();
        ASSERT_GE(read.size(), expected.size());
        EXPECT_EQ(std::vector<uint8_t>(read.begin(), read.begin() + expected.size()), expected);
    }
}

// Nothing to copy, or the clipboard held by another thread's window: the
// copy fails and leaves the clipboard as it was.
TEST(ClipboardMask, FailedCopyLeavesTheClipboardAlone) {
    DIB canvas(4, 4), empty;
    testimage::fillTagged(canvas);
    ASSERT_TRUE(putMarkerText());
    EXPECT_FALSE(copyMaskToClipboard(canvas, 4, 0, 2, 2));
    EXPECT_FALSE(copyMaskToClipboard(canvas, 0, 0, 0, 2));
    EXPECT_FALSE(copyMaskToClipboard(empty, 0, 0, 2, 2));

    std::atomic<int> state{0};  // 1: opened (or 2: could not), 3: may close
    std::thread holder([&] {
        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        const BOOL opened = window != nullptr && OpenClipboard(window);
        state = opened ? 1 : 2;
        while (state != 3) Sleep(1);
        if (opened) CloseClipboard();
        if (window != nullptr) DestroyWindow(window);
    });
    while (state == 0) Sleep(1);
    const bool held = state == 1;
    const bool copied = copyMaskToClipboard(canvas, 0, 0, 4, 4);
    state = 3;
    holder.join();
    ASSERT_TRUE(held);
    EXPECT_FALSE(copied);
    EXPECT_TRUE(markerIsThere());
}
