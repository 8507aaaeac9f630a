// File choice record and extension tests.
#include "image/file_choice.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileExtension, ComparesTheTextFromTheLastDotIgnoringCase) {
    EXPECT_TRUE(hasExtension(u"archive.tar.PNG", u".png"));
    const char16_t* const notPng[] = {u"photo.png.bak", u"png", u"photo.pngx", nullptr};
    for (const char16_t* no : notPng) {
        EXPECT_FALSE(hasExtension(no, u".png"));
    }
    EXPECT_TRUE(isListableImage(u"a.JPG"));
    EXPECT_FALSE(isListableImage(u"a.jpeg"));  // the file list takes .jpg only
}

TEST(FileChoiceRecord, TakesTheNameAfterTheLastSeparatorAndReportsACutPath) {
    FileChoice c{};
    EXPECT_TRUE(setChoiceFromPath(c, u"D:\\art\\sheets/sprites.png"));
    EXPECT_EQ(std::u16string(c.fileTitle), u"sprites.png");
    const std::u16string path = u"C:\\" + std::u16string(600, u'a') + u".png";
    EXPECT_FALSE(setChoiceFromPath(c, path.c_str()));  // a cut path must never be opened
    const std::u16string fits = u"C:\\" + std::u16string(kFilePathLength - 4, u'b');
    EXPECT_TRUE(setChoiceFromPath(c, fits.c_str()));
    // 258 units, then a pair that would straddle the 259-unit limit of the title.
    const std::u16string name = std::u16string(258, u'n') + u"\U0001F600";
    setChoiceFromPath(c, name.c_str());
    EXPECT_EQ(std::char_traits<char16_t>::length(c.fileTitle), 258u);
}
