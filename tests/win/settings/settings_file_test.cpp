// config.ini between our codec and the platform's private-profile functions,
// and the load and save of the file itself.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <type_traits>
#include <vector>

#include "image/file_replace.h"
#include "settings/config_store.h"
#include "settings/ini_codec.h"
#include "tests/unit/settings/unusual_settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

std::string readBytes(const std::filesystem::path& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::wstring widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

std::string platformString(const std::filesystem::path& file, const char* section,
                           const char* key) {
    wchar_t buffer[256];
    GetPrivateProfileStringW(widen(section).c_str(), widen(key).c_str(), L"", buffer, 256,
                             file.c_str());
    std::string out;
    for (wchar_t* p = buffer; *p; ++p) out += static_cast<char>(*p);
    return out;
}

// Every stored key, in the file's order.
const std::pair<const char*, const char*> kKeys[] = {
    {"window", "wndSize"},
    {"window", "newImageSize"},
    {"window", "filterIndexNormal"},
    {"window", "filterIndexMask"},
    {"grid", "wndPos"},
    {"grid", "size"},
    {"grid", "correct"},
    {"colors", "back"},
    {"colors", "colors"},
    {"colors", "before"},
    {"colors", "after"},
    {"option", "checkFileCopy"},
    {"option", "autoResize"},
    {"option", "copyOutOfRect"},
    {"option", "alphaMode"},
    {"option", "D&DActionType"},
    {"option", "ZoomType"},
    {"option", "Undo"},
    {"font", "data"},
    {"fileList", "pos"},
    {"fileList", "moveCurSel"},
    {"fileList", "moveSelect"},
    {"fileList", "returnSelect"},
    {"trans", "boxSize"},
    {"trans", "color1"},
    {"trans", "color2"},
};

// A plain top-level window for placements, destroyed with its owner.
struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

Window makeWindow() {
    return Window(CreateWindowExW(0, L"STATIC", L"settings test", WS_OVERLAPPEDWINDOW, 100, 100,
                                  400, 300, nullptr, nullptr, nullptr, nullptr));
}

WINDOWPLACEMENT storedPlacement(const std::filesystem::path& file) {
    WINDOWPLACEMENT wp{};
    EXPECT_TRUE(GetPrivateProfileStructW(L"window", L"wndSize", &wp, sizeof wp, file.c_str()));
    return wp;
}

// A record whose config.ini is in `folder`.
void placeIn(Settings& s, const TempFolder& folder) {
    s.configPath = (folder.path() / L"config.ini").u16string();
}

}  // namespace

TEST(SettingsIni, PlatformReadsWhatWeWrite) {
    TempFolder folder;
    auto file = folder.path() / L"ours.ini";
    Settings s;
    setUnusualValues(s);
    WindowPlacement placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.normalLeft = 10;
    placement.normalRight = 500;
    const std::string text = writeSettingsIni(s, placement);
    writeBytes(file, text);

    IniDocument ours = IniDocument::parse(text);
    for (auto [section, key] : kKeys) {
        EXPECT_EQ(platformString(file, section, key), ours.value(section, key)) << key;
    }
    EXPECT_EQ(GetPrivateProfileIntW(L"option", L"undo", 0, file.c_str()), 250u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(L"grid", L"wndPos", 0, file.c_str())), -120);

    WINDOWPLACEMENT wp = storedPlacement(file);
    EXPECT_EQ(wp.length, sizeof wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 10);
    EXPECT_EQ(wp.rcNormalPosition.right, 500);
    COLORREF colors[16];
    ASSERT_TRUE(
        GetPrivateProfileStructW(L"colors", L"colors", colors, sizeof colors, file.c_str()));
    EXPECT_EQ(colors[15], 0x0F0F0Fu * 15);
    FontImageParams font;
    ASSERT_TRUE(GetPrivateProfileStructW(L"font", L"data", &font, sizeof font, file.c_str()));
    EXPECT_EQ(std::memcmp(&font, &s.fontParams, sizeof font), 0);
}

