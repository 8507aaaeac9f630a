// File choice record, extension tests, loader dispatch and the dialogs'
// filter lists.
#include "image/file_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Traits = std::char_traits<char16_t>;
using Texts = std::vector<std::u16string>;

FileChoice filled() {
    FileChoice c{};
    Traits::copy(c.fileTitle, u"old.png", 8);
    Traits::copy(c.filePath, u"C:\\pictures\\old.png", 20);
    c.filterIndexNormal = 3;
    c.filterIndexMask = 2;
    return c;
}

// Splits a double-NUL-terminated filter list into its texts.
Texts split(const char16_t* list) {
    Texts parts;
    for (const char16_t* p = list; *p != u'\0'; p += Traits::length(p) + 1) parts.emplace_back(p);
    return parts;
}

TEST(FileExtension, ComparesTheTextFromTheLastDotIgnoringCase) {
    EXPECT_TRUE(hasExtension(u"photo.PNG", u".png"));
    EXPECT_TRUE(hasExtension(u"archive.tar.png", u".png"));
    for (const char16_t* no : {u"photo.png.bak", u"png", u"C:\\dir.png\\file", u"photo.pn",
                               u"photo.pngx", static_cast<const char16_t*>(nullptr)}) {
        EXPECT_FALSE(hasExtension(no, u".png"));
    }
    EXPECT_FALSE(hasExtension(u"photo.png", nullptr));
}

TEST(FileExtension, ListableImagesAreBmpJpgGifPngOnly) {
    for (const char16_t* yes : {u"a.bmp", u"a.JPG", u"a.gif", u"a.Png"}) {
        EXPECT_TRUE(isListableImage(yes));
    }
    for (const char16_t* no :
         {u"a.dib", u"a.jpeg", u"a.jpe", u"a.tif", u"bmp", static_cast<const char16_t*>(nullptr)}) {
        EXPECT_FALSE(isListableImage(no));
    }
}

TEST(FileExtension, EachExtensionGoesToItsOneLoader) {
    const std::pair<const char16_t*, ImageLoader> cases[] = {
        {u"x.png", ImageLoader::Png},      {u"x.PNG", ImageLoader::Png},
        {u"x.bmp", ImageLoader::Bitmap},   {u"x.Dib", ImageLoader::Bitmap},
        {u"a.JPG", ImageLoader::Picture},  {u"a.jpeg", ImageLoader::Picture},
        {u"a.jpe", ImageLoader::Picture},  {u"a.gif", ImageLoader::Picture},
        {u"photo.tif", ImageLoader::None}, {u"noextension", ImageLoader::None},
        {nullptr, ImageLoader::None},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(imageLoaderFor(cases[i].first), cases[i].second) << i;
    }
}

TEST(FileChoiceRecord, SetFromPathTakesTheNameAfterTheLastSeparator) {
    FileChoice c = filled();
    EXPECT_TRUE(setChoiceFromPath(c, u"D:\\art\\sheets/sprites.png"));
    EXPECT_EQ(std::u16string(c.filePath), u"D:\\art\\sheets/sprites.png");
    EXPECT_EQ(std::u16string(c.fileTitle), u"sprites.png");
    EXPECT_EQ(c.filterIndexNormal, 3);
    EXPECT_EQ(c.filterIndexMask, 2);
    EXPECT_TRUE(setChoiceFromPath(c, u"bare.bmp"));
    EXPECT_EQ(std::u16string(c.fileTitle), u"bare.bmp");
}

