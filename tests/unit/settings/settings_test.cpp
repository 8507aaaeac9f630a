#include "settings/settings.h"

#include <gtest/gtest.h>

TEST(ConfigPath, ReplacesTheExecutableName) {
    EXPECT_EQ(configPathBeside(u"C:\\Tools\\Plimsett\\plimsett.exe"),
              u"C:\\Tools\\Plimsett\\config.ini");
    EXPECT_EQ(configPathBeside(u"C:\\plimsett.exe"), u"C:\\config.ini");
    EXPECT_EQ(configPathBeside(u"\\\\server\\share\\p.exe"), u"\\\\server\\share\\config.ini");
    EXPECT_EQ(configPathBeside(u"plimsett.exe"), u"config.ini");
}

TEST(ConfigPath, IsEmptyWhenItWouldNotFit) {
    EXPECT_EQ(configPathBeside(u""), u"");
    // 519 code units fit a 520-unit buffer with its terminator; 520 do not.
    std::u16string folder = u"C:\\" + std::u16string(505, u'a') + u"\\";
    ASSERT_EQ(folder.size() + 10, 519u);
    EXPECT_EQ(configPathBeside(folder + u"p.exe"), folder + u"config.ini");
    EXPECT_EQ(configPathBeside(u"C:\\" + std::u16string(506, u'a') + u"\\p.exe"), u"");
}

TEST(SettingsRecord, AccessorGivesOneInstanceWithDefaults) {
    settings().undoLimit = 5;
    resetSettings();
    Settings& s = settings();
    EXPECT_EQ(&s, &settings());
    EXPECT_EQ(s.undoLimit, 100);
    EXPECT_TRUE(s.colorHistory);
    EXPECT_EQ(s.gridSize, (IntPair{32, 32}));
}
