// Loading image files under the platform: dispatch by extension, PNG from
// files, the bitmap and picture loaders, and clean failure.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/bmp_writer.h"
#include "image/png_codec.h"
#include "tests/win/app/ui_harness.h"
#include "tests/win/image/picture_files.h"

namespace {

namespace fs = std::filesystem;
using testfiles::Bytes;
using testfiles::Rgb;

uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

bool load(DIB& target, const fs::path& path) {
    return loadImageFile(target, path.u16string().c_str());
}

// Every pixel different, alpha included (0 and 255 among them).
void fillVaried(DIB& image) {
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            image.row(y)[x] = bgra(uint8_t(x * 40 + y), uint8_t(y * 70 + 3), uint8_t(x * y + 9),
                                   uint8_t((x + 4 * y) * 23));
        }
    }
    image.row(0)[0] |= 0xFF000000u;
    image.row(0)[1] &= 0x00FFFFFFu;
}

enum Format { kBmp24 = 24, kBmp32 = 32, kPng24, kPng32 };

Bytes fileOf(const DIB& image, Format format) {
    MemorySink sink;
    const bool ok = format == kPng32   ? encodePng32(image, sink)
                    : format == kPng24 ? encodePng24(image, sink)
                                       : encodeBmp(image, format, sink);
    EXPECT_TRUE(ok);
    return sink.bytes();
}

const Rgb kBlocks[4] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};
const Rgb kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// A JPEG reproduces colours to within a few levels; the loader makes it opaque.
void expectJpegBlocks(const DIB& image) {
    ASSERT_EQ(image.width(), 16);
    ASSERT_EQ(image.height(), 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            const uint32_t pixel = image.pixelAt(x, y);
            const Rgb& c = kBlocks[x / 8 + 2 * (y / 8)];
            ASSERT_EQ(pixel >> 24, 0xFFu) << x << "," << y;
            ASSERT_NEAR(int((pixel >> 16) & 0xFF), c.r, 3) << x << "," << y;
            ASSERT_NEAR(int((pixel >> 8) & 0xFF), c.g, 3) << x << "," << y;
            ASSERT_NEAR(int(pixel & 0xFF), c.b, 3) << x << "," << y;
        }
    }
}

// A target holding something a failed load must leave alone.
struct Sentinel {
    Sentinel() : target(2, 2), pixels(target.pixels) { target.fillRect(0, 0, 2, 2, 0x5A5A5A5Au); }
    void expectUnchanged() const {
        EXPECT_EQ(target.pixels, pixels);
        ASSERT_EQ(target.width(), 2);
        EXPECT_EQ(target.pixelAt(1, 1), 0x5A5A5A5Au);
    }
    DIB target;
    const uint32_t* pixels;
};

class ImageLoading : public testing::Test {
protected:
    fs::path file(const wchar_t* name) const { return folder.path() / name; }
    TempFolder folder;
};

TEST_F(ImageLoading, PngAndBmpKeepEveryPixelWithTheirAlphaOrOpaque) {
    DIB image(9, 7);
    fillVaried(image);
    const std::pair<const wchar_t*, Format> files[] = {{L"sheet.png", kPng32},
                                                       {L"alpha.bmp", kBmp32},
                                                       {L"alpha.DIB", kBmp32},
                                                       {L"flat.PNG", kPng24},
                                                       {L"rgb.bmp", kBmp24}};
    for (const auto& [name, format] : files) {
        SCOPED_TRACE(fs::path(name).string());
        testfiles::writeFile(file(name), fileOf(image, format));
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        ASSERT_EQ(loaded.width(), 9);
        ASSERT_EQ(loaded.height(), 7);
        EXPECT_EQ(loaded.info.header.biXPelsPerMeter, 3780);
        const uint32_t opaque = format == kPng32 || format == kBmp32 ? 0u : 0xFF000000u;
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 9; ++x)
                ASSERT_EQ(loaded.pixelAt(x, y), image.pixelAt(x, y) | opaque) << x << "," << y;
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
    DIB loaded;
    EXPECT_EQ(decodePng(file(L"sheet.png").u16string().c_str(), loaded), kPngTransparentSource);
}

