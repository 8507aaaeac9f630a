// config.ini between our codec and the platform's private-profile functions,
// and the load and save of the file itself.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "image/file_replace.h"
#include "settings/config_store.h"
#include "settings/ini_codec.h"
#include "tests/win/app/ui_harness.h"

namespace {

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
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
    {"window", "wndSize"},       {"window", "newImageSize"},  {"window", "filterIndexNormal"},
    {"window", "filterIndexMask"}, {"grid", "wndPos"},        {"grid", "size"},
    {"grid", "correct"},         {"colors", "back"},          {"colors", "colors"},
    {"colors", "before"},        {"colors", "after"},         {"option", "checkFileCopy"},
    {"option", "autoResize"},    {"option", "copyOutOfRect"}, {"option", "alphaMode"},
    {"option", "D&DActionType"}, {"option", "ZoomType"},      {"option", "Undo"},
    {"font", "data"},            {"fileList", "pos"},         {"fileList", "moveCurSel"},
    {"fileList", "moveSelect"},  {"fileList", "returnSelect"}, {"trans", "boxSize"},
    {"trans", "color1"},         {"trans", "color2"},
};

void setUnusualValues(Settings& s) {
    s.newImageSize = {640, 480};
    s.filterIndexMask = 2;
    s.wndPos = {-120, 40};
    s.selection.gw = 16;
    s.selection.gh = 8;
    s.selection.cx = -4;
    s.back = 0x00FF00;
    for (uint32_t i = 0; i < 16; ++i) s.colors[i] = 0x0F0F0F * i;
    s.after = 0x123456;
    s.alphaMode = true;
    s.autoResize = false;
    s.ddActionType = 1;
    s.zoomType = 3;
    s.undoLimit = 250;
    s.fontParams.cellWidth = 24;
    std::memcpy(s.fontParams.faceName, u"Arial", sizeof u"Arial");
    s.fontParams.style = 0x13;
    s.pos = {5, 6};
    s.returnSelect = false;
    s.boxSize = 12;
    s.color2 = 0x808080;
}

// A plain top-level window for placements.
class TestWindow {
public:
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PlimsettSettingsTestWindow";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"settings test", WS_OVERLAPPEDWINDOW,
                                100, 100, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

WINDOWPLACEMENT storedPlacement(const std::filesystem::path& file) {
    WINDOWPLACEMENT wp{};
    EXPECT_TRUE(GetPrivateProfileStructW(L"window", L"wndSize", &wp, sizeof wp, file.c_str()));
    return wp;
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
    EXPECT_EQ(platformString(file, "window", "newImageSize"), "640,480");
    EXPECT_EQ(platformString(file, "colors", "back"), "00ff00");
    EXPECT_EQ(GetPrivateProfileIntW(L"option", L"undo", 0, file.c_str()), 250u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntW(L"grid", L"wndPos", 0, file.c_str())), -120);

    WINDOWPLACEMENT wp = storedPlacement(file);
    EXPECT_EQ(wp.length, sizeof wp);
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 10);
    EXPECT_EQ(wp.rcNormalPosition.right, 500);
    COLORREF colors[16];
    ASSERT_TRUE(GetPrivateProfileStructW(L"colors", L"colors", colors, sizeof colors, file.c_str()));
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
    s.configPath = (folder.path() / L"config.ini").u16string();
    const wchar_t* file = reinterpret_cast<const wchar_t*>(s.configPath.c_str());
    // Each key in the platform's own encoding of it, the way the original program stored them.
    IniDocument ours = IniDocument::parse(writeSettingsIni(written, std::nullopt));
    for (auto [section, key] : kKeys) {
        if (std::string_view(key) == "wndSize" || std::string_view(key) == "colors" ||
            std::string_view(key) == "data") {
            continue;
        }
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

    TestWindow window;
    ASSERT_TRUE(loadSettings(s, window.get()));
    EXPECT_EQ(writeSettingsIni(s, std::nullopt), writeSettingsIni(written, std::nullopt));
    WINDOWPLACEMENT applied{};
    applied.length = sizeof applied;
    ASSERT_TRUE(GetWindowPlacement(window.get(), &applied));
    EXPECT_EQ(applied.rcNormalPosition.left, 50);
    EXPECT_EQ(applied.rcNormalPosition.bottom, 360);
}

