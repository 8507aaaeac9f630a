#include "settings/ini_codec.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::optional<std::string> valueOf(std::string_view text, std::string_view section,
                                   std::string_view key) {
    return IniDocument::parse(text).value(section, key);
}

}  // namespace

TEST(IniRead, MatchesSectionsAndKeysWithoutRegardToCase) {
    const char* text = "[Option]\r\nUndo=50\r\n";
    EXPECT_EQ(valueOf(text, "option", "undo"), "50");
    EXPECT_EQ(valueOf(text, "OPTION", "UNDO"), "50");
}

TEST(IniRead, TrimsWhiteSpaceAroundNamesAndValues) {
    const char* text = "  [ grid ]  \n\t size \t=  16, 8 \t\n";
    EXPECT_EQ(valueOf(text, "grid", "size"), "16, 8");
}

TEST(IniRead, AcceptsEveryLineBreak) {
    const char* text = "[a]\rx=1\ny=2\r\nz=3";
    EXPECT_EQ(valueOf(text, "a", "x"), "1");
    EXPECT_EQ(valueOf(text, "a", "y"), "2");
    EXPECT_EQ(valueOf(text, "a", "z"), "3");
}

TEST(IniRead, FirstSectionAndFirstKeyOfANameWin) {
    const char* text = "[a]\nk=1\nk=2\n[b]\nq=0\n[A]\nk=3\nm=4\n";
    EXPECT_EQ(valueOf(text, "a", "k"), "1");
    // A later section of the same name is never searched.
    EXPECT_EQ(valueOf(text, "a", "m"), std::nullopt);
}

TEST(IniRead, KeysBelongToTheirOwnSectionOnly) {
    const char* text = "k=0\n[a]\nx=1\n[b]\nk=2\n";
    EXPECT_EQ(valueOf(text, "a", "k"), std::nullopt);
    EXPECT_EQ(valueOf(text, "b", "k"), "2");
}

TEST(IniRead, LineWithoutEqualsSignHasNoValue) {
    EXPECT_EQ(valueOf("[a]\nk\nk=2\n", "a", "k"), std::nullopt);
}

TEST(IniRead, CommentsAreNotKeys) {
    EXPECT_EQ(valueOf("[a]\n;k=1\n", "a", "k"), std::nullopt);
    EXPECT_EQ(valueOf("[a]\n;k=1\n", "a", ";k"), "1");
}

TEST(IniRead, StripsOnePairOfMatchingQuotes) {
    const char* text = "[a]\nd=\"ff\"\ns='ff'\nm=\"ff'\nq=\"\nh=\"\"x\"\"\n";
    EXPECT_EQ(valueOf(text, "a", "d"), "ff");
    EXPECT_EQ(valueOf(text, "a", "s"), "ff");
    EXPECT_EQ(valueOf(text, "a", "m"), "\"ff'");
    EXPECT_EQ(valueOf(text, "a", "q"), "\"");
    EXPECT_EQ(valueOf(text, "a", "h"), "\"x\"");
}

TEST(IniRead, SkipsUtf8ByteOrderMark) {
    EXPECT_EQ(valueOf("\xEF\xBB\xBF[a]\nk=1\n", "a", "k"), "1");
}

TEST(IniRead, HeaderWithoutClosingBracketIsAKeyLine) {
    const char* text = "[a]\n[b\nk=1\n";
    EXPECT_EQ(valueOf(text, "a", "k"), "1");
    EXPECT_EQ(valueOf(text, "b", "k"), std::nullopt);
}

TEST(IniRead, GetStringCutsToTheBufferAndTreatsEmptyAsMissing) {
    IniDocument ini = IniDocument::parse("[a]\nc=0000000000000000ff\ne=\n");
    EXPECT_EQ(ini.getString("a", "c", 16), "000000000000000");
    EXPECT_EQ(ini.getString("a", "e", 16), std::nullopt);
    EXPECT_EQ(ini.getString("a", "none", 16), std::nullopt);
}

TEST(IniRead, GetIntReadsNonNumbersAsZeroAndMissingAsNothing) {
    IniDocument ini = IniDocument::parse("[a]\nn=-12\nt=abc\ne=\n");
    EXPECT_EQ(ini.getInt("a", "n"), -12);
    EXPECT_EQ(ini.getInt("a", "t"), 0);
    EXPECT_EQ(ini.getInt("a", "e"), std::nullopt);
    EXPECT_EQ(ini.getInt("a", "none"), std::nullopt);
}

TEST(ProfileInteger, FollowsThePlatformRule) {
    EXPECT_EQ(readProfileInteger("100"), 100);
    EXPECT_EQ(readProfileInteger("+7"), 7);
    EXPECT_EQ(readProfileInteger("-5"), -5);
    EXPECT_EQ(readProfileInteger("12abc"), 12);
    EXPECT_EQ(readProfileInteger("abc"), 0);
    EXPECT_EQ(readProfileInteger("-"), 0);
    EXPECT_EQ(readProfileInteger("0x1F"), 31);
    EXPECT_EQ(readProfileInteger("0X1F"), 0);  // the prefix is lower case only
    EXPECT_EQ(readProfileInteger("0o17"), 15);
    EXPECT_EQ(readProfileInteger("0b101"), 5);
    EXPECT_EQ(readProfileInteger("019"), 19);
    EXPECT_EQ(readProfileInteger("4294967295"), -1);  // wraps modulo 2^32
    EXPECT_EQ(readProfileInteger("4294967297"), 1);
}

