// The settings record to and from config.ini text (against the platform: tests/win/settings).
#include "settings/config_store.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "settings/ini_codec.h"

namespace {

std::string storedOf(const Settings& s) { return writeSettingsIni(s, std::nullopt); }

std::string iniLine(const char* section, const char* key, const std::string& value) {
    return std::string("[") + section + "]\n" + key + "=" + value + "\n";
}

}  // namespace

TEST(ConfigWrite, EverySectionAndKeyInItsPlace) {
    std::istringstream lines(storedOf(Settings{}));
    std::string line, keys;
    while (std::getline(lines, line)) keys += line.substr(0, line.find_first_of("=\r")) + " ";
    EXPECT_EQ(keys,
              "[window] newImageSize filterIndexNormal filterIndexMask [grid] wndPos size correct "
              "[colors] back colors before after [option] checkFileCopy autoResize copyOutOfRect "
              "alphaMode D&DActionType ZoomType Undo [font] data [fileList] pos moveCurSel "
              "moveSelect returnSelect [trans] boxSize color1 color2 ");
}

// Each line is read in turn into one record, then the key's written value is
// compared: sizes need both numbers and keep each non-positive one; other
// pairs take any two; colours are read as hexadecimal and written in lower
// case; integers read non-numbers as 0; booleans are any non-zero integer;
// keys ignore case; what cannot be read keeps the current value.
TEST(ConfigRead, EachKindOfKeyFollowsItsReadRule) {
    struct Step {
        const char *section, *key, *read, *written;
    };
    const Step steps[] = {
        {"window", "newImageSize", "0,300", "256,300"},
        {"window", "newImageSize", "512", "256,300"},
        {"grid", "correct", "-8, 0", "-8,0"},
        {"grid", "correct", "x,1", "-8,0"},
        {"colors", "back", "0x00FF00", "00ff00"},
        {"colors", "back", "green", "00ff00"},
        {"OPTION", "UNDO", "250", "250"},
        {"option", "Undo", "many", "0"},
        {"option", "alphaMode", "2", "1"},
        {"option", "autoResize", "no", "0"},
    };
    Settings s;
    for (const Step& step : steps) {
        loadSettingsFromIni(iniLine(step.section, step.key, step.read), s);
        EXPECT_EQ(IniDocument::parse(storedOf(s)).value(step.section, step.key), step.written)
            << step.key << "=" << step.read;
    }
    EXPECT_EQ(loadSettingsFromIni("", s), std::nullopt);
    EXPECT_TRUE(s.copyOutOfRect);
}

TEST(ConfigRead, StructBlocksWithWrongLengthOrChecksumAreIgnored) {
    Settings s;
    const std::string colors = "01000000" + std::string(120, '0');
    for (const std::string& bad : {colors + "02", colors.substr(2) + "01"}) {
        loadSettingsFromIni(iniLine("colors", "colors", bad), s);
        EXPECT_EQ(s.colors[0], 0u);
    }
    loadSettingsFromIni(iniLine("colors", "colors", colors + "01"), s);
    EXPECT_EQ(s.colors[0], 1u);
    std::string placement = "2C000000" + std::string(80, '0') + "2C";
    EXPECT_TRUE(loadSettingsFromIni(iniLine("window", "wndSize", placement), s));
    placement.back() = 'D';
    EXPECT_FALSE(loadSettingsFromIni(iniLine("window", "wndSize", placement), s));
}
