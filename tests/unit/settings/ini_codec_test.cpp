#include "settings/ini_codec.h"

#include <gtest/gtest.h>

#include <array>

// What the comparison with the platform in tests/win/settings/settings_file_test.cpp
// does not reach: lone line breaks, keys outside a section, quotes, a byte order mark.
TEST(IniRead, FindsValuesAsTheProfileFunctionsDo) {
    struct Case {
        const char *text, *section, *key;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"[a]\rx=1\ny=2\r\nz=3", "a", "x", "1"},  // every line break
        {"[a]\rx=1\ny=2\r\nz=3", "a", "z", "3"},
        {"k=0\n[a]\nx=1\n[b]\nk=2\n", "a", "k", std::nullopt},  // keys stay in their section
        {"[a]\n;k=1\n", "a", ";k", "1"},                        // a comment line read as a key
        {"[a]\nm=\"ff'\n", "a", "m", "\"ff'"},  // only a pair of matching quotes goes
        {"[a]\nq=\"\n", "a", "q", "\""},
        {"[a]\nh=\"\"x\"\"\n", "a", "h", "\"x\""},
        {"\xEF\xBB\xBF[a]\nk=1\n", "a", "k", "1"},  // UTF-8 byte order mark
        {"[a]\n[b\nk=1\n", "a", "k", "1"},          // no closing bracket: a key line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniDocument::parse(c.text).value(c.section, c.key), c.expected)
            << c.text << " [" << c.section << "] " << c.key;
    }
}

TEST(IniRead, GetStringCutsToTheBufferAndTakesAnEmptyValueAsMissing) {
    IniDocument ini = IniDocument::parse("[a]\nc=0000000000000000ff\ne=\n");
    EXPECT_EQ(ini.getString("a", "c", 16), "000000000000000");
    EXPECT_EQ(ini.getString("a", "e", 16), std::nullopt);
    EXPECT_EQ(ini.getInt("a", "e"), std::nullopt);
}

TEST(StructBlock, EncodesUpperCaseBytesAndChecksumAndIgnoresAnyFaultyBlock) {
    const std::array<uint8_t, 3> bytes{0x01, 0xAB, 0xFF};
    EXPECT_EQ(encodeStructBlock(bytes), "01ABFFAB");  // 0x1AB mod 256
    std::array<uint8_t, 3> out{};
    EXPECT_TRUE(decodeStructBlock("01abffab", out));
    EXPECT_EQ(out, bytes);
    // Checksum, two bytes, four bytes, not hexadecimal, odd length.
    for (const char* bad : {"01ABFFAC", "01ABAB", "01ABFF00AB", "01ABFGAB", "01ABFFA"}) {
        out = {7, 7, 7};
        EXPECT_FALSE(decodeStructBlock(bad, out)) << bad;
        EXPECT_EQ(out, (std::array<uint8_t, 3>{7, 7, 7})) << bad;
    }
}

// A key keeps its place and spelling, a missing one goes after its section's
// last line, a missing section at the end; other lines stay as they were.
TEST(IniWrite, ReplacesAKeyWhereItStandsAndAddsMissingOnesAfterTheirSection) {
    IniDocument ini = IniDocument::parse("; my settings\n[option]\n  undo = 5  \nk\n\n[b]\ny=2\n");
    ini.set("option", "Undo", "100");
    ini.set("OPTION", "K", "1");  // a key line without a value gets one
    ini.set("option", "z", "3");
    ini.set("c", "v", "5");
    EXPECT_EQ(
        ini.text(),
        "; my settings\r\n[option]\r\nundo=100\r\nk=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nv=5\r\n");
}

// UTF-16 files are read as UTF-8 and written back unit for unit: a surrogate
// pair, a lone surrogate and both byte orders.
TEST(IniFileBytes, Utf16TextComesBackUnitForUnit) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes, text;
        IniEncoding encoding;
    };
    const Case cases[] = {
        {"\xFF\xFE[\0a\0]\0\n\0k\0=\0\x42\x30"s, "[a]\nk=\u3042", IniEncoding::Utf16LE},
        {"\xFF\xFE;\0\x3D\xD8\x00\xDE\x00\xD8"s, ";\U0001F600\xED\xA0\x80", IniEncoding::Utf16LE},
        {"\xFE\xFF\0[\0a\0]"s, "[a]", IniEncoding::Utf16BE},
        {"[a]\r\n\x82\xA0"s, "[a]\r\n\x82\xA0", IniEncoding::Narrow},
    };
    for (const Case& c : cases) {
        const IniFileText read = iniTextFromFileBytes(c.bytes);
        EXPECT_EQ(read.text, c.text);
        EXPECT_EQ(read.encoding, c.encoding);
        EXPECT_EQ(iniFileBytes(read.text, read.encoding), c.bytes);
    }
}
