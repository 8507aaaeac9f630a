// Loading image files under the platform: dispatch by extension, PNG from
// files, the bitmap and picture loaders, and clean failure.
#include "image/image_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/bmp_writer.h"
#include "image/png_codec.h"
#include "tests/win/app/ui_harness.h"

namespace {

namespace fs = std::filesystem;
using testimage::bgra;
using testimage::Sentinel;

// Small picture files written byte by byte, so the picture loader is tested
// on files whose content the test knows exactly.
struct Rgb {
    uint8_t r, g, b;
};

void put16le(Bytes& out, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}

void put32le(Bytes& out, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values) put16le(out, {v, v >> 16});
}

// A 4 x 4 GIF with a four-colour palette: palette entry (x / 2) + 2 * (y / 2).
Bytes gifOfFourQuadrants(const Rgb palette[4]) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x91, 0, 0};  // 4 colours
    for (int i = 0; i < 4; ++i) out.insert(out.end(), {palette[i].r, palette[i].g, palette[i].b});
    // The image at (0, 0), 4 x 4; minimum code size 2: codes are 3 bits wide.
    out.insert(out.end(), {0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 2});

    // A clear code before every pixel keeps the code width at 3 bits.
    Bytes data;
    uint32_t accumulator = 0;
    int held = 0;
    auto code = [&](uint32_t value) {
        accumulator |= value << held;
        held += 3;
        while (held >= 8) {
            data.push_back(uint8_t(accumulator));
            accumulator >>= 8;
            held -= 8;
        }
    };
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            code(4);
            code(uint32_t(x / 2 + 2 * (y / 2)));
        }
    }
    code(5);
    if (held > 0) data.push_back(uint8_t(accumulator));
    out.push_back(uint8_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), {0, 0x3B});
    return out;
}

// A 16 x 16 32-bit icon file.
Bytes iconFile() {
    // One 16 x 16 entry of 32 bits at offset 22: header, pixels, mask rows.
    Bytes out = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    put32le(out, {40 + 16 * 16 * 4 + 16 * 4, 22, 40, 16, 32});  // height: colour and mask
    put16le(out, {1, 32});
    put32le(out, {0, 0, 0, 0, 0, 0});
    for (int i = 0; i < 16 * 16; ++i) put32le(out, {0xFF2080C0u});
    out.insert(out.end(), 16 * 4, 0);
    return out;
}

// An enhanced metafile with one rectangle.
Bytes enhancedMetafile() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 20, 10);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    Bytes out(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, UINT(out.size()), out.data());
    DeleteEnhMetaFile(metafile);
    return out;
}

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

constexpr Rgb kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

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
        writeFileBytes(file(name), gifOfFourQuadrants(kPalette));
        DIB loaded;
        ASSERT_TRUE(load(loaded, file(name)));
        EXPECT_TRUE(testimage::pixelsAre(loaded, [](int32_t x, int32_t y) {
            const Rgb& c = kPalette[x / 2 + 2 * (y / 2)];
            return bgra(c.b, c.g, c.r, 255);
        }));
        EXPECT_TRUE(isClosedEverywhere(file(name)));
    }
}

TEST_F(ImageLoading, BrokenOrMissingFilesFailLeaveTheTargetAndStayClosed) {
    DIB image(64, 64);
    testimage::fillTagged(image);
    const Bytes gif = gifOfFourQuadrants(kPalette);
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
    const Bytes gif = gifOfFourQuadrants(kPalette);
    for (const Bytes& bytes : {iconFile(), enhancedMetafile(), Bytes(100, 0x42), gif}) {
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
