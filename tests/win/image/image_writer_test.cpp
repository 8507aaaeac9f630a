// The image file writers on real files: exactly the encoders' bytes, UTF-16
// names, and saves that fail without touching the old file.
#include "image/image_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "image/bmp_writer.h"
#include "image/file_replace.h"
#include "image/png_codec.h"
#include "tests/win/app/ui_harness.h"

namespace {

namespace fs = std::filesystem;

std::u16string name(const fs::path& p) { return p.u16string(); }

// The four writers and the encoders whose bytes they must put in the file.
struct Writer {
    const wchar_t* file;
    std::function<bool(const char16_t*, const DIB&)> write;
    std::function<bool(const DIB&, ByteSink&)> encode;
};

// Names outside the ANSI code page: the writers open UTF-16 paths.
const Writer kWriters[] = {
    {L"\u753b\u50cf-\U0001F600.png", writePng32, encodePng32},
    {L"\u03a9\u03bb.png", writePng24, encodePng24},
    {L"\u0416\u0101.bmp", [](const char16_t* p, const DIB& i) { return writeBmp(i, p, 32); },
     [](const DIB& i, ByteSink& s) { return encodeBmp(i, 32, s); }},
    {L"d.bmp", [](const char16_t* p, const DIB& i) { return writeBmp(i, p, 24); },
     [](const DIB& i, ByteSink& s) { return encodeBmp(i, 24, s); }},
    {L"\u30de\u30b9\u30af.bmp",
     [](const char16_t* p, const DIB& i) { return writeGreyMaskBmp(i, p); }, encodeGreyMaskBmp},
};

class ImageSaving : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(image.create(3, 2));
        testimage::fillTagged(image);
    }
    fs::path file(const wchar_t* name) const { return folder.path() / name; }
    // Only the files the test made itself are there: no temporary was left.
    size_t entries() const {
        return size_t(
            std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
    }
    TempFolder folder;
    DIB image;
};

// Each replaces a longer existing file completely and leaves it closed.
TEST_F(ImageSaving, FilesHoldExactlyTheEncodedBytes) {
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(reinterpret_cast<const char*>(fs::path(w.file).u8string().c_str()));
        writeFileBytes(file(w.file), Bytes(5000, 0xEE));
        ASSERT_TRUE(w.write(name(file(w.file)).c_str(), image));
        MemorySink expected;
        ASSERT_TRUE(w.encode(image, expected));
        EXPECT_EQ(readFileBytes(file(w.file)), expected.bytes());
        EXPECT_TRUE(isClosedEverywhere(file(w.file)));
    }
    EXPECT_EQ(entries(), std::size(kWriters));
}

TEST_F(ImageSaving, BlockedTemporaryFailsTheSaveAndKeepsTheOldFile) {
    const Bytes old = {'o', 'l', 'd', 0, 1, 2, 3};
    writeFileBytes(file(L"a.png"), old);
    const fs::path temporary = fs::path(temporaryPathFor(name(file(L"a.png")).c_str()));
    EXPECT_EQ(temporary.parent_path(), folder.path());
    fs::create_directory(temporary);  // a directory in the way
    for (const Writer& w : kWriters) EXPECT_FALSE(w.write(name(file(L"a.png")).c_str(), image));
    EXPECT_EQ(readFileBytes(file(L"a.png")), old);
    EXPECT_TRUE(fs::is_directory(temporary));
}

TEST_F(ImageSaving, WriteErrorMidwayKeepsTheOldFileAndRemovesTheTemporary) {
    const Bytes old(3000, 0x77);
    writeFileBytes(file(L"a.bmp"), old);
    // The first blocks arrive, then the producer meets an error.
    const bool saved = replaceFileWith(name(file(L"a.bmp")).c_str(), [](ByteSink& sink) {
        const Bytes block(100000, 0x11);
        return sink.write(block.data(), block.size()) && sink.write(block.data(), 10) && false;
    });
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFileBytes(file(L"a.bmp")), old);
    EXPECT_EQ(entries(), 1u);
}

}  // namespace
