// The settings record to and from config.ini text (against the platform: tests/win/settings).
#include "settings/config_store.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/ini_codec.h"

namespace {

std::string storedOf(const Settings& s) { return writeSettingsIni(s, std::nullopt); }

std::string iniLine(const char* section, const char* key, const std::string& value) {
    return std::string("[") + section + "]\n" + key + "=" + value + "\n";
}

}  // namespace

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
