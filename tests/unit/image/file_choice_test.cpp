// File choice record, extension tests, loader dispatch and the dialogs'
// filter lists.
#include "image/file_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Traits = std::char_traits<char16_t>;

void copy(char16_t* to, const char16_t* text) { Traits::copy(to, text, Traits::length(text) + 1); }

// Compares with a NUL-terminated buffer.
std::u16string text(const char16_t* buffer) { return buffer; }

FileChoice filled() {
    FileChoice c{};
    copy(c.fileTitle, u"old.png");
    copy(c.filePath, u"C:\\pictures\\old.png");
    c.filterIndexNormal = 3;
    c.filterIndexMask = 2;
    return c;
}

// Splits a double-NUL-terminated filter list into its texts.
std::vector<std::u16string> split(const char16_t* list) {
    std::vector<std::u16string> parts;
    for (const char16_t* p = list; *p != u'\0'; p += Traits::length(p) + 1) parts.emplace_back(p);
    return parts;
}

TEST(FileExtension, ComparesTheTextFromTheLastDotIgnoringCase) {
    EXPECT_TRUE(hasExtension(u"photo.PNG", u".png"));
    EXPECT_TRUE(hasExtension(u"archive.tar.png", u".png"));
    EXPECT_FALSE(hasExtension(u"photo.png.bak", u".png"));
    EXPECT_FALSE(hasExtension(u"png", u".png"));
    EXPECT_FALSE(hasExtension(u"C:\\dir.png\\file", u".png"));
    EXPECT_FALSE(hasExtension(u"photo.pn", u".png"));
    EXPECT_FALSE(hasExtension(u"photo.pngx", u".png"));
    EXPECT_FALSE(hasExtension(nullptr, u".png"));
    EXPECT_FALSE(hasExtension(u"photo.png", nullptr));
}

TEST(FileExtension, ListableImagesAreBmpJpgGifPngOnly) {
    for (const char16_t* yes : {u"a.bmp", u"a.JPG", u"a.gif", u"a.Png"}) {
        EXPECT_TRUE(isListableImage(yes));
    }
    for (const char16_t* no : {u"a.dib", u"a.jpeg", u"a.jpe", u"a.tif", u"bmp"}) {
        EXPECT_FALSE(isListableImage(no));
    }
    EXPECT_FALSE(isListableImage(nullptr));
}

TEST(FileExtension, EachExtensionGoesToItsOneLoader) {
    EXPECT_EQ(imageLoaderFor(u"x.png"), ImageLoader::Png);
    EXPECT_EQ(imageLoaderFor(u"x.PNG"), ImageLoader::Png);
    EXPECT_EQ(imageLoaderFor(u"x.bmp"), ImageLoader::Bitmap);
    EXPECT_EQ(imageLoaderFor(u"x.Dib"), ImageLoader::Bitmap);
    EXPECT_EQ(imageLoaderFor(u"photo.JPG"), ImageLoader::Picture);
    EXPECT_EQ(imageLoaderFor(u"photo.jpeg"), ImageLoader::Picture);
    EXPECT_EQ(imageLoaderFor(u"photo.jpe"), ImageLoader::Picture);
    EXPECT_EQ(imageLoaderFor(u"anim.gif"), ImageLoader::Picture);
    EXPECT_EQ(imageLoaderFor(u"photo.tif"), ImageLoader::None);
    EXPECT_EQ(imageLoaderFor(u"noextension"), ImageLoader::None);
    EXPECT_EQ(imageLoaderFor(nullptr), ImageLoader::None);
}

TEST(FileChoiceRecord, SetFromPathTakesTheNameAfterTheLastSeparator) {
    FileChoice c = filled();
    EXPECT_TRUE(setChoiceFromPath(c, u"D:\\art\\sheets/sprites.png"));
    EXPECT_EQ(text(c.filePath), text(u"D:\\art\\sheets/sprites.png"));
    EXPECT_EQ(text(c.fileTitle), text(u"sprites.png"));
    EXPECT_EQ(c.filterIndexNormal, 3);
    EXPECT_EQ(c.filterIndexMask, 2);
    EXPECT_TRUE(setChoiceFromPath(c, u"bare.bmp"));
    EXPECT_EQ(text(c.fileTitle), text(u"bare.bmp"));
}

TEST(FileChoiceRecord, TooLongPathIsCutAndReportedSoItIsNeverOpened) {
    FileChoice c = filled();
    const std::u16string path = u"C:\\" + std::u16string(600, u'a') + u".png";
    EXPECT_FALSE(setChoiceFromPath(c, path.c_str()));
    EXPECT_EQ(Traits::length(c.filePath), kFilePathLength - 1);
    EXPECT_EQ(Traits::length(c.fileTitle), kFileTitleLength - 1);
    EXPECT_EQ(std::u16string(c.filePath), path.substr(0, kFilePathLength - 1));

    const std::u16string fits = u"C:\\" + std::u16string(kFilePathLength - 4, u'b');
    EXPECT_TRUE(setChoiceFromPath(c, fits.c_str()));
    EXPECT_EQ(std::u16string(c.filePath), fits);
}

