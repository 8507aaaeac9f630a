// The mask copy's clipboard handover: the block read back from the clipboard
// is the one the portable builder makes.
#include "image/grey_mask_clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "image/grey_mask_block.h"
#include "tests/test_support.h"

namespace {

// The bytes of the clipboard's `format`, or nothing.
Bytes clipboardData(UINT format) {
    Bytes bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE handle = GetClipboardData(format)) {
        if (const auto* p = static_cast<const uint8_t*>(GlobalLock(handle))) {
            bytes.assign(p, p + GlobalSize(handle));
            GlobalUnlock(handle);
        }
    }
    CloseClipboard();
    return bytes;
}

}  // namespace

// Five wide (rows of 8 bytes) hanging over the bottom-right corner.
TEST(ClipboardMask, BlockReadBackEqualsTheBuiltBlock) {
    DIB canvas(7, 5);
    testimage::fillTagged(canvas);
    ASSERT_TRUE(copyMaskToClipboard(canvas, 4, 2, 5, 4));
    Bytes expected(greyMaskBlockSize(canvas, 4, 2, 5, 4));
    ASSERT_TRUE(writeGreyMaskBlock(expected.data(), expected.size(), canvas, 4, 2, 5, 4));
    const Bytes read = clipboardData(CF_DIB);
    ASSERT_GE(read.size(), expected.size());  // the platform may round the block up
    EXPECT_EQ(Bytes(read.begin(), read.begin() + expected.size()), expected);
}
