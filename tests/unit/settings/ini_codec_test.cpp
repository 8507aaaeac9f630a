#include "settings/ini_codec.h"

#include <gtest/gtest.h>

#include <array>

TEST(IniRead, FindsValuesAsTheProfileFunctionsDo) {
    struct Case {
        const char *text, *section, *key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"[Option]\r\nUndo=50\r\n", "option", "undo", "50"},  // names ignore case
        {"[Option]\r\nUndo=50\r\n", "OPTION", "UNDO", "50"},
        {"  [ grid ]  \n\t size \t=  16, 8 \t\n", "grid", "size", "16, 8"},  // white space
        {"[a]\rx=1\ny=2\r\nz=3", "a", "x", "1"},                             // every line break
        {"[a]\rx=1\ny=2\r\nz=3", "a", "y", "2"},
        {"[a]\rx=1\ny=2\r\nz=3", "a", "z", "3"},
        {"[a]\nk=1\nk=2\n[b]\nq=0\n[A]\nk=3\nm=4\n", "a", "k", "1"},  // first section, key
        {"[a]\nk=1\nk=2\n[b]\nq=0\n[A]\nk=3\nm=4\n", "a", "m", std::nullopt},
        {"k=0\n[a]\nx=1\n[b]\nk=2\n", "a", "k", std::nullopt},  // keys stay in their section
        {"k=0\n[a]\nx=1\n[b]\nk=2\n", "b", "k", "2"},
        {"[a]\nk\nk=2\n", "a", "k", std::nullopt},  // a line without '=' has no value
        {"[a]\n;k=1\n", "a", "k", std::nullopt},    // comments are not keys
        {"[a]\n;k=1\n", "a", ";k", "1"},
        {"[a]\nd=\"ff\"\n", "a", "d", "ff"},  // one pair of matching quotes
        {"[a]\ns='ff'\n", "a", "s", "ff"},
        {"[a]\nm=\"ff'\n", "a", "m", "\"ff'"},
        {"[a]\nq=\"\n", "a", "q", "\""},
        {"[a]\nh=\"\"x\"\"\n", "a", "h", "\"x\""},
        {"\xEF\xBB\xBF[a]\nk=1\n", "a", "k", "1"},  // UTF-8 byte order mark
        {"[a]\n[b\nk=1\n", "a", "k", "1"},          // no closing bracket: a key line
        {"[a]\n[b\nk=1\n", "b", "k", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniDocument::parse(c.text).value(c.section, c.key), c.expected)
            << c.text << " [" << c.section << "] " << c.key;
    }
}

TEST(IniRead, GetStringCutsToTheBufferAndGetIntReadsNonNumbersAsZero) {
    IniDocument ini = IniDocument::parse("[a]\nc=0000000000000000ff\ne=\nn=-12\nt=abc\n");
    EXPECT_EQ(ini.getString("a", "c", 16), "000000000000000");
    EXPECT_EQ(ini.getString("a", "e", 16), std::nullopt);  // empty counts as missing
    EXPECT_EQ(ini.getString("a", "none", 16), std::nullopt);
    EXPECT_EQ(ini.getInt("a", "n"), -12);
    EXPECT_EQ(ini.getInt("a", "t"), 0);
    EXPECT_EQ(ini.getInt("a", "e"), std::nullopt);
    EXPECT_EQ(ini.getInt("a", "none"), std::nullopt);
}

// A base prefix is lower case only: "0X1F" reads as 0.
TEST(ProfileInteger, FollowsThePlatformRule) {
    const std::pair<const char*, int32_t> cases[] = {
        {"100", 100}, {"+7", 7},          {"-5", -5},        {"12abc", 12}, {"abc", 0},
        {"-", 0},     {"0x1F", 31},       {"0X1F", 0},       {"0o17", 15},  {"0b101", 5},
        {"019", 19},  {"4294967295", -1}, {"4294967297", 1},  // wraps modulo 2^32
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(readProfileInteger(text), expected) << text;
    }
}

TEST(ScanIntPair, NeedsBothNumbersAndTakesWhiteSpaceOnlyAfterTheComma) {
    struct Case {
        const char* text;
        bool read;
        int32_t a, b;  // the values after the call, both 9 before it
    };
    const Case cases[] = {
        {"256,256", true, 256, 256}, {" -3,+4xyz", true, -3, 4}, {"16, 8", true, 16, 8},
        {"300", false, 9, 9},        {"300,", false, 9, 9},      {"300,x", false, 9, 9},
        {",5", false, 9, 9},         {"16 ,8", false, 9, 9},
    };
    for (const Case& c : cases) {
        int32_t a = 9, b = 9;
        EXPECT_EQ(scanIntPair(c.text, a, b), c.read) << c.text;
        EXPECT_EQ(std::make_pair(a, b), std::make_pair(c.a, c.b)) << c.text;
    }
}

TEST(ScanHex, ReadsWithOrWithoutPrefix) {
    const std::pair<const char*, std::optional<uint32_t>> cases[] = {
        {"00ff00", 0x00FF00u},
        {"00FF00", 0x00FF00u},
        {"0x00ff00", 0x00FF00u},
        {"0XB0b0B0", 0xB0B0B0u},
        {"0", 0u},
        {"ff zz", 0xFFu},
        {"-1", 0xFFFFFFFFu},
        {"1ff00ff", 0x1FF00FFu},
        {"0x", std::nullopt},
        {"zz", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(scanHex(text), expected) << text;
}

TEST(StructBlock, EncodesUpperCaseBytesAndChecksumAndDecodesEitherCase) {
    const std::array<uint8_t, 3> bytes{0x01, 0xAB, 0xFF};
    EXPECT_EQ(encodeStructBlock(bytes), "01ABFFAB");  // 0x1AB mod 256
    EXPECT_EQ(encodeStructBlock(std::span<const uint8_t>{}), "00");
    std::array<uint8_t, 3> out{};
    EXPECT_TRUE(decodeStructBlock("01abffab", out));
    EXPECT_EQ(out, bytes);
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
    IniDocument ini =
        IniDocument::parse("; my settings\n[option]\nmine = yes\n  undo = 5  \n[Other]\nx=1\nk\n");
    ini.set("option", "Undo", "100");
    ini.set("other", "K", "1");  // a key line without a value gets one
    EXPECT_EQ(ini.text(),
              "; my settings\r\n[option]\r\nmine = yes\r\nundo=100\r\n[Other]\r\nx=1\r\nk=1\r\n");
    EXPECT_EQ(ini.value("other", "k"), "1");
}

TEST(IniWrite, AddsAMissingKeyAfterTheSectionsLastLine) {
    IniDocument ini = IniDocument::parse("[a]\nx=1\n\n[b]\ny=2\n");
    ini.set("A", "z", "3");
    ini.set("b", "w", "4");
    ini.set("c", "v", "5");
    EXPECT_EQ(ini.text(), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=5\r\n");
}

TEST(IniFileBytes, NarrowsUtf16Text) {
    using namespace std::string_literals;
    std::string little = "\xFF\xFE[\0a\0]\0\n\0k\0=\0\x42\x30"s;  // U+3042 is not ASCII
    EXPECT_EQ(iniTextFromFileBytes(little), "[a]\nk=?");
    std::string big = "\xFE\xFF\0[\0a\0]"s;
    EXPECT_EQ(iniTextFromFileBytes(big), "[a]");
    EXPECT_EQ(iniTextFromFileBytes("[a]\r\n"), "[a]\r\n");
}
