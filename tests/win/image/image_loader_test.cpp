// Loading image files under the platform: dispatch by extension, PNG from
// files, the bitmap and picture loaders, and clean failure.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/bmp_writer.h"
#include "image/png_codec.h"
#include "tests/win/app/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using testimage::Sentinel;

// A 4 x 4 GIF of four quadrants in palette entries 0 to 3, (x / 2) + 2 * (y / 2).
// Its image data puts a clear code before every pixel, so every code is 3 bits.
const Bytes kQuadrantsGif = {
    'G',  'I',  'F',  '8',  '9',  'a',  4,    0,    4,    0,    0x91, 0,    0,  // screen, 4 colours
    0xFF, 0,    0,    0,    0xFF, 0,    0,    0,    0xFF, 0xFF, 0xFF, 0,        // the palette
    0x2C, 0,    0,    0,    0,    4,    0,    4,    0,    0,    2,  // the image, code size 2
    13,   0x04, 0xC1, 0x30, 0x04, 0xC1, 0x30, 0x14, 0xC5, 0x71, 0x14, 0xC5, 0x71, 0x05, 0, 0x3B};
constexpr uint32_t kQuadrants[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};

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
        EXPECT_TRUE(isClosedEverywhere(file(name)));
    }
}

// The picture loader takes every other extension it accepts, and a ".bmp"
// the bitmap loader refuses; what it loads is opaque. A GIF's palette colours
// come through exactly, whatever the extension says.
TEST_F(ImageLoading, PictureFilesLoadOpaqueByExtensionOrAfterTheBitmapLoaderRefused) {
    for (const wchar_t* name :
         {L"\u03a9.gif", L"photo.JPG", L"photo.jpeg", L"photo.jpe", L"really-a-gif.bmp"}) {
        SCOPED_TRACE(reinterpret_cast<const char*>(fs::path(name).u8string().c_str()));
        writeFileBytes(file(name), kQuadrantsGif);
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        EXPECT_TRUE(testimage::pixelsAre(
            loaded, [](int32_t x, int32_t y) { return kQuadrants[x / 2 + 2 * (y / 2)]; }));
        EXPECT_TRUE(isClosedEverywhere(file(name)));
    }
}

TEST_F(ImageLoading, BrokenOrMissingFilesFailLeaveTheTargetAndStayClosed) {
    DIB image(64, 64);
    testimage::fillTagged(image);
    const Bytes& gif = kQuadrantsGif;
    Bytes cutPng = fileOf(image, kPng32), cutGif(gif.begin(), gif.begin() + 20);
    cutPng.resize(cutPng.size() / 2);
    const std::pair<const wchar_t*, Bytes> files[] = {
        {L"picture.png", gif},  // no other decoder is tried
        {L"cut.png", cutPng},  {L"cut.jpg", cutGif}, {L"empty.bmp", {}}, {L"empty.gif", {}},
    };
    for (const auto& [name, bytes] : files) {
        writeFileBytes(file(name), bytes);
        Sentinel s;
        EXPECT_FALSE(load(s.target, file(name)));
        EXPECT_TRUE(s.unchanged()) << fs::path(name).string();
        EXPECT_TRUE(isClosedEverywhere(file(name)));
    }
    Sentinel s;
    EXPECT_FALSE(load(s.target, file(L"absent.png")) || load(s.target, file(L"absent.jpg")));
    EXPECT_FALSE(loadImageFile(s.target, nullptr));
    EXPECT_TRUE(s.unchanged());
}
