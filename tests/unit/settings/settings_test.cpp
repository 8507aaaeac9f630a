#include "settings/settings.h"

#include <gtest/gtest.h>

TEST(ConfigPath, ReplacesTheExecutableNameOrIsEmptyWhenItWouldNotFit) {
    EXPECT_EQ(configPathBeside(u"C:\\Tools\\plimsett.exe"), u"C:\\Tools\\config.ini");
    EXPECT_EQ(configPathBeside(u"plimsett.exe"), u"config.ini");
    EXPECT_EQ(configPathBeside(u""), u"");
    // 519 code units fit a 520-unit buffer with its terminator; 520 do not.
    const std::u16string folder = u"C:\\" + std::u16string(505, u'a') + u"\\";
    EXPECT_EQ(configPathBeside(folder + u"p.exe"), folder + u"config.ini");
    EXPECT_EQ(configPathBeside(u"C:\\" + std::u16string(506, u'a') + u"\\p.exe"), u"");
}