TEST(FileChoiceRecord, CutNeverKeepsHalfASurrogatePair) {
    FileChoice c{};
    // 258 units, then a pair that would straddle the 259-unit limit of the title.
    std::u16string name(258, u'n');
    name += static_cast<char16_t>(0xD83D);
    name += static_cast<char16_t>(0xDE00);
    setChoiceFromPath(c, name.c_str());
    EXPECT_EQ(Traits::length(c.fileTitle), 258u);
}

TEST(FileChoiceRecord, ClearEmptiesNamesAndIndexesClearNamesKeepsIndexes) {
    FileChoice c = filled();
    clearChoiceNames(c);
    EXPECT_EQ(text(c.filePath), text(u""));
    EXPECT_EQ(text(c.fileTitle), text(u""));
    EXPECT_EQ(c.filterIndexNormal, 3);
    EXPECT_EQ(c.filterIndexMask, 2);
    clearChoice(c);
    EXPECT_EQ(c.filterIndexNormal, 0);
    EXPECT_EQ(c.filterIndexMask, 0);
}

TEST(FileChoiceRecord, CopyTakesBothNamesAndBothIndexes) {
    const FileChoice source = filled();
    FileChoice copy{};
    copyChoice(copy, source);
    EXPECT_EQ(text(copy.filePath), text(source.filePath));
    EXPECT_EQ(text(copy.fileTitle), text(source.fileTitle));
    EXPECT_EQ(copy.filterIndexNormal, 3);
    EXPECT_EQ(copy.filterIndexMask, 2);
    copyChoice(copy, copy);
    EXPECT_EQ(text(copy.filePath), text(source.filePath));
}

TEST(DialogFilters, OpenListHasTheSixFiltersInOrder) {
    EXPECT_EQ(split(kOpenFilter),
              (std::vector<std::u16string>{
                  u"All Supported Type", u"*.png;*.bmp;*.jpg;*.jpeg;*.gif", u"PNG(*.png)",
                  u"*.png", u"ビットマップ(*.bmp)", u"*.bmp", u"JPEG(*.jpg,*.jpeg)",
                  u"*.jpg;*.jpeg", u"GIF(*.gif)", u"*.gif", u"すべて(*.*)", u"*.*"}));
}

TEST(DialogFilters, SaveListsWithTheirDefaultExtensions) {
    EXPECT_EQ(split(saveFilter(kImageSaveList)),
              (std::vector<std::u16string>{u" PNG32(*.png)", u"*.png", u" PNG24(*.png)", u"*.png",
                                         u" 32bitビットマップ(*.bmp)", u"*.bmp",
                                         u" 24bitビットマップ(*.bmp)", u"*.bmp"}));
    EXPECT_EQ(split(saveFilter(kMaskSaveList)),
              (std::vector<std::u16string>{u"グレイスケール(*.bmp)", u"*.bmp", u"PNG24(*.png)",
                                         u"*.png", u"BMP24(*.bmp)", u"*.bmp"}));
    EXPECT_EQ(text(saveDefaultExtension(kImageSaveList)), text(u"png"));
    EXPECT_EQ(text(saveDefaultExtension(kMaskSaveList)), text(u"bmp"));
    EXPECT_EQ(saveFilter(2), nullptr);
    EXPECT_EQ(saveDefaultExtension(-1), nullptr);
}

TEST(DialogFilters, FilterIndexChoosesTheWriterWithPng32AndGreyBmpAsFallbacks) {
    EXPECT_EQ(imageWriterFor(1), ImageWriter::Png32);
    EXPECT_EQ(imageWriterFor(2), ImageWriter::Png24);
    EXPECT_EQ(imageWriterFor(3), ImageWriter::Bmp32);
    EXPECT_EQ(imageWriterFor(4), ImageWriter::Bmp24);
    EXPECT_EQ(imageWriterFor(0), ImageWriter::Png32);
    EXPECT_EQ(imageWriterFor(5), ImageWriter::Png32);
    EXPECT_EQ(maskWriterFor(1), MaskWriter::GreyBmp);
    EXPECT_EQ(maskWriterFor(2), MaskWriter::Png24);
    EXPECT_EQ(maskWriterFor(3), MaskWriter::Bmp24);
    EXPECT_EQ(maskWriterFor(0), MaskWriter::GreyBmp);
    EXPECT_EQ(maskWriterFor(4), MaskWriter::GreyBmp);
}

}  // namespace
