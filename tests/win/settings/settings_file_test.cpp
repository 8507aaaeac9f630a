// config.ini between our codec and the platform's private-profile functions,
// and the load and save of the file itself.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "image/file_replace.h"
#include "settings/config_store.h"
#include "settings/ini_codec.h"
#include "tests/test_support.h"

namespace {

// A record in which every stored setting differs from its default, so a key
// that is written but read back under another name, or not at all, shows.
void setUnusualValues(Settings& s) {
    s.newImageSize = {640, 480};
    s.filterIndexNormal = 2;
    s.filterIndexMask = -1;
    s.wndPos = {-120, 40};
    s.gridSize = {16, 8};
    s.gridCorrect = {-4, 5};
    s.back = 0x00FF00;
    for (uint32_t i = 0; i < 16; ++i) s.colors[i] = 0x0F0F0F * i;
    s.before = 0xABCDEF;
    s.after = 0x123456;
    s.checkFileCopy = false;
    s.autoResize = false;
    s.copyOutOfRect = false;
    s.alphaMode = true;
    s.ddActionType = 1;
    s.zoomType = 3;
    s.undoLimit = 250;
    s.fontParams.cellWidth = 24;
    std::memcpy(s.fontParams.faceName, u"Arial", sizeof u"Arial");
    s.fontParams.style = 0x13;
    s.fontParams.padding[1] = 0x55;  // kept as read
    s.fontParams.backColor2 = 0x808080;
    s.pos = {5, -6};
    s.moveCurSel = false;
    s.moveSelect = false;
    s.returnSelect = false;
    s.boxSize = 12;
    s.color1 = 0x0000FF;
    s.color2 = 0x808080;
}

std::wstring widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

std::string platformString(const std::filesystem::path& file, const char* section,
                           const std::string& key) {
    wchar_t buffer[256];
    GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buffer, 256,
                             file.c_str());
    return std::string(buffer, buffer + wcslen(buffer));
}

// Each "section/key" line of an ini text, in order.
std::vector<std::pair<std::string, std::string>> keysOf(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (line.front() == '[')
            section = line.substr(1, line.find(']') - 1);
        else
            keys.emplace_back(section, line.substr(0, line.find('=')));
    }
    return keys;
}

std::u16string configIn(const TempFolder& folder) {
    return (folder.path() / L"config.ini").u16string();
}

}  // namespace

TEST(SettingsIni, PlatformReadsWhatWeWrite) {
    TempFolder folder;
    const auto file = folder.path() / L"ours.ini";
    Settings s;
    setUnusualValues(s);
    WindowPlacement placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.normalRight = 500;
    const std::string text = writeSettingsIni(s, placement);
    writeFileBytes(file, text);
    const IniDocument ours = IniDocument::parse(text);
    const auto keys = keysOf(text);
    ASSERT_GT(keys.size(), 20u);
    for (const auto& [section, key] : keys) {
        EXPECT_EQ(platformString(file, section.c_str(), key), ours.value(section, key)) << key;
    }
    EXPECT_EQ(GetPrivateProfileIntW(L"option", L"undo", 0, file.c_str()), 250u);
    WINDOWPLACEMENT wp{};
    ASSERT_TRUE(GetPrivateProfileStructW(L"window", L"wndSize", &wp, sizeof wp, file.c_str()));
    EXPECT_EQ(std::make_tuple(wp.length, wp.showCmd, wp.rcNormalPosition.right),
              std::make_tuple(UINT(sizeof wp), UINT(SW_SHOWMAXIMIZED), 500L));
    FontImageParams font;
    ASSERT_TRUE(GetPrivateProfileStructW(L"font", L"data", &font, sizeof font, file.c_str()));
    EXPECT_EQ(std::memcmp(&font, &s.fontParams, sizeof font), 0);
}

TEST(SettingsIni, WeReadWhatThePlatformWrites) {
    TempFolder folder;
    Settings written, s;
    setUnusualValues(written);
    s.configPath = configIn(folder);
    const wchar_t* file = reinterpret_cast<const wchar_t*>(s.configPath.c_str());
    // Each key in the platform's own encoding of it; the blocks as structs.
    const std::string text = writeSettingsIni(written, std::nullopt);
    const IniDocument ours = IniDocument::parse(text);
    for (const auto& [section, key] : keysOf(text)) {
        if (key == "colors" || key == "data") continue;
        ASSERT_TRUE(WritePrivateProfileStringW(widen(section).c_str(), widen(key).c_str(),
                                               widen(*ours.value(section, key)).c_str(), file));
    }
    ASSERT_TRUE(WritePrivateProfileStructW(L"colors", L"colors", written.colors.data(), 64, file));
    ASSERT_TRUE(WritePrivateProfileStructW(L"font", L"data", &written.fontParams, 100, file));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.showCmd = SW_SHOWNORMAL;
    wp.rcNormalPosition = {50, 60, 450, 360};
    ASSERT_TRUE(WritePrivateProfileStructW(L"window", L"wndSize", &wp, sizeof wp, file));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);  // flush

    HWND window = CreateWindowExW(0, L"STATIC", L"settings test", WS_OVERLAPPEDWINDOW, 100, 100,
                                  400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(loadSettings(s, window));
    EXPECT_EQ(writeSettingsIni(s, std::nullopt), text);
    WINDOWPLACEMENT applied{};
    applied.length = sizeof applied;
    ASSERT_TRUE(GetWindowPlacement(window, &applied));
    EXPECT_EQ(std::make_pair(applied.rcNormalPosition.left, applied.rcNormalPosition.bottom),
              std::make_pair(50L, 360L));
    DestroyWindow(window);
}

