// The real main window, started in this process and driven by messages.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/unsaved_changes.h"
#include "edit/pixel_ops.h"
#include "image/file_choice.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// "section/key" for every key line, in file order.
std::vector<std::string> keysInOrder(const std::string& ini) {
    std::vector<std::string> keys;
    std::istringstream lines(ini);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else {
            keys.push_back(section + "/" + line.substr(0, line.find('=')));
        }
    }
    return keys;
}

std::string valueOf(const std::string& ini, const std::string& key) {
    std::istringstream lines(ini);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<missing>";
}

}  // namespace

TEST(UiStartup, NewCanvasIsTheBackColourAtAlphaZero) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    const DIB& canvas = sessionDocument().canvas;
    ASSERT_EQ(canvas.width(), 256);
    ASSERT_EQ(canvas.height(), 256);
    uint32_t expected = pixelOf(0xFF00FF);
    EXPECT_EQ(expected >> 24, 0u);
    for (int32_t y = 0; y < 256; ++y)
        for (int32_t x = 0; x < 256; ++x)
            ASSERT_EQ(canvas.pixelAt(x, y), expected) << x << "," << y;
}

TEST(UiStartup, StatusPanesAndTitleShowTheNewDocument) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    EXPECT_EQ(ui.statusText(2), L"0,0 -> 31,31 (32,32)");
    EXPECT_EQ(ui.statusText(3), L"x1.00");
    EXPECT_EQ(ui.statusText(4), L"--");
    // "%s %c" with the program name and a space for "no unsaved changes".
    EXPECT_EQ(ui.title(), L"Plimsett  ");
}

TEST(UiClose, RightAfterStartAsksNothingAndWritesEveryKeyWithItsDefault) {
    TempFolder folder;
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        DialogAnswerer answerer(IDCANCEL);
        int exitCode = -1;
        ASSERT_TRUE(ui.close(&exitCode));
        EXPECT_FALSE(answerer.answered());
        EXPECT_EQ(exitCode, 0);
    }
    std::string ini = readFile(folder.path() / L"config.ini");
    std::vector<std::string> expectedKeys = {"window/wndSize",
                                             "window/newImageSize",
                                             "window/filterIndexNormal",
                                             "window/filterIndexMask",
                                             "grid/wndPos",
                                             "grid/size",
                                             "grid/correct",
                                             "colors/back",
                                             "colors/colors",
                                             "colors/before",
                                             "colors/after",
                                             "option/checkFileCopy",
                                             "option/autoResize",
                                             "option/copyOutOfRect",
                                             "option/alphaMode",
                                             "option/D&DActionType",
                                             "option/ZoomType",
                                             "option/Undo",
                                             "font/data",
                                             "fileList/pos",
                                             "fileList/moveCurSel",
                                             "fileList/moveSelect",
                                             "fileList/returnSelect",
                                             "trans/boxSize",
                                             "trans/color1",
                                             "trans/color2"};
    EXPECT_EQ(keysInOrder(ini), expectedKeys);
    EXPECT_EQ(valueOf(ini, "newImageSize"), "256,256");
    EXPECT_EQ(valueOf(ini, "size"), "32,32");
    EXPECT_EQ(valueOf(ini, "back"), "ff00ff");
    EXPECT_EQ(valueOf(ini, "before"), "ff00ff");
    EXPECT_EQ(valueOf(ini, "after"), "000000");
    EXPECT_EQ(valueOf(ini, "checkFileCopy"), "1");
    EXPECT_EQ(valueOf(ini, "alphaMode"), "0");
    EXPECT_EQ(valueOf(ini, "D&DActionType"), "3");
    EXPECT_EQ(valueOf(ini, "ZoomType"), "0");
    EXPECT_EQ(valueOf(ini, "Undo"), "100");
    EXPECT_EQ(valueOf(ini, "boxSize"), "8");
    EXPECT_EQ(valueOf(ini, "color1"), "ffffff");
    EXPECT_EQ(valueOf(ini, "color2"), "b0b0b0");
    EXPECT_EQ(valueOf(ini, "moveCurSel"), "1");
}

TEST(UiClose, SecondStartReadsTheWrittenSettingsBack) {
    TempFolder folder;
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        settings().newImageSize = {300, 200};
        settings().back = 0x123456;
        sessionDocument().selection.gw = 16;
        ASSERT_TRUE(ui.close());
    }
    UiSession again(folder.path());
    ASSERT_TRUE(again.started());
    EXPECT_EQ(sessionDocument().canvas.width(), 300);
    EXPECT_EQ(sessionDocument().canvas.height(), 200);
    EXPECT_EQ(sessionDocument().canvas.pixelAt(299, 199), pixelOf(0x123456));
    EXPECT_EQ(again.statusText(2), L"0,0 -> 15,31 (16,32)");
}

