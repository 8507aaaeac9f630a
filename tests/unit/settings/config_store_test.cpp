#include "settings/config_store.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/ini_codec.h"
#include "tests/unit/settings/unusual_settings.h"

namespace {

const std::string kZeroColors(130, '0');  // 64 zero bytes and their checksum

// FontImageParams defaults: 32, 32, 0, 0, 32, "MS UI Gothic", style 0x10,
// text colour 0xFFFFFF, both backgrounds 0; checksum 0x49.
const std::string kDefaultFontBlock =
    "2000000020000000000000000000000020000000"
    "4D005300200055004900200047006F007400680069006300" +
    std::string(80, '0') + "10000000FFFFFF00000000000000000049";

// One line per section.
const std::string kDefaultText =
    "[window]\r\nnewImageSize=256,256\r\nfilterIndexNormal=0\r\nfilterIndexMask=0\r\n"
    "[grid]\r\nwndPos=0,0\r\nsize=32,32\r\ncorrect=0,0\r\n"
    "[colors]\r\nback=ff00ff\r\ncolors=" +
    kZeroColors +
    "\r\nbefore=ff00ff\r\nafter=000000\r\n"
    "[option]\r\ncheckFileCopy=1\r\nautoResize=1\r\ncopyOutOfRect=1\r\nalphaMode=0\r\n"
    "D&DActionType=3\r\nZoomType=0\r\nUndo=100\r\n"
    "[font]\r\ndata=" +
    kDefaultFontBlock +
    "\r\n"
    "[fileList]\r\npos=0,0\r\nmoveCurSel=1\r\nmoveSelect=1\r\nreturnSelect=1\r\n"
    "[trans]\r\nboxSize=8\r\ncolor1=ffffff\r\ncolor2=b0b0b0\r\n";

// Stored settings of a record, for comparing two records.
std::string storedOf(const Settings& s) { return writeSettingsIni(s, std::nullopt); }

std::string iniLine(const char* section, const char* key, const std::string& value) {
    return std::string("[") + section + "]\n" + key + "=" + value + "\n";
}

}  // namespace

TEST(ConfigWrite, FirstRunWritesEveryKeyInOrderWithDefaultsAndEmptyTextKeepsThem) {
    Settings s;
    EXPECT_EQ(writeSettingsIni(s, std::nullopt), kDefaultText);
    EXPECT_EQ(loadSettingsFromIni("", s), std::nullopt);
    EXPECT_EQ(storedOf(s), kDefaultText);
}

// The placement, when there is one, comes first; the platform's reading of
// the whole text is compared in tests/win/settings/settings_file_test.cpp.
TEST(ConfigRead, WrittenTextReadsBackTheSameSettingsAndPlacementButNotTheColourHistory) {
    Settings a, b;
    setUnusualValues(a);
    a.colorHistory = false;
    WindowPlacement wp;
    wp.showCmd = 3;
    wp.normalLeft = -5;
    const std::string text = writeSettingsIni(a, wp);
    EXPECT_EQ(text.rfind("[window]\r\nwndSize=2C000000", 0), 0u);
    const std::optional<WindowPlacement> read = loadSettingsFromIni(text, b);
    EXPECT_EQ(storedOf(b), storedOf(a));
    EXPECT_TRUE(b.colorHistory);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::make_pair(read->showCmd, read->normalLeft), std::make_pair(3u, -5));
}

// Each line is read in turn into one record, then the key's written value is
// compared: pairs need both numbers ("%d, %d" reads too) and sizes keep each
// non-positive number; colours read any hexadecimal spelling and are written
// in lower case; integers read non-numbers as 0, unchecked; booleans are any
// non-zero integer; keys ignore case; what cannot be read keeps the current
// value, not the default.
TEST(ConfigRead, EachKeyFollowsItsReadRule) {
    struct Step {
        const char *section, *key, *read, *written;
    };
    const Step steps[] = {
        {"window", "newImageSize", "0,300", "256,300"},
        {"window", "newImageSize", "300", "256,300"},
        {"window", "newImageSize", "-1,-1", "256,300"},
        {"window", "newImageSize", "512, 64", "512,64"},
        {"grid", "size", "16,-4", "16,32"},
        {"grid", "size", "16, 8", "16,8"},
        {"grid", "size", "4", "16,8"},
        {"grid", "correct", "-8, 0", "-8,0"},
        {"grid", "correct", "x,1", "-8,0"},
        {"grid", "wndPos", "-20,-30", "-20,-30"},
        {"grid", "wndPos", "1", "-20,-30"},
        {"fileList", "pos", "5,-6", "5,-6"},
        {"fileList", "pos", "", "5,-6"},
        {"colors", "back", "0x00ff00", "00ff00"},
        {"colors", "back", "green", "00ff00"},
        {"colors", "back", "0x", "00ff00"},
        {"colors", "back", "", "00ff00"},
        {"colors", "after", "1ABCDEF", "1abcdef"},
        {"trans", "color2", "00FF00", "00ff00"},
        {"OPTION", "undo", "250", "250"},
        {"option", "UNDO", "251", "251"},
        {"option", "Undo", "many", "0"},
        {"option", "ZoomType", "-2", "-2"},
        {"option", "D&DActionType", "9", "9"},
        {"trans", "boxSize", "x", "0"},
        {"option", "alphaMode", "2", "1"},
        {"option", "checkFileCopy", "0", "0"},
        {"option", "autoResize", "no", "0"},
        {"fileList", "moveSelect", "-1", "1"},
    };
    Settings s;
    for (const Step& step : steps) {
        loadSettingsFromIni(iniLine(step.section, step.key, step.read), s);
        EXPECT_EQ(IniDocument::parse(storedOf(s)).value(step.section, step.key), step.written)
            << step.key << "=" << step.read;
    }
    EXPECT_TRUE(s.copyOutOfRect);
}

TEST(ConfigRead, StructBlocksWithWrongLengthOrChecksumAreIgnored) {
    Settings s;
    const std::string colors = "01000000" + std::string(120, '0');
    for (const std::string& bad : {colors + "02", colors.substr(2) + "01"}) {
        loadSettingsFromIni(iniLine("colors", "colors", bad), s);
        EXPECT_EQ(s.colors[0], 0u);
    }
    loadSettingsFromIni(iniLine("font", "data", kDefaultFontBlock.substr(2)), s);
    EXPECT_EQ(s.fontParams.cellWidth, 32);
    loadSettingsFromIni(iniLine("colors", "colors", colors + "01"), s);
    EXPECT_EQ(s.colors[0], 1u);
    std::string placement = "2C000000" + std::string(80, '0') + "2C";
    EXPECT_TRUE(loadSettingsFromIni(iniLine("window", "wndSize", placement), s));
    placement.back() = 'D';
    EXPECT_FALSE(loadSettingsFromIni(iniLine("window", "wndSize", placement), s));
}
