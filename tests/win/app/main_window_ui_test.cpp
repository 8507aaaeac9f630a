// The real main window, started in this process and driven by messages:
// start-up, the close prompt, config.ini, the message loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "settings/config_store.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

TEST(UiStartup, ClosingWritesTheSettingsAndTheNextStartTakesThemBack) {
    TempFolder folder;
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        EXPECT_EQ(ui.statusText(2), L"0,0 -> 31,31 (32,32)");
        EXPECT_EQ(ui.statusText(4), L"--");
        EXPECT_EQ(ui.title(), L"Plimsett  ");
        DialogAnswerer answerer(IDCANCEL);
        int exitCode = -1;
        ASSERT_TRUE(ui.close(&exitCode));
        EXPECT_FALSE(answerer.answered());  // nothing to save: no question
        EXPECT_EQ(exitCode, 0);
    }
    // Every key with its default, after the window placement.
    const std::string defaults = writeSettingsIni(Settings{}, std::nullopt);
    EXPECT_NE(readFileText(folder.path() / L"config.ini")
                  .find(defaults.substr(defaults.find("newImageSize"))),
              std::string::npos);
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        settings().newImageSize = {300, 200};
        settings().back = 0x123456;
        ui.doc().selection.gw = 16;
        ASSERT_TRUE(ui.close());
    }
    UiSession again(folder.path());
    ASSERT_TRUE(again.started());
    const DIB& canvas = again.doc().canvas;
    ASSERT_EQ(std::make_pair(canvas.width(), canvas.height()), std::make_pair(300, 200));
    EXPECT_TRUE(testimage::pixelsAre(canvas, [](int32_t, int32_t) { return pixelOf(0x123456); }));
    EXPECT_EQ(again.statusText(2), L"0,0 -> 15,31 (16,32)");
}

// After a real edit closing asks; Yes saves (through the save dialog when
// the document has no file), No closes without saving, Cancel keeps the
// window and writes no config.ini.
TEST(UiClose, PromptAfterARealEditSavesOrNot) {
    const struct {
        bool hasFile;
        int button;
        bool closed, saved;
    } cases[] = {
        {true, IDYES, true, true},
        {false, IDYES, false, false},  // the save dialog is cancelled
        {true, IDNO, true, false},
        {true, IDCANCEL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hasFile << " " << c.button);
        TempFolder folder;
        const auto path = folder.path() / L"work.png";
        writeFileBytes(path, std::string("old"));
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        if (c.hasFile) setChoiceFromPath(ui.doc().file, path.u16string().c_str());
        ui.command(ID_EDIT_DELETE);
        {
            DialogAnswerer prompt({answer(c.button), inFileDialog(L"")});
            EXPECT_EQ(ui.close(), c.closed);
            EXPECT_EQ(prompt.text(),
                      c.hasFile ? L"work.png へ変更を保存しますか？" : L"変更を保存しますか？");
            EXPECT_EQ(prompt.caption(), L"Plimsett");
        }
        EXPECT_EQ(std::filesystem::file_size(path) != 3, c.saved);
        EXPECT_EQ(std::filesystem::exists(folder.path() / L"config.ini"), c.closed);
    }
}

TEST(UiProgram, ExitCodeAfterANormalCloseIsZeroAndConfigIniIsBesideIt) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto program = std::filesystem::path(self).parent_path().parent_path() / L"plimsett.exe";
    TempFolder folder;
    const auto copy = folder.path() / L"plimsett.exe";
    std::filesystem::copy_file(program, copy);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + copy.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        if (!(window = FindWindowW(kMainWindowClass, nullptr))) Sleep(50);
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