TEST(FileChoiceRecord, TooLongTextIsCutWholeCharactersAndACutPathReported) {
    FileChoice c = filled();
    const std::u16string path = u"C:\\" + std::u16string(600, u'a') + u".png";
    EXPECT_FALSE(setChoiceFromPath(c, path.c_str()));  // a cut path must never be opened
    EXPECT_EQ(std::u16string(c.filePath), path.substr(0, kFilePathLength - 1));
    EXPECT_EQ(Traits::length(c.fileTitle), kFileTitleLength - 1);

    const std::u16string fits = u"C:\\" + std::u16string(kFilePathLength - 4, u'b');
    EXPECT_TRUE(setChoiceFromPath(c, fits.c_str()));
    EXPECT_EQ(std::u16string(c.filePath), fits);

    // 258 units, then a pair that would straddle the 259-unit limit of the title.
    const std::u16string name = std::u16string(258, u'n') + u"\U0001F600";
    setChoiceFromPath(c, name.c_str());
    EXPECT_EQ(Traits::length(c.fileTitle), 258u);
}

TEST(FileChoiceRecord, ClearCopyAndClearNames) {
    FileChoice c{};
    copyChoice(c, filled());
    copyChoice(c, c);
    EXPECT_EQ(std::u16string(c.filePath), u"C:\\pictures\\old.png");
    EXPECT_EQ(std::u16string(c.fileTitle), u"old.png");
    EXPECT_EQ(c.filterIndexNormal, 3);
    EXPECT_EQ(c.filterIndexMask, 2);
    clearChoiceNames(c);
    EXPECT_EQ(std::u16string(c.filePath), u"");
    EXPECT_EQ(std::u16string(c.fileTitle), u"");
    EXPECT_EQ(c.filterIndexNormal, 3);
    EXPECT_EQ(c.filterIndexMask, 2);
    c = filled();
    clearChoice(c);
    EXPECT_EQ(std::u16string(c.filePath), u"");
    EXPECT_EQ(std::u16string(c.fileTitle), u"");
    EXPECT_EQ(c.filterIndexNormal, 0);
    EXPECT_EQ(c.filterIndexMask, 0);
}

TEST(DialogFilters, OpenAndSaveListsInOrderWithTheirDefaultExtensions) {
    EXPECT_EQ(split(kOpenFilter),
              (Texts{u"All Supported Type", u"*.png;*.bmp;*.jpg;*.jpeg;*.gif", u"PNG(*.png)",
                     u"*.png", u"ビットマップ(*.bmp)", u"*.bmp", u"JPEG(*.jpg,*.jpeg)",
                     u"*.jpg;*.jpeg", u"GIF(*.gif)", u"*.gif", u"すべて(*.*)", u"*.*"}));
    EXPECT_EQ(
        split(saveFilter(kImageSaveList)),
        (Texts{u" PNG32(*.png)", u"*.png", u" PNG24(*.png)", u"*.png", u" 32bitビットマップ(*.bmp)",
               u"*.bmp", u" 24bitビットマップ(*.bmp)", u"*.bmp"}));
    EXPECT_EQ(split(saveFilter(kMaskSaveList)),
              (Texts{u"グレイスケール(*.bmp)", u"*.bmp", u"PNG24(*.png)", u"*.png", u"BMP24(*.bmp)",
                     u"*.bmp"}));
    EXPECT_EQ(std::u16string(saveDefaultExtension(kImageSaveList)), u"png");
    EXPECT_EQ(std::u16string(saveDefaultExtension(kMaskSaveList)), u"bmp");
    EXPECT_EQ(saveFilter(2), nullptr);
    EXPECT_EQ(saveDefaultExtension(-1), nullptr);
}

TEST(DialogFilters, FilterIndexChoosesTheWriterWithPng32AndGreyBmpAsFallbacks) {
    const ImageWriter images[] = {ImageWriter::Png32, ImageWriter::Png32, ImageWriter::Png24,
                                  ImageWriter::Bmp32, ImageWriter::Bmp24, ImageWriter::Png32};
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(imageWriterFor(i), images[i]) << i;
    const MaskWriter masks[] = {MaskWriter::GreyBmp, MaskWriter::GreyBmp, MaskWriter::Png24,
                                MaskWriter::Bmp24, MaskWriter::GreyBmp};
    for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(maskWriterFor(i), masks[i]) << i;
}

}  // namespace