TEST(ScanIntPair, NeedsBothNumbers) {
    int32_t a = 0, b = 0;
    EXPECT_TRUE(scanIntPair("256,256", a, b));
    EXPECT_EQ(a, 256);
    EXPECT_EQ(b, 256);
    EXPECT_TRUE(scanIntPair(" -3,+4xyz", a, b));
    EXPECT_EQ(a, -3);
    EXPECT_EQ(b, 4);
    a = b = 9;
    EXPECT_FALSE(scanIntPair("300", a, b));
    EXPECT_FALSE(scanIntPair("300,", a, b));
    EXPECT_FALSE(scanIntPair("300,x", a, b));
    EXPECT_FALSE(scanIntPair(",5", a, b));
    EXPECT_EQ(a, 9);
    EXPECT_EQ(b, 9);
}

TEST(ScanIntPair, AcceptsWhiteSpaceAfterTheCommaButNotBefore) {
    int32_t a = 0, b = 0;
    EXPECT_TRUE(scanIntPair("16, 8", a, b));
    EXPECT_EQ(b, 8);
    EXPECT_FALSE(scanIntPair("16 ,8", a, b));
}

TEST(ScanHex, ReadsWithOrWithoutPrefix) {
    EXPECT_EQ(scanHex("00ff00"), 0x00FF00u);
    EXPECT_EQ(scanHex("00FF00"), 0x00FF00u);
    EXPECT_EQ(scanHex("0x00ff00"), 0x00FF00u);
    EXPECT_EQ(scanHex("0XB0b0B0"), 0xB0B0B0u);
    EXPECT_EQ(scanHex("0"), 0u);
    EXPECT_EQ(scanHex("ff zz"), 0xFFu);
    EXPECT_EQ(scanHex("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(scanHex("1ff00ff"), 0x1FF00FFu);
    EXPECT_EQ(scanHex("0x"), std::nullopt);
    EXPECT_EQ(scanHex("zz"), std::nullopt);
    EXPECT_EQ(scanHex(""), std::nullopt);
}

TEST(StructBlock, EncodesUpperCaseBytesAndChecksum) {
    const std::array<uint8_t, 3> bytes{0x01, 0xAB, 0xFF};
    EXPECT_EQ(encodeStructBlock(bytes), "01ABFFAB");  // 0x1AB mod 256
    EXPECT_EQ(encodeStructBlock(std::span<const uint8_t>{}), "00");
}

TEST(StructBlock, DecodesEitherCase) {
    std::array<uint8_t, 3> out{};
    EXPECT_TRUE(decodeStructBlock("01abffab", out));
    EXPECT_EQ(out, (std::array<uint8_t, 3>{0x01, 0xAB, 0xFF}));
}

TEST(StructBlock, IsIgnoredOnWrongLengthChecksumOrCharacter) {
    std::array<uint8_t, 3> out{7, 7, 7};
    const std::array<uint8_t, 3> untouched{7, 7, 7};
    EXPECT_FALSE(decodeStructBlock("01ABFFAC", out));    // checksum
    EXPECT_FALSE(decodeStructBlock("01ABAB", out));      // two bytes
    EXPECT_FALSE(decodeStructBlock("01ABFF00AB", out));  // four bytes
    EXPECT_FALSE(decodeStructBlock("01ABFGAB", out));    // not hexadecimal
    EXPECT_FALSE(decodeStructBlock("01ABFFA", out));     // odd length
    EXPECT_EQ(out, untouched);
}

TEST(IniWrite, NewDocumentGetsSectionsInTheOrderWritten) {
    IniDocument ini;
    ini.set("window", "newImageSize", "256,256");
    ini.set("grid", "size", "32,32");
    ini.set("window", "filterIndexNormal", "0");
    EXPECT_EQ(ini.text(),
              "[window]\r\nnewImageSize=256,256\r\nfilterIndexNormal=0\r\n"
              "[grid]\r\nsize=32,32\r\n");
}

TEST(IniWrite, ReplacesAKeyWhereItStandsKeepingItsSpellingAndOtherLines) {
    IniDocument ini = IniDocument::parse(
        "; my settings\n[option]\nmine = yes\n  undo = 5  \n[Other]\nx=1\n");
    ini.set("option", "Undo", "100");
    EXPECT_EQ(ini.text(),
              "; my settings\r\n[option]\r\nmine = yes\r\nundo=100\r\n[Other]\r\nx=1\r\n");
}

TEST(IniWrite, AddsAMissingKeyAfterTheSectionsLastLine) {
    IniDocument ini = IniDocument::parse("[a]\nx=1\n\n[b]\ny=2\n");
    ini.set("A", "z", "3");
    ini.set("b", "w", "4");
    ini.set("c", "v", "5");
    EXPECT_EQ(ini.text(), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=5\r\n");
}

TEST(IniWrite, GivesAValueToAKeyLineWithoutOne) {
    IniDocument ini = IniDocument::parse("[a]\nk\n");
    ini.set("a", "K", "1");
    EXPECT_EQ(ini.text(), "[a]\r\nk=1\r\n");
    EXPECT_EQ(ini.value("a", "k"), "1");
}

TEST(IniFileBytes, NarrowsUtf16Text) {
    using namespace std::string_literals;
    std::string little = "\xFF\xFE[\0a\0]\0\n\0k\0=\0\x42\x30"s;  // U+3042 is not ASCII
    EXPECT_EQ(iniTextFromFileBytes(little), "[a]\nk=?");
    std::string big = "\xFE\xFF\0[\0a\0]"s;
    EXPECT_EQ(iniTextFromFileBytes(big), "[a]");
    EXPECT_EQ(iniTextFromFileBytes("[a]\r\n"), "[a]\r\n");
}
