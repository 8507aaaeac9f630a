// The image file writers on real files: exact sizes, round trips through the
// loaders, UTF-16 names, and saves that fail without touching the old file.
#include "image/image_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/bmp_writer.h"
#include "image/file_replace.h"
#include "image/image_loader.h"
#include "tests/win/app/ui_harness.h"
#include "tests/win/image/picture_files.h"

namespace {

namespace fs = std::filesystem;
using testfiles::Bytes;

uint32_t bgra(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// 3 x 2; (1, 0) is fully transparent magenta.
void fillThreeByTwo(DIB& image) {
    ASSERT_TRUE(image.create(3, 2));
    image.row(0)[0] = bgra(1, 2, 3, 4);
    image.row(0)[1] = bgra(255, 0, 255, 0);
    image.row(0)[2] = bgra(7, 8, 9, 10);
    image.row(1)[0] = bgra(11, 12, 13, 14);
    image.row(1)[1] = bgra(15, 16, 17, 255);
    image.row(1)[2] = bgra(19, 20, 21, 128);
}

const testfiles::Rgb kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

class ImageSaving : public testing::Test {
protected:
    void SetUp() override { fillThreeByTwo(image); }
    fs::path file(const wchar_t* name) const { return folder.path() / name; }
    static std::u16string name(const fs::path& p) { return p.u16string(); }
    // Only the files the test made itself are in the folder: no temporary
    // was left behind.
    size_t entries() const {
        return size_t(
            std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
    }
    TempFolder folder;
    DIB image;
};

TEST_F(ImageSaving, Bmp24OfThreeByTwoIs78Bytes) {
    ASSERT_TRUE(writeBmp(image, name(file(L"a.bmp")).c_str(), 24));
    const Bytes bytes = testfiles::readFile(file(L"a.bmp"));
    ASSERT_EQ(bytes.size(), 78u);
    MemorySink expected;
    ASSERT_TRUE(encodeBmp(image, 24, expected));
    EXPECT_EQ(bytes, expected.bytes());
    EXPECT_EQ(entries(), 1u);
}

TEST_F(ImageSaving, GreyMaskOfThreeByTwoIs1086BytesWithSizeImage8) {
    ASSERT_TRUE(writeGreyMaskBmp(image, name(file(L"mask.bmp")).c_str()));
    const Bytes bytes = testfiles::readFile(file(L"mask.bmp"));
    ASSERT_EQ(bytes.size(), 1078u + 8u);
    EXPECT_EQ(bytes[34], 8);
    EXPECT_EQ(bytes[35] | bytes[36] | bytes[37], 0);
    EXPECT_EQ(Bytes(bytes.begin() + 1078, bytes.end()), (Bytes{14, 255, 128, 0, 4, 0, 10, 0}));
}

TEST_F(ImageSaving, Png32ReadsBackWithIdenticalPixelsIncludingAlpha) {
    ASSERT_TRUE(writePng32(name(file(L"a.png")).c_str(), image));
    DIB back;
    ASSERT_TRUE(loadImageFile(back, name(file(L"a.png")).c_str()));
    ASSERT_EQ(back.width(), 3);
    ASSERT_EQ(back.height(), 2);
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 24), 0);
}

TEST_F(ImageSaving, Png24AndBmp24KeepTheColoursOfTransparentPixels) {
    ASSERT_TRUE(writePng24(name(file(L"a.png")).c_str(), image));
    ASSERT_TRUE(writeBmp(image, name(file(L"a.bmp")).c_str(), 24));
    for (const wchar_t* saved : {L"a.png", L"a.bmp"}) {
        DIB back;
        ASSERT_TRUE(loadImageFile(back, name(file(saved)).c_str()));
        EXPECT_EQ(back.pixelAt(1, 0), bgra(255, 0, 255, 255));  // opaque magenta
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(back.pixelAt(x, y), image.pixelAt(x, y) | 0xFF000000u);
    }
}

TEST_F(ImageSaving, Bmp32LoadsBackThroughTheBitmapLoaderWithItsAlpha) {
    ASSERT_TRUE(writeBmp(image, name(file(L"a.bmp")).c_str(), 32));
    EXPECT_EQ(testfiles::readFile(file(L"a.bmp")).size(), 78u);
    DIB back;
    ASSERT_TRUE(loadImageFile(back, name(file(L"a.bmp")).c_str()));
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 24), 0);
}

