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
#include "tests/unit/edit/test_image.h"

namespace {

// The clipboard, opened without an owner for the test's own checks.
class ClipboardOpen {
public:
    ClipboardOpen() : open_(OpenClipboard(nullptr) != FALSE) {}
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;
    ~ClipboardOpen() {
        if (open_) CloseClipboard();
    }
    bool isOpen() const { return open_; }

private:
    bool open_;
};

// A clipboard block locked for reading.
class LockedBlock {
public:
    explicit LockedBlock(HANDLE handle) : handle_(handle), data_(GlobalLock(handle)) {}
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    ~LockedBlock() {
        if (data_ != nullptr) GlobalUnlock(handle_);
    }
    const uint8_t* data() const { return static_cast<const uint8_t*>(data_); }

private:
    HANDLE handle_;
    void* data_;
};

// The CF_DIB bytes on the clipboard, or nothing.
std::vector<uint8_t> clipboardDib() {
    ClipboardOpen clipboard;
    if (!clipboard.isOpen()) return {};
    HANDLE handle = GetClipboardData(CF_DIB);
    if (handle == nullptr) return {};
    LockedBlock block(handle);
    if (block.data() == nullptr) return {};
    return std::vector<uint8_t>(block.data(), block.data() + GlobalSize(handle));
}

// Puts a text marker on the clipboard, so a failed copy can be seen not to
// have touched it.
bool putMarkerText() {
    ClipboardOpen clipboard;
    if (!clipboard.isOpen() || !EmptyClipboard()) return false;
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
    if (text == nullptr) return false;
    std::memcpy(GlobalLock(text), "marker", 7);
    GlobalUnlock(text);
    if (SetClipboardData(CF_TEXT, text) == nullptr) {
        GlobalFree(text);
        return false;
    }
    return true;
}

bool markerIsThere() {
    ClipboardOpen clipboard;
    return clipboard.isOpen() && IsClipboardFormatAvailable(CF_TEXT) &&
           !IsClipboardFormatAvailable(CF_DIB);
}

std::vector<uint8_t> builtBlock(const DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<uint8_t> block(greyMaskBlockSize(canvas, x, y, w, h));
    EXPECT_TRUE(writeGreyMaskBlock(block.data(), block.size(), canvas, x, y, w, h));
    return block;
}

}  // namespace

TEST(ClipboardMask, BlockReadBackEqualsTheBuiltBlock) {
    DIB canvas(7, 5);
    testimage::fillTagged(canvas);
    // Five wide (rows of 8 bytes) and hanging over the bottom-right corner.
    ASSERT_TRUE(copyMaskToClipboard(canvas, 4, 2, 5, 4));
    const std::vector<uint8_t> expected = builtBlock(canvas, 4, 2, 5, 4);
    ASSERT_EQ(expected.size(), 1064u + 8u * 4u);
    const std::vector<uint8_t> read = clipboardDib();
    ASSERT_GE(read.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(read.begin(), read.begin() + expected.size()), expected);
}

TEST(ClipboardMask, ThreeByTwoBlockHasItsDocumentedSize) {
    DIB canvas(3, 2);
    testimage::fillTagged(canvas);
    ASSERT_TRUE(copyMaskToClipboard(canvas, 0, 0, 3, 2));
    const std::vector<uint8_t> read = clipboardDib();
    ASSERT_GE(read.size(), 1072u);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(read.data());
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biBitCount, 8);
    EXPECT_EQ(header->biSizeImage, 8u);
    EXPECT_EQ(header->biClrUsed, 256u);
    const std::vector<uint8_t> expected = builtBlock(canvas, 0, 0, 3, 2);
    EXPECT_EQ(std::vector<uint8_t>(read.begin(), read.begin() + 1072), expected);
}

TEST(ClipboardMask, NothingToCopyLeavesTheClipboardAlone) {
    DIB canvas(4, 4), empty;
    testimage::fillTagged(canvas);
    ASSERT_TRUE(putMarkerText());
    EXPECT_FALSE(copyMaskToClipboard(canvas, 4, 0, 2, 2));
    EXPECT_FALSE(copyMaskToClipboard(canvas, 0, 0, 0, 2));
    EXPECT_FALSE(copyMaskToClipboard(empty, 0, 0, 2, 2));
    EXPECT_TRUE(markerIsThere());
}

TEST(ClipboardMask, FailsWhileAnotherThreadHoldsTheClipboard) {
    DIB canvas(4, 4);
    testimage::fillTagged(canvas);
    ASSERT_TRUE(putMarkerText());
    std::atomic<int> state{0};  // 1: opened (or 2: could not), 3: may close
    std::thread holder([&] {
        // Held by a window of its own: the clipboard is then another window's.
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
