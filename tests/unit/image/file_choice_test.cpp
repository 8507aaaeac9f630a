// File choice record, extension tests and the dialogs' filter lists.
#include "image/file_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Traits = std::char_traits<char16_t>;
using Texts = std::vector<std::u16string>;

// Splits a double-NUL-terminated filter list into its texts.
Texts split(const char16_t* list) {
    Texts parts;
    for (const char16_t* p = list; *p != u'\0'; p += Traits::length(p) + 1) parts.emplace_back(p);
    return parts;
}

}  // namespace

TEST(FileExtension, ComparesTheTextFromTheLastDotIgnoringCase) {
    EXPECT_TRUE(hasExtension(u"archive.tar.PNG", u".png"));
    for (const char16_t* no : {u"photo.png.bak", u"png", u"photo.pngx", u"C:\\dir.png\\file"}) {
        EXPECT_FALSE(hasExtension(no, u".png"));
    }
    EXPECT_FALSE(hasExtension(nullptr, u".png") || hasExtension(u"a.png", nullptr));
    EXPECT_TRUE(isListableImage(u"a.JPG") && isListableImage(u"a.gif"));
    EXPECT_FALSE(isListableImage(u"a.jpeg") || isListableImage(u"a.dib"));
}

TEST(FileChoiceRecord, TakesTheNameAfterTheLastSeparatorAndReportsACutPath) {
    FileChoice c{};
    c.filterIndexNormal = 3;
    EXPECT_TRUE(setChoiceFromPath(c, u"D:\\art\\sheets/sprites.png"));
    EXPECT_EQ(std::u16string(c.fileTitle), u"sprites.png");
    EXPECT_EQ(c.filterIndexNormal, 3);
    const std::u16string path = u"C:\\" + std::u16string(600, u'a') + u".png";
    EXPECT_FALSE(setChoiceFromPath(c, path.c_str()));  // a cut path must never be opened
    EXPECT_EQ(std::u16string(c.filePath), path.substr(0, kFilePathLength - 1));
    const std::u16string fits = u"C:\\" + std::u16string(kFilePathLength - 4, u'b');
    EXPECT_TRUE(setChoiceFromPath(c, fits.c_str()));
    // 258 units, then a pair that would straddle the 259-unit limit of the title.
    const std::u16string name = std::u16string(258, u'n') + u"\U0001F600";
    setChoiceFromPath(c, name.c_str());
    EXPECT_EQ(Traits::length(c.fileTitle), 258u);
    clearChoiceNames(c);
    EXPECT_EQ(std::u16string(c.filePath) + c.fileTitle, u"");
    EXPECT_EQ(c.filterIndexNormal, 3);
}

TEST(DialogFilters, ListsInOrderAndTheWriterBehindEachIndex) {
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
    EXPECT_EQ(saveFilter(2), nullptr);
    // Index 0 and any past the list fall back to the first writer.
    const ImageWriter images[] = {ImageWriter::Png32, ImageWriter::Png32, ImageWriter::Png24,
                                  ImageWriter::Bmp32, ImageWriter::Bmp24, ImageWriter::Png32};
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(imageWriterFor(i), images[i]) << i;
    const MaskWriter masks[] = {MaskWriter::GreyBmp, MaskWriter::GreyBmp, MaskWriter::Png24,
                                MaskWriter::Bmp24, MaskWriter::GreyBmp};
    for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(maskWriterFor(i), masks[i]) << i;
}
