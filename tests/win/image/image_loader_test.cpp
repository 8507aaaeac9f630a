// Loading image files under the platform: dispatch by extension, PNG from
// files, the bitmap and picture loaders, and clean failure.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

Bytes png32Of(const DIB& image) {
    MemorySink sink;
    EXPECT_TRUE(encodePng32(image, sink));
    return sink.bytes();
}

Bytes png24Of(const DIB& image) {
    MemorySink sink;
    EXPECT_TRUE(encodePng24(image, sink));
    return sink.bytes();
}

Bytes bmpOf(const DIB& image, int bits) {
    MemorySink sink;
    EXPECT_TRUE(encodeBmp(image, bits, sink));
    return sink.bytes();
}

const Rgb kBlocks[4] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};
const Rgb kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// A JPEG reproduces colours to within a few levels.
void expectNear(uint32_t pixel, const Rgb& colour) {
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), colour.r, 3);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), colour.g, 3);
    EXPECT_NEAR(int(pixel & 0xFF), colour.b, 3);
    EXPECT_EQ(pixel >> 24, 0xFFu);
}

void expectJpegBlocks(const DIB& image) {
    ASSERT_EQ(image.width(), 16);
    ASSERT_EQ(image.height(), 16);
    expectNear(image.pixelAt(3, 3), kBlocks[0]);
    expectNear(image.pixelAt(12, 3), kBlocks[1]);
    expectNear(image.pixelAt(3, 12), kBlocks[2]);
    expectNear(image.pixelAt(12, 12), kBlocks[3]);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(image.pixelAt(x, y) >> 24, 0xFFu);
}

// A target holding something a failed load must leave alone.
struct Sentinel {
    Sentinel() {
        target.create(2, 2);
        target.fillRect(0, 0, 2, 2, 0x5A5A5A5Au);
        pixels = target.pixels;
    }
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

// ---------------------------------------------------------------- PNG

TEST_F(ImageLoading, Png32FileKeepsEveryPixelAndAlpha) {
    DIB image(9, 7);
    fillVaried(image);
    testfiles::writeFile(file(L"sheet.png"), png32Of(image));
    DIB loaded;
    ASSERT_TRUE(load(loaded, file(L"sheet.png")));
    ASSERT_EQ(loaded.width(), 9);
    ASSERT_EQ(loaded.height(), 7);
    EXPECT_EQ(std::memcmp(loaded.pixels, image.pixels, 9 * 7 * 4), 0);
    EXPECT_EQ(decodePng(file(L"sheet.png").u16string().c_str(), loaded), kPngTransparentSource);
    EXPECT_TRUE(testfiles::isClosedEverywhere(file(L"sheet.png")));
}

TEST_F(ImageLoading, PngWithoutAlphaLoadsOpaqueWithItsColours) {
    DIB image(5, 4);
    fillVaried(image);
    testfiles::writeFile(file(L"flat.PNG"), png24Of(image));
    DIB loaded;
    ASSERT_EQ(decodePng(file(L"flat.PNG").u16string().c_str(), loaded), kPngOpaqueSource);
    EXPECT_EQ(loaded.pixelAt(1, 0), image.pixelAt(1, 0) & 0x00FFFFFFu);  // filler alpha 0
    ASSERT_TRUE(load(loaded, file(L"flat.PNG")));
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(loaded.pixelAt(x, y), image.pixelAt(x, y) | 0xFF000000u);
}

TEST_F(ImageLoading, PngNamedFileHoldingAJpegFailsWithoutTryingAnotherDecoder) {
    testfiles::writeFile(file(L"photo.png"), testfiles::jpegOfFourBlocks(kBlocks));
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"photo.png")));
    s.expectUnchanged();
    EXPECT_TRUE(testfiles::isClosedEverywhere(file(L"photo.png")));
}

TEST_F(ImageLoading, TruncatedPngFailsAndLeavesTheTarget) {
    DIB image(64, 64);
    fillVaried(image);
    Bytes png = png32Of(image);
    png.resize(png.size() / 2);
    testfiles::writeFile(file(L"cut.png"), png);
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"cut.png")));
    s.expectUnchanged();
    EXPECT_TRUE(testfiles::isClosedEverywhere(file(L"cut.png")));
}