// Strings, integers and blocks of an oddly written file, read by both sides.
TEST(SettingsIni, OddlyFormattedFileReadsAsThePlatformReadsIt) {
    TempFolder folder;
    const auto file = folder.path() / L"odd.ini";
    // A base prefix is lower case only; values wrap modulo 2^32.
    const char* integers[] = {"100",  "-5",   "+7",    "12abc", "abc",        "-",          "0x1F",
                              "0X1F", "0o17", "0b101", "019",   "4294967295", "4294967297", " 8"};
    std::string text =
        "; comment\r\n  [ Option ]  \r\nUNDO = 0x20  \r\nZoomType\r\nalphaMode=\r\n"
        "autoResize='1'\r\n\tD&DActionType\t=\t-2\r\ncheckFileCopy=yes\r\n"
        "[grid]\r\nsize = \"16, 8\"\r\nsize=4,4\r\n[option]\r\ncopyOutOfRect=0\r\n"
        "[colors]\r\nback=0x00FF00\r\ncolors=" +
        std::string(128, '0') + "01\r\nbefore=" + std::string(128, '0') + "00\r\n[n]\r\n";
    std::vector<std::pair<std::string, std::string>> keys = {
        {"option", "undo"},          {"option", "ZoomType"},
        {"option", "alphaMode"},     {"option", "autoResize"},
        {"option", "D&DActionType"}, {"option", "checkFileCopy"},
        {"option", "copyOutOfRect"}, {"grid", "size"},
        {"colors", "back"},          {"option", "missing"},
        {"nowhere", "size"},
    };
    for (size_t i = 0; i < std::size(integers); ++i) {
        keys.emplace_back("n", "k" + std::to_string(i));
        text += keys.back().second + "=" + integers[i] + "\r\n";
    }
    writeFileBytes(file, text);
    const IniDocument ours = IniDocument::parse(text);
    for (const auto& [section, key] : keys) {
        EXPECT_EQ(platformString(file, section.c_str(), key),
                  ours.getString(section, key, 256).value_or(""))
            << key;
        const auto platform = int32_t(
            GetPrivateProfileIntW(widen(section).c_str(), widen(key).c_str(), 12345, file.c_str()));
        EXPECT_EQ(platform, ours.getInt(section, key).value_or(12345)) << key;
    }
    uint8_t block[64];
    EXPECT_FALSE(GetPrivateProfileStructW(L"colors", L"colors", block, 64, file.c_str()));
    EXPECT_FALSE(ours.getStruct("colors", "colors", block));
    EXPECT_TRUE(GetPrivateProfileStructW(L"colors", L"before", block, 64, file.c_str()));
    EXPECT_TRUE(ours.getStruct("colors", "before", block));
}

// Foreign lines stay, in the encoding the file had: a UTF-16 file keeps its
// Japanese comment instead of turning it into '?'.
TEST(SettingsFile, SavedSettingsLoadBackKeepingForeignLinesAndAFailedWriteKeepsTheOldFile) {
    const std::string foreign = "; \xE8\xA8\xAD\xE5\xAE\x9A\r\n[extra]\r\nkey=value\r\n";
    for (const IniEncoding encoding : {IniEncoding::Narrow, IniEncoding::Utf16LE}) {
        TempFolder folder;
        const auto file = folder.path() / L"config.ini";
        Settings a, b;
        a.configPath = b.configPath = configIn(folder);
        EXPECT_FALSE(loadSettings(b, nullptr));  // no file: the defaults stay
        setUnusualValues(a);
        writeFileBytes(file, iniFileBytes(foreign, encoding));
        ASSERT_TRUE(saveSettings(a, nullptr));
        ASSERT_TRUE(loadSettings(b, nullptr));
        EXPECT_EQ(writeSettingsIni(b, std::nullopt), writeSettingsIni(a, std::nullopt));
        const std::string saved = readFileText(file);
        const IniFileText read = iniTextFromFileBytes(saved);
        EXPECT_EQ(read.encoding, encoding);
        EXPECT_EQ(read.text.rfind(foreign + "[window]\r\n", 0), 0u);
        EXPECT_EQ(platformString(file, "option", "undo"), "250");
        // A folder where the temporary file would go makes the write fail.
        std::filesystem::create_directory(temporaryPathFor(a.configPath.c_str()));
        EXPECT_FALSE(saveSettings(b, nullptr));
        EXPECT_EQ(readFileText(file), saved);
    }
}