TEST(SettingsIni, WeReadWhatThePlatformWrites) {
    TempFolder folder;
    Settings written;
    setUnusualValues(written);
    Settings s;
    placeIn(s, folder);
    const wchar_t* file = reinterpret_cast<const wchar_t*>(s.configPath.c_str());
    // Each key in the platform's own encoding of it.
    IniDocument ours = IniDocument::parse(writeSettingsIni(written, std::nullopt));
    for (auto [section, key] : kKeys) {
        const std::string_view name = key;
        if (name == "wndSize" || name == "colors" || name == "data") continue;
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

    Window window = makeWindow();
    ASSERT_TRUE(loadSettings(s, window.get()));
    EXPECT_EQ(writeSettingsIni(s, std::nullopt), writeSettingsIni(written, std::nullopt));
    WINDOWPLACEMENT applied{};
    applied.length = sizeof applied;
    ASSERT_TRUE(GetWindowPlacement(window.get(), &applied));
    EXPECT_EQ(applied.rcNormalPosition.left, 50);
    EXPECT_EQ(applied.rcNormalPosition.bottom, 360);
}

// Strings, integers and blocks of an oddly written file, read by both sides.
TEST(SettingsIni, OddlyFormattedFileReadsAsThePlatformReadsIt) {
    TempFolder folder;
    auto file = folder.path() / L"odd.ini";
    const char* integers[] = {"100",  "-5",   "+7",    "12abc", "abc",        "-",          "0x1F",
                              "0X1F", "0o17", "0b101", "019",   "4294967295", "4294967297", " 8"};
    std::string text =
        "; comment\r\n  [ Option ]  \r\nUNDO = 0x20  \r\nZoomType\r\nalphaMode=\r\n"
        "autoResize='1'\r\n\tD&DActionType\t=\t-2\r\ncheckFileCopy=yes\r\n"
        "[grid]\r\nsize = \"16, 8\"\r\nsize=4,4\r\n[option]\r\ncopyOutOfRect=0\r\n"
        "[colors]\r\nback=0x00FF00\r\ncolors=" +
        std::string(128, '0') +
        "01\r\n"
        "before=" +
        std::string(128, '0') + "00\r\n[n]\r\n";
    std::vector<std::pair<const char*, std::string>> keys = {
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
    writeBytes(file, text);
    IniDocument ours = IniDocument::parse(text);
    for (const auto& [section, key] : keys) {
        EXPECT_EQ(platformString(file, section, key.c_str()),
                  ours.getString(section, key, 256).value_or(""))
            << key;
        int32_t platform = static_cast<int32_t>(
            GetPrivateProfileIntW(widen(section).c_str(), widen(key).c_str(), 12345, file.c_str()));
        EXPECT_EQ(platform, ours.getInt(section, key).value_or(12345)) << key;
    }
    uint8_t block[64];
    EXPECT_FALSE(GetPrivateProfileStructW(L"colors", L"colors", block, 64, file.c_str()));
    EXPECT_FALSE(ours.getStruct("colors", "colors", block));
    EXPECT_TRUE(GetPrivateProfileStructW(L"colors", L"before", block, 64, file.c_str()));
    EXPECT_TRUE(ours.getStruct("colors", "before", block));
}

TEST(SettingsFile, MissingFileKeepsTheDefaultsAndSavedSettingsLoadBack) {
    TempFolder folder;
    Settings a, b;
    placeIn(a, folder);
    placeIn(b, folder);
    EXPECT_FALSE(loadSettings(b, nullptr));
    EXPECT_EQ(b.undoLimit, 100);

    setUnusualValues(a);
    const std::string foreign = "; mine\r\n[extra]\r\nkey=value\r\n";
    writeBytes(folder.path() / L"config.ini", foreign);
    ASSERT_TRUE(saveSettings(a, nullptr));
    ASSERT_TRUE(loadSettings(b, nullptr));
    EXPECT_EQ(writeSettingsIni(b, std::nullopt), writeSettingsIni(a, std::nullopt));
    const std::string text = readBytes(folder.path() / L"config.ini");
    EXPECT_EQ(text.rfind(foreign + "[window]\r\n", 0), 0u);  // foreign lines are kept
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(a.configPath.c_str())));
}

TEST(SettingsFile, FailedWriteKeepsThePreviousFileOrLeavesNone) {
    TempFolder folder;
    Settings s;
    placeIn(s, folder);
    writeBytes(folder.path() / L"config.ini", "[option]\r\nUndo=7\r\n");
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(temporaryPathFor(s.configPath.c_str()));
    EXPECT_FALSE(saveSettings(s, nullptr));
    EXPECT_EQ(readBytes(folder.path() / L"config.ini"), "[option]\r\nUndo=7\r\n");

    s.configPath = (folder.path() / L"missing" / L"config.ini").u16string();
    EXPECT_FALSE(saveSettings(s, nullptr));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"missing"));
}

TEST(SettingsFile, MinimisedWindowIsStoredRestoredOrMaximised) {
    for (auto [shownFirst, stored] :
         {std::pair{SW_SHOWNORMAL, SW_RESTORE}, std::pair{SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED}}) {
        SCOPED_TRACE(shownFirst);
        TempFolder folder;
        Settings s;
        placeIn(s, folder);
        Window window = makeWindow();
        ShowWindow(window.get(), shownFirst);
        ShowWindow(window.get(), SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(window.get()));
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ASSERT_TRUE(GetWindowPlacement(window.get(), &wp));
        ASSERT_EQ((wp.flags & WPF_RESTORETOMAXIMIZED) != 0, shownFirst == SW_SHOWMAXIMIZED);
        ASSERT_TRUE(saveSettings(s, window.get()));
        EXPECT_EQ(storedPlacement(folder.path() / L"config.ini").showCmd,
                  static_cast<UINT>(stored));
    }
}

TEST(SettingsFile, ConfigPathIsBesideTheExecutable) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::filesystem::path expected = std::filesystem::path(exe).parent_path() / L"config.ini";
    EXPECT_EQ(std::filesystem::path(configPathBeside(executablePath())), expected);
}