TEST(UiClose, UnsavedChangesAskAndCancelKeepsTheWindowOpen) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    countEvent(sessionDocument(), DocumentEvent::Edited);
    SendMessageW(ui.hwnd(), WM_USER + 1, 0, 0);
    EXPECT_EQ(ui.title(), L"Plimsett *");
    {
        DialogAnswerer answerer(IDCANCEL);
        EXPECT_FALSE(ui.close());
        ASSERT_TRUE(answerer.answered());
        EXPECT_EQ(answerer.text(), L"変更を保存しますか？");
        EXPECT_EQ(answerer.caption(), L"Plimsett");
    }
    EXPECT_TRUE(IsWindow(ui.hwnd()));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"config.ini"));
    {
        DialogAnswerer answerer(IDNO);
        EXPECT_TRUE(ui.close());
        EXPECT_TRUE(answerer.answered());
    }
    EXPECT_TRUE(std::filesystem::exists(folder.path() / L"config.ini"));
}

TEST(UiClose, EditThenUndoLeavesNothingToAsk) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    countEvent(sessionDocument(), DocumentEvent::Edited);
    countEvent(sessionDocument(), DocumentEvent::Undone);
    DialogAnswerer answerer(IDCANCEL);
    EXPECT_TRUE(ui.close());
    EXPECT_FALSE(answerer.answered());
}

TEST(UiProgram, ExitCodeAfterANormalCloseIsZero) {
    // The real plimsett.exe, copied beside a config.ini of its own.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::filesystem::path program =
        std::filesystem::path(self).parent_path().parent_path() / L"plimsett.exe";
    ASSERT_TRUE(std::filesystem::exists(program)) << program.string();
    TempFolder folder;
    std::filesystem::path copy = folder.path() / L"plimsett.exe";
    std::filesystem::copy_file(program, copy);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + copy.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, folder.path().c_str(), &startup, &process));
    WaitForInputIdle(process.hProcess, 10000);
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        window = FindWindowW(L"Tue Mar 10 22:32:43 2020", nullptr);
        if (!window) Sleep(50);
    }
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / L"config.ini"));
}

namespace {

// A stand-in for the grid settings dialog that counts the WM_CLOSE it gets.
int gridClosedCount = 0;

LRESULT CALLBACK countingClose(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++gridClosedCount;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(UiLoop, EscapeAnywhereClosesTheGridDialog) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = countingClose;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PlimsettTestGrid";
    RegisterClassW(&windowClass);
    HWND grid = CreateWindowExW(0, L"PlimsettTestGrid", L"", WS_POPUP, 0, 0, 10, 10, ui.hwnd(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(grid, nullptr);

    // Escape with no grid dialog open does nothing.
    gridClosedCount = 0;
    PostMessageW(ui.main().statusBar, WM_KEYDOWN, VK_ESCAPE, 1);
    ui.pump();
    EXPECT_EQ(gridClosedCount, 0);

    // Escape pressed in any window of the thread reaches the main window,
    // which closes the grid dialog.
    sessionDocument().gridDialog = grid;
    PostMessageW(ui.main().statusBar, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(grid, WM_KEYDOWN, VK_ESCAPE, 1);
    ui.pump();
    EXPECT_EQ(gridClosedCount, 2);
    sessionDocument().gridDialog = nullptr;
    DestroyWindow(grid);
    UnregisterClassW(L"PlimsettTestGrid", GetModuleHandleW(nullptr));
}

TEST(UiLoop, BrowserBackAndForwardAreUndoAndRedo) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.takeCommands();
    SendMessageW(ui.hwnd(), WM_APPCOMMAND, 0, MAKELPARAM(0, APPCOMMAND_BROWSER_BACKWARD));
    SendMessageW(ui.hwnd(), WM_APPCOMMAND, 0, MAKELPARAM(0, APPCOMMAND_BROWSER_FORWARD));
    // The device bits above the command are ignored.
    SendMessageW(ui.hwnd(), WM_APPCOMMAND, 0,
                 MAKELPARAM(0, FAPPCOMMAND_MOUSE | APPCOMMAND_BROWSER_BACKWARD));
    SendMessageW(ui.hwnd(), WM_APPCOMMAND, 0, MAKELPARAM(0, APPCOMMAND_BROWSER_HOME));
    EXPECT_EQ(ui.takeCommands(), (std::vector<WORD>{40100, 40101, 40100}));
}