TEST(SettingsIni, OddlyFormattedFileReadsAsThePlatformReadsIt) {
    TempFolder folder;
    auto file = folder.path() / L"odd.ini";
    const std::string text =
        "; comment\r\n"
        "  [ Option ]  \r\n"
        "UNDO = 0x20  \r\n"
        "ZoomType\r\n"
        "alphaMode=\r\n"
        "autoResize='1'\r\n"
        "\tD&DActionType\t=\t-2\r\n"
        "checkFileCopy=yes\r\n"
        "[grid]\r\n"
        "size = \"16, 8\"\r\n"
        "size=4,4\r\n"
        "[option]\r\n"
        "copyOutOfRect=0\r\n"
        "[colors]\r\n"
        "back=0x00FF00\r\n"
        "colors=" + std::string(128, '0') + "01\r\n"
        "before=" + std::string(128, '0') + "00\r\n";
    writeBytes(file, text);
    IniDocument ours = IniDocument::parse(text);
    const std::pair<const char*, const char*> keys[] = {
        {"option", "undo"},      {"option", "ZoomType"},    {"option", "alphaMode"},
        {"option", "autoResize"}, {"option", "D&DActionType"}, {"option", "checkFileCopy"},
        {"option", "copyOutOfRect"}, {"grid", "size"},      {"colors", "back"},
        {"option", "missing"},   {"nowhere", "size"},
    };
    for (auto [section, key] : keys) {
        EXPECT_EQ(platformString(file, section, key), ours.getString(section, key, 256).value_or(""))
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

TEST(SettingsIni, IntegersReadAsThePlatformReadsThem) {
    TempFolder folder;
    auto file = folder.path() / L"ints.ini";
    const char* values[] = {"100", "-5", "+7", "12abc", "abc", "-", "0x1F", "0X1F", "0o17",
                            "0b101", "019", "4294967295", "4294967297", " 8"};
    std::string text = "[n]\r\n";
    for (size_t i = 0; i < std::size(values); ++i) {
        text += "k" + std::to_string(i) + "=" + values[i] + "\r\n";
    }
    writeBytes(file, text);
    for (size_t i = 0; i < std::size(values); ++i) {
        std::wstring key = L"k" + std::to_wstring(i);
        int32_t platform =
            static_cast<int32_t>(GetPrivateProfileIntW(L"n", key.c_str(), 12345, file.c_str()));
        EXPECT_EQ(platform, readProfileInteger(values[i])) << values[i];
    }
}

TEST(SettingsFile, MissingFileKeepsTheDefaults) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"config.ini").u16string();
    EXPECT_FALSE(loadSettings(s, nullptr));
    EXPECT_EQ(s.undoLimit, 100);
}

TEST(SettingsFile, SaveThenLoadGivesTheSameSettings) {
    TempFolder folder;
    Settings a;
    setUnusualValues(a);
    a.configPath = (folder.path() / L"config.ini").u16string();
    ASSERT_TRUE(saveSettings(a, nullptr));
    Settings b;
    b.configPath = a.configPath;
    ASSERT_TRUE(loadSettings(b, nullptr));
    EXPECT_EQ(writeSettingsIni(b, std::nullopt), writeSettingsIni(a, std::nullopt));
    EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(a.configPath.c_str())));
}

TEST(SettingsFile, FailedWriteKeepsThePreviousFile) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"config.ini").u16string();
    writeBytes(folder.path() / L"config.ini", "[option]\r\nUndo=7\r\n");
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(std::filesystem::path(temporaryPathFor(s.configPath.c_str())));
    EXPECT_FALSE(saveSettings(s, nullptr));
    EXPECT_EQ(readBytes(folder.path() / L"config.ini"), "[option]\r\nUndo=7\r\n");
}

TEST(SettingsFile, UnwritableFolderLeavesNoFile) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"missing" / L"config.ini").u16string();
    EXPECT_FALSE(saveSettings(s, nullptr));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"missing"));
}

TEST(SettingsFile, SaveKeepsForeignLinesOfTheFile) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"config.ini").u16string();
    writeBytes(folder.path() / L"config.ini", "; mine\r\n[extra]\r\nkey=value\r\n");
    ASSERT_TRUE(saveSettings(s, nullptr));
    std::string text = readBytes(folder.path() / L"config.ini");
    EXPECT_EQ(text.rfind("; mine\r\n[extra]\r\nkey=value\r\n[window]\r\n", 0), 0u);
}

TEST(SettingsFile, MinimisedWindowIsStoredRestored) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"config.ini").u16string();
    TestWindow window;
    ShowWindow(window.get(), SW_SHOWNORMAL);
    ShowWindow(window.get(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.get()));
    ASSERT_TRUE(saveSettings(s, window.get()));
    EXPECT_EQ(storedPlacement(folder.path() / L"config.ini").showCmd,
              static_cast<UINT>(SW_RESTORE));
}

TEST(SettingsFile, MinimisedMaximisedWindowIsStoredMaximised) {
    TempFolder folder;
    Settings s;
    s.configPath = (folder.path() / L"config.ini").u16string();
    TestWindow window;
    ShowWindow(window.get(), SW_SHOWMAXIMIZED);
    ShowWindow(window.get(), SW_MINIMIZE);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(GetWindowPlacement(window.get(), &wp));
    ASSERT_TRUE(wp.flags & WPF_RESTORETOMAXIMIZED);
    ASSERT_TRUE(saveSettings(s, window.get()));
    EXPECT_EQ(storedPlacement(folder.path() / L"config.ini").showCmd,
              static_cast<UINT>(SW_SHOWMAXIMIZED));
}

TEST(SettingsFile, ConfigPathIsBesideTheExecutable) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::filesystem::path expected = std::filesystem::path(exe).parent_path() / L"config.ini";
    EXPECT_EQ(std::filesystem::path(configPathBeside(executablePath())), expected);
}