TEST_F(ImageLoading, EmptyFilesFailOnEveryPathAndStayClosed) {
    for (const wchar_t* name : {L"empty.png", L"empty.bmp", L"empty.jpg", L"empty.gif"}) {
        testfiles::writeFile(file(name), {});
        Sentinel s;
        EXPECT_FALSE(load(s.target, file(name)));
        s.expectUnchanged();
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
}

TEST_F(ImageLoading, MissingFilesAndNullPathFail) {
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"absent.png")));
    EXPECT_FALSE(load(s.target, file(L"absent.bmp")));
    EXPECT_FALSE(load(s.target, file(L"absent.jpg")));
    EXPECT_FALSE(loadImageFile(s.target, nullptr));
    EXPECT_EQ(decodePng(nullptr, s.target), kPngFailed);
    s.expectUnchanged();
}

// ---------------------------------------------------------------- extensions

TEST_F(ImageLoading, UnknownExtensionFailsEvenForAValidImage) {
    DIB image(3, 3);
    fillVaried(image);
    testfiles::writeFile(file(L"photo.tif"), png32Of(image));
    testfiles::writeFile(file(L"noextension"), bmpOf(image, 24));
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"photo.tif")));
    EXPECT_FALSE(load(s.target, file(L"noextension")));
    s.expectUnchanged();
}

// Whether a client ever opened the server end of a named pipe.
bool pipeWasOpened(HANDLE server) {
    if (ConnectNamedPipe(server, nullptr)) return true;
    const DWORD error = GetLastError();
    return error == ERROR_PIPE_CONNECTED || error == ERROR_NO_DATA;
}

// A named pipe stands in for the file, so the test sees whether the loader
// opened it at all: an unknown extension must not even be opened.
TEST(ImageLoadingDispatch, UnknownExtensionIsNeverOpened) {
    for (const wchar_t* extension : {L".tif", L".jpg"}) {
        const std::wstring name = L"\\\\.\\pipe\\plimsett-photo-" +
                                  std::to_wstring(GetCurrentProcessId()) + extension;
        HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 0, 0, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
        DIB target;
        EXPECT_FALSE(load(target, fs::path(name)));
        // The picture path opens its file first and then finds no size.
        EXPECT_EQ(pipeWasOpened(server), std::wstring(extension) == L".jpg");
        CloseHandle(server);
    }
}

// ---------------------------------------------------------------- BMP

TEST_F(ImageLoading, Bmp24LoadsFullyOpaque) {
    DIB image(5, 3);
    fillVaried(image);
    testfiles::writeFile(file(L"rgb.bmp"), bmpOf(image, 24));
    DIB loaded;
    ASSERT_TRUE(load(loaded, file(L"rgb.bmp")));
    ASSERT_EQ(loaded.width(), 5);
    ASSERT_EQ(loaded.height(), 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(loaded.pixelAt(x, y), image.pixelAt(x, y) | 0xFF000000u);
}

TEST_F(ImageLoading, Bmp32KeepsItsFourthBytesAsAlpha) {
    DIB image(6, 4);
    fillVaried(image);
    testfiles::writeFile(file(L"alpha.bmp"), bmpOf(image, 32));
    testfiles::writeFile(file(L"alpha.DIB"), bmpOf(image, 32));
    for (const wchar_t* name : {L"alpha.bmp", L"alpha.DIB"}) {
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        ASSERT_EQ(loaded.width(), 6);
        ASSERT_EQ(loaded.height(), 4);
        EXPECT_EQ(std::memcmp(loaded.pixels, image.pixels, 6 * 4 * 4), 0);
        EXPECT_EQ(loaded.info.header.biXPelsPerMeter, 3780);
    }
}

TEST_F(ImageLoading, BmpNamedFileHoldingAJpegGoesThroughThePictureLoader) {
    testfiles::writeFile(file(L"really-a-photo.bmp"), testfiles::jpegOfFourBlocks(kBlocks));
    DIB loaded;
    ASSERT_TRUE(load(loaded, file(L"really-a-photo.bmp")));
    expectJpegBlocks(loaded);
}

// ---------------------------------------------------------------- JPEG and GIF

TEST_F(ImageLoading, JpegLoadsOpaqueUnderEveryJpegExtension) {
    const Bytes jpeg = testfiles::jpegOfFourBlocks(kBlocks);
    for (const wchar_t* name : {L"photo.jpg", L"photo.JPG", L"photo.jpeg", L"photo.jpe"}) {
        testfiles::writeFile(file(name), jpeg);
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        expectJpegBlocks(loaded);
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
}

TEST_F(ImageLoading, GifLoadsOpaqueWithItsPaletteColours) {
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

TEST_F(ImageLoading, DamagedJpegFailsAndLeavesTheTarget) {
    Bytes jpeg = testfiles::jpegOfFourBlocks(kBlocks);
    jpeg.resize(20);
    testfiles::writeFile(file(L"cut.jpg"), jpeg);
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"cut.jpg")));
    s.expectUnchanged();
    EXPECT_TRUE(testfiles::isClosedEverywhere(file(L"cut.jpg")));
}