TEST_F(ImageSaving, NamesOutsideTheAnsiCodePageSaveAndLoad) {
    const fs::path png = file(L"\u753b\u50cf-\u03a9\u03bb-\u0416-\U0001F600.png");
    const fs::path bmp = file(L"\u30de\u30b9\u30af-\u0101\u0107.bmp");
    ASSERT_TRUE(writePng32(name(png).c_str(), image));
    ASSERT_TRUE(writeGreyMaskBmp(image, name(bmp).c_str()));
    EXPECT_TRUE(fs::exists(png));
    EXPECT_EQ(testfiles::readFile(bmp).size(), 1086u);
    DIB back;
    ASSERT_TRUE(loadImageFile(back, name(png).c_str()));
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 24), 0);

    // The bitmap loader and the picture loader take such names too.
    const fs::path bmp32 = file(L"Жā-画.bmp");
    ASSERT_TRUE(writeBmp(image, name(bmp32).c_str(), 32));
    ASSERT_TRUE(loadImageFile(back, name(bmp32).c_str()));
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 24), 0);
    const Bytes gif = testfiles::gifOfFourQuadrants(kPalette);
    testfiles::writeFile(file(L"Ω-画.gif"), gif);
    ASSERT_TRUE(loadImageFile(back, name(file(L"Ω-画.gif")).c_str()));
    EXPECT_EQ(back.pixelAt(3, 3), 0xFFFFFF00u);
}

TEST_F(ImageSaving, SaveReplacesAnExistingFileCompletely) {
    testfiles::writeFile(file(L"a.png"), Bytes(5000, 0xEE));
    ASSERT_TRUE(writePng32(name(file(L"a.png")).c_str(), image));
    DIB back;
    ASSERT_TRUE(loadImageFile(back, name(file(L"a.png")).c_str()));
    EXPECT_EQ(std::memcmp(back.pixels, image.pixels, 24), 0);
    EXPECT_EQ(entries(), 1u);
    EXPECT_TRUE(testfiles::isClosedEverywhere(file(L"a.png")));
}

TEST_F(ImageSaving, BlockedTemporaryFailsTheSaveAndKeepsTheOldFile) {
    const Bytes old = {'o', 'l', 'd', 0, 1, 2, 3};
    testfiles::writeFile(file(L"a.png"), old);
    const fs::path temporary = fs::path(temporaryPathFor(name(file(L"a.png")).c_str()));
    EXPECT_EQ(temporary.parent_path(), folder.path());
    fs::create_directory(temporary);  // a directory in the way
    EXPECT_FALSE(writePng32(name(file(L"a.png")).c_str(), image));
    EXPECT_FALSE(writePng24(name(file(L"a.png")).c_str(), image));
    EXPECT_FALSE(writeBmp(image, name(file(L"a.png")).c_str(), 32));
    EXPECT_FALSE(writeGreyMaskBmp(image, name(file(L"a.png")).c_str()));
    EXPECT_EQ(testfiles::readFile(file(L"a.png")), old);
    EXPECT_TRUE(fs::is_directory(temporary));
}

TEST_F(ImageSaving, WriteErrorMidwayKeepsTheOldFileAndRemovesTheTemporary) {
    const Bytes old(3000, 0x77);
    testfiles::writeFile(file(L"a.bmp"), old);
    // The first blocks arrive, then the producer meets an error.
    const bool saved = replaceFileWith(name(file(L"a.bmp")).c_str(), [](ByteSink& sink) {
        const Bytes block(100000, 0x11);
        return sink.write(block.data(), block.size()) && sink.write(block.data(), 10) && false;
    });
    EXPECT_FALSE(saved);
    EXPECT_EQ(testfiles::readFile(file(L"a.bmp")), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(ImageSaving, MissingFolderEmptyImageAndNullPathFailWithoutFiles) {
    const fs::path nowhere = folder.path() / L"no-such-folder" / L"a.png";
    EXPECT_FALSE(writePng32(name(nowhere).c_str(), image));
    DIB empty;
    EXPECT_FALSE(writePng32(name(file(L"e.png")).c_str(), empty));
    EXPECT_FALSE(writePng24(name(file(L"e.png")).c_str(), empty));
    EXPECT_FALSE(writeBmp(empty, name(file(L"e.bmp")).c_str(), 32));
    EXPECT_FALSE(writeGreyMaskBmp(empty, name(file(L"e.bmp")).c_str()));
    EXPECT_FALSE(writeBmp(image, name(file(L"e.bmp")).c_str(), 16));
    EXPECT_FALSE(writePng32(nullptr, image));
    EXPECT_FALSE(writeBmp(image, nullptr, 24));
    EXPECT_EQ(entries(), 0u);
}

}  // namespace
