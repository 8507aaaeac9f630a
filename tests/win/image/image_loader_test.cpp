// Loading image files under the platform: dispatch by extension, PNG from
// files, the bitmap and picture loaders, and clean failure.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/bmp_writer.h"
#include "image/png_codec.h"
#include "tests/win/image/picture_files.h"

namespace {

namespace fs = std::filesystem;
using testfiles::Rgb;
using testimage::bgra;
using testimage::Sentinel;

bool load(DIB& target, const fs::path& path) {
    return loadImageFile(target, path.u16string().c_str());
}

enum Format { kBmp24 = 24, kBmp32 = 32, kPng24, kPng32 };

Bytes fileOf(const DIB& image, Format format) {
    MemorySink sink;
    EXPECT_TRUE(format == kPng32   ? encodePng32(image, sink)
                : format == kPng24 ? encodePng24(image, sink)
                                   : encodeBmp(image, format, sink));
    return sink.bytes();
}

const Rgb kBlocks[4] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {220, 220, 60}};
const auto& kPalette = testfiles::kPrimaries;

class ImageLoading : public testing::Test {
protected:
    fs::path file(const wchar_t* name) const { return folder.path() / name; }
    TempFolder folder;
};

}  // namespace

TEST_F(ImageLoading, PngAndBmpKeepEveryPixelWithTheirAlphaOrOpaque) {
    DIB image(9, 7);
    testimage::fillTagged(image);
    const std::pair<const wchar_t*, Format> files[] = {{L"sheet.png", kPng32},
                                                       {L"alpha.DIB", kBmp32},
                                                       {L"flat.PNG", kPng24},
                                                       {L"rgb.bmp", kBmp24}};
    for (const auto& [name, format] : files) {
        SCOPED_TRACE(fs::path(name).string());
        writeFileBytes(file(name), fileOf(image, format));
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        EXPECT_EQ(loaded.info.header.biXPelsPerMeter, 3780);
        const uint32_t opaque = format == kPng32 || format == kBmp32 ? 0u : 0xFF000000u;
        EXPECT_TRUE(testimage::pixelsAre(
            loaded, [&](int32_t x, int32_t y) { return image.pixelAt(x, y) | opaque; }));
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
}

// A ".bmp" the bitmap loader refuses goes on to the picture loader; a JPEG
// reproduces colours to within a few levels, and the loader makes it opaque.
TEST_F(ImageLoading, JpegAndGifLoadOpaqueThroughThePictureLoader) {
    for (const wchar_t* name : {L"photo.JPG", L"photo.jpeg", L"photo.jpe", L"really-a-photo.bmp"}) {
        SCOPED_TRACE(fs::path(name).string());
        writeFileBytes(file(name), testfiles::jpegOfFourBlocks(kBlocks));
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        ASSERT_EQ(std::make_pair(loaded.width(), loaded.height()), std::make_pair(16, 16));
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                const uint32_t pixel = loaded.pixelAt(x, y);
                const Rgb& c = kBlocks[x / 8 + 2 * (y / 8)];
                ASSERT_EQ(pixel >> 24, 0xFFu);
                ASSERT_NEAR(int((pixel >> 16) & 0xFF), c.r, 3) << x << "," << y;
                ASSERT_NEAR(int((pixel >> 8) & 0xFF), c.g, 3) << x << "," << y;
                ASSERT_NEAR(int(pixel & 0xFF), c.b, 3) << x << "," << y;
            }
        }
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
    writeFileBytes(file(L"quads.gif"), testfiles::gifOfFourQuadrants(kPalette));
    DIB loaded;
    ASSERT_TRUE(load(loaded, file(L"quads.gif")));
    EXPECT_TRUE(testimage::pixelsAre(loaded, [](int32_t x, int32_t y) {
        const Rgb& c = kPalette[x / 2 + 2 * (y / 2)];
        return bgra(c.b, c.g, c.r, 255);
    }));
}

TEST_F(ImageLoading, BrokenOrMissingFilesFailLeaveTheTargetAndStayClosed) {
    DIB image(64, 64);
    testimage::fillTagged(image);
    Bytes cutPng = fileOf(image, kPng32), cutJpeg = testfiles::jpegOfFourBlocks(kBlocks);
    cutPng.resize(cutPng.size() / 2);
    cutJpeg.resize(20);
    const std::pair<const wchar_t*, Bytes> files[] = {
        {L"photo.png", testfiles::jpegOfFourBlocks(kBlocks)},  // no other decoder is tried
        {L"cut.png", cutPng},
        {L"cut.jpg", cutJpeg},
        {L"empty.bmp", {}},
        {L"empty.gif", {}},
    };
    for (const auto& [name, bytes] : files) {
        writeFileBytes(file(name), bytes);
        Sentinel s;
        EXPECT_FALSE(load(s.target, file(name)));
        EXPECT_TRUE(s.unchanged()) << fs::path(name).string();
        EXPECT_TRUE(testfiles::isClosedEverywhere(file(name)));
    }
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"absent.png")) || load(s.target, file(L"absent.jpg")));
    EXPECT_FALSE(loadImageFile(s.target, nullptr));
    EXPECT_TRUE(s.unchanged());
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

// Pictures of other kinds than bitmaps, nonsense and sizes beyond the block
// are refused; the block stays the caller's.
TEST(PictureDecoding, RefusesIconsMetafilesNonsenseAndSizesBeyondTheBlock) {
    const Bytes gif = testfiles::gifOfFourQuadrants(kPalette);
    for (const Bytes& bytes :
         {testfiles::iconFile(), testfiles::enhancedMetafile(), Bytes(100, 0x42), gif}) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        Sentinel s;
        const bool isGif = bytes == gif;
        EXPECT_EQ(decodePicture(s.target, block, bytes.size()), isGif);
        EXPECT_TRUE(isGif || s.unchanged());
        if (isGif) {
            EXPECT_FALSE(decodePicture(s.target, block, size_t(GlobalSize(block)) + 1));
        }
        EXPECT_EQ(GlobalFree(block), nullptr);  // still ours, freed exactly once
    }
    Sentinel s;
    EXPECT_FALSE(loadFromBitmapHandle(s.target, nullptr));
    EXPECT_TRUE(s.unchanged());
}