// A ".bmp" the bitmap loader refuses goes on to the picture loader.
TEST_F(ImageLoading, JpegAndGifLoadOpaqueThroughThePictureLoader) {
    const Bytes jpeg = testfiles::jpegOfFourBlocks(kBlocks);
    for (const wchar_t* name :
         {L"photo.jpg", L"photo.JPG", L"photo.jpeg", L"photo.jpe", L"really-a-photo.bmp"}) {
        SCOPED_TRACE(fs::path(name).string());
        testfiles::writeFile(file(name), jpeg);
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        expectJpegBlocks(loaded);
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
    testfiles::writeFile(file(L"quads.gif"), testfiles::gifOfFourQuadrants(kPalette));
    DIB loaded;
    ASSERT_TRUE(load(loaded, file(L"quads.gif")));
    ASSERT_EQ(loaded.width(), 4);
    ASSERT_EQ(loaded.height(), 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const Rgb& c = kPalette[x / 2 + 2 * (y / 2)];
            EXPECT_EQ(loaded.pixelAt(x, y), bgra(c.b, c.g, c.r, 255)) << x << "," << y;
        }
    }
}

TEST_F(ImageLoading, BrokenOrMissingFilesFailLeaveTheTargetAndStayClosed) {
    DIB image(64, 64);
    fillVaried(image);
    Bytes cutPng = fileOf(image, kPng32), cutJpeg = testfiles::jpegOfFourBlocks(kBlocks);
    cutPng.resize(cutPng.size() / 2);
    cutJpeg.resize(20);
    const std::pair<const wchar_t*, Bytes> files[] = {
        {L"photo.png", testfiles::jpegOfFourBlocks(kBlocks)},  // no other decoder is tried
        {L"cut.png", cutPng},
        {L"cut.jpg", cutJpeg},
        {L"empty.png", {}},
        {L"empty.bmp", {}},
        {L"empty.jpg", {}},
        {L"empty.gif", {}},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(fs::path(name).string());
        testfiles::writeFile(file(name), bytes);
        Sentinel s;
        EXPECT_FALSE(load(s.target, file(name)));
        s.expectUnchanged();
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"absent.png")));
    EXPECT_FALSE(load(s.target, file(L"absent.bmp")));
    EXPECT_FALSE(load(s.target, file(L"absent.jpg")));
    EXPECT_FALSE(loadImageFile(s.target, nullptr));
    EXPECT_EQ(decodePng(nullptr, s.target), kPngFailed);
    s.expectUnchanged();
}

// A named pipe stands in for the file, so the test sees whether the loader
// opened it at all: an unknown extension must not even be opened.
TEST(ImageLoadingDispatch, UnknownExtensionIsNeverOpened) {
    for (const wchar_t* extension : {L".tif", L"", L".jpg"}) {
        const std::wstring name =
            L"\\\\.\\pipe\\plimsett-photo-" + std::to_wstring(GetCurrentProcessId()) + extension;
        HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 0, 0, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
        DIB target;
        EXPECT_FALSE(load(target, fs::path(name)));
        // The picture path opens its file first and then finds no size.
        const bool opened = ConnectNamedPipe(server, nullptr) ||
                            GetLastError() == ERROR_PIPE_CONNECTED ||
                            GetLastError() == ERROR_NO_DATA;
        EXPECT_EQ(opened, std::wstring(extension) == L".jpg") << fs::path(extension).string();
        CloseHandle(server);
    }
}

// A movable global block holding `bytes`, freed by the test.
HGLOBAL blockOf(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

TEST(PictureDecoding, RefusesIconsMetafilesNonsenseAndSizesBeyondTheBlock) {
    for (const Bytes& bytes :
         {testfiles::iconFile(), testfiles::enhancedMetafile(), Bytes(100, 0x42)}) {
        HGLOBAL block = blockOf(bytes);
        Sentinel s;
        EXPECT_FALSE(decodePicture(s.target, block, bytes.size()));
        s.expectUnchanged();
        EXPECT_EQ(GlobalFree(block), nullptr);  // still ours, freed exactly once
    }
    const Bytes gif = testfiles::gifOfFourQuadrants(kPalette);
    HGLOBAL block = blockOf(gif);
    DIB target;
    EXPECT_TRUE(decodePicture(target, block, gif.size()));
    EXPECT_FALSE(decodePicture(target, block, size_t(GlobalSize(block)) + 1));
    EXPECT_FALSE(decodePicture(target, block, 0));
    EXPECT_FALSE(decodePicture(target, nullptr, 10));
    GlobalFree(block);
}

// The bitmap path's pixel conversion is shown by the BMP files above.
TEST(BitmapHandles, NullAndDeletedHandlesFail) {
    Sentinel s;
    EXPECT_FALSE(loadFromBitmapHandle(s.target, nullptr));
    const uint32_t pixel = 0;
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, &pixel);
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
    EXPECT_FALSE(loadFromBitmapHandle(s.target, bitmap));
    s.expectUnchanged();
}

}  // namespace