// ---------------------------------------------------------------- decodePicture

// A movable global block holding `bytes`, freed by the test.
HGLOBAL blockOf(const Bytes& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

TEST(PictureDecoding, RefusesIconsAndMetafiles) {
    for (const Bytes& bytes : {testfiles::iconFile(), testfiles::enhancedMetafile()}) {
        HGLOBAL block = blockOf(bytes);
        Sentinel s;
        EXPECT_FALSE(decodePicture(s.target, block, bytes.size()));
        s.expectUnchanged();
        EXPECT_EQ(GlobalFree(block), nullptr);  // still ours, freed exactly once
    }
}

TEST(PictureDecoding, RefusesASizeBeyondTheBlockAndNonsense) {
    const Bytes gif = testfiles::gifOfFourQuadrants(kPalette);
    HGLOBAL block = blockOf(gif);
    DIB target;
    EXPECT_TRUE(decodePicture(target, block, gif.size()));
    EXPECT_FALSE(decodePicture(target, block, size_t(GlobalSize(block)) + 1));
    EXPECT_FALSE(decodePicture(target, block, 0));
    EXPECT_FALSE(decodePicture(target, nullptr, 10));
    GlobalFree(block);
    const Bytes nonsense(100, 0x42);
    block = blockOf(nonsense);
    EXPECT_FALSE(decodePicture(target, block, nonsense.size()));
    GlobalFree(block);
}

// ---------------------------------------------------------------- bitmap handles

// A DIB section of `bits` per pixel, bottom-up, with the given bytes.
HBITMAP sectionOf(int32_t width, int32_t height, int bits, const void* content, size_t size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bits);
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bitmap != nullptr) std::memcpy(memory, content, size);
    return bitmap;
}

TEST(BitmapHandles, ThirtyTwoBitSourceKeepsItsFourthByteEvenWhenZero) {
    const uint32_t content[6] = {bgra(1, 2, 3, 0),   bgra(4, 5, 6, 128), bgra(7, 8, 9, 255),
                                 bgra(10, 11, 12, 0), bgra(13, 14, 15, 1), bgra(16, 17, 18, 0)};
    HBITMAP bitmap = sectionOf(3, 2, 32, content, sizeof content);
    ASSERT_NE(bitmap, nullptr);
    DIB target;
    ASSERT_TRUE(loadFromBitmapHandle(target, bitmap));
    DeleteObject(bitmap);
    ASSERT_EQ(target.width(), 3);
    ASSERT_EQ(target.height(), 2);
    EXPECT_EQ(std::memcmp(target.pixels, content, sizeof content), 0);
    EXPECT_EQ(target.info.header.biSizeImage, 0u);
}

TEST(BitmapHandles, TwentyFourBitSourceBecomesOpaque) {
    // Two rows of 2 pixels, each row padded to 8 bytes.
    const uint8_t content[16] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    HBITMAP bitmap = sectionOf(2, 2, 24, content, sizeof content);
    ASSERT_NE(bitmap, nullptr);
    DIB target;
    ASSERT_TRUE(loadFromBitmapHandle(target, bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(target.pixelAt(0, 1), bgra(1, 2, 3, 255));
    EXPECT_EQ(target.pixelAt(1, 1), bgra(4, 5, 6, 255));
    EXPECT_EQ(target.pixelAt(0, 0), bgra(7, 8, 9, 255));
    EXPECT_EQ(target.pixelAt(1, 0), bgra(10, 11, 12, 255));
}

TEST(BitmapHandles, NullAndDeletedHandlesFail) {
    Sentinel s;
    EXPECT_FALSE(loadFromBitmapHandle(s.target, nullptr));
    const uint32_t pixel = 0;
    HBITMAP bitmap = sectionOf(1, 1, 32, &pixel, sizeof pixel);
    DeleteObject(bitmap);
    EXPECT_FALSE(loadFromBitmapHandle(s.target, bitmap));
    s.expectUnchanged();
}

}  // namespace
